// The Form 10 page tables: one row per page for each return, keyed by the dealer code, the
// year, "Monthly" and the month. The four exports copy the register screen's total labels
// into page 3 (purchases) and page 1 (sales); they share one update-or-create frame and
// differ only in their table of columns.
//
// The first export of a return adds its own page row and a key row to each other page
// table that has none for the return, so every later export of the return, in any order,
// finds its row and rewrites only its own columns: each page table holds one row per return.
// The month is trimmed once; the same text keys the test, the update and every row added.
// Nothing here traps a failure: the Export command runs the exports as one unit of work.
#include "form10/returns/PageExports.h"

#include "form10/registers/AmountText.h"
#include "form10/registers/Module2.h"
#include "form10/registers/RateLabels.h"
#include "form10/registers/RegisterStorage.h"
#include "form10/registers/frmNormal.h"
#include "platform/db/Recordset.h"
#include "platform/db/StatementText.h"
#include "platform/sys/Clock.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/vb/Vb.h"

#include <QLabel>

#include <array>
#include <span>

using ado::Variant;
using ado::sqlQuoted;

namespace {

using f10::RateLabels;

// What a page column holds. The totals add the rates' labels in the export's own order;
// the grand total adds the two totals after each is brought to two decimals.
enum class Figure { RateText, Amount, Tax, AmountPlusTax, AmountTotal, TaxTotal, GrandTotal };

struct PageColumn {
    const char* name;
    Figure figure;
    const char* rate = nullptr;   // the rate text written, or the rate whose labels are read
};

using F = Figure;

// Page 3, block C1 (rows 1-4 and 6 the rates, row 5 the totals) and block C3.
const PageColumn kPurchaseLocalColumns[] = {
    {"C1_13", F::RateText, "0"}, {"C1_14", F::Amount, "0"}, {"C1_15", F::Tax, "0"},
    {"C1_16", F::AmountPlusTax, "0"}, {"C1_17", F::Tax, "0"},
    {"C1_23", F::RateText, "1"}, {"C1_24", F::Amount, "1"}, {"C1_25", F::Tax, "1"},
    {"C1_26", F::AmountPlusTax, "1"}, {"C1_27", F::Tax, "1"},
    {"C1_33", F::RateText, "4"}, {"C1_34", F::Amount, "4"}, {"C1_35", F::Tax, "4"},
    {"C1_36", F::AmountPlusTax, "4"}, {"C1_37", F::Tax, "4"},
    {"C1_43", F::RateText, "12.5"}, {"C1_44", F::Amount, "12.5"}, {"C1_45", F::Tax, "12.5"},
    {"C1_46", F::AmountPlusTax, "12.5"}, {"C1_47", F::Tax, "12.5"},
    {"C1_63", F::RateText, "20"}, {"C1_64", F::Amount, "20"}, {"C1_65", F::Tax, "20"},
    {"C1_66", F::AmountPlusTax, "20"}, {"C1_67", F::Tax, "20"},
    {"C1_54", F::AmountTotal}, {"C1_55", F::TaxTotal}, {"C1_56", F::GrandTotal}, {"C1_57", F::TaxTotal},
    {"C3_34", F::AmountTotal}, {"C3_35", F::TaxTotal}, {"C3_36", F::GrandTotal}, {"C3_37", F::TaxTotal},
};

// Page 3, block C2 (rows 1, 2, 4, 5 the rates, row 3 the totals; no 20 % row, though the
// totals take it in) and block C3 without its tax column.
const PageColumn kPurchaseInterStateColumns[] = {
    {"C2_13", F::RateText, "0"}, {"C2_14", F::Amount, "0"}, {"C2_15", F::Tax, "0"},
    {"C2_16", F::AmountPlusTax, "0"},
    {"C2_23", F::RateText, "1"}, {"C2_24", F::Amount, "1"}, {"C2_25", F::Tax, "1"},
    {"C2_26", F::AmountPlusTax, "1"},
    {"C2_43", F::RateText, "4"}, {"C2_44", F::Amount, "4"}, {"C2_45", F::Tax, "4"},
    {"C2_46", F::AmountPlusTax, "4"},
    {"C2_53", F::RateText, "12.5"}, {"C2_54", F::Amount, "12.5"}, {"C2_55", F::Tax, "12.5"},
    {"C2_56", F::AmountPlusTax, "12.5"},
    {"C2_34", F::AmountTotal}, {"C2_35", F::TaxTotal}, {"C2_36", F::GrandTotal},
    {"C3_34", F::AmountTotal}, {"C3_35", F::TaxTotal}, {"C3_36", F::GrandTotal},
};

// Page 1, inter-state sales: the CST row, row 3 and the page totals carry the same figures.
const PageColumn kSalesColumns[] = {
    {"ISS13", F::RateText, "CST"}, {"ISS14", F::Amount, "CST"}, {"ISS17", F::Tax, "CST"},
    {"ISS34", F::Amount, "CST"}, {"ISS37", F::Tax, "CST"},
    {"A2T4", F::Amount, "CST"}, {"A2T7", F::Tax, "CST"},
};

// Page 1, local sales (rows 1-4 and 6 the rates, row 5 the totals) and the page totals.
const PageColumn kSalesLocalColumns[] = {
    {"SL13", F::RateText, "0"}, {"SL14", F::Amount, "0"}, {"SL17", F::Tax, "0"},
    {"SL23", F::RateText, "1"}, {"SL24", F::Amount, "1"}, {"SL27", F::Tax, "1"},
    {"SL33", F::RateText, "4"}, {"SL34", F::Amount, "4"}, {"SL37", F::Tax, "4"},
    {"SL43", F::RateText, "12.5"}, {"SL44", F::Amount, "12.5"}, {"SL47", F::Tax, "12.5"},
    {"SL63", F::RateText, "20"}, {"SL64", F::Amount, "20"}, {"SL67", F::Tax, "20"},
    {"SL54", F::AmountTotal}, {"SL57", F::TaxTotal},
    {"A1T4", F::AmountTotal}, {"A1T7", F::TaxTotal},
};

const char* const kPurchaseTotalsOrder[] = {"20", "12.5", "4", "1", "0"};
const char* const kSalesTotalsOrder[] = {"1", "0", "4", "12.5", "20"};

struct PageExport {
    const char* procedure;
    const char* description;            // for the Export command's failure message
    const char* table;                  // its own page table
    const char* updateHead;
    std::array<const char*, 4> keyRowTables;   // in the order the key rows are added
    std::span<const RateLabels> labels;
    std::span<const char* const> totalsOrder;
    std::span<const PageColumn> columns;
};

const PageExport kPurchaseLocal = {
    "procExportPurchaseLocal", "the local purchase totals to page 3", "tblMPage3", " UPDATE tblMPage3   ",
    {"tblMPage2", "tblMPage1", "tblMPage4", "tblMPage5"}, f10::kPurchaseRateLabels, kPurchaseTotalsOrder,
    kPurchaseLocalColumns};
const PageExport kPurchaseInterState = {
    "procExportPurchaseInterState", "the inter-state purchase totals to page 3", "tblMPage3", " UPDATE tblMPage3   ",
    {"tblMPage2", "tblMPage1", "tblMPage4", "tblMPage5"}, f10::kPurchaseRateLabels, kPurchaseTotalsOrder,
    kPurchaseInterStateColumns};
const PageExport kSales = {
    "procExportSales", "the inter-state sales totals to page 1", "tblMPage1", " UPDATE tblMPage1   ",
    {"tblMPage2", "tblMPage3", "tblMPage4", "tblMPage5"}, f10::kSalesRateLabels, {}, kSalesColumns};
const PageExport kSalesLocal = {
    "procExportSalesLocal", "the local sales totals to page 1", "tblMPage1", " UPDATE tblMPage1   ",
    {"tblMPage2", "tblMPage3", "tblMPage4", "tblMPage5"}, f10::kSalesRateLabels, kSalesTotalsOrder,
    kSalesLocalColumns};

const PageExport* const kExports[] = {&kPurchaseLocal, &kPurchaseInterState, &kSales, &kSalesLocal};

// ---- figures ------------------------------------------------------------------------------

// Which of a rate's two labels.
using LabelOf = QLabel* frmNormal::*RateLabels::*;
constexpr LabelOf kAmount = &RateLabels::amount;
constexpr LabelOf kTax = &RateLabels::tax;

// A label's figure, read as the cells are read; 0 when it is empty or no number.
double labelValue(const frmNormal& form, const PageExport& e, const char* rate, LabelOf which)
{
    for (const RateLabels& r : e.labels)
        if (qstrcmp(r.rate, rate) == 0)
            return f10::amountValue((form.*(r.*which))->text());
    Q_ASSERT_X(false, "labelValue", rate);
    return 0;
}

double total(const frmNormal& form, const PageExport& e, LabelOf which)
{
    double sum = 0;
    for (const char* rate : e.totalsOrder)
        sum += labelValue(form, e, rate, which);
    return sum;
}

QString figure(const frmNormal& form, const PageExport& e, const PageColumn& c)
{
    switch (c.figure) {
    case Figure::RateText:
        return QString::fromLatin1(c.rate);
    case Figure::Amount:
        return vb::Format00(labelValue(form, e, c.rate, kAmount));
    case Figure::Tax:
        return vb::Format00(labelValue(form, e, c.rate, kTax));
    case Figure::AmountPlusTax:
        return vb::Format00(labelValue(form, e, c.rate, kAmount) + labelValue(form, e, c.rate, kTax));
    case Figure::AmountTotal:
        return vb::Format00(total(form, e, kAmount));
    case Figure::TaxTotal:
        return vb::Format00(total(form, e, kTax));
    case Figure::GrandTotal:
        return vb::Format00(f10::amountValue(vb::Format00(total(form, e, kAmount)))
                            + f10::amountValue(vb::Format00(total(form, e, kTax))));
    }
    return QString();
}

// ---- the page key and the statements on it ---------------------------------------------------

void setPageKey(const frmNormal& form)
{
    auto& m = Module2();
    m.ReturnYear = vb::FormatDate(sys::today(), QStringLiteral("yyyy"));
    m.ReturnSequence = QStringLiteral("Monthly");
    m.ReturnPeriodFrom = f10::monthKey(form);
}

// Whether a page table holds a row for the return's key (on the connection in use).
bool pageRowExists(const QString& table)
{
    auto& m = Module2();
    if (m.ReadRecordset->State() == ado::adStateOpen)
        m.ReadRecordset->Close();
    m.SqlText = QStringLiteral("SELECT * FROM ") + table + QStringLiteral("    WHERE cCode='") + sqlQuoted(m.DealerCode)
                + QStringLiteral("'  AND cYear='") + sqlQuoted(m.ReturnYear) + QStringLiteral("'  AND cSequence='")
                + sqlQuoted(m.ReturnSequence) + QStringLiteral("'  AND cRPFrom='") + sqlQuoted(m.ReturnPeriodFrom)
                + QStringLiteral("'");
    m.ReadRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenDynamic, ado::adLockOptimistic, -1);
    const bool found = !m.ReadRecordset->Eof();
    m.ReadRecordset->Close();
    return found;
}

