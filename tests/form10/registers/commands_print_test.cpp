// The two Print buttons: a month saved through the screen, then printed; the report's pages
// read back as text (and as a PDF's text through pdftotext), the database read directly.
#include "register_support.h"

#include "PdfText.h"
#include "WaitFor.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/CrystalReport.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/ReportPreview.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

using namespace f10test;

namespace {


// The positions of `texts` in `in`, each searched after the one before; -1 for one not found.
std::vector<qsizetype> inOrder(const QString& in, const QStringList& texts)
{
    std::vector<qsizetype> at;
    qsizetype from = 0;
    for (const QString& t : texts) {
        const qsizetype i = in.indexOf(t, from);
        at.push_back(i);
        if (i >= 0)
            from = i + t.size();
    }
    return at;
}

void expectInOrder(const QString& in, const QStringList& texts)
{
    const auto at = inOrder(in, texts);
    for (size_t i = 0; i < at.size(); ++i)
        EXPECT_GE(at[i], 0) << "\"" << texts[qsizetype(i)].toStdString() << "\" missing or out of order in:\n"
                            << in.toStdString();
}

// The first line of the text that begins with the words `start`, runs of blanks counting as
// one; returned with its runs of blanks made single.
QString lineStarting(const QString& text, const QString& start)
{
    const QString words = start.simplified();
    for (const QString& line : text.split('\n')) {
        const QString t = line.simplified();
        if (t == words || t.startsWith(words + ' '))
            return t;
    }
    return {};
}

class PrintTest : public RegisterScreen {
protected:
    void save() { click(form->cmdAdd); }
    void clickPrintPurchases() { click(form->cmdPrint1); }
    void clickPrintSales() { click(form->Command2); }
    void chooseInterState()
    {
        focus(form->List4);
        key(form->List4, Qt::Key_Down);
        QApplication::processEvents();
        ASSERT_EQ(form->List4->ListIndex(), 1);
    }
    ui::ReportPreview* preview() const { return form->CrystalReport1->previewWindow(); }
    QString reportText() const { return preview() ? preview()->layout().plainText() : QString(); }
    // Clicks the preview's toolbar button for an action.
    void clickTool(const char* action)
    {
        auto* bar = preview()->findChild<QToolBar*>("tbrPreview");
        auto* a = bar->findChild<QAction*>(action);
        ASSERT_NE(a, nullptr) << action;
        QWidget* button = bar->widgetForAction(a);
        ASSERT_NE(button, nullptr) << action;
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
    }
    // Every message since the test began, one per line.
    QString shown() const
    {
        QStringList all;
        for (const auto& m : messages())
            all << m.prompt;
        return all.join('\n');
    }
    void removeFile(const char* name) { ASSERT_TRUE(QFile::remove(folder.file(name))); }
    void writeFile(const char* name, const QByteArray& bytes)
    {
        QFile f(folder.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray readFile(const char* name)
    {
        QFile f(folder.file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(PrintTest, PurchaseReportShowsTheSavedBillsInSerialOrderWithTheRateAndGrandTotals)
{
    keyBills(true, kPurchases);
    keyBills(false, kSales);
    form->txtPlace->setText("Kochi");
    save();
    ASSERT_EQ(messages().size(), 1u) << shown().toStdString();
    const QString before = dumpTables(db);

    int pointerDuringRun = -1;
    clickPrintPurchases();
    pointerDuringRun = ui::mousePointer();
    EXPECT_EQ(messages().size(), 1u) << shown().toStdString();
    EXPECT_EQ(pointerDuringRun, ui::vbDefault);
    EXPECT_EQ(form->CrystalReport1->DataFiles(0), folder.path() + "\\nwForm10DB.mdb");
    EXPECT_EQ(form->CrystalReport1->ReportFileName(), folder.path() + "\\RptPurchase.rpt");
    EXPECT_EQ(form->CrystalReport1->WindowState(), 2);
    ASSERT_NE(preview(), nullptr);
    EXPECT_EVENTUALLY(preview()->isVisible());
    EXPECT_TRUE(preview()->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(preview()->windowTitle(), "Purchase Register");
    EXPECT_EQ(preview()->parentWidget(), form);   // owned by the register screen

    const QString text = reportText();
    EXPECT_TRUE(text.startsWith("Purchase Register\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Month  " + month())) << text.toStdString();
    EXPECT_TRUE(text.contains("Place  Kochi")) << text.toStdString();
    EXPECT_TRUE(text.contains("Entry date  " + today())) << text.toStdString();
    // Save numbered the bills in bill-date order; the report lists them by serial number.
    EXPECT_EQ(lineStarting(text, "1  01-03-09"), "1 01-03-09 Delta Mills T4 B4 12.5 1000.00 125.00 10.00 1135.00");
    expectInOrder(text, {"Delta Mills", "Beta Traders", "Epsilon & Co", "Alpha Agencies", "Gamma Stores"});
    EXPECT_EQ(lineStarting(text, "2  05-03-09"), "2 05-03-09 Beta Traders T2 B2 1 200.00 2.00 0.50 202.50");
    // Per-rate totals and the grand totals, after the bills.
    expectInOrder(text, {"Gamma Stores", "Totals by rate of tax", "Rate of Tax %  Amount  Tax  Cess  Total"});
    EXPECT_EQ(lineStarting(text, "0  100.00"), "0 100.00 0.00 0.00 100.00");
    EXPECT_EQ(lineStarting(text, "4  300.00"), "4 300.00 12.00 1.00 313.00");
    EXPECT_EQ(lineStarting(text, "12.5  1000.00"), "12.5 1000.00 125.00 10.00 1135.00");
    EXPECT_EQ(lineStarting(text, "20  50.00"), "20 50.00 10.00 0.25 60.25");
    EXPECT_EQ(lineStarting(text, "Total  1650.00"), "Total 1650.00 149.00 11.75 1810.75");
    EXPECT_FALSE(text.contains("No bills"));
    EXPECT_FALSE(text.contains("Buyer")) << "sales bills in the purchase report";
    EXPECT_TRUE(text.contains("Page 1 of 1"));

    // Print reads; it writes nothing.
    EXPECT_EQ(dumpTables(db), before);
}

TEST_F(PrintTest, InterStatePurchaseReportFollowsListFourAndTheSalesReportCarriesTheCentralRate)
{
    chooseInterState();
    keyBills(true, {{"11-03-09", "Far Suppliers", "I1", "F1", P4, "400", "16", "0"},
                    {"03-03-09", "Near Exports", "I2", "F2", P12, "80", "10", "1"}});
    keyBills(false, kSales);
    save();
    ASSERT_EQ(messages().size(), 1u) << shown().toStdString();

    clickPrintPurchases();
    ASSERT_NE(preview(), nullptr) << shown().toStdString();
    EXPECT_EQ(form->CrystalReport1->ReportFileName(), folder.path() + "\\RptPurchaseInterState.rpt");
    EXPECT_EQ(preview()->windowTitle(), "Inter State Purchase Register");
    QString text = reportText();
    EXPECT_EQ(lineStarting(text, "1  03-03-09"), "1 03-03-09 Near Exports I2 F2 12.5 80.00 10.00 1.00 91.00");
    EXPECT_EQ(lineStarting(text, "2  11-03-09"), "2 11-03-09 Far Suppliers I1 F1 4 400.00 16.00 0.00 416.00");
    EXPECT_EQ(lineStarting(text, "Total  480.00"), "Total 480.00 26.00 1.00 507.00");
    ui::ReportPreview* purchases = preview();

    // The sales report, whatever List4 shows, in a window of its own.
    clickPrintSales();
    ASSERT_NE(preview(), nullptr) << shown().toStdString();
    EXPECT_EQ(form->CrystalReport1->ReportFileName(), folder.path() + "\\RptSales.rpt");
    EXPECT_NE(preview(), purchases);
    EXPECT_EQ(preview()->windowTitle(), "Sales Register");
    text = reportText();
    expectInOrder(text, {"Buyer Zero", "Buyer One", "Buyer Four", "Buyer Twelve", "Buyer Twenty", "Buyer Outside",
                         "Totals by rate of tax"});
    EXPECT_EQ(lineStarting(text, "6  07-03-09"), "6 07-03-09 Buyer Outside S6 X6 CST 100.00 2.00 0.00 102.00");
    EXPECT_EQ(lineStarting(text, "CST  100.00"), "CST 100.00 2.00 0.00 102.00");
    EXPECT_EQ(lineStarting(text, "4  250.00"), "4 250.00 10.00 0.10 260.10");
    EXPECT_EQ(lineStarting(text, "20  40.00"), "20 40.00 8.00 0.40 48.40");
    EXPECT_EQ(lineStarting(text, "Total  500.00"), "Total 500.00 30.20 1.50 531.70");
    EXPECT_EQ(messages().size(), 1u) << shown().toStdString();
}

TEST_F(PrintTest, ClosingThePreviewReturnsToTheScreenWithItsUnsavedRows)
{
    keyBills(true, {kPurchases[0]});
    save();
    keyBills(true, {kPurchases[1]});   // keyed after the save, not saved
    clickPrintPurchases();
    ASSERT_NE(preview(), nullptr);
    EXPECT_FALSE(reportText().contains("Beta Traders"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(preview()));
    clickTool("actClose");
    EXPECT_EVENTUALLY(preview() == nullptr);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    // No re-read of the registers on the way back: the unsaved row is still there.
    EXPECT_EQ(form->fg1->TextMatrix(2, 2), "Beta Traders");
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(PrintTest, AReportOfTheOtherPurchaseKindShowsNoBillsAndLeavesTheUnfilledTotalsEmpty)
{
    // The local save stages the inter-state summary as a bare key row.
    keyBills(true, kPurchases);
    save();
    chooseInterState();
    clickPrintPurchases();
    ASSERT_NE(preview(), nullptr) << shown().toStdString();
    const QString text = reportText();
    EXPECT_TRUE(text.contains("Sl No  Bill Date  Party")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nNo bills\n")) << text.toStdString();
    // The rate lines carry their labels and no figure, not "0.00".
    EXPECT_EQ(lineStarting(text, "12.5"), "12.5");
    EXPECT_EQ(lineStarting(text, "Total"), "Total");
    EXPECT_FALSE(text.contains("0.00")) << text.toStdString();
}

TEST_F(PrintTest, ALongMonthBreaksAcrossPagesWithTheHeadingsOnEveryPageAndExportsAsPdf)
{
    // 300 bills put into the grid, saved through the screen.
    for (int i = 1; i <= 300; ++i)
        putBill(*form->fg1, i, QString("%1-03-09").arg(1 + (i - 1) % 28, 2, 10, QChar('0')),
                QString("Party %1").arg(i, 3, 10, QChar('0')), "      4", QString("%1.00").arg(100 + i));
    save();
    ASSERT_EQ(messages().size(), 1u) << shown().toStdString();
    clickPrintPurchases();
    ASSERT_NE(preview(), nullptr) << shown().toStdString();

    const ui::ReportLayout& layout = preview()->layout();
    const int pages = int(layout.pages.size());
    ASSERT_GE(pages, 3);
    EXPECT_EQ(preview()->pageCount(), pages);
    int bills = 0, detailPages = 0;
    for (int p = 0; p < pages; ++p) {
        const QString page = layout.pageText(p);
        EXPECT_TRUE(page.startsWith("Purchase Register\n")) << p;
        EXPECT_TRUE(page.contains(QString("Page %1 of %2").arg(p + 1).arg(pages))) << p;
        const int onPage = int(page.count(QRegularExpression("Party \\d{3}")));
        if (onPage > 0) {
            EXPECT_TRUE(page.contains("Sl No  Bill Date  Party  TIN  Bill No")) << p;
            ++detailPages;
        }
        bills += onPage;
        // Nothing in the margins (12 mm).
        const double margin = 12 / 25.4 * 720;
        for (const ui::ReportText& t : layout.pages[size_t(p)].texts) {
            EXPECT_LE(t.rect.bottom(), layout.pageSize.height() - margin) << t.text.toStdString();
            EXPECT_LE(t.rect.right(), layout.pageSize.width() - margin) << t.text.toStdString();
        }
    }
    EXPECT_EQ(bills, 300);
    EXPECT_TRUE(layout.pageText(pages - 1).contains("Total  ")) << "the summary closes the report";

    // The toolbar pages through the preview.
    clickTool("actNextPage");
    EXPECT_EQ(preview()->currentPage(), 2);
    clickTool("actLastPage");
    EXPECT_EQ(preview()->currentPage(), pages);
    clickTool("actFirstPage");
    EXPECT_EQ(preview()->currentPage(), 1);

    // Export PDF: the save dialog answered; the file's text holds the same figures.
    QTemporaryDir out;
    ui::ScopedSaveFileAnswer answer(out.filePath("march"));
    clickTool("actExportPdf");
    EXPECT_EQ(answer.asked(), 1);
    EXPECT_TRUE(answer.lastRequest().suggestedPath.endsWith("Purchase Register.pdf"));
    const QString pdf = pdfText(out.filePath("march.pdf"));
    EXPECT_TRUE(pdf.contains("Purchase Register"));
    expectInOrder(pdf, {"Party 001", "101.00", "Party 002", "Party 150", "250.00", "Party 300", "400.00"});
    EXPECT_TRUE(pdf.contains(QString("Page %1 of %1").arg(pages))) << pdf.toStdString();
    // 100 * 300 + (1 + ... + 300), all at 4 %, no tax or cess keyed.
    EXPECT_EQ(lineStarting(pdf, "4 75150.00"), "4 75150.00 0.00 0.00 75150.00") << pdf.toStdString();
    EXPECT_EQ(lineStarting(pdf, "Total"), "Total 75150.00 0.00 0.00 75150.00") << pdf.toStdString();
    EXPECT_EQ(int(pdf.count("Bill Date")), detailPages);
    EXPECT_EQ(messages().size(), 1u) << shown().toStdString();
}

TEST_F(PrintTest, AMissingOrBrokenTemplateOrDatabaseIsOneMessageNamingTheFileAndTheScreenGoesOn)
{
    keyBills(false, kSales);
    save();
    ASSERT_EQ(messages().size(), 1u);
    ui::clearShownMessages();
    int pointerAtMessage = -1;
    onMessage = [&](const ui::MessageRecord&) { pointerAtMessage = ui::mousePointer(); };

    const QByteArray good = readFile("RptSales.rpt");
    removeFile("RptSales.rpt");
    clickPrintSales();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, "Sorry.........!");
    EXPECT_EQ(messages()[0].icon(), ui::vbCritical);
    EXPECT_TRUE(messages()[0].prompt.contains(folder.file("RptSales.rpt"))) << messages()[0].prompt.toStdString();
    EXPECT_TRUE(messages()[0].prompt.contains("not there"));
    EXPECT_EQ(pointerAtMessage, ui::vbDefault);
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    EXPECT_EQ(preview(), nullptr);

    // A column the data file does not have: the line that names it.
    writeFile("RptSales.rpt", QByteArray(good).replace("STT4", "STX4"));
    clickPrintSales();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[1].prompt.contains(folder.file("RptSales.rpt")));
    const auto lineOf = [&](const char* text) { return good.left(good.indexOf(text)).count('\n') + 1; };
    EXPECT_TRUE(messages()[1].prompt.contains(QString("Line %1: the table \"tblRptSales\" has no column \"STX4\"").arg(lineOf("STT4"))))
        << messages()[1].prompt.toStdString();
    EXPECT_EQ(preview(), nullptr);

    // A table the data file does not have.
    writeFile("RptSales.rpt", good);
    exec(db, "DROP TABLE tblRptSales1");
    clickPrintSales();
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_TRUE(messages()[2].prompt.contains(
        QString("Line %1: the data file nwForm10DB.mdb has no table \"tblRptSales1\"").arg(lineOf("detail tblRptSales1"))))
        << messages()[2].prompt.toStdString();

    // The screen goes on: the purchase report still prints.
    clickPrintPurchases();
    EXPECT_EQ(messages().size(), 3u) << messages().back().prompt.toStdString();
    ASSERT_NE(preview(), nullptr);
    EXPECT_EQ(preview()->windowTitle(), "Purchase Register");
    EXPECT_TRUE(form->isVisible());
}

TEST_F(PrintTest, ALockedDatabaseIsReportedAndTheNextPrintWorks)
{
    keyBills(true, kPurchases);
    save();
    ui::clearShownMessages();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    clickPrintPurchases();
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.contains(folder.file("nwForm10DB.mdb"))) << messages()[0].prompt.toStdString();
    EXPECT_TRUE(messages()[0].prompt.contains("locked")) << messages()[0].prompt.toStdString();
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    EXPECT_EQ(preview(), nullptr);

    clickPrintPurchases();
    EXPECT_EQ(messages().size(), 1u);
    ASSERT_NE(preview(), nullptr);
    EXPECT_TRUE(reportText().contains("Delta Mills"));
}

// Pictures of the three previews, for a person to look at. Not part of the regular run: run
// under Xvfb with --gtest_also_run_disabled_tests (LUMORA_SHOTS names the folder; /tmp by default).
TEST_F(PrintTest, DISABLED_ScreenshotsOfTheThreePreviews)
{
    const QString dir = qEnvironmentVariableIsEmpty("LUMORA_SHOTS") ? QDir::tempPath() : qEnvironmentVariable("LUMORA_SHOTS");
    form->lblCustomerName->setText("Sree Krishna Traders, Market Road, Thrissur");
    keyBills(true, kPurchases);
    keyBills(true, {{"21-03-09", "Kerala State Co-operative Marketing Federation Ltd", "32070123456", "KSC/2009/1187",
                     P12, "123456.78", "15432.10", "154.32"}});
    keyBills(false, kSales);
    form->txtPlace->setText("Thrissur");
    save();
    const auto shot = [&](const char* name) {
        QTest::qWait(600);
        if (QScreen* screen = QApplication::primaryScreen()) {
            EXPECT_TRUE(screen->grabWindow(0).save(dir + "/" + name));
        }
    };
    clickPrintPurchases();
    shot("report-purchase.png");
    ui::ScopedSaveFileAnswer answer(dir + "/report-purchase.pdf");
    clickTool("actExportPdf");
    preview()->close();
    clickPrintSales();
    shot("report-sales.png");
    preview()->close();
    chooseInterState();
    keyBills(true, {{"11-03-09", "Far Suppliers", "I1", "F1", P4, "400", "16", "0"}});
    save();
    clickPrintPurchases();
    shot("report-interstate.png");
}

} // namespace
