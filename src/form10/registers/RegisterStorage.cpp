// Register storage of the register screen: the existence tests, the writers and the readers
// of tblPurchase1, tblPurchaseInterState1 and tblSales.
//
// Writers trap nothing: a failure goes to the save, which rolls the whole month back.
// Readers skip failing statements (a Null column leaves its cell empty) but always end:
// a query that cannot run or a move that fails ends the row loop.
#include "form10/registers/RegisterStorage.h"

#include "form10/registers/AmountText.h"
#include "form10/registers/Module2.h"
#include "form10/registers/frmNormal.h"
#include "form10/returns/SaveUnit.h"
#include "platform/db/Recordset.h"
#include "platform/db/StatementText.h"
#include "platform/ui/grids/FlexGrid.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/vb/Vb.h"

#include <QLabel>
#include <QStringList>

#include <vector>

using ado::Variant;
using ado::sqlQuoted;
using f10::Grid;
using f10::skip;

namespace f10 {

QString monthKey(const frmNormal& form)
{
    return vb::Trim(form.txtRPTo->Text());
}

QString dealerKey()
{
    return sqlQuoted(Module2().DealerCode);
}

QString keyedStatement(const frmNormal& form, const QString& head)
{
    return head + QStringLiteral("  WHERE cCode='") + dealerKey() + QStringLiteral("' AND cMonth='")
           + sqlQuoted(monthKey(form)) + QStringLiteral("'");
}

QString monthRowsSelect(const frmNormal& form, const QString& table)
{
    return QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE cCode='") + dealerKey()
           + QStringLiteral("' AND cMonth= '") + sqlQuoted(monthKey(form)) + QStringLiteral("'");
}

QString monthRowsStatement(const frmNormal& form, const QString& table)
{
    return monthRowsSelect(form, table) + QStringLiteral("ORDER BY BillDate");
}

namespace {

ui::FlexGrid& gridOf(frmNormal& form, Grid grid)
{
    return grid == Grid::Purchase ? *form.fg1 : *form.fg2;
}

const char* gridName(Grid grid)
{
    return grid == Grid::Purchase ? "purchase" : "sales";
}

// The register row's columns that come from grid columns 0 to 9.
const char* const kGridColumns[10] = {"SlNo", "BillDate", "Party", "TIN", "BillNo",
                                      "RateOfTax", "Amount", "Tax", "Cess", "NetAmount"};

bool isBlankRow(const ui::FlexGrid& grid, int row)
{
    // Exactly empty: a cell holding a blank makes the row a bill row.
    return grid.TextMatrix(row, 5).isEmpty() && grid.TextMatrix(row, 2).isEmpty()
           && grid.TextMatrix(row, 1).isEmpty();
}

// "row 3 of the purchase grid (bill dated 05-03-09, Beta Traders)": the row as the user keyed
// it, and the bill itself, since a failed save puts the keyed grid back.
QString rowDescription(const ui::FlexGrid& grid, int row, int keyedRow, Grid which)
{
    QString text = QStringLiteral("row %1 of the %2 grid").arg(keyedRow).arg(QLatin1String(gridName(which)));
    const QString date = vb::Trim(grid.TextMatrix(row, 1));
    const QString party = vb::Trim(grid.TextMatrix(row, 2));
    if (!date.isEmpty() || !party.isEmpty()) {
        QStringList bill;
        if (!date.isEmpty())
            bill << QStringLiteral("bill dated ") + date;
        if (!party.isEmpty())
            bill << party;
        text += QStringLiteral(" (") + bill.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return text;
}

} // namespace

void copyGridRows(frmNormal& form, ado::Recordset& rs, const RowCopy& how)
{
    ui::FlexGrid& grid = gridOf(form, how.grid);
    // Rows are filed under the month every keyed statement looks for; txtMonth only shows it.
    const QString month = monthKey(form);
    const QString address = vb::Trim(form.lblCustomerName->text());
    const QString entryDate = vb::Trim(form.txtDate->Text());
    const QString place = vb::Trim(form.txtPlace->Text());
    SaveUnit* save = SaveUnit::active();

    int r = 1;
    int removed = 0;   // blank rows taken out so far: the failure message names rows as keyed
    while (r < grid.Rows()) {
        if (save)
            save->where(rowDescription(grid, r, r + removed, how.grid));
        rs.AddNew();
        for (int c = 0; c < 10; ++c) {
            const QString text = grid.TextMatrix(r, c);
            if (vb::Trim(text).isEmpty())
                continue;
            if (c == 1 && how.billDateAsDate)
                rs.Fields(QLatin1String(kGridColumns[c])) = Variant(fnDateFromDMY(text));
            else
                rs.Fields(QLatin1String(kGridColumns[c])) = Variant(text);
        }
        if (!month.isEmpty())
            rs.Fields(QStringLiteral("cMonth")) = Variant(month);
        if (!address.isEmpty())
            rs.Fields(QStringLiteral("cAddress")) = Variant(address);
        if (!entryDate.isEmpty())
            rs.Fields(QStringLiteral("eDate")) = Variant(entryDate);
        if (how.withPlace && !place.isEmpty())
            rs.Fields(QStringLiteral("Place")) = Variant(place);
        rs.Fields(QStringLiteral("cCode")) = Variant(Module2().DealerCode);
        rs.Update();

        ++r;
        // A blank row right after a written row leaves the grid; the row that moves up
        // into its place is written next without this test.
        if (r < grid.Rows() && isBlankRow(grid, r)) {
            ++removed;
            if (how.grid == Grid::Purchase)
                form.fnDeleteRow(static_cast<short>(r));
            else
                form.fnDeleteRow2(static_cast<short>(r));
        }
    }
}

void storeGridRows(frmNormal& form, const GridStore& store)
{
    auto& m = Module2();
    procOpenForm10DB();
    bool remove = true;
    if (!store.testTable.isEmpty()) {
        form.procRecExists(store.testTable);   // renews the connection: what follows runs on its objects
        remove = form.RecordExists;
    }
    if (remove) {
        m.SqlText = keyedStatement(form, store.deleteHead);
        if (store.deleteViaRecordset)
            m.WriteRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenForwardOnly, ado::adLockOptimistic);
        m.Form10Connection->Execute(m.SqlText);
    }
    if (m.WriteRecordset->State() == ado::adStateOpen)
        m.WriteRecordset->Close();
    m.SqlText = store.addStatement;
    m.WriteRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenKeyset, ado::adLockOptimistic, -1);
    copyGridRows(form, *m.WriteRecordset, store.copy);
    m.WriteRecordset->Close();
}