QString keyRowInsert(const QString& table)
{
    const auto& m = Module2();
    return QStringLiteral(" INSERT INTO ") + table + QStringLiteral(" ( ")
           + QStringLiteral("  cCode , cYear , cSequence , cRPFrom ") + QStringLiteral(")     VALUES   (")
           + QStringLiteral("'") + sqlQuoted(m.DealerCode) + QStringLiteral("',") + QStringLiteral("'")
           + sqlQuoted(m.ReturnYear) + QStringLiteral("',") + QStringLiteral("'") + sqlQuoted(m.ReturnSequence)
           + QStringLiteral("',") + QStringLiteral("'") + sqlQuoted(m.ReturnPeriodFrom) + QStringLiteral("')");
}

// ---- the update-or-create frame --------------------------------------------------------------

void updatePageRow(const frmNormal& form, const PageExport& e)
{
    auto& m = Module2();
    QString sql = QLatin1String(e.updateHead);
    bool first = true;
    for (const PageColumn& c : e.columns) {
        sql += (first ? QStringLiteral(" SET ") : QStringLiteral(",")) + QLatin1String(c.name) + QStringLiteral("= '")
               + sqlQuoted(figure(form, e, c)) + QStringLiteral("'");
        first = false;
    }
    sql += QStringLiteral("  WHERE cCode='") + sqlQuoted(m.DealerCode) + QStringLiteral("' AND cYear='")
           + sqlQuoted(m.ReturnYear) + QStringLiteral("' AND cSequence='") + sqlQuoted(m.ReturnSequence)
           + QStringLiteral("'  AND cRPFrom='") + sqlQuoted(m.ReturnPeriodFrom) + QStringLiteral("'");
    m.SqlText = sql;
    m.Form10Connection->Execute(m.SqlText);
}

