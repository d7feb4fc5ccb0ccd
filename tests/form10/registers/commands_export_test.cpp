// Export on the register screen, and the four exports on total labels as anything may leave them.
#include "register_support.h"

#include "form10/returns/SaveUnit.h"
#include "platform/db/Error.h"

#include <QFile>

using namespace f10test;

namespace {

// Inter-state purchases: nothing at 4 %, one bill at 20 %, which page 3 has no row for.
const std::vector<Bill> kInterState = {
    {"11-03-09", "Far Zero", "F1", "I1", P0, "100", "0", "0"},
    {"12-03-09", "Far One", "F2", "I2", P1, "200", "2", "0"},
    {"13-03-09", "Far Twelve", "F3", "I3", P12, "1000", "125", "5"},
    {"14-03-09", "Far Twenty", "F4", "I4", P20, "50", "10", "0"},
};

using Columns = std::map<QString, QString>;

// The columns less the totals of block C3 that both purchase exports write.
Columns ownBlock(Columns columns)
{
    for (const char* shared : {"C3_34", "C3_35", "C3_36"})
        columns.erase(shared);
    return columns;
}

// Page 3 from the local purchases above.
const Columns kLocalPurchaseColumns = {
    {"C1_13", "0"},     {"C1_14", "100.00"},  {"C1_15", "0.00"},    {"C1_16", "100.00"},  {"C1_17", "0.00"},
    {"C1_23", "1"},     {"C1_24", "200.00"},  {"C1_25", "2.00"},    {"C1_26", "202.00"},  {"C1_27", "2.00"},
    {"C1_33", "4"},     {"C1_34", "300.00"},  {"C1_35", "12.00"},   {"C1_36", "312.00"},  {"C1_37", "12.00"},
    {"C1_43", "12.5"},  {"C1_44", "1000.00"}, {"C1_45", "125.00"},  {"C1_46", "1125.00"}, {"C1_47", "125.00"},
    {"C1_63", "20"},    {"C1_64", "50.00"},   {"C1_65", "10.00"},   {"C1_66", "60.00"},   {"C1_67", "10.00"},
    {"C1_54", "1650.00"}, {"C1_55", "149.00"}, {"C1_56", "1799.00"}, {"C1_57", "149.00"},
    {"C3_34", "1650.00"}, {"C3_35", "149.00"}, {"C3_36", "1799.00"}, {"C3_37", "149.00"},
};
// Page 3 from the inter-state purchases above: the 20 % bill only in the totals.
const Columns kInterStateColumns = {
    {"C2_13", "0"},    {"C2_14", "100.00"},  {"C2_15", "0.00"},   {"C2_16", "100.00"},
    {"C2_23", "1"},    {"C2_24", "200.00"},  {"C2_25", "2.00"},   {"C2_26", "202.00"},
    {"C2_43", "4"},    {"C2_44", "0.00"},    {"C2_45", "0.00"},   {"C2_46", "0.00"},
    {"C2_53", "12.5"}, {"C2_54", "1000.00"}, {"C2_55", "125.00"}, {"C2_56", "1125.00"},
    {"C2_34", "1350.00"}, {"C2_35", "137.00"}, {"C2_36", "1487.00"},
    {"C3_34", "1350.00"}, {"C3_35", "137.00"}, {"C3_36", "1487.00"},
};
// Page 1 from the sales above: local sales without the CST bill, then the CST bill.
const Columns kLocalSalesColumns = {
    {"SL13", "0"},    {"SL14", "10.00"},  {"SL17", "0.00"},
    {"SL23", "1"},    {"SL24", "20.00"},  {"SL27", "0.20"},
    {"SL33", "4"},    {"SL34", "250.00"}, {"SL37", "10.00"},
    {"SL43", "12.5"}, {"SL44", "80.00"},  {"SL47", "10.00"},
    {"SL63", "20"},   {"SL64", "40.00"},  {"SL67", "8.00"},
    {"SL54", "400.00"}, {"SL57", "28.20"}, {"A1T4", "400.00"}, {"A1T7", "28.20"},
};
const Columns kCstColumns = {
    {"ISS13", "CST"}, {"ISS14", "100.00"}, {"ISS17", "2.00"}, {"ISS34", "100.00"},
    {"ISS37", "2.00"}, {"A2T4", "100.00"}, {"A2T7", "2.00"},
};

const char* const kPages[] = {"tblMPage1", "tblMPage2", "tblMPage3", "tblMPage4", "tblMPage5"};
const QString kExported = "  EXPORTED  SUCCESSFULLY";

class ExportTest : public RegisterScreen {
protected:
    void SetUp() override
    {
        RegisterScreen::SetUp();
        keyBills(true, kPurchases);
        keyBills(false, kSales);
        click(form->cmdAdd);
        ASSERT_EQ(count(db, "tblPurchase1"), 5);
        ui::clearShownMessages();
    }
    void TearDown() override
    {
        f10::SaveUnit::beforeStepHook() = nullptr;
        sys::setClock(QDateTime(QDate(2026, 6, 15), QTime(10, 30)));
        RegisterScreen::TearDown();
    }
    void clickExport() { click(form->cmdExport); }
    void enterExport() { key(form->cmdExport, Qt::Key_Return); }
    QString pages() const { return dump(db, "tblMPage%"); }
    QString keyOf(const QString& year, const QString& period) const
    {
        auto quoted = [](QString v) { return "'" + v.replace("'", "''") + "'"; };
        return QString("cCode=%1 AND cYear=%2 AND cSequence='Monthly' AND cRPFrom=%3")
            .arg(quoted(Module2().DealerCode), quoted(year), quoted(period));
    }
    Row pageRow(const char* table, const QString& period = "June", const QString& year = "2026")
    {
        const auto rows = query(db, QString("SELECT * FROM %1 WHERE %2").arg(table, keyOf(year, period)));
        EXPECT_EQ(rows.size(), 1u) << table << " " << period.toStdString() << " " << year.toStdString();
        return rows.empty() ? Row{} : rows.front();
    }
    void expectColumns(const Row& row, const Columns& expected)
    {
        for (const auto& [column, text] : expected) {
            const auto it = row.find(column);
            ASSERT_NE(it, row.end()) << column.toStdString();
            EXPECT_EQ(it->second.type + ":" + it->second.text, "text:" + text) << column.toStdString();
        }
    }
    void expectNull(const Row& row, const Columns& columns)
    {
        for (const auto& column : columns)
            EXPECT_TRUE(row.count(column.first) && row.at(column.first).isNull()) << column.first.toStdString();
    }
    // Every total label blank but `texts`.
    void captions(const std::map<const char*, QString>& texts)
    {
        for (const char* name : kTotalLabels)
            form->findChild<QLabel*>(name)->setText(texts.count(name) ? texts.at(name) : QString());
    }
    int keyedRows(const char* table) { return count(db, table, "cRPFrom IS NOT NULL"); }
    // One row per page table for the return, `keyed` keyed rows in all.
    void expectOneRowEach(const QString& period = "June", const QString& year = "2026", int keyed = 1)
    {
        for (const char* table : kPages) {
            EXPECT_EQ(count(db, table, keyOf(year, period)), 1) << table;
            EXPECT_EQ(keyedRows(table), keyed) << table;
        }
    }
    void switchToInterState(const std::vector<Bill>& bills)
    {
        form->List4->setListIndex(1);
        QApplication::processEvents();
        keyBills(true, bills);
        click(form->cmdAdd);
        ASSERT_EQ(count(db, "tblPurchaseInterState1"), static_cast<int>(bills.size()));
        ui::clearShownMessages();
    }
};

TEST_F(ExportTest, ALocalMonthFillsPagesOneAndThreeKeysEveryPageAndIsRewrittenTheSame)
{
    int pointerAtMessage = -1;
    onMessage = [&](const ui::MessageRecord&) { pointerAtMessage = ui::mousePointer(); };
    long colourWhileExporting = 0;
    QStringList steps;
    f10::SaveUnit::beforeStepHook() = [&](const QString& step) {
        steps << step;
        colourWhileExporting = form->cmdExport->BackColor();
    };
    clickExport();
    ASSERT_EQ(messages().size(), 1u) << lastPrompt().toStdString();
    EXPECT_TRUE(successShown(kExported));
    EXPECT_EQ(pointerAtMessage, ui::vbDefault);
    EXPECT_EQ(steps, QStringList({"procExportPurchaseLocal", "procExportSalesLocal", "procExportSales"}));
    EXPECT_EQ(colourWhileExporting, 0xC0FFFF);
    EXPECT_EQ(form->cmdExport->BackColor(), 0xC0C0FF);

    expectColumns(pageRow("tblMPage3"), kLocalPurchaseColumns);
    expectNull(pageRow("tblMPage3"), ownBlock(kInterStateColumns));
    expectColumns(pageRow("tblMPage1"), kLocalSalesColumns);
    expectColumns(pageRow("tblMPage1"), kCstColumns);
    expectOneRowEach();
    // The exit flag's row is left alone.
    EXPECT_EQ(count(db, "tblMPage2", "cRPFrom IS NULL AND FrmFlg = 0"), 1);

    // Exported again: the same rows take the same values again, and no row is added.
    const QString first = pages();
    exec(db, "UPDATE tblMPage3 SET C1_14 = 'changed', C1_56 = NULL");
    exec(db, "UPDATE tblMPage1 SET SL54 = 'changed', A2T7 = 'changed'");
    f10::SaveUnit::beforeStepHook() = nullptr;
    enterExport();
    EXPECT_EQ(pages().toStdString(), first.toStdString());
    EXPECT_EQ(messages().size(), 2u);
}

TEST_F(ExportTest, EachPurchaseExportKeepsTheOthersBlockAndTheLaterWritesTheSharedTotals)
{
    // Inter-state alone, by Enter: block C2 and the totals; C1, C3_37 and the local sales untouched.
    switchToInterState(kInterState);
    enterExport();
    ASSERT_EQ(messages().size(), 1u) << "Enter exports once: the button is not clicked as well";
    EXPECT_TRUE(successShown(kExported));
    expectColumns(pageRow("tblMPage3"), kInterStateColumns);
    expectNull(pageRow("tblMPage3"), ownBlock(kLocalPurchaseColumns));
    expectColumns(pageRow("tblMPage1"), kCstColumns);
    expectNull(pageRow("tblMPage1"), kLocalSalesColumns);
    // Then local, then inter-state again: C3_34..36 from the later export, C3_37 from the local one.
    for (int list4 : {0, 1}) {
        form->List4->setListIndex(list4);
        QApplication::processEvents();
        clickExport();
        expectColumns(pageRow("tblMPage3"), list4 ? kInterStateColumns : kLocalPurchaseColumns);
        expectColumns(pageRow("tblMPage3"), ownBlock(list4 ? kLocalPurchaseColumns : kInterStateColumns));
    }
    expectColumns(pageRow("tblMPage1"), kLocalSalesColumns);
    expectOneRowEach();
}

TEST_F(ExportTest, EachMonthAndYearGetsOneSetOfRowsByTheTrimmedMonthApostrophesIncluded)
{
    // June typed with blanks, and a key row of June's already on page 2.
    Module2().DealerCode = "K'07";
    exec(db, "INSERT INTO tblMPage2 (cCode, cYear, cSequence, cRPFrom, FrmFlg) VALUES ('K''07', '2026', 'Monthly', 'June', 1)");
    for (const char* typed : {"  June ", "June   "}) {
        form->txtRPTo->setText(typed);
        clickExport();
    }
    EXPECT_EQ(pageRow("tblMPage2").at("FrmFlg").text, "1");
    expectColumns(pageRow("tblMPage1"), kLocalSalesColumns);
    form->txtRPTo->setText("Ju'ly");
    form->Label12->setText("7.00");
    clickExport();
    clickExport();
    EXPECT_EQ(pageRow("tblMPage3", "Ju'ly").at("C1_14").text, "7.00");
    EXPECT_EQ(pageRow("tblMPage3", "June").at("C1_14").text, "100.00");
    EXPECT_EQ(pageRow("tblMPage3", "Ju'ly").at("cCode").text, "K'07");

    // December's return exported on New Year's Eve and again in January: the clock's year.
    form->txtRPTo->setText("December");
    sys::setClock(QDateTime(QDate(2026, 12, 31), QTime(23, 59)));
    clickExport();
    sys::setClock(QDateTime(QDate(2027, 1, 2), QTime(9, 0)));
    form->Label12->setText("8.00");
    clickExport();
    EXPECT_EQ(pageRow("tblMPage3", "December", "2026").at("C1_14").text, "7.00");
    EXPECT_EQ(pageRow("tblMPage3", "December", "2027").at("C1_14").text, "8.00");
    for (const auto& [period, year] : std::vector<std::pair<QString, QString>>{
             {"June", "2026"}, {"Ju'ly", "2026"}, {"December", "2026"}, {"December", "2027"}})
        expectOneRowEach(period, year, 4);
    EXPECT_EQ(messages().size(), 6u);
    for (const auto& m : messages())
        EXPECT_EQ(m.prompt, kExported);
}

TEST_F(ExportTest, AnEmptyMonthIsAskedForOnceAndNothingIsWritten)
{
    const std::vector<std::function<void()>> exports = {
        [&] { clickExport(); }, [&] { enterExport(); }, [&] { form->procExportPurchaseLocal(); },
        [&] { form->procExportSalesLocal(); }, [&] { form->procExportPurchaseInterState(); },
        [&] { form->procExportSales(); }};
    for (size_t i = 0; i < exports.size(); ++i) {
        SCOPED_TRACE(i);
        ui::clearShownMessages();
        form->List1->hide();
        form->txtRPTo->setText("   ");
        exports[i]();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].prompt + messages()[0].title, "Please Enter Return Period  " + ui::kDefaultTitle);
        EXPECT_EQ(messages()[0].buttons, ui::vbOKOnly);
        for (const char* table : kPages)
            EXPECT_EQ(keyedRows(table), 0) << table;
        // The focus went to the month box, which opens the month list.
        EXPECT_TRUE(form->List1->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), form->List1);
        EXPECT_EQ(form->cmdExport->BackColor(), 0xC0C0FF);
    }
}

