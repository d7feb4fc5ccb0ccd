// The month summary row written from the register screen's total labels.
#include "../registers/storage_support.h"

#include "platform/vb/Vb.h"

using namespace storetest;

namespace {

class MonthSummaryTest : public ScreenFixture {
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        // Every purchase and sales label at zero, as a month without bills shows them.
        for (QLabel* l : purchaseLabels())
            l->setText(QStringLiteral("0.00"));
        for (QLabel* l : salesLabels())
            l->setText(QStringLiteral("0.00"));
        screen->txtTotal->setText(QStringLiteral("0.00"));
    }
    std::vector<QLabel*> purchaseLabels()
    {
        frmNormal& f = *screen;
        return {f.Label12, f.Label13, f.Label14, f.Label15, f.Label10, f.Label16, f.Label17, f.Label18,
                f.Label19, f.Label34, f.Label58, f.Label57, f.Label56, f.Label62, f.Label61};
    }
    std::vector<QLabel*> salesLabels()
    {
        frmNormal& f = *screen;
        return {f.Label23, f.Label22, f.Label21, f.Label20, f.Label35, f.Label45, f.Label27, f.Label26, f.Label25,
                f.Label24, f.Label36, f.Label44, f.Label50, f.Label49, f.Label48, f.Label54, f.Label53, f.Label52};
    }
    std::vector<Row> rows() { return query(db, QStringLiteral("SELECT * FROM tblCommon")); }
};

TEST_F(MonthSummaryTest, LabelsBecomeMoneyColumnsAndPurchaseRowTotals)
{
    screen->Label15->setText(QStringLiteral("1000.00"));
    screen->Label19->setText(QStringLiteral("125.00"));
    screen->Label62->setText(QStringLiteral("10.00"));
    screen->Label13->setText(QStringLiteral("1125.25"));
    screen->Label57->setText(QStringLiteral("0.25"));
    screen->Label52->setText(QStringLiteral("7.50"));   // sales cess at 20 only
    screen->Label35->setText(QStringLiteral("  12abc"));  // the leading number counts
    screen->Label14->setText(QString());                // empty counts as 0
    screen->txtTotal->setText(QStringLiteral("2260.50"));
    screen->txtDate->setText(QStringLiteral("  09-03-09 "));
    screen->txtPlace->setText(QStringLiteral(" Thrissur "));
    Module2().DealerName = QStringLiteral("Dealer Name");
    screen->procWriteCommon();

    const auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    const Row& row = r[0];
    EXPECT_EQ(row.at("PTA12").type, QStringLiteral("real"));
    EXPECT_DOUBLE_EQ(row.at("PTA12").number(), 1000);
    EXPECT_DOUBLE_EQ(row.at("PTT12").number(), 125);
    EXPECT_DOUBLE_EQ(row.at("PTC12").number(), 10);
    EXPECT_DOUBLE_EQ(row.at("RT12").number(), 1135);
    EXPECT_DOUBLE_EQ(row.at("RT1").number(), 1125.5);
    EXPECT_DOUBLE_EQ(row.at("RT4").number(), 0);
    EXPECT_DOUBLE_EQ(row.at("PTA4").number(), 0);
    EXPECT_DOUBLE_EQ(row.at("STC20").number(), 7.5);
    EXPECT_DOUBLE_EQ(row.at("RT20").number(), 0);      // no sales figure in a purchase total
    EXPECT_DOUBLE_EQ(row.at("STACST").number(), 12);
    EXPECT_DOUBLE_EQ(row.at("netTotal").number(), 2260.5);
    EXPECT_EQ(row.at("eDate").text, QStringLiteral("09-03-09"));
    EXPECT_EQ(row.at("Place").text, QStringLiteral("Thrissur"));
    EXPECT_EQ(row.at("cAddress").text, QStringLiteral("Dealer Name"));
    EXPECT_EQ(row.at("cCode").type, QStringLiteral("text"));
    EXPECT_EQ(row.at("cMonth").text, month());
}

TEST_F(MonthSummaryTest, EachSaveReplacesTheDealersRowForTheMonth)
{
    screen->Label12->setText(QStringLiteral("1.00"));
    screen->procWriteCommon();
    screen->Label12->setText(QStringLiteral("2.00"));
    screen->procWriteCommon();
    // A month text with blanks around it names the same month.
    screen->txtRPTo->setText(QStringLiteral("  ") + month() + QStringLiteral(" "));
    screen->Label12->setText(QStringLiteral("3.00"));
    screen->procWriteCommon();

    const auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_DOUBLE_EQ(r[0].at("PTA0").number(), 3);
    EXPECT_EQ(r[0].at("cMonth").text, vb::Trim(screen->txtRPTo->Text()));
}

TEST_F(MonthSummaryTest, OtherDealersAndMonthsKeepTheirRows)
{
    exec(db, QStringLiteral("INSERT INTO tblCommon (cCode, cMonth, PTA0) VALUES ('X', '%1', 5)").arg(month()));
    exec(db, QStringLiteral("INSERT INTO tblCommon (cCode, cMonth, PTA0) VALUES ('', 'NoSuchMonth', 6)"));
    screen->procWriteCommon();
    screen->procWriteCommon();
    EXPECT_EQ(count(db, QStringLiteral("tblCommon")), 3);
    EXPECT_EQ(count(db, QStringLiteral("tblCommon"), QStringLiteral("cCode='X' AND PTA0=5")), 1);
}

TEST_F(MonthSummaryTest, ADealerNameWithAnApostropheIsWrittenAsItIs)
{
    Module2().DealerCode = QStringLiteral("C'1");
    Module2().DealerName = QStringLiteral("Pai's Stores");
    screen->txtPlace->setText(QStringLiteral("St. Thomas' Mount"));
    screen->procWriteCommon();
    screen->procWriteCommon();
    const auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].at("cAddress").text, QStringLiteral("Pai's Stores"));
    EXPECT_EQ(r[0].at("cCode").text, QStringLiteral("C'1"));
    EXPECT_EQ(r[0].at("Place").text, QStringLiteral("St. Thomas' Mount"));
}

} // namespace
