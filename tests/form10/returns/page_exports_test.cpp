// The page exports run one by one on the register screen, with the total labels set as the
// totals routine would leave them (or as anything else may): the figures each one writes,
// the page key, and the update-or-create frame in any order of exports.
#include "../registers/register_support.h"

using namespace f10test;

namespace {

const QString kJune = "cCode='' AND cYear='2026' AND cSequence='Monthly' AND cRPFrom='June'";

class PageExportsTest : public RegisterScreen {
protected:
    void caption(const char* name, const QString& text)
    {
        auto* l = form->findChild<QLabel*>(name);
        ASSERT_TRUE(l) << name;
        l->setText(text);
    }
    void captions(const std::map<const char*, QString>& texts)
    {
        for (const auto& [name, text] : texts)
            caption(name, text);
    }
    Row page(const char* table)
    {
        const auto rows = query(db, QString("SELECT * FROM %1 WHERE %2").arg(table, kJune));
        EXPECT_EQ(rows.size(), 1u) << table;
        return rows.empty() ? Row{} : rows.front();
    }
    void expectTexts(const Row& row, const std::map<const char*, QString>& texts)
    {
        for (const auto& [column, text] : texts)
            EXPECT_EQ(row.count(column) ? row.at(column).text : "<missing>", text) << column;
    }
    int keyedRows(const char* table) { return count(db, table, "cRPFrom IS NOT NULL"); }
};

TEST_F(PageExportsTest, TheGrandTotalAddsTheTwoTotalsAfterRoundingTheSalesTotalsAreRoundedOnce)
{
    // Half a paisa on each side: a purchase total rounds each half up before adding; a
    // row's amount plus tax, and the sales totals, round the plain sum once.
    captions({{"Label12", "0.005"}, {"Label16", "0.005"}, {"Label23", "0.005"}, {"Label22", "0.005"}});
    form->procExportPurchaseLocal();
    expectTexts(page("tblMPage3"), {{"C1_14", "0.01"}, {"C1_15", "0.01"}, {"C1_16", "0.01"}, {"C1_54", "0.01"},
                                    {"C1_55", "0.01"}, {"C1_56", "0.02"}, {"C3_36", "0.02"}, {"C3_37", "0.01"}});
    form->procExportSalesLocal();
    expectTexts(page("tblMPage1"), {{"SL14", "0.01"}, {"SL24", "0.01"}, {"SL54", "0.01"}, {"A1T4", "0.01"}});
}

TEST_F(PageExportsTest, CaptionsAreReadByTheirLeadingNumberAndCessNeverCounts)
{
    // A blank caption (as the screen starts), an empty one, one without a number, and one
    // with text after its number.
    captions({{"Label12", " "}, {"Label16", ""}, {"Label13", "abc"}, {"Label17", "12.5 rupees"},
              {"Label58", "500.00"}, {"Label57", "500.00"}, {"Label61", "500.00"}, {"Label53", "500.00"},
              {"Label35", "1250.00"}, {"Label36", "50.00"}});
    form->procExportPurchaseLocal();
    form->procExportSales();
    expectTexts(page("tblMPage3"), {{"C1_14", "0.00"}, {"C1_15", "0.00"}, {"C1_16", "0.00"}, {"C1_24", "0.00"},
                                    {"C1_25", "12.50"}, {"C1_26", "12.50"}, {"C1_54", "0.00"}, {"C1_55", "12.50"},
                                    {"C1_56", "12.50"}, {"C3_37", "12.50"}});
    expectTexts(page("tblMPage1"), {{"ISS13", "CST"}, {"ISS14", "1250.00"}, {"ISS17", "50.00"}, {"ISS34", "1250.00"},
                                    {"ISS37", "50.00"}, {"A2T4", "1250.00"}, {"A2T7", "50.00"}});
}

TEST_F(PageExportsTest, InterStatePurchasesAtTwentyPercentShowOnlyInTheTotals)
{
    captions({{"Label12", "0.00"}, {"Label13", "100.00"}, {"Label14", "0.00"}, {"Label15", "50.00"}, {"Label10", "10.00"},
              {"Label16", "0.00"}, {"Label17", "1.00"}, {"Label18", "0.00"}, {"Label19", "6.25"}, {"Label34", "2.00"}});
    form->procExportPurchaseInterState();
    const Row row = page("tblMPage3");
    expectTexts(row, {{"C2_13", "0"}, {"C2_23", "1"}, {"C2_43", "4"}, {"C2_53", "12.5"}, {"C2_24", "100.00"},
                      {"C2_26", "101.00"}, {"C2_44", "0.00"}, {"C2_56", "56.25"}, {"C2_34", "160.00"}, {"C2_35", "9.25"},
                      {"C2_36", "169.25"}, {"C3_34", "160.00"}, {"C3_35", "9.25"}, {"C3_36", "169.25"}});
    for (const char* untouched : {"C1_13", "C1_54", "C3_37"})
        EXPECT_TRUE(row.at(untouched).isNull()) << untouched;
}

TEST_F(PageExportsTest, TheExistenceTestSetsThePageKeyFromTheScreenAndTheClock)
{
    form->txtRPTo->setText(" June ");
    form->procNewRecExists("tblMPage1");
    auto& m = Module2();
    EXPECT_EQ(m.ReturnYear + "|" + m.ReturnSequence + "|" + m.ReturnPeriodFrom, "2026|Monthly|June");
    EXPECT_FALSE(m.PageRecordExists);
    form->procExportSales();
    form->procNewRecExists("tblMPage4");
    EXPECT_TRUE(m.PageRecordExists);
    sys::setClock(QDateTime(QDate(2031, 1, 1), QTime(0, 0)));
    form->procNewRecExists("tblMPage4");
    sys::setClock(QDateTime(QDate(2026, 6, 15), QTime(10, 30)));
    EXPECT_EQ(m.ReturnYear, "2031");
    EXPECT_FALSE(m.PageRecordExists);
}

TEST_F(PageExportsTest, InAnyOrderTheFirstExportCreatesAndTheOthersUpdateTheirOwnColumns)
{
    // Local sales first: it creates page 1 with its nineteen columns and keys the others.
    captions({{"Label21", "1000.00"}, {"Label25", "40.00"}, {"Label20", "200.00"}, {"Label24", "25.00"},
              {"Label35", "70.00"}, {"Label36", "1.40"}});
    form->procExportSalesLocal();
    Row page1 = page("tblMPage1");
    expectTexts(page1, {{"SL13", "0"}, {"SL23", "1"}, {"SL33", "4"}, {"SL43", "12.5"}, {"SL63", "20"},
                        {"SL34", "1000.00"}, {"SL37", "40.00"}, {"SL44", "200.00"}, {"SL47", "25.00"},
                        {"SL14", "0.00"}, {"SL64", "0.00"}, {"SL54", "1200.00"}, {"SL57", "65.00"},
                        {"A1T4", "1200.00"}, {"A1T7", "65.00"}});
    EXPECT_TRUE(page1.at("ISS13").isNull());
    for (const char* table : {"tblMPage2", "tblMPage3", "tblMPage4", "tblMPage5"})
        EXPECT_EQ(count(db, table, kJune), 1) << table;
    EXPECT_TRUE(page("tblMPage3").at("C1_13").isNull());

    // The others find their rows; CST sales change none of the local figures.
    form->procExportSales();
    form->procExportPurchaseInterState();
    form->procExportPurchaseLocal();
    page1 = page("tblMPage1");
    expectTexts(page1, {{"SL54", "1200.00"}, {"A1T7", "65.00"}, {"ISS14", "70.00"}, {"A2T7", "1.40"}});
    const Row page3 = page("tblMPage3");
    expectTexts(page3, {{"C1_13", "0"}, {"C2_13", "0"}, {"C3_37", "0.00"}});
    for (const char* table : {"tblMPage1", "tblMPage2", "tblMPage3", "tblMPage4", "tblMPage5"})
        EXPECT_EQ(keyedRows(table), 1) << table;
    EXPECT_TRUE(messages().empty());
}

TEST_F(PageExportsTest, EachExportAsksForAnEmptyMonthAndStoresNothing)
{
    using Export = void (*)(frmNormal&);
    for (Export exportProc : {+[](frmNormal& f) { f.procExportPurchaseLocal(); },
                              +[](frmNormal& f) { f.procExportSalesLocal(); },
                              +[](frmNormal& f) { f.procExportPurchaseInterState(); },
                              +[](frmNormal& f) { f.procExportSales(); }}) {
        // The month list that the month box opened for the export before is closed again.
        form->List1->hide();
        form->txtRPTo->setText("  ");
        ui::clearShownMessages();
        exportProc(*form);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].prompt, "Please Enter Return Period  ");
        EXPECT_TRUE(form->List1->isVisible());   // the focus went to the month box
    }
    for (const char* table : {"tblMPage1", "tblMPage2", "tblMPage3", "tblMPage4", "tblMPage5"})
        EXPECT_EQ(keyedRows(table), 0) << table;
}

} // namespace