TEST_F(ExportTest, TheGrandTotalAddsTheTwoTotalsAfterRoundingTheSalesTotalsAreRoundedOnce)
{
    // A purchase total rounds each half before adding; row sums and sales totals round once.
    captions({{"Label12", "0.005"}, {"Label16", "0.005"}, {"Label23", "0.005"}, {"Label22", "0.005"}});
    clickExport();
    expectColumns(pageRow("tblMPage3"), {{"C1_14", "0.01"}, {"C1_15", "0.01"}, {"C1_16", "0.01"}, {"C1_54", "0.01"},
                                         {"C1_55", "0.01"}, {"C1_56", "0.02"}, {"C3_36", "0.02"}, {"C3_37", "0.01"}});
    expectColumns(pageRow("tblMPage1"), {{"SL14", "0.01"}, {"SL24", "0.01"}, {"SL54", "0.01"}, {"A1T4", "0.01"}});
}

TEST_F(ExportTest, InAnyOrderTheFirstExportKeysThePagesAndCaptionsAreReadAsTheCellsAre)
{
    // Local sales first: it creates page 1 with its nineteen columns and keys the others.
    captions({{"Label21", "1000.00"}, {"Label25", "40.00"}, {"Label20", "200.00"}, {"Label24", "25.00"},
              {"Label35", "70.00"}, {"Label36", "1.40"}});
    form->procExportSalesLocal();
    expectColumns(pageRow("tblMPage1"), {{"SL13", "0"}, {"SL23", "1"}, {"SL33", "4"}, {"SL43", "12.5"}, {"SL63", "20"},
                                         {"SL34", "1000.00"}, {"SL37", "40.00"}, {"SL44", "200.00"}, {"SL47", "25.00"},
                                         {"SL14", "0.00"}, {"SL64", "0.00"}, {"SL54", "1200.00"}, {"SL57", "65.00"},
                                         {"A1T4", "1200.00"}, {"A1T7", "65.00"}});
    expectNull(pageRow("tblMPage1"), kCstColumns);
    expectNull(pageRow("tblMPage3"), {{"C1_13", ""}});
    // The others find their rows; CST sales change none of the local figures.
    form->procExportSales();
    form->procExportPurchaseInterState();
    form->procExportPurchaseLocal();
    expectColumns(pageRow("tblMPage1"), {{"SL54", "1200.00"}, {"A1T7", "65.00"}, {"ISS14", "70.00"}, {"A2T7", "1.40"}});
    expectColumns(pageRow("tblMPage3"), {{"C1_13", "0"}, {"C2_13", "0"}, {"C3_37", "0.00"}});
    expectOneRowEach();
    EXPECT_TRUE(messages().empty());

    // A blank caption, an empty one, one without a number, one with text after its number
    // and one with grouping commas; cess never counts.
    captions({{"Label12", " "}, {"Label16", ""}, {"Label13", "abc"}, {"Label14", "12.5 rupees"}, {"Label17", "1,012.50"},
              {"Label58", "500.00"}, {"Label57", "500.00"}, {"Label61", "500.00"}, {"Label53", "500.00"},
              {"Label35", "1250.00"}, {"Label36", "50.00"}});
    form->procExportPurchaseLocal();
    form->procExportSales();
    expectColumns(pageRow("tblMPage3"), {{"C1_14", "0.00"}, {"C1_15", "0.00"}, {"C1_16", "0.00"}, {"C1_24", "0.00"},
                                         {"C1_25", "1012.50"}, {"C1_26", "1012.50"}, {"C1_34", "0.00"},
                                         {"C1_54", "0.00"}, {"C1_55", "1012.50"}, {"C1_56", "1012.50"},
                                         {"C3_37", "1012.50"}});
    expectColumns(pageRow("tblMPage1"), {{"ISS13", "CST"}, {"ISS14", "1250.00"}, {"ISS17", "50.00"},
                                         {"ISS34", "1250.00"}, {"ISS37", "50.00"}, {"A2T4", "1250.00"}, {"A2T7", "50.00"}});
}

