// The per-rate totals: which label holds which sum, the rate matching and the "#0.00" text.
#include "screen_support.h"

using namespace screentest;

namespace {

const char* const kPurchaseLabels[] = {"Label12", "Label13", "Label14", "Label15", "Label10",
                                       "Label16", "Label17", "Label18", "Label19", "Label34",
                                       "Label58", "Label57", "Label56", "Label62", "Label61"};
const char* const kSalesLabels[] = {"Label23", "Label22", "Label21", "Label20", "Label35", "Label45",
                                    "Label27", "Label26", "Label25", "Label24", "Label36", "Label44",
                                    "Label50", "Label49", "Label48", "Label54", "Label53", "Label52"};

class Totals : public ScreenTest {
protected:
    // Fills bill rows of a grid directly: rate, amount, tax, cess, total.
    void rows(ui::FlexGrid* grid, const std::vector<QStringList>& bills)
    {
        grid->setRows(int(bills.size()) + 1);
        for (size_t i = 0; i < bills.size(); ++i) {
            const int r = int(i) + 1;
            grid->setTextMatrix(r, 0, QString::number(r));
            for (int k = 0; k < 5; ++k)
                grid->setTextMatrix(r, 5 + k, bills[i][k]);
        }
    }
};

TEST_F(Totals, EveryLabelStartsAtZeroAndSitsInItsPlace)
{
    for (const char* name : kPurchaseLabels)
        EXPECT_EQ(label(name), "0.00") << name;
    for (const char* name : kSalesLabels)
        EXPECT_EQ(label(name), "0.00") << name;
    EXPECT_EQ(form->txtTotal->Text(), "0.00");
    EXPECT_EQ(form->txtTotal2->Text(), "0.00");

    // Left half: rates 0, 1, 4; right half the rest; columns amount, tax, cess.
    struct Place { const char* name; int left; int top; };
    const Place places[] = {
        {"Label12", 2160, 4200}, {"Label16", 3600, 4200}, {"Label58", 5040, 4200},
        {"Label14", 2160, 4680}, {"Label15", 8880, 4200}, {"Label61", 11760, 4440},
        {"Label23", 2160, 8160}, {"Label25", 3600, 8640}, {"Label20", 8880, 8160},
        {"Label36", 10320, 8400}, {"Label52", 11760, 8640},
    };
    for (const Place& p : places) {
        auto* l = form->findChild<QLabel*>(p.name);
        ASSERT_NE(l, nullptr) << p.name;
        EXPECT_EQ(ui::leftTwips(l), p.left) << p.name;
        EXPECT_EQ(ui::topTwips(l), p.top) << p.name;
        EXPECT_EQ(ui::widthTwips(l), 1500) << p.name;
        EXPECT_EQ(ui::heightTwips(l), 255) << p.name;
    }
}

TEST_F(Totals, SumsAreFormattedWithTwoDecimalsRoundedHalfAway)
{
    rows(form->fg1, {{"0", "0.005", "2.675", "-3", "0"},
                     {"1", "1234.5", "0", "0", "1234.5"},
                     {"4", "0.1", "0.2", "0", "0.3"},
                     {"4", "0.2", "0.1", "0", "0.3"}});
    form->procTotalCal1();
    EXPECT_EQ(label("Label12"), "0.01");
    EXPECT_EQ(label("Label16"), "2.68");
    EXPECT_EQ(label("Label58"), "-3.00");
    EXPECT_EQ(label("Label13"), "1234.50");
    EXPECT_EQ(label("Label14"), "0.30");
    EXPECT_EQ(label("Label18"), "0.30");
    EXPECT_EQ(form->txtTotal->Text(), "1235.10");
}

TEST_F(Totals, PaddedPickerEntriesCountUnderTheirRate)
{
    // Every entry the pickers can put into a rate cell.
    rows(form->fg1, {{"         0", "1", "0", "0", "1"},
                     {"     20       ", "2", "0", "0", "2"},
                     {"        20       ", "4", "0", "0", "4"},
                     {"      20", "8", "0", "0", "8"},
                     {"       12.5", "16", "0", "0", "16"}});
    form->procTotalCal1();
    EXPECT_EQ(label("Label12"), "1.00");
    EXPECT_EQ(label("Label10"), "14.00");
    EXPECT_EQ(label("Label15"), "16.00");

    rows(form->fg2, {{"     CST ", "5", "1", "0.5", "6.5"}, {"     20  ", "7", "0", "0", "7"}});
    form->procTotalCal2();
    EXPECT_EQ(label("Label35"), "5.00");
    EXPECT_EQ(label("Label36"), "1.00");
    EXPECT_EQ(label("Label53"), "0.50");
    EXPECT_EQ(label("Label45"), "7.00");
    EXPECT_EQ(form->txtTotal2->Text(), "13.50");
}

TEST_F(Totals, UnknownRatesCountOnlyInTheGrandTotal)
{
    rows(form->fg1, {{"12.50", "10", "1", "0", "11"},
                     {"12", "10", "1", "0", "11"},
                     {"CST", "10", "1", "0", "11"},
                     {"", "10", "1", "0", "11"}});
    form->procTotalCal1();
    for (const char* name : kPurchaseLabels)
        EXPECT_EQ(label(name), "0.00") << name;
    EXPECT_EQ(form->txtTotal->Text(), "44.00");

    rows(form->fg2, {{"cst", "10", "1", "0", "11"}});
    form->procTotalCal2();
    EXPECT_EQ(label("Label35"), "0.00");
    EXPECT_EQ(form->txtTotal2->Text(), "11.00");
}

TEST_F(Totals, ACellThatIsNotWhollyANumberAddsNothingToThePanel)
{
    // An empty amount still adds its tax and cess; 12abc adds nothing to the panel but
    // its leading number to the row total.
    rows(form->fg1, {{"4", "", "5", "1", "6"}, {"4", "12abc", "1", "0", "x"}});
    form->procTotalCal1();
    EXPECT_EQ(label("Label14"), "0.00");
    EXPECT_EQ(label("Label18"), "6.00");
    EXPECT_EQ(label("Label56"), "1.00");
    EXPECT_EQ(form->txtTotal->Text(), "6.00");

    focusEditor(form->txtGrid1);
    form->fg1->setRow(2);
    form->fg1->setCol(9);
    EXPECT_EQ(form->fg1->TextMatrix(2, 9), "13.00");
    EXPECT_EQ(label("Label14"), "0.00");
    EXPECT_EQ(form->txtTotal->Text(), "19.00");
}

TEST_F(Totals, TheGrandTotalAddsTheStoredRowTotalsAsTheyStand)
{
    rows(form->fg2, {{"0", "100", "0", "0", "7"}, {"1", "100", "1", "0", "3.25"}});
    form->procTotalCal2();
    EXPECT_EQ(form->txtTotal2->Text(), "10.25");
    EXPECT_EQ(label("Label23"), "100.00");
    EXPECT_EQ(label("Label22"), "100.00");
    EXPECT_EQ(label("Label26"), "1.00");
}

} // namespace
