// Register storage and the Save/Delete commands at their edges: what the readers leave in
// the screen fields, saves of an empty screen and of a padded dealer name, failures that
// must be reported rather than end the program, and the loaders nothing calls.
#include "register_support.h"

#include "platform/ui/MousePointer.h"

#include <QFile>

using namespace f10test;

namespace {

class StorageReview : public RegisterScreen {
protected:
    // Puts a bill straight into a grid row, as keying would leave it.
    void putBill(ui::FlexGrid& g, int row, const QString& date, const QString& party, const QString& rate,
                 const QString& amount)
    {
        g.setRows(std::max(g.Rows(), row + 1));
        const QStringList cells = {QString::number(row), date, party, "", "", rate, amount, "0.00", "0.00", amount};
        for (int c = 0; c < 10; ++c)
            g.setTextMatrix(row, c, cells[c]);
    }
};

TEST_F(StorageReview, ReadersOrderByBillDateRenumberAndKeepTheLastDateAndPlaceThatAreNotNull)
{
    exec(db, QString("INSERT INTO tblPurchaseInterState1 (SlNo, BillDate, Party, RateOfTax, Amount, Tax, NetAmount, "
                     "cMonth, eDate, Place, cCode) VALUES "
                     "('7', '2009-03-09', 'Third', '4', 10, 0, 10, '%1', NULL, NULL, ''),"
                     "('8', '2009-03-02', 'First', '4', 1234.5, 4, 1238.5, '%1', '10-03-09', 'A', ''),"
                     "('9', '2009-03-05', 'Second', '4', 50, 2, 52, '%1', NULL, 'B', ''),"
                     "('1', '2009-03-01', 'Other dealer', '4', 1, 0, 1, '%1', '01-03-09', 'C', 'X')").arg(month()));
    form->txtDate->setText("01-01-01");
    form->txtPlace->setText("Before");
    form->procReadPurchaseInterState();
    EXPECT_EQ(form->txtDate->Text(), "10-03-09");
    EXPECT_EQ(form->txtPlace->Text(), "B");
    ui::FlexGrid& g = *form->fg1;
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(1, 0) + g.TextMatrix(1, 1) + "|" + g.TextMatrix(1, 2) + "|" + g.TextMatrix(1, 6),
              "102-03-09|First|1234.50");
    EXPECT_EQ(g.TextMatrix(3, 0) + g.TextMatrix(3, 2), "3Third");
    EXPECT_EQ(g.TextMatrix(1, 8) + g.TextMatrix(3, 8), "");   // a Null cess leaves its cell empty
    EXPECT_EQ(g.TextMatrix(3, 9), "10.00");
    EXPECT_EQ(g.TextMatrix(0, 6), "Amount");   // the header row untouched
    EXPECT_EQ(form->txtTotal->Text(), "1300.50");
    // The sales reader leaves both fields alone.
    exec(db, QString("INSERT INTO tblSales (SlNo, BillDate, Party, RateOfTax, Amount, cMonth, eDate, cCode) "
                     "VALUES ('1', '2009-03-02', 'Buyer', 'CST', 5, '%1', '31-03-09', '')").arg(month()));
    form->procReadSales_1();
    EXPECT_EQ(form->txtDate->Text(), "10-03-09");
    EXPECT_EQ(form->fg2->TextMatrix(1, 5) + "|" + form->fg2->TextMatrix(1, 6), "CST|5.00");
}

TEST_F(StorageReview, AReaderEndsWhenItsTableIsMissing)
{
    exec(db, "DROP TABLE tblSales");
    form->fg2->setTextMatrix(1, 9, "50.00");
    form->procReadSales_1();
    EXPECT_EQ(form->fg2->Rows(), 2);
    EXPECT_EQ(form->fg2->TextMatrix(1, 0) + form->fg2->TextMatrix(1, 9), "1");
    EXPECT_EQ(form->txtTotal2->Text(), "0.00");
    EXPECT_FALSE(form->fnRecordExistsNormal("tblPurchase1"));
}

