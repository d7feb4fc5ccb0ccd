// The report tables the printed reports read: the report key rows, the three bill lists
// copied from the grids, and the three summary rows filled from the month summary.
//
// They hold each dealer's last save: a save replaces the rows of its own dealer only, and the
// reports read the rows of the dealer on the screen.
//
// procLoadKey and the summary loaders skip failing statements: the save runs each summary
// loader once right after clearing its table of the dealer's rows, where it finds no key row
// and writes nothing, and once more after the key rows are back. The bill-list loaders trap
// nothing.
#include "form10/registers/Module2.h"
#include "form10/registers/RegisterStorage.h"
#include "form10/registers/frmNormal.h"
#include "form10/returns/SaveUnit.h"
#include "platform/db/Recordset.h"
#include "platform/db/StatementText.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/vb/Vb.h"

#include <QLabel>
#include <QStringList>

using ado::Variant;
using ado::sqlQuoted;
using f10::skip;

namespace {

// One report key row: the dealer code, the month and the dealer name as shown.
void addKeyRow(frmNormal& form, const QString& statement)
{
    auto& m = Module2();
    skip([&] { m.StagingRecordset->Open(statement, m.Form10Connection, ado::adOpenKeyset, ado::adLockOptimistic, -1); });
    skip([&] { m.StagingRecordset->AddNew(); });
    skip([&] { m.StagingRecordset->Fields(QStringLiteral("cCode")) = Variant(m.DealerCode); });
    skip([&] { m.StagingRecordset->Fields(QStringLiteral("cMonth")) = Variant(f10::monthKey(form)); });
    skip([&] { m.StagingRecordset->Fields(QStringLiteral("cAddress")) = Variant(form.lblCustomerName->text()); });
    skip([&] { m.StagingRecordset->Update(); });
    skip([&] { m.StagingRecordset->Close(); });
}

// What differs between the three summary loaders.
struct SummaryRow {
    QString table;            // the report summary table
    QString family;           // "P" purchases, "S" sales
    QStringList rates;        // rate suffixes in the order of writing
    bool placeFromScreen;     // the local purchase row takes Place and eDate from the screen
};

void loadSummaryRow(frmNormal& form, const SummaryRow& s)
{
    auto& m = Module2();
    procOpenForm10DB();
    const QString month = sqlQuoted(f10::monthKey(form));
    skip([&] { m.SqlText = f10::monthRowsSelect(form, QStringLiteral("tblCommon")); });
    skip([&] { m.ReadRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenDynamic, ado::adLockOptimistic, -1); });
    const QString lookup = QStringLiteral("SELECT * FROM  ") + s.table + QStringLiteral(" Where cCode =")
                           + QStringLiteral("'") + f10::dealerKey() + QStringLiteral("'AND cMonth= '") + month
                           + QStringLiteral("'AND cAddress= '") + sqlQuoted(form.lblCustomerName->text()) + QStringLiteral("'");
    skip([&] { m.StagingRecordset->Open(lookup, m.Form10Connection, ado::adOpenKeyset, ado::adLockOptimistic, -1); });

    ado::Recordset& src = *m.ReadRecordset;
    ado::Recordset& dst = *m.StagingRecordset;
    auto val = [&src](const QString& column) { return src.Fields(column).Value(); };
    // Each assignment is a statement of its own; its operands are read when it runs.
    auto set = [&dst](const QString& column, const std::function<Variant()>& value) {
        skip([&] { dst.Fields(column) = value(); });
    };
    const QString A = s.family + QStringLiteral("TA"), T = s.family + QStringLiteral("TT"),
                  C = s.family + QStringLiteral("TC");
    for (const QString& family : {A, T, C})
        for (const QString& rate : s.rates)
            set(family + rate, [&, column = family + rate] { return val(column); });
    if (s.placeFromScreen) {
        set(QStringLiteral("Place"), [&] { return Variant(vb::Trim(form.txtPlace->Text())); });
        set(QStringLiteral("eDate"), [&] { return Variant(vb::Trim(form.txtDate->Text())); });
    } else {
        set(QStringLiteral("Place"), [&] { return val(QStringLiteral("Place")); });
        set(QStringLiteral("eDate"), [&] { return val(QStringLiteral("eDate")); });
    }
    auto rateTotal = [&](const QString& rate) { return (val(A + rate) + val(T + rate)) + val(C + rate); };
    const QString rowTotals = s.family + QStringLiteral("RT"), colTotals = s.family + QStringLiteral("CT");
    for (const QString& rate : s.rates)
        set(rowTotals + rate, [&, rate] { return rateTotal(rate); });
    auto columnSum = [&](const QString& family) {
        Variant sum = val(family + s.rates.first());
        for (int i = 1; i < s.rates.size(); ++i)
            sum = sum + val(family + s.rates.at(i));
        return sum;
    };
    set(colTotals + QStringLiteral("Amt"), [&] { return columnSum(A); });
    set(colTotals + QStringLiteral("Tax"), [&] { return columnSum(T); });
    set(colTotals + QStringLiteral("Cess"), [&] { return columnSum(C); });
    set(colTotals + QStringLiteral("Total"), [&] {
        Variant sum = rateTotal(s.rates.first());
        for (int i = 1; i < s.rates.size(); ++i)
            sum = sum + rateTotal(s.rates.at(i));
        return sum;
    });
    skip([&] { dst.Update(); });
    skip([&] { dst.Close(); });
    skip([&] { src.Close(); });
}

