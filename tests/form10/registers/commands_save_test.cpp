// Save on the register screen: bills keyed through the grids, the Save button clicked, the
// database file read directly.
#include "storage_support.h"

#include "form10/returns/SaveUnit.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/ui/MousePointer.h"
#include "platform/vb/Vb.h"

using namespace storetest;

namespace {

const std::vector<Bill> kPurchases = {
    {"15-03-09", "Alpha Agencies", "T1", "B1", P0, "100", "0", "0"},
    {"05-03-09", "Beta Traders", "T2", "B2", P1, "200", "2", "0.50"},
    {"20-03-09", "Gamma Stores", "T3", "B3", P4, "300", "12", "1"},
    {"01-03-09", "Delta Mills", "T4", "B4", P12, "1000", "125", "10"},
    {"10-03-09", "Epsilon & Co", "T5", "B5", P20, "50", "10", "0.25"},
};
const std::vector<Bill> kSales = {
    {"02-03-09", "Buyer Zero", "S1", "X1", S0, "10", "0", "0"},
    {"03-03-09", "Buyer One", "S2", "X2", S1, "20", "0.20", "0"},
    {"04-03-09", "Buyer Four", "S3", "X3", S4, "250", "10", "0.10"},
    {"05-03-09", "Buyer Twelve", "S4", "X4", S12, "80", "10", "1"},
    {"06-03-09", "Buyer Twenty", "S5", "X5", S20, "40", "8", "0.40"},
    {"07-03-09", "Buyer Outside", "S6", "X6", SCST, "100", "2", "0"},
};

class SaveTest : public ScreenFixture {
protected:
    void keyMonth()
    {
        keyBills(true, kPurchases);
        keyBills(false, kSales);
        screen->txtPlace->selectAll();
        QTest::keyClicks(screen->txtPlace, QStringLiteral("Kochi"));
    }
    Row only(const QString& table)
    {
        const auto rows = query(db, QStringLiteral("SELECT * FROM ") + table);
        EXPECT_EQ(rows.size(), 1u) << table.toStdString();
        return rows.empty() ? Row{} : rows.front();
    }
    void expectNumber(const Row& row, const char* column, double value)
    {
        const auto it = row.find(QLatin1String(column));
        ASSERT_NE(it, row.end()) << column;
        EXPECT_EQ(it->second.type, QStringLiteral("real")) << column;
        EXPECT_NEAR(it->second.number(), value, 1e-9) << column;
    }
    bool successShown(const QString& text)
    {
        for (const auto& m : messages())
            if (m.prompt == text && m.title == QStringLiteral("Success...........!") && m.icon() == ui::vbInformation)
                return true;
        return false;
    }
};

TEST_F(SaveTest, LocalPurchasesAndSalesAtEveryRateReachEveryTable)
{
    keyMonth();
    // The success message comes after the summary rows are filled, with the pointer back.
    bool summaryFilledAtMessage = false;
    int pointerAtMessage = -1;
    onMessage = [&](const ui::MessageRecord& m) {
        if (m.prompt != QStringLiteral("RECORD ADDED  SUCCESSFULLY"))
            return;
        pointerAtMessage = ui::mousePointer();
        const auto sales = query(db, QStringLiteral("SELECT SCTTotal FROM tblRptSales"));
        const auto purchases = query(db, QStringLiteral("SELECT PCTTotal FROM tblRptPurchaseC"));
        summaryFilledAtMessage = sales.size() == 1 && !sales[0].at("SCTTotal").isNull() && purchases.size() == 1
                                 && !purchases[0].at("PCTTotal").isNull();
    };
    clickSave();

    ASSERT_EQ(messages().size(), 1u) << lastPrompt().toStdString();
    EXPECT_TRUE(successShown(QStringLiteral("RECORD ADDED  SUCCESSFULLY")));
    EXPECT_TRUE(summaryFilledAtMessage);
    EXPECT_EQ(pointerAtMessage, ui::vbDefault);
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    EXPECT_EQ(screen->cmdAdd->BackColor(), 0xC0C0FF);

    const QString key = QStringLiteral("cCode='' AND cMonth='%1'").arg(month());
    // Registers: one record per bill, bill dates as dates, the rate as the picker put it.
    const auto purchases = query(db, QStringLiteral("SELECT * FROM tblPurchase1 WHERE %1 ORDER BY BillDate").arg(key));
    ASSERT_EQ(purchases.size(), 5u);
    EXPECT_EQ(purchases[0].at("Party").text, QStringLiteral("Delta Mills"));
    EXPECT_EQ(purchases[0].at("BillDate").text, QStringLiteral("2009-03-01"));
    EXPECT_EQ(vb::Trim(purchases[0].at("RateOfTax").text), QStringLiteral("12.5"));
    EXPECT_NE(purchases[0].at("RateOfTax").text, QStringLiteral("12.5"));   // blanks kept
    EXPECT_NEAR(purchases[0].at("NetAmount").number(), 1135, 1e-9);
    EXPECT_EQ(purchases[0].at("Place").text, QStringLiteral("Kochi"));
    EXPECT_EQ(purchases[0].at("eDate").text, vb::Trim(screen->txtDate->Text()));
    EXPECT_EQ(purchases[4].at("Party").text, QStringLiteral("Gamma Stores"));
    EXPECT_EQ(count(db, QStringLiteral("tblPurchaseInterState1")), 0);
    const auto sales = query(db, QStringLiteral("SELECT * FROM tblSales WHERE %1 ORDER BY BillDate").arg(key));
    ASSERT_EQ(sales.size(), 6u);
    EXPECT_EQ(vb::Trim(sales[5].at("RateOfTax").text), QStringLiteral("CST"));

    // The grids show what was stored: bill-date order, renumbered, trailing blank row gone.
    EXPECT_EQ(screen->fg1->Rows(), 6);
    EXPECT_EQ(screen->fg1->TextMatrix(1, 0), QStringLiteral("1"));
    EXPECT_EQ(screen->fg1->TextMatrix(1, 1), QStringLiteral("01-03-09"));
    EXPECT_EQ(screen->fg1->TextMatrix(1, 2), QStringLiteral("Delta Mills"));
    EXPECT_EQ(screen->fg1->TextMatrix(2, 8), QStringLiteral("0.50"));
    EXPECT_EQ(screen->fg2->Rows(), 7);

    // Month summary: money as numbers, keys and texts as text, row totals of the purchases.
    const Row common = only(QStringLiteral("tblCommon"));
    EXPECT_EQ(common.at("cMonth").type, QStringLiteral("text"));
    EXPECT_EQ(common.at("cMonth").text, month());
    EXPECT_EQ(common.at("Place").text, QStringLiteral("Kochi"));
    expectNumber(common, "PTA12", 1000);
    expectNumber(common, "PTT12", 125);
    expectNumber(common, "PTC12", 10);
    expectNumber(common, "PTC1", 0.5);
    expectNumber(common, "PTA20", 50);
    expectNumber(common, "STA4", 250);
    expectNumber(common, "STC4", 0.1);
    expectNumber(common, "STACST", 100);
    expectNumber(common, "STTCST", 2);
    expectNumber(common, "STC20", 0.4);
    expectNumber(common, "netTotal", 1810.75);
    expectNumber(common, "RT0", 100);
    expectNumber(common, "RT1", 202.5);
    expectNumber(common, "RT12", 1135);
    expectNumber(common, "RT20", 60.25);

    // Bill lists keep the grid's text; the sales list has no place.
    const auto billList = query(db, QStringLiteral("SELECT * FROM tblRptPurchase1 ORDER BY SlNo"));
    ASSERT_EQ(billList.size(), 5u);
    EXPECT_EQ(billList[0].at("BillDate").text, QStringLiteral("01-03-09"));
    EXPECT_EQ(billList[0].at("Place").text, QStringLiteral("Kochi"));
    EXPECT_EQ(count(db, QStringLiteral("tblRptSales1")), 6);
    EXPECT_EQ(query(db, QStringLiteral("PRAGMA table_info(tblRptSales1)")).size(),
              query(db, QStringLiteral("PRAGMA table_info(tblRptPurchase1)")).size() - 1);

    // Summary report rows.
    const Row purchaseC = only(QStringLiteral("tblRptPurchaseC"));
    expectNumber(purchaseC, "PRT4", 313);
    expectNumber(purchaseC, "PCTAmt", 1650);
    expectNumber(purchaseC, "PCTTax", 149);
    expectNumber(purchaseC, "PCTCess", 11.75);
    expectNumber(purchaseC, "PCTTotal", 1810.75);
    EXPECT_EQ(purchaseC.at("Place").text, QStringLiteral("Kochi"));
    const Row salesC = only(QStringLiteral("tblRptSales"));
    expectNumber(salesC, "SRT4", 260.1);
    expectNumber(salesC, "SRTCST", 102);
    expectNumber(salesC, "SCTAmt", 500);
    expectNumber(salesC, "SCTTax", 30.2);
    expectNumber(salesC, "SCTCess", 1.5);
    expectNumber(salesC, "SCTTotal", 531.7);
    // The inter-state summary keeps its bare key row.
    const Row interC = only(QStringLiteral("tblRptPurchaseInterStateC"));
    EXPECT_EQ(interC.at("cMonth").text, month());
    EXPECT_TRUE(interC.at("PTA0").isNull());
}

TEST_F(SaveTest, InterStatePurchasesGoToTheirOwnTables)
{
    chooseInterState();
    keyBills(true, {kPurchases[3], kPurchases[0]});
    keyBills(false, {kSales[5]});
    clickSave();
    EXPECT_TRUE(successShown(QStringLiteral("RECORD ADDED  SUCCESSFULLY"))) << lastPrompt().toStdString();

    EXPECT_EQ(count(db, QStringLiteral("tblPurchase1")), 0);
    EXPECT_EQ(count(db, QStringLiteral("tblPurchaseInterState1")), 2);
    EXPECT_EQ(count(db, QStringLiteral("tblRptPurchaseInterState")), 2);
    EXPECT_EQ(count(db, QStringLiteral("tblRptPurchase1")), 0);
    EXPECT_EQ(count(db, QStringLiteral("tblSales")), 1);
    const Row interC = only(QStringLiteral("tblRptPurchaseInterStateC"));
    expectNumber(interC, "PRT12", 1135);
    expectNumber(interC, "PCTTotal", 1235);
    const Row localC = only(QStringLiteral("tblRptPurchaseC"));
    EXPECT_TRUE(localC.at("PTA0").isNull());
    const Row common = only(QStringLiteral("tblCommon"));
    expectNumber(common, "PTA12", 1000);
    expectNumber(common, "STACST", 100);
}

TEST_F(SaveTest, SavingAgainWithUnchangedDataChangesNothing)
{
    keyMonth();
    clickSave();
    ASSERT_EQ(count(db, QStringLiteral("tblPurchase1")), 5);
    // The first save renumbers the rows in bill-date order; from then on the screen holds
    // exactly what is stored, and saving it again changes nothing.
    clickSave();
    const QString second = dumpTables(db);
    EXPECT_EQ(count(db, QStringLiteral("tblPurchase1")), 5);
    EXPECT_EQ(count(db, QStringLiteral("tblSales")), 6);
    clickSave();
    EXPECT_EQ(dumpTables(db).toStdString(), second.toStdString());
    EXPECT_EQ(count(db, QStringLiteral("tblCommon")), 1);
    EXPECT_EQ(messages().size(), 3u);
    // The grid read back holds every amount as stored.
    EXPECT_EQ(screen->fg1->TextMatrix(1, 8), QStringLiteral("10.00"));
    EXPECT_EQ(screen->fg1->TextMatrix(0, 8), QStringLiteral("Cess"));
}

TEST_F(SaveTest, SaveAfterDeletingARowStoresTheRest)
{
    keyBills(true, {kPurchases[0], kPurchases[1], kPurchases[2]});
    clickSave();
    ASSERT_EQ(count(db, QStringLiteral("tblPurchase1")), 3);

    // Row 2 (Beta, the earliest date after the re-read sort is row 1) goes by Ctrl+Y.
    ASSERT_EQ(screen->fg1->TextMatrix(1, 2), QStringLiteral("Beta Traders"));
    screen->fg1->setRow(1);
    QTest::keyClick(screen->txtGrid1, Qt::Key_Y, Qt::ControlModifier);
    clickSave();

    EXPECT_EQ(count(db, QStringLiteral("tblPurchase1")), 2);
    EXPECT_EQ(count(db, QStringLiteral("tblPurchase1"), QStringLiteral("Party='Beta Traders'")), 0);
    const Row common = only(QStringLiteral("tblCommon"));
    expectNumber(common, "PTA1", 0);
    expectNumber(common, "netTotal", 413);
    EXPECT_EQ(count(db, QStringLiteral("tblRptPurchase1")), 2);
}

TEST_F(SaveTest, TextLeftInTheCellEditorIsSaved)
{
    keyBills(true, {kPurchases[0]});
    // A second bill whose cess is typed but not yet entered.
    const Bill b = kPurchases[3];
    typeCell(true, b.date);
    typeCell(true, b.party);
    typeCell(true, b.tin);
    typeCell(true, b.billNo);
    QTest::keyClick(screen->List2, Qt::Key_Return);   // rate 0
    typeCell(true, b.amount);
    typeCell(true, b.tax);
    QTest::keyClicks(screen->txtGrid1, QStringLiteral("7"));
    clickSave();

    EXPECT_EQ(count(db, QStringLiteral("tblPurchase1"), QStringLiteral("Party='Delta Mills' AND Cess=7")), 1);
    expectNumber(only(QStringLiteral("tblCommon")), "PTC0", 7);
    expectNumber(only(QStringLiteral("tblCommon")), "netTotal", 1232);
}

TEST_F(SaveTest, ApostrophesAreStoredAndFoundExactly)
{
    Module2().DealerCode = QStringLiteral("K'07");
    Module2().DealerName = QStringLiteral("D'Souza & Sons");
    screen->lblCustomerName->setText(Module2().DealerName);
    keyBills(true, {{"02-03-09", "O'Brien's Mart", "T'1", "B'1", P4, "100", "4", "0"}});
    keyBills(false, {{"03-03-09", "St. Mary's", "S1", "X1", S4, "50", "2", "0"}});
    screen->txtPlace->selectAll();
    QTest::keyClicks(screen->txtPlace, QStringLiteral("Kerala's Port"));
    clickSave();
    clickSave();   // the keyed deletes must find the rows the first save wrote

    EXPECT_TRUE(successShown(QStringLiteral("RECORD ADDED  SUCCESSFULLY"))) << lastPrompt().toStdString();
    const auto purchases = query(db, QStringLiteral("SELECT * FROM tblPurchase1"));
    ASSERT_EQ(purchases.size(), 1u);
    EXPECT_EQ(purchases[0].at("Party").text, QStringLiteral("O'Brien's Mart"));
    EXPECT_EQ(purchases[0].at("cCode").text, QStringLiteral("K'07"));
    EXPECT_EQ(purchases[0].at("cAddress").text, QStringLiteral("D'Souza & Sons"));
    EXPECT_EQ(count(db, QStringLiteral("tblSales")), 1);
    const Row common = only(QStringLiteral("tblCommon"));
    EXPECT_EQ(common.at("cAddress").text, QStringLiteral("D'Souza & Sons"));
    EXPECT_EQ(common.at("Place").text, QStringLiteral("Kerala's Port"));
    // The summary rows are found by the dealer's name and filled.
    expectNumber(only(QStringLiteral("tblRptPurchaseC")), "PRT4", 104);
    expectNumber(only(QStringLiteral("tblRptSales")), "SRT4", 52);
    // And the grids read the month back.
    EXPECT_EQ(screen->fg1->TextMatrix(1, 2), QStringLiteral("O'Brien's Mart"));
    EXPECT_EQ(screen->fg2->TextMatrix(1, 2), QStringLiteral("St. Mary's"));
}

TEST_F(SaveTest, TheMonthIsTrimmedOnceForEveryKeyedStatement)
{
    keyBills(true, {kPurchases[0]});
    clickSave();
    const QString padded = QStringLiteral(" ") + month() + QStringLiteral(" ");
    screen->txtRPTo->setText(padded);
    keyBills(true, {kPurchases[1]});
    clickSave();
    EXPECT_EQ(count(db, QStringLiteral("tblCommon")), 1);
    EXPECT_EQ(count(db, QStringLiteral("tblPurchase1")), 2);
    EXPECT_EQ(only(QStringLiteral("tblCommon")).at("cMonth").text, vb::Trim(padded));
}

TEST_F(SaveTest, SaveByEnterShowsItsOwnMessageAndKeepsTheColour)
{
    keyBills(true, {kPurchases[0]});
    screen->cmdAdd->setBackColor(0x123456);
    QTest::keyClick(screen->cmdAdd, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(successShown(QStringLiteral("FILE  UPDATED  SUCCESSFULLY"))) << lastPrompt().toStdString();
    EXPECT_FALSE(successShown(QStringLiteral("RECORD ADDED  SUCCESSFULLY")));
    EXPECT_EQ(count(db, QStringLiteral("tblPurchase1")), 1);
    EXPECT_EQ(screen->cmdAdd->BackColor(), 0x123456);
}

// ---- a save that cannot complete leaves the stored month as it was ------------------------

class FailedSaveTest : public SaveTest {
protected:
    void SetUp() override
    {
        SaveTest::SetUp();
        keyBills(true, {kPurchases[0], kPurchases[1]});
        keyBills(false, {kSales[0]});
        clickSave();
        ASSERT_EQ(count(db, QStringLiteral("tblPurchase1")), 2);
        before = dumpTables(db);
        ui::clearShownMessages();
        // The user changes the month: one more bill in each grid.
        keyBills(true, {kPurchases[2]});
        keyBills(false, {kSales[1]});
        keyed = gridTexts();
    }
    // Columns 1 to 8 of every row of both grids: what the user typed.
    QStringList gridTexts()
    {
        QStringList out;
        for (ui::FlexGrid* g : {screen->fg1, screen->fg2})
            for (int r = 0; r < g->Rows(); ++r)
                for (int c = 1; c <= 8; ++c)
                    out << g->TextMatrix(r, c);
        return out;
    }
    void TearDown() override
    {
        f10::SaveUnit::beforeStepHook() = nullptr;
        SaveTest::TearDown();
    }
    // One message, the failure one, with the pointer back; nothing stored changed; the
    // grids still hold what the user keyed.
    void expectRolledBack(const QString& mentioned)
    {
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].title, QStringLiteral("Sorry.........!"));
        EXPECT_TRUE(messages()[0].prompt.contains(QStringLiteral("not saved"))) << messages()[0].prompt.toStdString();
        EXPECT_TRUE(messages()[0].prompt.contains(mentioned)) << messages()[0].prompt.toStdString();
        EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
        EXPECT_EQ(dumpTables(db).toStdString(), before.toStdString());
        EXPECT_EQ(gridTexts(), keyed);
        EXPECT_EQ(screen->txtTotal->Text(), QStringLiteral("615.50"));
    }
    QString before;
    QStringList keyed;
};