namespace {

// A bill date keyed in a grid: its row, its text and the date it names (invalid when none).
struct KeyedDate {
    int row;
    QString text;
    QDate date;
};

std::vector<KeyedDate> keyedDates(const frmNormal& form, Grid g)
{
    std::vector<KeyedDate> dates;
    const ui::FlexGrid& grid = g == Grid::Purchase ? *form.fg1 : *form.fg2;
    for (int r = 1; r < grid.Rows(); ++r) {
        const QString text = grid.TextMatrix(r, 1);
        if (vb::Trim(text).isEmpty())
            continue;
        QDate date;
        try {
            date = fnDateFromDMY(text);
        } catch (const std::exception&) {
            // no date: left invalid
        }
        dates.push_back({r, text, date});
    }
    return dates;
}

} // namespace

BadBillDate findBadBillDate(const frmNormal& form)
{
    for (Grid g : {Grid::Purchase, Grid::Sales})
        for (const KeyedDate& d : keyedDates(form, g))
            if (!d.date.isValid())
                return {QLatin1String(gridName(g)), d.row, d.text};
    return {};
}

BadAmount findBadAmount(const frmNormal& form)
{
    for (Grid g : {Grid::Purchase, Grid::Sales}) {
        const ui::FlexGrid& grid = g == Grid::Purchase ? *form.fg1 : *form.fg2;
        const ui::TextBox& editor = g == Grid::Purchase ? *form.txtGrid1 : *form.txtGrid2;
        for (int r = 1; r < grid.Rows(); ++r) {
            for (int c = 6; c <= 8; ++c) {
                const bool current = r == grid.Row() && c == grid.Col();
                const QString text = current ? editor.Text() : grid.TextMatrix(r, c);
                double value = 0;
                const AmountRead why = readAmount(text, &value);
                if (why == AmountRead::NotANumber || why == AmountRead::TooLarge)
                    return {QLatin1String(gridName(g)), r, grid.TextMatrix(0, c), text, why, current, g};
            }
        }
    }
    return {};
}