void createPageRow(const frmNormal& form, const PageExport& e)
{
    auto& m = Module2();
    m.SqlText = QStringLiteral("SELECT * FROM  ") + QLatin1String(e.table);
    m.ReadRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenKeyset, ado::adLockOptimistic, -1);
    ado::Recordset& page = *m.ReadRecordset;
    page.AddNew();
    page.Fields(QStringLiteral("cCode")) = Variant(m.DealerCode);
    page.Fields(QStringLiteral("cYear")) = Variant(m.ReturnYear);
    page.Fields(QStringLiteral("cSequence")) = Variant(m.ReturnSequence);
    page.Fields(QStringLiteral("cRPFrom")) = Variant(m.ReturnPeriodFrom);
    for (const PageColumn& c : e.columns)
        page.Fields(QLatin1String(c.name)) = Variant(figure(form, e, c));
    page.Update();
    page.Close();

    // A table may already hold the return's key row (an earlier export of the other page,
    // or an older file): a second one would split the return.
    for (const char* table : e.keyRowTables) {
        if (pageRowExists(QLatin1String(table)))
            continue;
        m.SqlText = keyRowInsert(QLatin1String(table));
        m.Form10Connection->Execute(m.SqlText);
    }
}

void runPageExport(frmNormal& form, const PageExport& e)
{
    if (f10::returnPeriodMissing(form))
        return;
    form.procNewRecExists(QLatin1String(e.table));
    procOpenForm10DB();
    if (Module2().PageRecordExists)
        updatePageRow(form, e);
    else
        createPageRow(form, e);
}

} // namespace

namespace f10 {

bool returnPeriodMissing(frmNormal& form)
{
    if (!monthKey(form).isEmpty())
        return false;
    ui::MsgBox(QStringLiteral("Please Enter Return Period  "));
    form.txtRPTo->setFocus(Qt::OtherFocusReason);
    return true;
}

QString exportDescription(const QString& procedure)
{
    for (const PageExport* e : kExports)
        if (procedure == QLatin1String(e->procedure))
            return QLatin1String(e->description);
    return procedure;
}

} // namespace f10

void frmNormal::procNewRecExists(const QString& tableName)
{
    procOpenForm10DB();
    setPageKey(*this);
    Module2().PageRecordExists = pageRowExists(tableName);
}

void frmNormal::procExportPurchaseLocal()
{
    runPageExport(*this, kPurchaseLocal);
}

void frmNormal::procExportPurchaseInterState()
{
    runPageExport(*this, kPurchaseInterState);
}

void frmNormal::procExportSales()
{
    runPageExport(*this, kSales);
}

void frmNormal::procExportSalesLocal()
{
    runPageExport(*this, kSalesLocal);
}