TEST_F(FailedSaveTest, ABadBillDateStopsTheSaveBeforeAnythingIsWritten)
{
    // Rows 1-3 hold Beta, Alpha, Gamma; two more bills make five, then row 3's date is
    // keyed again as one that passes the dash check but names no day.
    keyBills(true, {kPurchases[3], kPurchases[4]});
    screen->fg1->setRow(3);
    screen->fg1->setCol(1);
    typeCell(true, QStringLiteral("31-02-09"));
    clickSave();

    ASSERT_EQ(messages().size(), 1u);
    const auto& m = messages()[0];
    EXPECT_TRUE(m.prompt.contains(QStringLiteral("row 3"))) << m.prompt.toStdString();
    EXPECT_TRUE(m.prompt.contains(QStringLiteral("purchase"))) << m.prompt.toStdString();
    EXPECT_TRUE(m.prompt.contains(QStringLiteral("31-02-09"))) << m.prompt.toStdString();
    EXPECT_EQ(dumpTables(db).toStdString(), before.toStdString());
    EXPECT_EQ(screen->fg1->TextMatrix(3, 1), QStringLiteral("31-02-09"));
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
}

TEST_F(FailedSaveTest, ATableDroppedMidwayRollsEverythingBack)
{
    // The month summary table disappears after the registers were rewritten.
    f10::SaveUnit::beforeStepHook() = [](const QString& step) {
        if (step == QStringLiteral("procWriteCommon"))
            Module2().Form10Connection->Execute(QStringLiteral("DROP TABLE tblCommon"));
    };
    clickSave();
    expectRolledBack(QStringLiteral("writing the month summary"));
}