namespace {

// The years of the dated bills in a grid.
std::set<int> gridYears(const frmNormal& form, Grid g)
{
    std::set<int> years;
    for (const KeyedDate& d : keyedDates(form, g))
        if (d.date.isValid())
            years.insert(d.date.year());
    return years;
}

// The years of the bill dates stored for the dealer's month in a register.
std::set<int> storedYears(const frmNormal& form, const QString& table)
{
    auto& m = Module2();
    procOpenForm10DB();
    m.SqlText = monthRowsSelect(form, table);
    m.ReadRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenForwardOnly, ado::adLockReadOnly);
    std::set<int> years;
    for (; !m.ReadRecordset->Eof(); m.ReadRecordset->MoveNext()) {
        const Variant date = m.ReadRecordset->Fields(QStringLiteral("BillDate")).Value();
        skip([&] {
            if (!date.isNull() && !date.isEmpty())
                years.insert(date.toDate().year());   // a stored date that is none tells no year
        });
    }
    m.ReadRecordset->Close();
    return years;
}

} // namespace

YearClash findYearClash(frmNormal& form, const QString& purchaseTable)
{
    YearClash clash;
    const std::pair<QString, Grid> registers[] = {{purchaseTable, Grid::Purchase},
                                                  {QStringLiteral("tblSales"), Grid::Sales}};
    for (const auto& [table, g] : registers) {
        const std::set<int> saving = gridYears(form, g);
        if (saving.empty())
            continue;
        for (const int year : storedYears(form, table)) {
            if (saving.count(year) == 0) {
                clash.stored.insert(year);
                clash.saving.insert(saving.begin(), saving.end());
            }
        }
    }
    return clash;
}

} // namespace f10

namespace {

using f10::monthRowsStatement;

// What differs between the register readers.
struct RegisterRead {
    QString statement;
    Grid grid;
    bool readsDateAndPlace;   // the purchase readers set txtDate and txtPlace
};

void readRegister(frmNormal& form, const RegisterRead& rd)
{
    auto& m = Module2();
    procOpenForm10DB();
    const bool purchase = rd.grid == Grid::Purchase;
    ui::FlexGrid& grid = purchase ? *form.fg1 : *form.fg2;
    ui::TextBox& editor = purchase ? *form.txtGrid1 : *form.txtGrid2;

    skip([&] {
        if (purchase) {
            form.procClear1();
        } else {
            grid.Clear();
            editor.setText(QString());
        }
    });
    skip([&] { purchase ? form.procSetGrid() : form.procSetGrid2(); });
    m.SqlText = rd.statement;
    const bool opened = skip([&] {
        m.ReadRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenDynamic, ado::adLockOptimistic, -1);
    });
    bool atEnd = true;
    if (opened)
        skip([&] { atEnd = m.ReadRecordset->Eof(); });
    if (!atEnd) {
        ado::Recordset& rs = *m.ReadRecordset;
        // Rows are appended without walking the current cell through them (each move would
        // recompute the totals over the whole grid), and the current cell sits in column 0
        // meanwhile: leaving a cell of columns 1 to 9 writes the editor's text back into it.
        // It ends on the last row read, as appending row by row leaves it.
        skip([&] { grid.setCol(0); });
        skip([&] { grid.setRows(1); });
        int k = 0;
        auto text = [&](const char* column) { return rs.Fields(QLatin1String(column)).Value().toString(); };
        auto money = [&](const char* column) {
            const Variant v = rs.Fields(QLatin1String(column)).Value();
            if (v.isNull())
                throw ado::Error(ado::err::InvalidUseOfNull, QStringLiteral("Invalid use of Null"));
            // A figure kept as text (an older file) is read as a cell is.
            return v.kind() == Variant::Kind::Text ? f10::amountText(v.toString()) : vb::Format(v, QStringLiteral("#0.00"));
        };
        for (;;) {
            bool end = true;
            if (!skip([&] { end = rs.Eof(); }) || end)
                break;
            ++k;
            skip([&] { grid.setRows(k + 1); });
            skip([&] { grid.setTextMatrix(k, 0, QString::number(k)); });
            skip([&] {
                grid.setTextMatrix(k, 1, vb::FormatDate(rs.Fields(QStringLiteral("BillDate")).Value().toDate(),
                                                        QStringLiteral("dd-mm-yy")));
            });
            skip([&] { grid.setTextMatrix(k, 2, text("Party")); });
            skip([&] { grid.setTextMatrix(k, 3, text("TIN")); });
            skip([&] { grid.setTextMatrix(k, 4, text("BillNo")); });
            skip([&] { grid.setTextMatrix(k, 5, text("RateOfTax")); });
            skip([&] { grid.setTextMatrix(k, 6, money("Amount")); });
            skip([&] { grid.setTextMatrix(k, 7, money("Tax")); });
            skip([&] { grid.setTextMatrix(k, 8, money("Cess")); });
            skip([&] { grid.setTextMatrix(k, 9, money("NetAmount")); });
            if (rd.readsDateAndPlace) {
                skip([&] { form.txtDate->setText(text("eDate")); });
                skip([&] { form.txtPlace->setText(text("Place")); });
            }
            if (!skip([&] { rs.MoveNext(); }))
                break;
        }
        if (k == 0)
            skip([&] { purchase ? form.procSetGrid() : form.procSetGrid2(); });
        // The column moves while the current cell is on the header row: leaving a data cell
        // would recompute that row's total, and a row stored without amounts would come back
        // with a total of 0.00 that the next save stores.
        skip([&] {
            if (grid.Row() >= grid.FixedRows())
                grid.setRow(0);
        });
        skip([&] { grid.setCol(1); });
        skip([&] { grid.setRow(grid.Rows() - 1); });
        skip([&] { editor.setText(grid.Text()); });
    }
    skip([&] { m.ReadRecordset->Close(); });
    skip([&] { purchase ? form.procTotalCal1() : form.procTotalCal2(); });
    // The rows may have changed without a cell event: the editor goes back over its cell.
    skip([&] { purchase ? form.procMoveTextBox() : form.procMoveTextBox2(); });
    (purchase ? form.fg1Edited : form.fg2Edited) = false;
}