TEST_F(StorageReview, OfTwoBlankRowsAfterABillTheFirstGoesAndTheSecondIsStoredBare)
{
    ui::FlexGrid& g = *form->fg1;
    g.setRows(4);
    const QStringList bill = {"1", "26-09-08", " Padded ", "   ", "B1", "      4", "10.00", "0.40", "0.00", "10.40"};
    for (int c = 0; c < 10; ++c)
        g.setTextMatrix(1, c, bill[c]);
    g.setTextMatrix(2, 0, "2");
    g.setTextMatrix(3, 0, "3");
    form->procWritePurchase();
    const auto rows = query(db, "SELECT * FROM tblPurchase1 ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("BillDate").text, "2008-09-26");
    EXPECT_EQ(rows[0].at("Party").text, " Padded ");   // written as the cell holds it
    EXPECT_TRUE(rows[0].at("TIN").isNull());           // blanks only: not written
    EXPECT_EQ(rows[1].at("SlNo").text + rows[1].at("cMonth").text, "2" + month());
    EXPECT_TRUE(rows[1].at("Party").isNull() && rows[1].at("BillDate").isNull());
    EXPECT_EQ(g.Rows(), 3);
}

TEST_F(StorageReview, ARowStoredWithoutAmountsReadsBackWithoutATotal)
{
    exec(db, QString("INSERT INTO tblSales (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, cMonth, "
                     "cCode) VALUES ('1', '2009-03-01', 'Full', '4', 100, 4, 0, 104, '%1', ''),"
                     "('2', '2009-03-02', 'Bare', NULL, NULL, NULL, NULL, NULL, '%1', '')").arg(month()));
    // The user was somewhere in the grid's amounts when the month was read.
    form->fg2->setRow(1);
    form->fg2->setCol(7);
    form->procReadSales_1();
    ASSERT_EQ(form->fg2->Rows(), 3);
    EXPECT_EQ(form->fg2->TextMatrix(1, 9), "104.00");
    EXPECT_EQ(form->fg2->TextMatrix(2, 2), "Bare");
    for (int c = 5; c <= 9; ++c)
        EXPECT_EQ(form->fg2->TextMatrix(2, c), "") << c;
    EXPECT_EQ(QPoint(form->fg2->Row(), form->fg2->Col()), QPoint(2, 1));
    EXPECT_EQ(form->txtGrid2->Text(), "02-03-09");
}

TEST_F(StorageReview, SavingAnEmptyScreenStoresBareRowsAndAZeroSummary)
{
    form->txtPlace->setText("");
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, "RECORD ADDED  SUCCESSFULLY");
    const Row purchase = only("tblPurchase1");
    EXPECT_EQ(purchase.at("SlNo").text, "1");
    for (const char* column : {"Party", "BillDate", "Place"})   // an empty place is Null
        EXPECT_TRUE(purchase.at(column).isNull()) << column;
    EXPECT_EQ(purchase.at("cCode").type + purchase.at("cMonth").text, "text" + month());
    EXPECT_EQ(count(db, "tblSales"), 1);
    expectNumbers(only("tblCommon"), {{"PTA12", 0}, {"RT20", 0}});
    EXPECT_EQ(only("tblCommon").at("Place").text, "");
    // The grids read back one empty row numbered 1.
    EXPECT_EQ(form->fg1->Rows(), 2);
    EXPECT_EQ(form->fg1->TextMatrix(1, 0), "1");
    for (int c = 1; c <= 9; ++c)
        EXPECT_EQ(form->fg1->TextMatrix(1, c) + form->fg2->TextMatrix(1, c), "") << c;
    EXPECT_EQ(form->txtGrid1->Text(), "");
    // Saved again, the bare rows stay bare.
    click(form->cmdAdd);
    EXPECT_TRUE(only("tblPurchase1").at("NetAmount").isNull() && only("tblPurchase1").at("Amount").isNull());
    expectNumbers(only("tblRptPurchaseC"), {{"PCTTotal", 0}});
}

TEST_F(StorageReview, APaddedDealerNameKeysTheReportRowsAsShownAndTheBillListsTrimmed)
{
    Module2().DealerName = "  Padded Dealer ";
    form->lblCustomerName->setText(Module2().DealerName);
    putBill(*form->fg1, 1, "02-03-09", "Seller", "4", "100.00");
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, "RECORD ADDED  SUCCESSFULLY");
    EXPECT_EQ(only("tblRptPurchaseC").at("cAddress").text, "  Padded Dealer ");
    expectNumbers(only("tblRptPurchaseC"), {{"PCTAmt", 100}});
    EXPECT_EQ(only("tblRptPurchase1").at("cAddress").text, "Padded Dealer");
    EXPECT_EQ(only("tblCommon").at("cAddress").text, "  Padded Dealer ");
}

