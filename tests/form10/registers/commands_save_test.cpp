// Save on the register screen.
#include "register_support.h"

#include "form10/returns/SaveUnit.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"

#include <QFile>

using namespace f10test;

namespace {

const QString kAdded = "RECORD ADDED  SUCCESSFULLY";

class SaveTest : public RegisterScreen {
protected:
    void clickSave() { click(form->cmdAdd); }
};

TEST_F(SaveTest, LocalPurchasesAndSalesAtEveryRateReachEveryTable)
{
    keyBills(true, kPurchases);
    keyBills(false, kSales);
    form->txtPlace->setText("Kochi");
    // The success message comes after the summary rows are filled.
    bool filledAtMessage = false;
    int pointerAtMessage = -1;
    onMessage = [&](const ui::MessageRecord&) {
        pointerAtMessage = ui::mousePointer();
        filledAtMessage = count(db, "tblRptSales", "SCTTotal IS NOT NULL") == 1
                          && count(db, "tblRptPurchaseC", "PCTTotal IS NOT NULL") == 1;
    };
    clickSave();
    ASSERT_EQ(messages().size(), 1u) << lastPrompt().toStdString();
    EXPECT_TRUE(successShown(kAdded));
    EXPECT_TRUE(filledAtMessage);
    EXPECT_EQ(pointerAtMessage, ui::vbDefault);

    // Bill dates as dates, the rate as picked; the grids read back by date, no trailing blank row.
    const auto purchases = query(db, "SELECT * FROM tblPurchase1 WHERE cCode='' AND cMonth='" + month() + "' ORDER BY BillDate");
    ASSERT_EQ(purchases.size(), 5u);
    EXPECT_EQ(purchases[0].at("Party").text + "|" + purchases[0].at("BillDate").text + "|"
                  + purchases[0].at("RateOfTax").text + "|" + purchases[0].at("Place").text + "|" + purchases[0].at("eDate").text,
              "Delta Mills|2009-03-01|    12.5|Kochi|" + today());
    expectNumbers(purchases[0], {{"NetAmount", 1135}});
    EXPECT_EQ(count(db, "tblSales", "RateOfTax='     CST ' AND Party='Buyer Outside'"), 1);
    EXPECT_EQ(QPoint(count(db, "tblSales"), count(db, "tblPurchaseInterState1")), QPoint(6, 0));
    EXPECT_EQ(QString("%1 %2 %3").arg(form->fg1->Rows()).arg(form->fg1->TextMatrix(1, 2)).arg(form->fg2->Rows()), "6 Delta Mills 7");

    const Row common = only("tblCommon");
    EXPECT_EQ(common.at("cMonth").type + common.at("cMonth").text + common.at("Place").text, "text" + month() + "Kochi");
    expectNumbers(common, {{"PTA12", 1000}, {"PTT12", 125}, {"PTC12", 10}, {"PTC1", 0.5}, {"PTA20", 50},
                           {"STA4", 250}, {"STC4", 0.1}, {"STACST", 100}, {"STTCST", 2}, {"STC20", 0.4},
                           {"netTotal", 1810.75}, {"RT0", 100}, {"RT1", 202.5}, {"RT12", 1135}, {"RT20", 60.25}});
    // Bill lists keep the grid's texts.
    EXPECT_EQ(query(db, "SELECT BillDate FROM tblRptPurchase1 ORDER BY SlNo")[0].at("BillDate").text, "01-03-09");
    EXPECT_EQ(count(db, "tblRptSales1", "RateOfTax='     CST ' AND Party='Buyer Outside'"), 1);
    EXPECT_EQ(QPoint(count(db, "tblRptPurchase1"), count(db, "tblRptSales1")), QPoint(5, 6));
    // Summary report rows; the inter-state one keeps its bare key row.
    expectNumbers(only("tblRptPurchaseC"), {{"PRT4", 313}, {"PCTAmt", 1650}, {"PCTTax", 149}, {"PCTCess", 11.75},
                                            {"PCTTotal", 1810.75}});
    expectNumbers(only("tblRptSales"), {{"SRT4", 260.1}, {"SRTCST", 102}, {"SCTAmt", 500}, {"SCTTax", 30.2},
                                        {"SCTCess", 1.5}, {"SCTTotal", 531.7}});
    EXPECT_EQ(only("tblRptPurchaseInterStateC").at("cMonth").text, month());
    EXPECT_TRUE(only("tblRptPurchaseInterStateC").at("PTA0").isNull());

    // After the first save (which renumbers by date) saving again changes nothing.
    clickSave();
    const QString stored = dump(db);
    clickSave();
    EXPECT_EQ(dump(db).toStdString(), stored.toStdString());
}

TEST_F(SaveTest, InterStatePurchasesGoToTheirOwnTablesOnceHoweverOftenSaved)
{
    form->List4->setListIndex(1);
    keyBills(true, {kPurchases[3], kPurchases[0]});
    keyBills(false, {kSales[5]});
    clickSave();
    clickSave();
    EXPECT_TRUE(successShown(kAdded)) << lastPrompt().toStdString();
    for (const auto& [table, n] : std::map<QString, int>{{"tblPurchase1", 0}, {"tblPurchaseInterState1", 2},
                                                         {"tblRptPurchaseInterState", 2}, {"tblRptPurchase1", 0},
                                                         {"tblSales", 1}})
        EXPECT_EQ(count(db, table), n) << table.toStdString();
    expectNumbers(only("tblRptPurchaseInterStateC"), {{"PRT12", 1135}, {"PCTTotal", 1235}});
    EXPECT_TRUE(only("tblRptPurchaseC").at("PTA0").isNull());
    expectNumbers(only("tblCommon"), {{"PTA12", 1000}, {"STACST", 100}});
    // With no entry of List4 chosen, the inter-state register is the one saved.
    form->List4->setListIndex(-1);
    form->fg1->setTextMatrix(1, 2, "Far Seller");
    clickSave();
    EXPECT_EQ(count(db, "tblPurchaseInterState1", "Party='Far Seller'"), 1);
    EXPECT_EQ(count(db, "tblPurchase1"), 0);
}

TEST_F(SaveTest, SaveAfterDeletingARowStoresTheRestWithTheTextLeftInTheEditor)
{
    keyBills(true, {kPurchases[0], kPurchases[1], kPurchases[2]});
    clickSave();
    ASSERT_EQ(form->fg1->TextMatrix(1, 2), "Beta Traders");   // read back by date
    form->fg1->setRow(1);
    key(form->txtGrid1, Qt::Key_Y, Qt::ControlModifier);
    // Alpha's cess is typed but not entered.
    form->fg1->setCol(8);
    ASSERT_EQ(form->fg1->TextMatrix(form->fg1->Row(), 2), "Alpha Agencies");
    fnSelectAllText(*form->txtGrid1);
    QTest::keyClicks(form->txtGrid1, "7");
    clickSave();
    EXPECT_EQ(count(db, "tblPurchase1"), 2);
    EXPECT_EQ(count(db, "tblPurchase1", "Party='Beta Traders'"), 0);
    EXPECT_EQ(count(db, "tblPurchase1", "Party='Alpha Agencies' AND Cess=7"), 1);
    EXPECT_EQ(count(db, "tblRptPurchase1"), 2);
    expectNumbers(only("tblCommon"), {{"PTA1", 0}, {"PTC0", 7}, {"netTotal", 420}});
}

TEST_F(SaveTest, ApostrophesAndAPaddedDealerNameAreStoredAndFoundExactly)
{
    Module2().DealerCode = "K'07";
    Module2().DealerName = " D'Souza & Sons ";
    form->lblCustomerName->setText(Module2().DealerName);
    keyBills(true, {{"02-03-09", "O'Brien's Mart", "T'1", "B'1", P4, "100", "4", "0"}});
    keyBills(false, {{"03-03-09", "St. Mary's", "S1", "X1", S4, "50", "2", "0"}});
    form->txtPlace->setText("Kerala's Port");
    clickSave();
    clickSave();   // the keyed deletes must find the rows the first save wrote
    EXPECT_TRUE(successShown(kAdded)) << lastPrompt().toStdString();
    const Row purchase = only("tblPurchase1");
    EXPECT_EQ(purchase.at("Party").text + "|" + purchase.at("cCode").text, "O'Brien's Mart|K'07");
    EXPECT_EQ(count(db, "tblSales"), 1);
    // Registers and bill lists carry the name trimmed, the summary and key rows as shown.
    EXPECT_EQ(purchase.at("cAddress").text + "|" + only("tblRptPurchase1").at("cAddress").text,
              "D'Souza & Sons|D'Souza & Sons");
    EXPECT_EQ(only("tblCommon").at("cAddress").text + "|" + only("tblCommon").at("Place").text,
              " D'Souza & Sons |Kerala's Port");
    EXPECT_EQ(only("tblRptPurchaseC").at("cAddress").text, " D'Souza & Sons ");
    expectNumbers(only("tblRptPurchaseC"), {{"PRT4", 104}});
    expectNumbers(only("tblRptSales"), {{"SRT4", 52}});
    EXPECT_EQ(form->fg1->TextMatrix(1, 2) + "|" + form->fg2->TextMatrix(1, 2), "O'Brien's Mart|St. Mary's");
}

TEST_F(SaveTest, RowsAreFiledUnderTheTrimmedMonthWhateverTheSalesMonthBoxHoldsAndEnterSavesOnce)
{
    keyBills(true, {kPurchases[0]});
    keyBills(false, {kSales[0]});
    clickSave();
    EXPECT_EQ(form->cmdAdd->BackColor(), 0xC0C0FF);
    const QString plain = month();
    form->txtRPTo->setText(" " + plain + " ");
    focus(form->txtMonth);
    QTest::keyClicks(form->txtMonth, "X");   // the box only shows the month
    EXPECT_EQ(form->txtMonth->Text(), form->txtRPTo->Text());
    form->txtMonth->setText(plain + "X");
    keyBills(true, {kPurchases[1]});
    form->cmdAdd->setBackColor(0x123456);
    ui::clearShownMessages();
    key(form->cmdAdd, Qt::Key_Return);
    EXPECT_TRUE(successShown("FILE  UPDATED  SUCCESSFULLY")) << lastPrompt().toStdString();
    EXPECT_EQ(messages().size(), 1u) << "Enter saves once: the button is not clicked as well";
    EXPECT_EQ(form->cmdAdd->BackColor(), 0x123456);
    for (const auto& [table, n] : std::map<const char*, int>{{"tblPurchase1", 2}, {"tblSales", 1}, {"tblRptPurchase1", 2},
                                                             {"tblRptSales1", 1}, {"tblCommon", 1}, {"tblRptPurchaseC", 1}})
        EXPECT_EQ(QPoint(count(db, table, "cMonth='" + plain + "' COLLATE BINARY"), count(db, table)), QPoint(n, n)) << table;
    EXPECT_EQ(form->fg1->TextMatrix(1, 2) + "|" + form->fg2->TextMatrix(1, 2), "Beta Traders|Buyer Zero");
}

TEST_F(SaveTest, AnEmptyScreenStoresBareRowsAndAZeroSummary)
{
    form->txtPlace->setText("");
    for (int save = 0; save < 2; ++save) {   // saved again, the bare rows stay bare
        clickSave();
        const Row purchase = only("tblPurchase1");
        EXPECT_EQ(purchase.at("SlNo").text + purchase.at("cCode").type + purchase.at("cMonth").text, "1text" + month());
        for (const char* column : {"Party", "BillDate", "Place", "Amount", "NetAmount"})   // an empty place is Null
            EXPECT_TRUE(purchase.at(column).isNull()) << column;
        EXPECT_EQ(count(db, "tblSales"), 1);
        expectNumbers(only("tblCommon"), {{"PTA12", 0}, {"RT20", 0}});
        expectNumbers(only("tblRptPurchaseC"), {{"PCTTotal", 0}});
        // The grids read back one empty row numbered 1.
        EXPECT_EQ(form->fg1->Rows(), 2);
        for (int c = 0; c <= 9; ++c)
            EXPECT_EQ(form->fg1->TextMatrix(1, c) + form->fg2->TextMatrix(1, c), c ? "" : "11") << c;
    }
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_TRUE(successShown(kAdded));
}

TEST_F(SaveTest, AFailedSaveNamesTheRowAsTheUserKeyedItAndKeepsTheGrids)
{
    // Blank row 2 goes while writing; the message names the row the user sees.
    putBill(*form->fg1, 1, "01-03-09", "Alpha", "4", "10.00");
    form->fg1->setRows(4);
    putBill(*form->fg1, 3, "02-03-09", "Refused Co", "4", "20.00");
    exec(db, "CREATE TRIGGER refuse BEFORE INSERT ON tblPurchase1 WHEN NEW.Party = 'Refused Co' "
             "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    clickSave();
    expectOneFailure({"row 3 of the purchase grid (bill dated 02-03-09, Refused Co)",
                      "writing the local purchase register"});
    EXPECT_EQ(count(db, "tblPurchase1"), 0);
    EXPECT_EQ(form->fg1->Rows(), 4);
    EXPECT_EQ(form->fg1->TextMatrix(3, 2), "Refused Co");

    // Without its database: reported, the grids kept, and no database created.
    resetModule2();
    ASSERT_TRUE(QFile::remove(db));
    ui::clearShownMessages();
    clickSave();
    expectOneFailure({"not saved"});
    EXPECT_EQ(form->fg1->TextMatrix(3, 2), "Refused Co");
    EXPECT_FALSE(QFile::exists(db));
}

class FailedSaveTest : public SaveTest {
protected:
    void SetUp() override
    {
        SaveTest::SetUp();
        keyBills(true, {kPurchases[0], kPurchases[1]});
        keyBills(false, {kSales[0]});
        clickSave();
        ASSERT_EQ(count(db, "tblPurchase1"), 2);
        before = dump(db);
        ui::clearShownMessages();
        // The user changes the month: one more bill in each grid.
        keyBills(true, {kPurchases[2]});
        keyBills(false, {kSales[1]});
        keyed = gridTexts();
    }
    void TearDown() override
    {
        f10::SaveUnit::beforeStepHook() = nullptr;
        SaveTest::TearDown();
    }
    // Columns 1 to 8 of every row of both grids: what the user typed.
    QStringList gridTexts()
    {
        QStringList out;
        for (ui::FlexGrid* g : {form->fg1, form->fg2})
            for (int r = 0; r < g->Rows(); ++r)
                for (int c = 1; c <= 8; ++c)
                    out << g->TextMatrix(r, c);
        return out;
    }
    void expectRolledBack(QStringList mentioned)
    {
        expectOneFailure(mentioned << "not saved");
        EXPECT_EQ(dump(db).toStdString(), before.toStdString());
        EXPECT_EQ(gridTexts(), keyed);
        EXPECT_EQ(form->txtTotal->Text(), "615.50");
        expectEditorOverCell(true);
        expectEditorOverCell(false);
    }
    QString before;
    QStringList keyed;
};

TEST_F(FailedSaveTest, ABadBillDateInEitherGridStopsTheSaveBeforeAnythingIsWritten)
{
    // Row 3's date passes the dash check but names no day.
    keyBills(true, {kPurchases[3], kPurchases[4]});
    form->fg1->setRow(3);
    form->fg1->setCol(1);
    keyCell(true, "31-02-09");
    clickSave();
    expectOneFailure({"row 3", "purchase", "31-02-09"});
    EXPECT_EQ(dump(db).toStdString(), before.toStdString());
    EXPECT_EQ(form->fg1->TextMatrix(3, 1), "31-02-09");
    form->fg1->setTextMatrix(3, 1, "20-03-09");
    form->fg2->setTextMatrix(2, 1, "30-02-09");
    ui::clearShownMessages();
    clickSave();
    expectOneFailure({"row 2 of the sales grid"});
    EXPECT_EQ(dump(db).toStdString(), before.toStdString());
}

TEST_F(FailedSaveTest, AFailureAtAnyStepLeavesTheMonthAsItWas)
{
    ado::Connection holder;   // keeps the shared handle, and with it a setting, alive
    holder.Open(form10ConnectString());
    // `statement` runs before the `nth` start of `step` (none: the step throws).
    struct Fault { QString step; const char* statement; QStringList mentioned; int nth = 1; };
    std::vector<Fault> faults = {
        // The month summary table disappears after the registers were rewritten.
        {"procWriteCommon", "DROP TABLE tblCommon", {"writing the month summary"}},
        // A step that skips failing statements: a missing table is not one it may skip.
        {"procDeleteDealerRows tblRptSales1", "DROP TABLE tblRptSales", {"tblRptSales"}},
        // The database refuses writes once the purchase register has been rewritten.
        {"procWriteSales", "PRAGMA query_only = ON", {"readonly", "writing the sales register"}},
        // The last step skips its failing statements; only the commit can still refuse the month.
        {"procLoadRptSalesC",
         "CREATE TRIGGER refuse BEFORE UPDATE ON tblRptSales BEGIN SELECT RAISE(ABORT, 'refused by the test'); END",
         {"filling the sales summary report row", "refused by the test"}, 2},
    };
    for (const char* step : {"procLoadKey", "procWritePurchase", "procReadPurchase",
                             "procDeleteDealerRows tblRptPurchase1", "procLoadRptPurchase",
                             "procDeleteDealerRows tblRptPurchaseC", "procLoadRptPurchaseC", "procWriteSales",
                             "procReadSales_1", "procWriteCommon", "procDeleteDealerRows tblRptSales",
                             "procLoadRptSalesC", "procDeleteDealerRows tblRptSales1", "procLoadRptSales"})
        faults.push_back({step, nullptr, {"injected failure"}});
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.step.toStdString());
        ui::clearShownMessages();
        int seen = 0;
        f10::SaveUnit::beforeStepHook() = [&](const QString& step) {
            if (step != f.step || ++seen != f.nth)
                return;
            if (!f.statement)
                throw ado::Error(-1, "injected failure");
            Module2().Form10Connection->Execute(f.statement);
        };
        clickSave();
        holder.Execute("PRAGMA query_only = OFF");
        EXPECT_EQ(seen, f.nth);
        expectRolledBack(f.mentioned);
    }
    // With the fault gone the same screen saves.
    f10::SaveUnit::beforeStepHook() = nullptr;
    ui::clearShownMessages();
    clickSave();
    EXPECT_TRUE(successShown(kAdded)) << lastPrompt().toStdString();
    EXPECT_EQ(count(db, "tblPurchase1"), 3);
}

} // namespace