TEST_F(ExportTest, AFailureInAnyExportTakesBackTheEarlierOnesAndSaysWhichFailed)
{
    const char* readOnlyPage1 =
        "CREATE TRIGGER refuse BEFORE UPDATE ON tblMPage1 BEGIN SELECT RAISE(ABORT, 'tblMPage1 is read-only'); END";
    // `statement` runs before `step` (none: the step throws); `exported`: rows exist already.
    struct Fault { bool local, exported; const char* step; const char* statement; QStringList mentioned; };
    const Fault faults[] = {
        // A page table gone: the first export of a return cannot key it.
        {true, false, "procExportPurchaseLocal", "DROP TABLE tblMPage5", {"local purchase totals to page 3", "tblMPage5"}},
        // Page 1 takes new rows but refuses changes.
        {true, false, "procExportPurchaseLocal", readOnlyPage1, {"local sales totals to page 1", "read-only"}},
        {true, true, "procExportSalesLocal", readOnlyPage1, {"local sales totals to page 1", "read-only"}},
        {false, true, "procExportPurchaseInterState", nullptr, {"injected failure"}},
        {false, true, "procExportSales", nullptr, {"inter-state sales totals to page 1", "injected failure"}},
    };
    int pointerAtMessage = -1;
    onMessage = [&](const ui::MessageRecord&) { pointerAtMessage = ui::mousePointer(); };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.step);
        f10::SaveUnit::beforeStepHook() = nullptr;
        if (!f.local && form->List4->ListIndex() == 0)
            switchToInterState(kInterState);
        if (f.exported) {
            clickExport();
            form->Label12->setText("999.00");   // figures the failed Export would have written
        }
        f10::SaveUnit::beforeStepHook() = [&f](const QString& s) {
            if (s == f.step && !f.statement)
                throw ado::Error(-1, "injected failure");
            if (s == f.step)
                Module2().Form10Connection->Execute(f.statement);
        };
        const QString before = pages();
        ui::clearShownMessages();
        pointerAtMessage = -1;
        f.exported ? enterExport() : clickExport();
        expectOneFailure(QStringList(f.mentioned) << "not exported");
        EXPECT_EQ(messages()[0].icon(), ui::vbCritical);
        EXPECT_EQ(pointerAtMessage, ui::vbDefault);
        EXPECT_EQ(form->cmdExport->BackColor(), 0xC0C0FF);
        EXPECT_EQ(pages().toStdString(), before.toStdString());
    }

    // Without its database: reported, and no database made.
    f10::SaveUnit::beforeStepHook() = nullptr;
    resetModule2();
    ASSERT_TRUE(QFile::remove(db));
    ui::clearShownMessages();
    clickExport();
    expectOneFailure({"opening the Form 10 database"});
    EXPECT_FALSE(QFile::exists(db));
}

} // namespace