const QStringList kPurchaseRates = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("4"),
                                    QStringLiteral("12"), QStringLiteral("20")};
const QStringList kSalesRates = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("4"),
                                 QStringLiteral("12"), QStringLiteral("20"), QStringLiteral("CST")};

} // namespace

void frmNormal::procLoadKey()
{
    procOpenForm10DB();
    procDeleteDealerRows(QStringLiteral("tblRptPurchaseC"));
    addKeyRow(*this, QStringLiteral("SELECT * FROM  tblRptPurchaseC "));
    skip([] { procDeleteDealerRows(QStringLiteral("tblRptPurchaseInterStateC")); });
    addKeyRow(*this, QStringLiteral("SELECT * FROM  tblRptPurchaseInterStateC "));
    skip([] { procDeleteDealerRows(QStringLiteral("tblRptSales")); });
    addKeyRow(*this, QStringLiteral("SELECT * FROM  tblRptSales "));
}

void frmNormal::procLoadRptPurchase()
{
    f10::storeGridRows(*this, {QStringLiteral("tblPurchase1"), QStringLiteral("DELETE * FROM  tblRptPurchase1"), false,
                               f10::monthRowsStatement(*this, QStringLiteral("tblRptPurchase1")),
                               {f10::Grid::Purchase, true, false}});
}

void frmNormal::procRptPurchaseInterState()
{
    f10::storeGridRows(*this, {QString(), QStringLiteral("DELETE * FROM  tblRptPurchaseInterState"), false,
                               QStringLiteral("SELECT * FROM tblRptPurchaseInterState ORDER BY BillDate"),
                               {f10::Grid::Purchase, true, false}});
}

void frmNormal::procLoadRptSales()
{
    f10::storeGridRows(*this, {QStringLiteral("tblSales"), QStringLiteral("DELETE * FROM  tblRptSales1"), false,
                               QStringLiteral("SELECT * FROM tblRptSales1 ORDER BY BillDate"),
                               {f10::Grid::Sales, false, false}});
}

void frmNormal::procLoadRptPurchaseC()
{
    loadSummaryRow(*this, {QStringLiteral("tblRptPurchaseC"), QStringLiteral("P"), kPurchaseRates, true});
}

void frmNormal::procLoadRptPurchaseInterStateC()
{
    loadSummaryRow(*this, {QStringLiteral("tblRptPurchaseInterStateC"), QStringLiteral("P"), kPurchaseRates, false});
}

void frmNormal::procLoadRptSalesC()
{
    loadSummaryRow(*this, {QStringLiteral("tblRptSales"), QStringLiteral("S"), kSalesRates, false});
}

// Nothing calls the two loaders below; they are kept with the screen's interface.

void frmNormal::procRptPurchase()
{
    auto& m = Module2();
    procOpenForm10DB();
    skip([&] { m.SqlText = f10::monthRowsSelect(*this, QStringLiteral("tblCommon")); });
    skip([&] { m.ReadRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenDynamic, ado::adLockOptimistic, -1); });
    skip([&] {
        m.StagingRecordset->Open(QStringLiteral("SELECT * FROM  tblRptPurchaseC "), m.Form10Connection,
                                 ado::adOpenKeyset, ado::adLockOptimistic, -1);
    });
    static const char* const columns[] = {"cCode", "cMonth", "cAddress", "eDate", "STA0", "STA1", "STA4", "STA12",
                                           "STA20", "STT0", "STT1", "STT4", "STT12", "STT20", "STACST", "STTCST"};
    for (;;) {
        bool end = true;
        if (!skip([&] { end = m.ReadRecordset->Eof(); }) || end)
            break;
        skip([&] { m.StagingRecordset->AddNew(); });
        for (const char* column : columns) {
            const QString name = QLatin1String(column);
            skip([&] { m.StagingRecordset->Fields(name) = m.ReadRecordset->Fields(name).Value(); });
        }
        skip([&] { m.StagingRecordset->Update(); });
        if (!skip([&] { m.ReadRecordset->MoveNext(); }))
            break;
    }
    skip([&] { m.StagingRecordset->Close(); });
    skip([&] { m.ReadRecordset->Close(); });
}

void frmNormal::procLoadRptCommon()
{
    auto& m = Module2();
    procOpenForm10DB();
    m.SqlText = f10::keyedStatement(*this, QStringLiteral("SELECT * FROM  tblCommon  "));
    m.ReadRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenKeyset, ado::adLockOptimistic);
    m.StagingRecordset->Open(QStringLiteral("SELECT * FROM  tblRptCommon "), m.Form10Connection, ado::adOpenKeyset,
                             ado::adLockOptimistic);
    if (!m.ReadRecordset->Eof()) {
        m.StagingRecordset->AddNew();
        // The purchase amount and tax of each rate, as the column names say.
        for (const char* column : {"cCode", "cMonth", "cAddress", "PTA0", "PTA1", "PTA4", "PTA12", "PTA20", "PTT0",
                                   "PTT1", "PTT4", "PTT12", "PTT20", "Category", "STACST", "STTCST", "eDate"}) {
            const QString name = QLatin1String(column);
            m.StagingRecordset->Fields(name) = m.ReadRecordset->Fields(name).Value();
        }
        m.StagingRecordset->Update();
        m.StagingRecordset->Close();
    }
    m.ReadRecordset->Close();
}
