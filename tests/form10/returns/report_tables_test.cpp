// The report tables: key rows, the summary rows filled from the month summary, the bill
// lists copied from the grids.
#include "../registers/storage_support.h"

using namespace storetest;

namespace {

class ReportTablesTest : public ScreenFixture {
protected:
    // A month summary row with every amount 0 but those given (a column named with a
    // NULL value stays Null).
    void summaryRow(const std::map<QString, QString>& values, const QString& place = QStringLiteral("Kollam"),
                    const QString& entryDate = QStringLiteral("31-03-09"))
    {
        QStringList columns = {QStringLiteral("cCode"), QStringLiteral("cMonth"), QStringLiteral("cAddress"),
                               QStringLiteral("Place"), QStringLiteral("eDate")};
        QStringList literals = {QStringLiteral("''"), QLatin1Char('\'') + month() + QLatin1Char('\''),
                                QStringLiteral("''"), QLatin1Char('\'') + place + QLatin1Char('\''),
                                QLatin1Char('\'') + entryDate + QLatin1Char('\'')};
        for (const char* family : {"PTA", "PTT", "PTC", "STA", "STT", "STC"})
            for (const char* rate : {"0", "1", "4", "12", "20", "CST"}) {
                const QString column = QLatin1String(family) + QLatin1String(rate);
                if (column.startsWith(QLatin1Char('P')) && column.endsWith(QLatin1String("CST")))
                    continue;
                columns << column;
                literals << (values.count(column) ? values.at(column) : QStringLiteral("0"));
            }
        exec(db, QStringLiteral("INSERT INTO tblCommon (%1) VALUES (%2)").arg(columns.join(','), literals.join(',')));
    }
    Row only(const QString& table)
    {
        const auto rows = query(db, QStringLiteral("SELECT * FROM ") + table);
        EXPECT_EQ(rows.size(), 1u) << table.toStdString();
        return rows.empty() ? Row{} : rows.front();
    }
    void setRow(ui::FlexGrid& g, int r, const QStringList& cells)
    {
        if (g.Rows() <= r)
            g.setRows(r + 1);
        for (int c = 0; c < cells.size(); ++c)
            g.setTextMatrix(r, c, cells[c]);
    }
};

TEST_F(ReportTablesTest, KeyRowsAreRebuiltNotAdded)
{
    Module2().DealerCode = QStringLiteral("D1");
    screen->lblCustomerName->setText(QStringLiteral(" Shown Name "));
    screen->procLoadKey();
    screen->procLoadKey();
    for (const char* table : {"tblRptPurchaseC", "tblRptPurchaseInterStateC", "tblRptSales"}) {
        SCOPED_TRACE(table);
        const Row row = only(QLatin1String(table));
        EXPECT_EQ(row.at("cCode").text, QStringLiteral("D1"));
        EXPECT_EQ(row.at("cMonth").text, month());
        EXPECT_EQ(row.at("cAddress").text, QStringLiteral(" Shown Name "));
    }
}

TEST_F(ReportTablesTest, PurchaseSummaryAddsTheStoredAmounts)
{
    summaryRow({{"PTA0", "100"}, {"PTA4", "250"}, {"PTT4", "10"}, {"PTA12", "80"}, {"PTT12", "10"}, {"PTC12", "1"}});
    screen->txtPlace->setText(QStringLiteral("  Palakkad "));
    screen->txtDate->setText(QStringLiteral(" 01-04-09"));
    screen->procLoadKey();
    screen->procLoadRptPurchaseC();

    const Row row = only(QStringLiteral("tblRptPurchaseC"));
    EXPECT_DOUBLE_EQ(row.at("PTA4").number(), 250);
    EXPECT_DOUBLE_EQ(row.at("PRT0").number(), 100);
    EXPECT_DOUBLE_EQ(row.at("PRT1").number(), 0);
    EXPECT_DOUBLE_EQ(row.at("PRT4").number(), 260);
    EXPECT_DOUBLE_EQ(row.at("PRT12").number(), 91);
    EXPECT_DOUBLE_EQ(row.at("PCTAmt").number(), 430);
    EXPECT_DOUBLE_EQ(row.at("PCTTax").number(), 20);
    EXPECT_DOUBLE_EQ(row.at("PCTCess").number(), 1);
    EXPECT_DOUBLE_EQ(row.at("PCTTotal").number(), 451);
    EXPECT_EQ(row.at("PCTTotal").type, QStringLiteral("real"));
    // The local purchase row takes place and date from the screen.
    EXPECT_EQ(row.at("Place").text, QStringLiteral("Palakkad"));
    EXPECT_EQ(row.at("eDate").text, QStringLiteral("01-04-09"));
}

TEST_F(ReportTablesTest, ANullAmountEmptiesEverySumThatHoldsIt)
{
    summaryRow({{"PTA4", "250"}, {"PTT4", "NULL"}, {"PTC4", "0.1"}, {"PTA0", "100"}});
    screen->procLoadKey();
    screen->procLoadRptPurchaseInterStateC();

    const Row row = only(QStringLiteral("tblRptPurchaseInterStateC"));
    EXPECT_TRUE(row.at("PTT4").isNull());
    EXPECT_TRUE(row.at("PRT4").isNull());
    EXPECT_TRUE(row.at("PCTTax").isNull());
    EXPECT_TRUE(row.at("PCTTotal").isNull());
    EXPECT_DOUBLE_EQ(row.at("PRT0").number(), 100);
    EXPECT_DOUBLE_EQ(row.at("PCTAmt").number(), 350);
    EXPECT_DOUBLE_EQ(row.at("PCTCess").number(), 0.1);
    // The inter-state row takes place and date from the month summary.
    EXPECT_EQ(row.at("Place").text, QStringLiteral("Kollam"));
    EXPECT_EQ(row.at("eDate").text, QStringLiteral("31-03-09"));
}

TEST_F(ReportTablesTest, SalesSummaryCountsTheCentralRateLikeAnyOther)
{
    summaryRow({{"STA4", "250"}, {"STT4", "10"}, {"STC4", "0.10"}, {"STACST", "100"}, {"STTCST", "2"}});
    screen->procLoadKey();
    screen->procLoadRptSalesC();

    const Row row = only(QStringLiteral("tblRptSales"));
    EXPECT_NEAR(row.at("SRT4").number(), 260.10, 1e-9);
    EXPECT_DOUBLE_EQ(row.at("SRTCST").number(), 102);
    EXPECT_DOUBLE_EQ(row.at("SRT0").number(), 0);
    EXPECT_DOUBLE_EQ(row.at("SCTAmt").number(), 350);
    EXPECT_DOUBLE_EQ(row.at("SCTTax").number(), 12);
    EXPECT_NEAR(row.at("SCTCess").number(), 0.10, 1e-9);
    EXPECT_NEAR(row.at("SCTTotal").number(), 362.10, 1e-9);
    EXPECT_EQ(row.at("Place").text, QStringLiteral("Kollam"));
}

TEST_F(ReportTablesTest, SummaryLoadersAddNoRowAndFindOnlyTheirKey)
{
    summaryRow({{"STA0", "5"}, {"PTA0", "5"}});
    // No key row: nothing is written, nothing added.
    screen->procLoadRptSalesC();
    EXPECT_EQ(count(db, QStringLiteral("tblRptSales")), 0);
    // A key row under another shown name is not found.
    screen->lblCustomerName->setText(QStringLiteral("First"));
    screen->procLoadKey();
    screen->lblCustomerName->setText(QStringLiteral("Second"));
    screen->procLoadRptSalesC();
    screen->procLoadRptPurchaseInterStateC();
    EXPECT_TRUE(only(QStringLiteral("tblRptSales")).at("STA0").isNull());
    EXPECT_TRUE(only(QStringLiteral("tblRptPurchaseInterStateC")).at("PTA0").isNull());
    // A shown name with an apostrophe is found.
    screen->lblCustomerName->setText(QStringLiteral("Joseph's"));
    screen->procLoadKey();
    screen->procLoadRptSalesC();
    EXPECT_DOUBLE_EQ(only(QStringLiteral("tblRptSales")).at("SRT0").number(), 5);
}

TEST_F(ReportTablesTest, BillListsCopyTheGridAndDropABlankRowAfterACopiedOne)
{
    ui::FlexGrid& g = *screen->fg2;
    setRow(g, 1, {"1", "26-09-08", "Buyer", "T1", "X1", "     20  ", "10.00", "2.00", "0.00", "12.00"});
    setRow(g, 2, {"2", "27-09-08", " Spaced ", "", "X2", "      4", "5.00", "0.20", "", "5.20"});
    setRow(g, 3, {"3"});
    setRow(g, 4, {"4"});
    screen->txtPlace->setText(QStringLiteral("Kannur"));
    screen->procLoadRptSales();

    const auto rows = query(db, QStringLiteral("SELECT * FROM tblRptSales1 ORDER BY rowid"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].at("BillDate").type, QStringLiteral("text"));
    EXPECT_EQ(rows[0].at("BillDate").text, QStringLiteral("26-09-08"));
    EXPECT_EQ(rows[0].at("RateOfTax").text, QStringLiteral("     20  "));
    EXPECT_EQ(rows[1].at("Party").text, QStringLiteral(" Spaced "));
    EXPECT_TRUE(rows[1].at("TIN").isNull());
    EXPECT_TRUE(rows[1].at("Cess").isNull());
    // Row 3 left the grid; the former row 4 moved up and was copied with only its number
    // and the screen's fields.
    EXPECT_EQ(rows[2].at("SlNo").text, QStringLiteral("3"));
    EXPECT_TRUE(rows[2].at("Party").isNull());
    EXPECT_EQ(rows[2].at("cMonth").text, month());
    EXPECT_EQ(rows[0].count(QStringLiteral("Place")), 0u);
    EXPECT_EQ(g.Rows(), 4);
}

TEST_F(ReportTablesTest, TheInterStateBillListReplacesTheMonthsRows)
{
    ui::FlexGrid& g = *screen->fg1;
    setRow(g, 1, {"1", "26-09-08", "Seller", "T1", "B1", "    12.5", "80.00", "10.00", "1.00", "91.00"});
    screen->procRptPurchaseInterState();
    screen->procRptPurchaseInterState();
    const auto rows = query(db, QStringLiteral("SELECT * FROM tblRptPurchaseInterState"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("Party").text, QStringLiteral("Seller"));
}

} // namespace