TEST_F(FailedSaveTest, AFailureInsideAStepThatSkipsErrorsStillRollsBack)
{
    // The sales summary loader skips failing statements; a missing table is not one of
    // the failures it may skip inside a save.
    f10::SaveUnit::beforeStepHook() = [](const QString& step) {
        if (step == QStringLiteral("procDeleteAllRows tblRptSales1"))
            Module2().Form10Connection->Execute(QStringLiteral("DROP TABLE tblRptSales"));
    };
    clickSave();
    expectRolledBack(QStringLiteral("tblRptSales"));
}

TEST_F(FailedSaveTest, AReadOnlyDatabaseRollsBack)
{
    // The database refuses writes once the purchase register has been rewritten.
    ado::Connection holder;   // keeps the shared handle, and with it the setting, alive
    holder.Open(form10ConnectString());
    f10::SaveUnit::beforeStepHook() = [](const QString& step) {
        if (step == QStringLiteral("procWriteSales"))
            Module2().Form10Connection->Execute(QStringLiteral("PRAGMA query_only = ON"));
    };
    clickSave();
    holder.Execute(QStringLiteral("PRAGMA query_only = OFF"));
    expectRolledBack(QStringLiteral("readonly"));
    EXPECT_TRUE(messages()[0].prompt.contains(QStringLiteral("writing the sales register")));
}

