// The two Print buttons on a month saved through the screen.
#include "register_support.h"

#include "WaitFor.h"
#include "platform/ui/reports/CrystalReport.h"
#include "platform/ui/reports/ReportPreview.h"

#include <QAction>
#include <QFile>
#include <QRegularExpression>
#include <QToolBar>

using namespace f10test;

namespace {

// Each of `texts` is in `in`, each after the one before.
void expectInOrder(const QString& in, const QStringList& texts)
{
    qsizetype from = 0;
    for (const QString& t : texts) {
        const qsizetype at = in.indexOf(t, from);
        EXPECT_GE(at, 0) << "\"" << t.toStdString() << "\" missing or out of order in:\n" << in.toStdString();
        from = at < 0 ? from : at + t.size();
    }
}

// Each of `lines` is a line of the text (blanks simplified), found by its first two words.
void expectLines(const QString& text, const QStringList& lines)
{
    for (const QString& line : lines) {
        const QString start = line.section(' ', 0, 1);
        QString found;
        for (const QString& l : text.split('\n'))
            if (found.isEmpty() && (l.simplified() == start || l.simplified().startsWith(start + ' ')))
                found = l.simplified();
        EXPECT_EQ(found, line) << text.toStdString();
    }
}

class PrintTest : public RegisterScreen {
protected:
    void save() { click(form->cmdAdd); }
    ui::ReportPreview* preview() const { return form->CrystalReport1->previewWindow(); }
    QString reportText() const { return preview() ? preview()->layout().plainText() : QString(); }
    // Prints by `button`: the report's template, title and owner.
    void print(ui::CommandButton* button, const QString& rpt, const QString& title)
    {
        click(button);
        ASSERT_NE(preview(), nullptr) << lastPrompt().toStdString();
        EXPECT_EQ(form->CrystalReport1->DataFiles(0), folder.path() + "\\nwForm10DB.mdb");
        EXPECT_EQ(form->CrystalReport1->ReportFileName(), folder.path() + "\\" + rpt);
        EXPECT_EVENTUALLY(preview()->isVisible());
        EXPECT_TRUE(preview()->windowState() & Qt::WindowMaximized);
        EXPECT_EQ(preview()->windowTitle(), title);
        EXPECT_EQ(preview()->parentWidget(), form);   // owned by the register screen
        EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    }
};

TEST_F(PrintTest, TheLocalPurchaseAndSalesReportsShowTheSavedBillsInSerialOrderWithTheirTotals)
{
    keyBills(true, kPurchases);
    keyBills(false, kSales);
    form->txtPlace->setText("Kochi");
    save();
    const QString before = dump(db);

    print(form->cmdPrint1, "RptPurchase.rpt", "Purchase Register");
    QString text = reportText();
    EXPECT_TRUE(text.startsWith("Purchase Register\n")) << text.toStdString();
    expectMentions(text, {"Month  " + month(), "Place  Kochi", "Entry date  " + today(), "Page 1 of 1"});
    // By serial number (save numbered them by date), then per-rate and grand totals.
    expectInOrder(text, {"Delta Mills", "Beta Traders", "Epsilon & Co", "Alpha Agencies", "Gamma Stores",
                         "Totals by rate of tax", "Rate of Tax %  Amount  Tax  Cess  Total"});
    expectLines(text, {"1 01-03-09 Delta Mills T4 B4 12.5 1000.00 125.00 10.00 1135.00",
                       "2 05-03-09 Beta Traders T2 B2 1 200.00 2.00 0.50 202.50", "0 100.00 0.00 0.00 100.00",
                       "4 300.00 12.00 1.00 313.00", "12.5 1000.00 125.00 10.00 1135.00", "20 50.00 10.00 0.25 60.25",
                       "Total 1650.00 149.00 11.75 1810.75"});
    EXPECT_FALSE(text.contains("No bills") || text.contains("Buyer")) << text.toStdString();
    ui::ReportPreview* purchases = preview();

    // The sales report, in a window of its own.
    print(form->Command2, "RptSales.rpt", "Sales Register");
    EXPECT_NE(preview(), purchases);
    text = reportText();
    expectInOrder(text, {"Buyer Zero", "Buyer One", "Buyer Four", "Buyer Twelve", "Buyer Twenty", "Buyer Outside",
                         "Totals by rate of tax"});
    expectLines(text, {"6 07-03-09 Buyer Outside S6 X6 CST 100.00 2.00 0.00 102.00", "CST 100.00 2.00 0.00 102.00",
                       "4 250.00 10.00 0.10 260.10", "20 40.00 8.00 0.40 48.40", "Total 500.00 30.20 1.50 531.70"});
    EXPECT_EQ(messages().size(), 1u) << lastPrompt().toStdString();
    EXPECT_EQ(dump(db), before);   // Print reads; it writes nothing
}

TEST_F(PrintTest, EachRegisterPrintsTheBillsOfTheLastSaveWithTheirTotalsOrSaysThatItHoldsNone)
{
    const QString noInterState = "No inter-state purchases were saved with the last save of this month. To print "
                                 "them, choose Inter State Purchase and save the month again.";
    const QString noLocal = "No local purchases were saved with the last save of this month. To print them, "
                            "choose Local Purchase and save the month again.";
    auto switchTo = [&](int entry) {
        focus(form->List4);
        key(form->List4, entry ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(form->List4->ListIndex(), entry);
    };
    // A local save: local bills and sales with their totals; no inter-state bill, no empty totals.
    keyBills(true, kPurchases);
    keyBills(false, kSales);
    save();
    switchTo(1);
    print(form->cmdPrint1, "RptPurchaseInterState.rpt", "Inter State Purchase Register");
    QString text = reportText();
    // (the one line of its own may wrap on the page)
    expectMentions(text, {"Month  " + month(), "Sl No  Bill Date  Party"});
    expectMentions(QString(text).replace('\n', ' '), {"% " + noInterState + " Inter State Purchase Register  Page 1"});
    EXPECT_FALSE(text.contains("Totals by rate of tax") || text.contains("Delta Mills")) << text.toStdString();
    print(form->Command2, "RptSales.rpt", "Sales Register");
    expectLines(reportText(), {"6 07-03-09 Buyer Outside S6 X6 CST 100.00 2.00 0.00 102.00",
                               "Total 500.00 30.20 1.50 531.70"});

    // An inter-state save: its bills with their totals, the sales again; the local bills of
    // the save before are not printed over a summary this save left bare.
    keyBills(true, {{"11-03-09", "Far Suppliers", "I1", "F1", P4, "400", "16", "0"},
                    {"03-03-09", "Near Exports", "I2", "F2", P12, "80", "10", "1"}});
    save();
    print(form->cmdPrint1, "RptPurchaseInterState.rpt", "Inter State Purchase Register");
    expectLines(reportText(), {"1 03-03-09 Near Exports I2 F2 12.5 80.00 10.00 1.00 91.00",
                               "2 11-03-09 Far Suppliers I1 F1 4 400.00 16.00 0.00 416.00",
                               "4 400.00 16.00 0.00 416.00", "Total 480.00 26.00 1.00 507.00"});
    print(form->Command2, "RptSales.rpt", "Sales Register");
    expectLines(reportText(), {"Total 500.00 30.20 1.50 531.70"});
    switchTo(0);
    ASSERT_EQ(form->fg1->TextMatrix(1, 2), "Delta Mills");   // the local register keeps its bills
    print(form->cmdPrint1, "RptPurchase.rpt", "Purchase Register");
    text = reportText();
    expectMentions(text, {"Month  " + month()});
    expectMentions(QString(text).replace('\n', ' '), {"% " + noLocal + " Purchase Register  Page 1"});
    EXPECT_FALSE(text.contains("Delta Mills") || text.contains("Totals by rate of tax")) << text.toStdString();
    EXPECT_EQ(count(db, "tblRptPurchase1"), 0);
    EXPECT_EQ(count(db, "tblRptPurchaseC", "PTA4 IS NULL AND PCTTotal IS NULL"), 1);   // the bare key row
    EXPECT_EQ(count(db, "tblPurchase1"), 5);

    // Saved as local again: the local bills and their totals, and no inter-state bill left.
    save();
    print(form->cmdPrint1, "RptPurchase.rpt", "Purchase Register");
    expectLines(reportText(), {"Total 1650.00 149.00 11.75 1810.75"});
    EXPECT_EQ(count(db, "tblRptPurchaseInterState"), 0);
    EXPECT_EQ(messages().size(), 3u) << lastPrompt().toStdString();   // the three saves' messages only
}

TEST_F(PrintTest, ClosingThePreviewReturnsToTheScreenWithItsUnsavedRows)
{
    keyBills(true, {kPurchases[0]});
    save();
    keyBills(true, {kPurchases[1]});   // keyed after the save, not saved
    print(form->cmdPrint1, "RptPurchase.rpt", "Purchase Register");
    EXPECT_FALSE(reportText().contains("Beta Traders"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(preview()));
    auto* bar = preview()->findChild<QToolBar*>("tbrPreview");
    QTest::mouseClick(bar->widgetForAction(bar->findChild<QAction*>("actClose")), Qt::LeftButton);
    EXPECT_EVENTUALLY(preview() == nullptr);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    EXPECT_EQ(form->fg1->TextMatrix(2, 2), "Beta Traders");
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(PrintTest, ALongMonthBreaksAcrossPagesWithTheHeadingsOnEveryPage)
{
    for (int i = 1; i <= 300; ++i)
        putBill(*form->fg1, i, QString("%1-03-09").arg(1 + (i - 1) % 28, 2, 10, QChar('0')),
                QString("Party %1").arg(i, 3, 10, QChar('0')), "      4", QString("%1.00").arg(100 + i));
    save();
    print(form->cmdPrint1, "RptPurchase.rpt", "Purchase Register");

    const ui::ReportLayout& layout = preview()->layout();
    const int pages = int(layout.pages.size());
    ASSERT_GE(pages, 3);
    EXPECT_EQ(preview()->pageCount(), pages);
    int bills = 0;
    for (int p = 0; p < pages; ++p) {
        const QString page = layout.pageText(p);
        EXPECT_TRUE(page.startsWith("Purchase Register\n")) << p;
        EXPECT_TRUE(page.contains(QString("Page %1 of %2").arg(p + 1).arg(pages))) << p;
        const int onPage = int(page.count(QRegularExpression("Party \\d{3}")));
        EXPECT_TRUE(!onPage || page.contains("Sl No  Bill Date  Party  TIN  Bill No")) << p;
        bills += onPage;
    }
    EXPECT_EQ(bills, 300);
    expectInOrder(reportText(), {"Party 001", "101.00", "Party 002", "Party 150", "250.00", "Party 300", "400.00"});
    // 100 * 300 + (1 + ... + 300), the summary closing the report
    expectLines(layout.pageText(pages - 1), {"4 75150.00 0.00 0.00 75150.00", "Total 75150.00 0.00 0.00 75150.00"});
    EXPECT_EQ(messages().size(), 1u) << lastPrompt().toStdString();
}

TEST_F(PrintTest, AMissingOrBrokenTemplateOrDatabaseIsOneMessageNamingTheFileAndTheScreenGoesOn)
{
    keyBills(false, kSales);
    save();
    int pointerAtMessage = -1;
    onMessage = [&](const ui::MessageRecord&) { pointerAtMessage = ui::mousePointer(); };
    const QString rpt = folder.file("RptSales.rpt");
    const QByteArray good = bytesOf(rpt);
    const auto lineOf = [&](const char* text) { return good.left(good.indexOf(text)).count('\n') + 1; };
    sqlite3* other = nullptr;
    const std::vector<std::tuple<std::function<void()>, QString, QString>> cases = {
        {[&] { QFile::remove(rpt); }, rpt, "not there"},
        // A column or a table the data file does not have: the line that names it.
        {[&] { writeBytes(rpt, QByteArray(good).replace("STT4", "STX4")); }, rpt,
         QString("Line %1: the table \"tblRptSales\" has no column \"STX4\"").arg(lineOf("STT4"))},
        {[&] { writeBytes(rpt, good), exec(db, "DROP TABLE tblRptSales1"); }, rpt,
         QString("Line %1: the data file nwForm10DB.mdb has no table \"tblRptSales1\"").arg(lineOf("detail tblRptSales1"))},
        // Another program holds the database locked.
        {[&] {
             sqlite3_open(db.toUtf8().constData(), &other);
             sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
         }, db, "locked"},
    };
    for (const auto& [spoil, name, problem] : cases) {
        SCOPED_TRACE(problem.toStdString());
        spoil();
        ui::clearShownMessages();
        click(form->Command2);
        expectOneFailure({name, problem});
        EXPECT_EQ(messages().back().icon(), ui::vbCritical);
        EXPECT_EQ(pointerAtMessage, ui::vbDefault);
        EXPECT_EQ(preview(), nullptr);
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    // The screen goes on: the purchase report prints.
    ui::clearShownMessages();
    print(form->cmdPrint1, "RptPurchase.rpt", "Purchase Register");
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
}

} // namespace
