// The dealer window on the road into the Form 10 tool: dealers kept apart through Save,
// Export and PRINT, the rows stored before there were dealers, and what the window refuses.
#include "register_support.h"

#include "TextFit.h"
#include "WaitFor.h"
#include "form10/registers/DealerList.h"
#include "form10/registers/frmDealer.h"
#include "form10/registers/frmSelect.h"
#include "platform/db/Error.h"
#include "platform/ui/reports/CrystalReport.h"
#include "platform/ui/controls/OptionButton.h"
#include "platform/ui/reports/ReportPreview.h"
#include "platform/ui/controls/Toolbar.h"
#include "shell/main.h"

#include <QInputMethodEvent>
#include <QRegularExpression>

using namespace f10test;
using f10::Dealer;

namespace {

// Quotes, blanks and Malayalam in codes and names.
const Dealer kFirst{"K'01", "ശ്രീ O'Brien's Traders", "32010203040", "CST 12/05"};
const Dealer kSecond{"മ'02 B", "മലബാർ 'Stores'", "", ""};

QString quoted(QString v) { return "'" + v.replace("'", "''") + "'"; }
QString entryOf(const Dealer& d) { return d.name + " (" + d.code + ")"; }

class DealerTest : public RegisterScreen {
protected:
    void SetUp() override { Form10Test::SetUp(); }   // the register screen comes by the road
    void TearDown() override
    {
        f10::SaveUnit::beforeStepHook() = nullptr;
        RegisterScreen::TearDown();
    }
    frmDealer& window() { return ui::form<frmDealer>(); }
    // The main window's "Form 10" button.
    void openTool()
    {
        ui::form<main>().Show();
        QTest::mouseClick(ui::form<main>().Toolbar2->findButton("f10")->widget(), Qt::LeftButton);
        ASSERT_TRUE(ui::formLoaded<frmDealer>() && window().isVisible());
    }
    // Keys for the Latin letters; Malayalam comes from the input method, as on a desktop.
    void type(ui::TextBox* box, const QString& text)
    {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        for (const QChar c : text) {
            if (c.unicode() < 128) {
                QTest::keyClick(box, c.toLatin1());
                continue;
            }
            QInputMethodEvent typed;
            typed.setCommitString(c);
            QApplication::sendEvent(box, &typed);
        }
    }
    void fill(const Dealer& d)
    {
        type(window().txtCode, d.code);
        type(window().txtName, d.name);
        type(window().txtTIN, d.tin);
        type(window().txtCSTNo, d.cstNo);
    }
    void add(const Dealer& d)
    {
        fill(d);
        click(window().cmdAdd);
    }
    void choose(const Dealer& d)
    {
        const auto found = window().lstDealers->findItems(entryOf(d), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        QTest::mouseClick(window().lstDealers->viewport(), Qt::LeftButton, {},
                          window().lstDealers->visualItemRect(found.front()).center());
    }
    QStringList entries()
    {
        QStringList out;
        for (int i = 0; i < window().lstDealers->ListCount(); ++i)
            out << window().lstDealers->List(i);
        return out;
    }
    Dealer values() const { return {Module2().DealerCode, Module2().DealerName, Module2().DealerTIN, Module2().DealerCSTNo}; }
    // "Form No. 52" by Enter on the option screen the window brought up.
    void openRegisters()
    {
        ASSERT_TRUE(ui::formLoaded<frmSelect>() && ui::form<frmSelect>().isVisible());
        QTest::keyClick(ui::form<frmSelect>().Option1, Qt::Key_Return);
        form = &ui::form<frmNormal>();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }
    // The report a PRINT button shows, or the message it gave instead.
    QString printed(ui::CommandButton* button)
    {
        click(button);
        auto* preview = form->CrystalReport1->previewWindow();
        return preview ? preview->layout().plainText() : "<no report> " + lastPrompt();
    }
    // Save, Export and the purchase PRINT of one bill each way: the report's text.
    QString keySaveExportPrint(size_t bill)
    {
        keyBills(true, {kPurchases[bill]});
        keyBills(false, {kSales[bill]});
        click(form->cmdAdd);
        click(form->cmdExport);
        return printed(form->cmdPrint1);
    }
    int rowsOf(const char* table, const QString& code) { return count(db, table, "cCode=" + quoted(code)); }
};

TEST_F(DealerTest, TwoDealersKeepTheSameMonthApartThroughSaveExportAndPrint)
{
    openTool();
    EXPECT_EQ(unreadableTexts(&window()), "");
    add(kFirst);
    EXPECT_EQ(entries(), QStringList{entryOf(kFirst)});
    click(window().cmdOpen);
    EXPECT_FALSE(ui::formLoaded<frmDealer>());
    EXPECT_EQ(values(), kFirst);
    openRegisters();
    EXPECT_EQ(form->lblCustomerName->text(), kFirst.name);
    expectMentions(keySaveExportPrint(0), {"Dealer  " + kFirst.name, "Dealer code  " + kFirst.code, "Alpha Agencies"});

    // The same road with the register screen open: the dealer chosen last is offered first,
    // and the screen turns to the new dealer's month.
    openTool();
    EXPECT_EQ(window().lstDealers->Text(), entryOf(kFirst));
    add(kSecond);
    EXPECT_EQ(entries(), (QStringList{entryOf(kSecond), entryOf(kFirst)}));   // by name
    QTest::keyClick(window().lstDealers, Qt::Key_Return);
    EXPECT_EQ(values(), kSecond);
    EXPECT_EQ(form->lblCustomerName->text() + "|" + form->fg1->TextMatrix(1, 2) + form->fg2->TextMatrix(1, 2), kSecond.name + "|");
    openRegisters();
    // Nothing saved for it yet: both PRINTs say so, and no register of the first dealer shows.
    for (QWidget* w : form->findChildren<ui::ReportPreview*>())
        w->close();
    EXPECT_EVENTUALLY(form->CrystalReport1->previewWindow() == nullptr);
    for (ui::CommandButton* button : {form->cmdPrint1, form->Command2}) {
        ui::clearShownMessages();
        EXPECT_EQ(printed(button), "<no report> Nothing has been saved for this dealer yet, so there is no "
                                   "register to print.\n\nSave a month on this screen first: PRINT shows the "
                                   "month this dealer saved last.");
    }
    const QString report = keySaveExportPrint(1);
    expectMentions(report, {"Dealer  " + kSecond.name, "Dealer code  " + kSecond.code, "Beta Traders"});
    EXPECT_FALSE(report.contains("Alpha") || report.contains(kFirst.name)) << report.toStdString();

    // Each dealer's rows under its own code and name, its report rows too; one page row per
    // dealer and return.
    for (const auto& [d, party] : {std::pair{kFirst, "Alpha Agencies"}, {kSecond, "Beta Traders"}}) {
        const QString mine = "cCode=" + quoted(d.code) + " AND cAddress=" + quoted(d.name);
        EXPECT_EQ(count(db, "tblPurchase1", mine + " AND Party='" + party + "'") + count(db, "tblSales", mine), 2);
        EXPECT_EQ(count(db, "tblCommon", mine), 1);
        for (const char* rpt :
             {"tblRptPurchase1", "tblRptSales1", "tblRptPurchaseC", "tblRptPurchaseInterStateC", "tblRptSales"})
            EXPECT_EQ(count(db, rpt, mine), 1) << rpt;
        for (const char* page : {"tblMPage1", "tblMPage2", "tblMPage3", "tblMPage4", "tblMPage5"})
            EXPECT_EQ(count(db, page, "cCode=" + quoted(d.code) + " AND cRPFrom=" + quoted(currentMonth())), 1) << page;
    }

    // Back to the first dealer: its month as saved. The second, chosen since, is offered.
    openTool();
    EXPECT_EQ(window().lstDealers->Text(), entryOf(kSecond));
    choose(kFirst);
    click(window().cmdOpen);
    EXPECT_EQ(form->lblCustomerName->text(), kFirst.name);
    EXPECT_EQ(form->fg1->TextMatrix(1, 2) + "|" + form->fg2->TextMatrix(1, 2), "Alpha Agencies|Buyer Zero");
    for (const auto& [button, bill] : {std::pair{form->cmdPrint1, "Alpha Agencies"}, {form->Command2, "Buyer Zero"}}) {
        const QString text = printed(button);
        expectMentions(text, {"Dealer  " + kFirst.name, "Dealer code  " + kFirst.code, "Month  " + currentMonth(),
                              bill});
        EXPECT_FALSE(text.contains(kSecond.name) || text.contains("Beta") || text.contains("Buyer One"))
            << text.toStdString();
    }
}

TEST_F(DealerTest, TheOldRowsGetTheirDealerInEveryTableWhollyOrNotAtAll)
{
    // A month saved and exported before there were dealers: the empty code everywhere. Its
    // report is its own, and another dealer's report row (stored first) is left alone.
    exec(db, "INSERT INTO tblRptPurchaseC (cCode, cMonth, cAddress) VALUES ('Z', 'June', 'Zeta')");
    openScreen();
    keyBills(true, {kPurchases[0]});
    keyBills(false, {kSales[0]});
    click(form->cmdAdd);
    click(form->cmdExport);
    const QString report = printed(form->cmdPrint1);
    EXPECT_TRUE(report.contains("Alpha Agencies") && !report.contains("Zeta")) << report.toStdString();
    EXPECT_EQ(rowsOf("tblRptPurchaseC", "Z"), 1);
    exec(db, "DELETE FROM tblRptPurchaseC WHERE cCode='Z'");
    form->Unload();
    for (const char* table : {"tblPurchaseInterState1", "tblRptPurchaseInterState", "tblRptCommon"})
        exec(db, QString("INSERT INTO %1 (cCode, cMonth) VALUES ('', 'June')").arg(table));

    openTool();
    EXPECT_EQ(entries(), QStringList{"(no dealer)"});
    fill(kFirst);
    const QString before = dump(db);
    const QByteArray beforeBytes = bytesOf(db);
    answer = ui::vbYes;
    QStringList steps{"tblDealer"};
    for (const f10::KeyedTable& t : f10::kDealerKeyedTables)
        steps << t.name;
    for (const QString& failing : steps) {
        f10::SaveUnit::beforeStepHook() = [&](const QString& step) {
            if (step == failing)
                throw ado::Error(3051, "The disk is full");
        };
        ui::clearShownMessages();
        click(window().cmdCorrect);
        ASSERT_EQ(messages().size(), 2u) << failing.toStdString();   // the question, then the failure
        expectMentions(lastPrompt(), {"writing " + failing, "The disk is full", "as they were"});
        EXPECT_EQ(dump(db), before) << failing.toStdString();
        EXPECT_EQ(bytesOf(db), beforeBytes) << failing.toStdString();
    }

    f10::SaveUnit::beforeStepHook() = nullptr;
    click(window().cmdCorrect);
    for (const f10::KeyedTable& t : f10::kDealerKeyedTables) {
        EXPECT_EQ(std::pair(rowsOf(t.name, ""), rowsOf(t.name, kFirst.code) > 0), std::pair(0, true)) << t.name;
        if (t.hasAddress) {
            EXPECT_EQ(count(db, t.name, "cAddress=" + quoted(kFirst.name)), count(db, t.name)) << t.name;
        }
    }
    EXPECT_EQ(count(db, "tblMPage2", "cCode IS NULL"), 1);   // the exit flag's row is no dealer's
    EXPECT_EQ(entries(), QStringList{entryOf(kFirst)});
    click(window().cmdOpen);
    openRegisters();
    EXPECT_EQ(form->fg1->TextMatrix(1, 2) + "|" + form->lblCustomerName->text(), "Alpha Agencies|" + kFirst.name);
}

TEST_F(DealerTest, ChangingDealerOrLeavingWithUnsavedBillsAsksFirst)
{
    openTool();
    add(kSecond);
    add(kFirst);
    click(window().cmdOpen);
    openRegisters();
    keyBills(false, {kSales[2]});   // sales alone, not saved
    for (const int reply : {ui::vbNo, ui::vbYes}) {
        openTool();
        choose(kSecond);
        ui::clearShownMessages();
        answer = reply;
        click(window().cmdOpen);
        expectMentions(lastPrompt(), {"not been saved", currentMonth()});
        const bool kept = reply == ui::vbNo;
        EXPECT_EQ(ui::formLoaded<frmDealer>(), kept);
        EXPECT_EQ(values(), kept ? kFirst : kSecond);
        EXPECT_EQ(form->fg2->TextMatrix(1, 2), kept ? "Buyer Four" : "");
    }
    // Escape leaves the tool as the option screen's Cancel does, once the bills may go.
    keyBills(true, {kPurchases[3]});
    for (const int reply : {ui::vbNo, ui::vbYes}) {
        openTool();
        ui::clearShownMessages();
        answer = reply;
        QTest::keyClick(window().lstDealers, Qt::Key_Escape);
        EXPECT_EQ(messages().size(), 1u);
        for (const bool loaded : {ui::formLoaded<frmDealer>(), ui::formLoaded<frmNormal>(), ui::formLoaded<frmSelect>()})
            EXPECT_EQ(loaded, reply == ui::vbNo);
    }
    EXPECT_TRUE(ui::form<main>().isVisible());
}

TEST_F(DealerTest, WhatCannotBeStoredIsExplainedAndACorrectionFollowsTheDealerInUse)
{
    openTool();
    add(kFirst);
    add(kSecond);
    // Another state's TIN, one digit short, a letter for a digit: none is stored (the box takes 11).
    for (const char* tin : {"33010203040", "3201020304", "32O10203040"}) {
        ui::clearShownMessages();
        add({"C1", "N", tin, ""});
        expectMentions(lastPrompt(), {QString("The TIN \"%1\" is not a Kerala TIN").arg(tin)});
    }
    add({"k'01", "Other", "", ""});        // codes ignore case, as every keyed statement does
    expectMentions(lastPrompt(), {"already given to " + kFirst.name});
    choose(kSecond);
    type(window().txtCode, kFirst.code);
    click(window().cmdCorrect);
    expectMentions(lastPrompt(), {"already given to"});
    EXPECT_EQ(count(db, "tblDealer"), 2);

    // The dealer in use corrected with its month on screen: rows, screen and values follow.
    choose(kFirst);
    click(window().cmdOpen);
    openRegisters();
    keyBills(true, {kPurchases[0]});
    click(form->cmdAdd);
    const Dealer renamed{"K'01-N", "ശ്രീ O'Brien & Sons", "32010203041", ""};
    openTool();
    fill(renamed);
    answer = ui::vbYes;
    click(window().cmdCorrect);
    EXPECT_EQ(values(), renamed);
    EXPECT_EQ(form->lblCustomerName->text(), renamed.name);
    EXPECT_EQ(std::pair(rowsOf("tblPurchase1", kFirst.code), rowsOf("tblPurchase1", renamed.code)), std::pair(0, 1));
    EXPECT_EQ(entries(), (QStringList{entryOf(kSecond), entryOf(renamed)}));
}

TEST_F(DealerTest, AFileMadeBeforeDealersGetsTheListNewFilesHaveAndNothingElseChanges)
{
    // Every table keyed by dealer is one a correction moves.
    QStringList keyed, listed;
    for (const Row& t : query(db, "SELECT m.name || '/' || p.name AS k FROM sqlite_master m, pragma_table_info(m.name) p "
                                  "WHERE m.type='table' AND m.name<>'tblDealer' AND p.name IN ('cCode', 'cAddress') ORDER BY k"))
        keyed << t.at("k").text;
    for (const f10::KeyedTable& t : f10::kDealerKeyedTables)
        listed << QString(t.name) + "/cCode" << (t.hasAddress ? QString(t.name) + "/cAddress" : QString());
    listed.removeAll(QString());
    listed.sort();
    EXPECT_EQ(keyed, listed);

    const auto dealerTable = [this] { return dump(db, "tblDealer").remove(QRegularExpression("\\s")); };
    const QString asBuilt = dealerTable();
    exec(db, "DROP TABLE tblDealer");
    const QString others = dump(db);
    openTool();
    EXPECT_EQ(dealerTable(), asBuilt);
    EXPECT_EQ(dump(db).remove(QRegularExpression("[^\n]*tblDealer[^\n]*\n")), others);
}

} // namespace