TEST_F(FailedSaveTest, AnInterruptionAtAnyStepLeavesTheMonthAsItWas)
{
    const QStringList steps = {
        "procLoadKey", "procWritePurchase", "procReadPurchase", "procDeleteAllRows tblRptPurchase1",
        "procLoadRptPurchase", "procDeleteAllRows tblRptPurchaseC", "procLoadRptPurchaseC", "procWriteSales",
        "procReadSales_1", "procWriteCommon", "procDeleteAllRows tblRptSales", "procLoadRptSalesC",
        "procDeleteAllRows tblRptSales1", "procLoadRptSales"};
    for (const QString& stop : steps) {
        SCOPED_TRACE(stop.toStdString());
        ui::clearShownMessages();
        f10::SaveUnit::beforeStepHook() = [stop](const QString& step) {
            if (step == stop)
                throw ado::Error(-1, QStringLiteral("injected failure"));
        };
        clickSave();
        expectRolledBack(QStringLiteral("injected failure"));
    }
    // With the fault gone the same screen saves.
    f10::SaveUnit::beforeStepHook() = nullptr;
    ui::clearShownMessages();
    clickSave();
    EXPECT_TRUE(successShown(QStringLiteral("RECORD ADDED  SUCCESSFULLY"))) << lastPrompt().toStdString();
    EXPECT_EQ(count(db, QStringLiteral("tblPurchase1")), 3);
}

} // namespace
