// A month saved where the user's locale writes numbers with a decimal comma stores exactly the
// figures the same save stores in the C locale: every number the program reads from a cell or
// a caption, and every number it writes, is read and written the same on every machine.
#include "DecimalCommaLocale.h"
#include "register_support.h"

using namespace f10test;

namespace {

// Amounts with decimals at every rate, both grids.
const std::vector<Bill> kDecimalPurchases = {
    {"02-03-09", "Alpha Agencies", "T1", "B1", P0, "100.75", "0", "0.05"},
    {"03-03-09", "Beta Traders", "T2", "B2", P1, "200.50", "2.01", "0.50"},
    {"04-03-09", "Gamma Stores", "T3", "B3", P4, "9811.00", "392.44", "3.92"},
    {"05-03-09", "Delta Mills", "T4", "B4", P12, "1000.10", "125.01", "10.25"},
    {"06-03-09", "Epsilon & Co", "T5", "B5", P20, "50.50", "10.10", "0.25"},
};
const std::vector<Bill> kDecimalSales = {
    {"07-03-09", "Buyer Four", "S3", "X3", S4, "250.25", "10.01", "0.10"},
    {"08-03-09", "Buyer Twelve", "S4", "X4", S12, "80.80", "10.10", "1.01"},
    {"09-03-09", "Buyer Outside", "S6", "X6", SCST, "100.99", "2.02", "0"},
};

class LocaleSaveTest : public RegisterScreen {};

} // namespace

TEST_F(LocaleSaveTest, AMonthSavedUnderADecimalCommaLocaleStoresTheSameFigures)
{
    keyBills(true, kDecimalPurchases);
    keyBills(false, kDecimalSales);
    QString reference;
    {
        PlainLocale plain;
        click(form->cmdAdd);
        reference = dumpTables(db);
    }
    expectNumbers(only("tblCommon"), {{"PTT4", 392.44}, {"PTA12", 1000.1}, {"STTCST", 2.02}, {"RT4", 10207.36}});

    DecimalCommaLocale comma;
    ASSERT_TRUE(comma.active());
    // The same save again, with the grids as the first save read them back.
    click(form->cmdAdd);
    EXPECT_EQ(label("Label18").toStdString(), "392.44");
    EXPECT_EQ(dumpTables(db).toStdString(), reference.toStdString());
    expectNumbers(only("tblCommon"), {{"PTT4", 392.44}, {"PTA12", 1000.1}, {"STTCST", 2.02}, {"RT4", 10207.36}});
    EXPECT_EQ(messages().size(), 2u) << lastPrompt().toStdString();
}