TEST_F(StorageReview, ARowTheDatabaseRefusesIsNamedAsTheUserKeyedIt)
{
    // Row 2 is blank and leaves the grid while row 1 is written, so the refused bill sits
    // in row 2 when it is written; after the rollback the user sees it in row 3 again.
    putBill(*form->fg1, 1, "01-03-09", "Alpha", "4", "10.00");
    form->fg1->setRows(4);
    putBill(*form->fg1, 3, "02-03-09", "Refused Co", "4", "20.00");
    exec(db, "CREATE TRIGGER refuse BEFORE INSERT ON tblPurchase1 WHEN NEW.Party = 'Refused Co' "
             "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    for (const char* text : {"row 3 of the purchase grid (bill dated 02-03-09, Refused Co)",
                             "writing the local purchase register"})
        EXPECT_TRUE(messages()[0].prompt.contains(text)) << messages()[0].prompt.toStdString();
    EXPECT_EQ(count(db, "tblPurchase1"), 0);
    EXPECT_EQ(form->fg1->Rows(), 4);
    EXPECT_EQ(form->fg1->TextMatrix(3, 2), "Refused Co");
}

TEST_F(StorageReview, ASaveWithoutItsDatabaseIsReportedAndKeepsTheGrids)
{
    putBill(*form->fg1, 1, "02-03-09", "Seller", "4", "100.00");
    resetModule2();
    ASSERT_TRUE(QFile::remove(db));
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.contains("not saved")) << messages()[0].prompt.toStdString();
    EXPECT_EQ(messages()[0].title, "Sorry.........!");
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Seller");
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    EXPECT_FALSE(QFile::exists(db));   // never created by a save
}

TEST_F(StorageReview, ADeleteThatFailsIsReportedAndTheScreenStays)
{
    click(form->cmdAdd);
    ui::clearShownMessages();
    exec(db, "DROP TABLE tblSales");
    answer = ui::vbYes;
    click(form->cmdDelete);
    // The purchase rows go; the sales test fails and says so.
    EXPECT_EQ(count(db, "tblPurchase1"), 0);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].prompt, " Are you Sure ");
    EXPECT_EQ(messages()[1].title, "Sorry.........!");
    EXPECT_TRUE(form->isVisible());
}

TEST_F(StorageReview, NoPurchaseListChoiceSavesTheInterStateRegister)
{
    form->List4->setListIndex(-1);
    putBill(*form->fg1, 1, "02-03-09", "Far Seller", "12.5", "80.00");
    form->cmdAdd_Click();
    EXPECT_EQ(count(db, "tblPurchaseInterState1"), 1);
    EXPECT_EQ(count(db, "tblPurchase1"), 0);
    EXPECT_EQ(count(db, "tblRptPurchaseInterState"), 1);
    expectNumbers(only("tblRptPurchaseInterStateC"), {{"PRT12", 80}});
}

TEST_F(StorageReview, TheCommonCopyAppendsAndTheOlderPurchaseCopyAddsRows)
{
    click(form->cmdAdd);
    exec(db, "UPDATE tblCommon SET PTA4 = 7, STACST = 3, Category = 'General'");
    form->procLoadRptCommon();
    form->procLoadRptCommon();
    const auto copies = query(db, "SELECT * FROM tblRptCommon");
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].at("Category").text + copies[0].at("cMonth").text, "General" + month());
    expectNumbers(copies[0], {{"STACST", 3}});
    exec(db, "DELETE FROM tblRptPurchaseC");
    form->procRptPurchase();
    expectNumbers(only("tblRptPurchaseC"), {{"STACST", 3}});
    // Without a summary row for the month neither adds anything.
    exec(db, "DELETE FROM tblCommon");
    form->procLoadRptCommon();
    form->procRptPurchase();
    EXPECT_EQ(count(db, "tblRptCommon"), 2);
    EXPECT_EQ(count(db, "tblRptPurchaseC"), 1);
}

} // namespace
