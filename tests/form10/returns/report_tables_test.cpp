// The month summary row written from the total labels, and the report tables filled from it.
#include "../registers/register_support.h"

using namespace f10test;

namespace {

class ReportTablesTest : public RegisterScreen {
protected:
    // The dealer's month summary row: amounts 0 but those given, place Kollam, date 31-03-09.
    void summaryRow(const std::map<QString, QString>& values)
    {
        QStringList columns = {"cCode", "cMonth", "cAddress", "Place", "eDate"};
        QStringList literals = {"''", "'" + month() + "'", "''", "'Kollam'", "'31-03-09'"};
        for (const char* family : {"PTA", "PTT", "PTC", "STA", "STT", "STC"})
            for (const char* rate : {"0", "1", "4", "12", "20", "CST"}) {
                const QString column = QLatin1String(family) + QLatin1String(rate);
                if (!(column.startsWith('P') && column.endsWith("CST"))) {
                    columns << column;
                    literals << (values.count(column) ? values.at(column) : QString("0"));
                }
            }
        exec(db, QString("INSERT INTO tblCommon (%1) VALUES (%2)").arg(columns.join(','), literals.join(',')));
    }
};

TEST_F(ReportTablesTest, SummaryRowsAddTheStoredAmountsPerRateAndANullEmptiesEverySumThatHoldsIt)
{
    summaryRow({{"PTA0", "100"}, {"PTA4", "250"}, {"PTT4", "10"}, {"PTA12", "80"}, {"PTT12", "10"}, {"PTC12", "1"},
                {"STA4", "250"}, {"STT4", "10"}, {"STC4", "0.10"}, {"STACST", "100"}, {"STTCST", "2"}});
    form->txtPlace->setText("  Palakkad ");
    form->txtDate->setText(" 01-04-09");
    form->procLoadRptSalesC();   // no key row: nothing written, nothing added
    EXPECT_EQ(count(db, "tblRptSales"), 0);
    form->procLoadKey();
    form->procLoadRptPurchaseC();
    form->procLoadRptSalesC();
    // Local purchases take place and date from the screen, sales from the summary.
    const Row purchase = only("tblRptPurchaseC");
    expectNumbers(purchase, {{"PTA4", 250}, {"PRT0", 100}, {"PRT1", 0}, {"PRT4", 260}, {"PRT12", 91},
                             {"PCTAmt", 430}, {"PCTTax", 20}, {"PCTCess", 1}, {"PCTTotal", 451}});
    EXPECT_EQ(purchase.at("Place").text + "|" + purchase.at("eDate").text, "Palakkad|01-04-09");
    const Row sales = only("tblRptSales");
    expectNumbers(sales, {{"SRT4", 260.1}, {"SRTCST", 102}, {"SRT0", 0}, {"SCTAmt", 350}, {"SCTTax", 12},
                          {"SCTCess", 0.1}, {"SCTTotal", 362.1}});
    EXPECT_EQ(sales.at("Place").text, "Kollam");

    exec(db, "UPDATE tblCommon SET PTT4 = NULL, PTC4 = 0.1");
    form->procLoadRptPurchaseInterStateC();
    const Row row = only("tblRptPurchaseInterStateC");
    for (const char* column : {"PTT4", "PRT4", "PCTTax", "PCTTotal"})
        EXPECT_TRUE(row.at(column).isNull()) << column;
    expectNumbers(row, {{"PRT0", 100}, {"PCTAmt", 430}, {"PCTCess", 1.1}});
    EXPECT_EQ(row.at("Place").text + "|" + row.at("eDate").text, "Kollam|31-03-09");

    // Key rows are found by the dealer name as shown: under another, nothing changes.
    form->lblCustomerName->setText("Second");
    exec(db, "UPDATE tblCommon SET STA4 = 999");
    form->procLoadRptSalesC();
    expectNumbers(only("tblRptSales"), {{"SRT4", 260.1}});
}

TEST_F(ReportTablesTest, TheCommonCopyAppendsAndTheOlderPurchaseCopyAddsRows)
{
    summaryRow({{"PTA4", "7"}, {"STACST", "3"}});
    exec(db, "UPDATE tblCommon SET Category = 'General'");
    form->procLoadRptCommon();
    form->procLoadRptCommon();
    const auto copies = query(db, "SELECT * FROM tblRptCommon");
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].at("Category").text + copies[0].at("cMonth").text, "General" + month());
    expectNumbers(copies[0], {{"STACST", 3}});
    form->procRptPurchase();
    expectNumbers(only("tblRptPurchaseC"), {{"STACST", 3}});
    // Without a summary row for the month neither adds anything.
    exec(db, "DELETE FROM tblCommon");
    form->procLoadRptCommon();
    form->procRptPurchase();
    EXPECT_EQ(QPoint(count(db, "tblRptCommon"), count(db, "tblRptPurchaseC")), QPoint(2, 1));
}

TEST_F(ReportTablesTest, MonthSummaryLabelsBecomeMoneyColumnsReplacingOnlyTheDealersRowForTheMonth)
{
    exec(db, QStringLiteral("INSERT INTO tblCommon (cCode, cMonth, PTA0) VALUES ('X', '%1', 5), ('', 'NoSuchMonth', 6)")
                 .arg(month()));
    const std::map<QLabel*, const char*> captions = {
        {form->Label15, "1000.00"}, {form->Label19, "125.00"}, {form->Label62, "10.00"}, {form->Label13, "1125.25"},
        {form->Label57, "0.25"}, {form->Label52, "7.50"},   // sales cess at 20 only
        {form->Label35, " 1,212.00 "},                      // read as a cell is: grouping, blanks around
        {form->Label36, "12abc"},                           // no number: 0
        {form->Label14, ""}};                               // empty counts as 0
    for (const auto& [l, caption] : captions)
        l->setText(QLatin1String(caption));
    form->txtTotal->setText("2260.50");
    form->txtDate->setText("  09-03-09 ");
    form->txtPlace->setText(" Thrissur ");
    Module2().DealerName = "Dealer Name";
    form->procWriteCommon();
    form->procWriteCommon();

    EXPECT_EQ(count(db, "tblCommon"), 3);
    EXPECT_EQ(count(db, "tblCommon", "cCode='X' AND PTA0=5") + count(db, "tblCommon", "cMonth='NoSuchMonth'"), 2);
    const auto r = query(db, QString("SELECT * FROM tblCommon WHERE cCode='' AND cMonth='%1'").arg(month()));
    ASSERT_EQ(r.size(), 1u);
    expectNumbers(r[0], {{"PTA12", 1000}, {"PTT12", 125}, {"PTC12", 10}, {"RT12", 1135}, {"RT1", 1125.5}, {"RT4", 0},
                         {"PTA4", 0}, {"STC20", 7.5}, {"RT20", 0}, {"STACST", 1212}, {"STTCST", 0}, {"netTotal", 2260.5}});
    EXPECT_EQ(r[0].at("eDate").text + "|" + r[0].at("Place").text + "|" + r[0].at("cAddress").text + "|"
                  + r[0].at("cCode").type,
              "09-03-09|Thrissur|Dealer Name|text");
}

} // namespace
