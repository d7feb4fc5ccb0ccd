// The month summary row written from the register screen's total labels.
#include "../registers/register_support.h"

using namespace f10test;

namespace {

using MonthSummaryTest = RegisterScreen;

TEST_F(MonthSummaryTest, LabelsBecomeMoneyColumnsAndPurchaseRowTotals)
{
    const std::map<QLabel*, const char*> captions = {
        {form->Label15, "1000.00"}, {form->Label19, "125.00"}, {form->Label62, "10.00"}, {form->Label13, "1125.25"},
        {form->Label57, "0.25"}, {form->Label52, "7.50"},   // sales cess at 20 only
        {form->Label35, "  12abc"},                         // the leading number counts
        {form->Label14, ""}};                               // empty counts as 0
    for (const auto& [l, caption] : captions)
        l->setText(QLatin1String(caption));
    form->txtTotal->setText("2260.50");
    form->txtDate->setText("  09-03-09 ");
    form->txtPlace->setText(" Thrissur ");
    Module2().DealerName = "Dealer Name";
    form->procWriteCommon();

    const auto r = query(db, "SELECT * FROM tblCommon");
    ASSERT_EQ(r.size(), 1u);
    for (const auto& [column, value] : std::map<const char*, double>{
             {"PTA12", 1000}, {"PTT12", 125}, {"PTC12", 10}, {"RT12", 1135}, {"RT1", 1125.5}, {"RT4", 0},
             {"PTA4", 0}, {"STC20", 7.5}, {"RT20", 0}, {"STACST", 12}, {"netTotal", 2260.5}}) {
        EXPECT_EQ(r[0].at(column).type, "real") << column;
        EXPECT_DOUBLE_EQ(r[0].at(column).number(), value) << column;
    }
    EXPECT_EQ(r[0].at("eDate").text, "09-03-09");
    EXPECT_EQ(r[0].at("Place").text, "Thrissur");
    EXPECT_EQ(r[0].at("cAddress").text, "Dealer Name");
    EXPECT_EQ(r[0].at("cCode").type, "text");
    EXPECT_EQ(r[0].at("cMonth").text, month());
}

TEST_F(MonthSummaryTest, EachSaveReplacesOnlyTheDealersRowForTheMonth)
{
    exec(db, QStringLiteral("INSERT INTO tblCommon (cCode, cMonth, PTA0) VALUES ('X', '%1', 5), ('', 'NoSuchMonth', 6)")
                 .arg(month()));
    form->Label12->setText("1.00");
    form->procWriteCommon();
    form->Label12->setText("3.00");
    form->procWriteCommon();
    EXPECT_EQ(count(db, "tblCommon"), 3);
    EXPECT_EQ(count(db, "tblCommon", "cCode='X' AND PTA0=5"), 1);
    EXPECT_EQ(count(db, "tblCommon", QStringLiteral("cCode='' AND cMonth='%1' AND PTA0=3").arg(month())), 1);
}

} // namespace
