// Register storage: what the writers store of a grid and what the readers show of a table.
#include "register_support.h"

using namespace f10test;

namespace {

class StorageTest : public RegisterScreen {
protected:
    void setRow(ui::FlexGrid& g, int r, const QStringList& cells)
    {
        if (g.Rows() <= r)
            g.setRows(r + 1);
        for (int c = 0; c < cells.size(); ++c)
            g.setTextMatrix(r, c, cells[c]);
    }
};

TEST_F(StorageTest, OfTwoBlankRowsAfterABillTheFirstGoesAndTheSecondIsStoredBare)
{
    ui::FlexGrid& g = *form->fg1;
    setRow(g, 1, {"1", "26-09-08", " Padded ", "   ", "B1", "      4", "10.00", "0.40", "0.00", "10.40"});
    setRow(g, 2, {"2"});
    setRow(g, 3, {"3"});
    form->procWritePurchase();
    const auto rows = query(db, QStringLiteral("SELECT * FROM tblPurchase1 ORDER BY rowid"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("BillDate").text, QStringLiteral("2008-09-26"));
    EXPECT_EQ(rows[0].at("Party").text, QStringLiteral(" Padded "));   // written as the cell holds it
    EXPECT_TRUE(rows[0].at("TIN").isNull());                           // blanks only: not written
    EXPECT_EQ(rows[1].at("SlNo").text, QStringLiteral("2"));
    EXPECT_TRUE(rows[1].at("Party").isNull());
    EXPECT_TRUE(rows[1].at("BillDate").isNull());
    EXPECT_EQ(rows[1].at("cMonth").text, month());
    EXPECT_EQ(g.Rows(), 3);
}

TEST_F(StorageTest, TheReaderOrdersByBillDateRenumbersAndFormats)
{
    exec(db, QStringLiteral("INSERT INTO tblPurchase1 (SlNo, BillDate, Party, Amount, Cess, NetAmount, cMonth, cCode, "
                            "Place, eDate) VALUES ('5', '2008-09-20', 'Late', 1, 0, 1, '%1', '', NULL, NULL),"
                            "('9', '2008-09-05', 'Early', 1234.5, NULL, 1234.5, '%1', '', 'A', '05-09-08'),"
                            "('2', '2008-09-10', 'Middle', 2, 0, 2, '%1', '', 'B', NULL),"
                            "('1', '2008-09-01', 'Other dealer', 2, 0, 2, '%1', 'X', 'C', NULL)")
                 .arg(month()));
    form->txtPlace->setText(QStringLiteral("typed"));
    form->procReadPurchase();
    ui::FlexGrid& g = *form->fg1;
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(1, 0), QStringLiteral("1"));
    EXPECT_EQ(g.TextMatrix(1, 1), QStringLiteral("05-09-08"));
    EXPECT_EQ(g.TextMatrix(1, 6), QStringLiteral("1234.50"));
    EXPECT_TRUE(g.TextMatrix(1, 8).isEmpty());   // a Null cess leaves its cell empty
    EXPECT_EQ(g.TextMatrix(2, 2), QStringLiteral("Middle"));
    EXPECT_EQ(g.TextMatrix(3, 0), QStringLiteral("3"));
    EXPECT_EQ(g.TextMatrix(3, 2), QStringLiteral("Late"));
    EXPECT_EQ(g.TextMatrix(0, 6), QStringLiteral("Amount"));   // the header row untouched
    // The last row with a place wins; a Null one leaves the field as the row before set it.
    EXPECT_EQ(form->txtPlace->Text(), QStringLiteral("B"));
    EXPECT_EQ(form->txtDate->Text(), QStringLiteral("05-09-08"));
    EXPECT_EQ(form->txtTotal->Text(), QStringLiteral("1237.50"));
}

TEST_F(StorageTest, AReaderEndsWhenItsTableIsMissing)
{
    exec(db, QStringLiteral("DROP TABLE tblSales"));
    form->fg2->setTextMatrix(1, 9, QStringLiteral("50.00"));
    form->procReadSales_1();
    EXPECT_EQ(form->fg2->Rows(), 2);
    EXPECT_EQ(form->fg2->TextMatrix(1, 0), QStringLiteral("1"));
    EXPECT_TRUE(form->fg2->TextMatrix(1, 9).isEmpty());
    EXPECT_EQ(form->txtTotal2->Text(), QStringLiteral("0.00"));
    EXPECT_FALSE(form->fnRecordExistsNormal(QStringLiteral("tblPurchase1")));
}

} // namespace