bool monthHasRows(frmNormal& form, const QString& tableName)
{
    auto& m = Module2();
    procOpenForm10DB();
    if (m.ReadRecordset->State() == ado::adStateOpen)
        m.ReadRecordset->Close();
    m.SqlText = QStringLiteral("SELECT * FROM  ") + tableName + QStringLiteral("    WHERE cCode='")
                + f10::dealerKey() + QStringLiteral("'  AND cMonth='") + sqlQuoted(f10::monthKey(form))
                + QStringLiteral("'");
    m.ReadRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenDynamic, ado::adLockOptimistic, -1);
    const bool found = !m.ReadRecordset->Eof();
    m.ReadRecordset->Close();
    return found;
}

} // namespace

void frmNormal::procRecExists(const QString& tableName)
{
    RecordExists = monthHasRows(*this, tableName);
}

bool frmNormal::fnRecordExistsNormal(const QString& tableName)
{
    return monthHasRows(*this, tableName);
}

void frmNormal::procWritePurchase()
{
    f10::storeGridRows(*this, {QStringLiteral("tblPurchase1"), QStringLiteral("DELETE * FROM  tblPurchase1"), true,
                               monthRowsStatement(*this, QStringLiteral("tblPurchase1")),
                               {Grid::Purchase, true, true}});
}

void frmNormal::procWritePurchaseInterState()
{
    f10::storeGridRows(*this, {QStringLiteral("tblPurchaseInterState1"),
                               QStringLiteral("DELETE * FROM  tblPurchaseInterState1"), false,
                               QStringLiteral("SELECT * FROM tblPurchaseInterState1 ORDER BY BillDate"),
                               {Grid::Purchase, true, true}});
}

void frmNormal::procWriteSales()
{
    f10::storeGridRows(*this, {QStringLiteral("tblSales"), QStringLiteral("DELETE * FROM  tblSales"), false,
                               QStringLiteral("SELECT * FROM tblSales ORDER BY BillDate"),
                               {Grid::Sales, false, true}});
}

void frmNormal::procReadPurchase()
{
    readRegister(*this, {monthRowsStatement(*this, QStringLiteral("tblPurchase1")), Grid::Purchase, true});
}

void frmNormal::procReadPurchaseInterState()
{
    readRegister(*this, {monthRowsStatement(*this, QStringLiteral("tblPurchaseInterState1")), Grid::Purchase, true});
}

void frmNormal::procReadSales_1()
{
    readRegister(*this, {monthRowsStatement(*this, QStringLiteral("tblSales")), Grid::Sales, false});
}

void frmNormal::procReadSales()
{
    // The older loader filled an eleven-column layout that the sales grid no longer has;
    // nothing calls it, and it reads the month as its successor does.
    procReadSales_1();
}
