// Register storage read and written directly: what the readers leave in the grids and the
// screen fields, and how the purchase writer treats blank rows and padded texts.
#include "register_support.h"

using namespace f10test;

namespace {

class StorageTest : public RegisterScreen {};

TEST_F(StorageTest, ReadersFillTheGridsInBillDateOrderAndEndWhenTheirTableIsMissing)
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
    // The last date and place that are not Null are kept.
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

    // The sales reader leaves both fields alone; a row stored without amounts reads back
    // without a total, and the user, somewhere in the amounts, lands on the last row's date.
    exec(db, QString("INSERT INTO tblSales (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, cMonth, "
                     "eDate, cCode) VALUES ('1', '2009-03-01', 'Full', 'CST', 100, 4, 0, 104, '%1', '31-03-09', ''),"
                     "('2', '2009-03-02', 'Bare', NULL, NULL, NULL, NULL, NULL, '%1', NULL, '')").arg(month()));
    form->fg2->setRow(1);
    form->fg2->setCol(7);
    form->procReadSales_1();
    EXPECT_EQ(form->txtDate->Text(), "10-03-09");
    ASSERT_EQ(form->fg2->Rows(), 3);
    EXPECT_EQ(form->fg2->TextMatrix(1, 5) + "|" + form->fg2->TextMatrix(1, 9), "CST|104.00");
    EXPECT_EQ(form->fg2->TextMatrix(2, 2), "Bare");
    for (int c = 5; c <= 9; ++c)
        EXPECT_EQ(form->fg2->TextMatrix(2, c), "") << c;
    EXPECT_EQ(QPoint(form->fg2->Row(), form->fg2->Col()), QPoint(2, 1));
    EXPECT_EQ(form->txtGrid2->Text(), "02-03-09");

    // Its table gone, the reader ends with one empty row and a zero total.
    exec(db, "DROP TABLE tblSales");
    form->procReadSales_1();
    EXPECT_EQ(form->fg2->Rows(), 2);
    EXPECT_EQ(form->fg2->TextMatrix(1, 0) + form->fg2->TextMatrix(1, 2) + form->fg2->TextMatrix(1, 9), "1");
    EXPECT_EQ(form->txtTotal2->Text(), "0.00");
    EXPECT_FALSE(form->fnRecordExistsNormal("tblPurchase1"));
}

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
    EXPECT_EQ(rows[1].at("SlNo").text + rows[1].at("cMonth").text, "2" + month());
    EXPECT_TRUE(rows[1].at("Party").isNull() && rows[1].at("BillDate").isNull());
    EXPECT_EQ(g.Rows(), 3);
}

} // namespace
