// Register storage: what the writers store of a grid and what the readers show of a table.
#include "register_support.h"

using namespace f10test;

namespace {

using StorageTest = RegisterScreen;

TEST_F(StorageTest, OfTwoBlankRowsAfterABillTheFirstGoesAndTheSecondIsStoredBare)
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
    EXPECT_EQ(rows[1].at("SlNo").text, "2");
    EXPECT_TRUE(rows[1].at("Party").isNull() && rows[1].at("BillDate").isNull());
    EXPECT_EQ(rows[1].at("cMonth").text, month());
    EXPECT_EQ(g.Rows(), 3);
}

TEST_F(StorageTest, TheReaderOrdersByBillDateRenumbersAndFormats)
{
    exec(db, QString("INSERT INTO tblPurchase1 (SlNo, BillDate, Party, Amount, Cess, NetAmount, cMonth, cCode, Place, "
                     "eDate) VALUES ('5', '2008-09-20', 'Late', 1, 0, 1, '%1', '', NULL, NULL),"
                     "('9', '2008-09-05', 'Early', 1234.5, NULL, 1234.5, '%1', '', 'A', '05-09-08'),"
                     "('2', '2008-09-10', 'Middle', 2, 0, 2, '%1', '', 'B', NULL),"
                     "('1', '2008-09-01', 'Other dealer', 2, 0, 2, '%1', 'X', 'C', NULL)").arg(month()));
    form->txtPlace->setText("typed");
    form->procReadPurchase();
    ui::FlexGrid& g = *form->fg1;
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(1, 0) + g.TextMatrix(1, 1) + "|" + g.TextMatrix(1, 6), "105-09-08|1234.50");
    EXPECT_EQ(g.TextMatrix(1, 8), "");   // a Null cess leaves its cell empty
    EXPECT_EQ(g.TextMatrix(2, 2), "Middle");
    EXPECT_EQ(g.TextMatrix(3, 0) + g.TextMatrix(3, 2), "3Late");
    EXPECT_EQ(g.TextMatrix(0, 6), "Amount");   // the header row untouched
    // The last row with a place wins; a Null one leaves the field as the row before set it.
    EXPECT_EQ(form->txtPlace->Text(), "B");
    EXPECT_EQ(form->txtDate->Text(), "05-09-08");
    EXPECT_EQ(form->txtTotal->Text(), "1237.50");
}

TEST_F(StorageTest, AReaderEndsWhenItsTableIsMissing)
{
    exec(db, "DROP TABLE tblSales");
    form->fg2->setTextMatrix(1, 9, "50.00");
    form->procReadSales_1();
    EXPECT_EQ(form->fg2->Rows(), 2);
    EXPECT_EQ(form->fg2->TextMatrix(1, 0) + form->fg2->TextMatrix(1, 9), "1");
    EXPECT_EQ(form->txtTotal2->Text(), "0.00");
    EXPECT_FALSE(form->fnRecordExistsNormal("tblPurchase1"));
}

} // namespace
