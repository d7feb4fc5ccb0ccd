// Register storage: moving a register grid of the register screen to and from its table.
//
// The three registers (tblPurchase1, tblPurchaseInterState1, tblSales) and the three bill
// lists of the reports share one row shape, so one store routine serves them all; each
// procedure of frmNormal (procWritePurchase, procLoadRptSales, ...) stays a thin entry point
// that passes its own table and statement texts.
#pragma once

#include "form10/registers/AmountText.h"

#include <QString>
#include <set>

class frmNormal;
namespace ado {
class Recordset;
}

namespace f10 {

enum class Grid { Purchase, Sales };   // fg1 with txtGrid1, fg2 with txtGrid2

// The month key of every keyed statement: the text of txtRPTo, trimmed once here so that
// the existence tests, the deletes and the inserts agree.
QString monthKey(const frmNormal& form);
// The dealer code as it goes into a statement (quotes doubled).
QString dealerKey();
// "<head>  WHERE cCode='..' AND cMonth='..'": a statement on the rows of the dealer's month.
QString keyedStatement(const frmNormal& form, const QString& head);
// "SELECT * FROM <table> WHERE cCode='..' AND cMonth= '..'": the rows of the dealer's month.
QString monthRowsSelect(const frmNormal& form, const QString& table);
// The same followed directly by "ORDER BY BillDate": the rows in bill-date order.
QString monthRowsStatement(const frmNormal& form, const QString& table);

// How a grid's rows go into a table.
struct RowCopy {
    Grid grid = Grid::Purchase;
    bool withPlace = true;      // the purchase tables carry Place, the sales ones do not
    bool billDateAsDate = true; // registers store a date; bill lists keep the grid's text
};

// Adds one record per row of the grid to the open recordset (AddNew/Update), with the
// screen fields and the dealer code; a blank row that follows a written row leaves the
// grid through the grid's row delete and is not written.
void copyGridRows(frmNormal& form, ado::Recordset& rs, const RowCopy& how);

// What differs between the register writers and the bill-list loaders.
struct GridStore {
    QString testTable;        // tested for the month's rows before the keyed delete; empty: always delete
    QString deleteHead;       // the keyed delete up to its WHERE part
    bool deleteViaRecordset;  // the delete also runs through the write recordset first
    QString addStatement;     // the statement the write recordset opens to add rows
    RowCopy copy;
};

// Replaces the dealer's month in a table by the rows of a grid: the keyed delete, then one
// record per row. Traps nothing.
void storeGridRows(frmNormal& form, const GridStore& store);

// The first bill date in either grid that names no real date: the grid ("purchase" or
// "sales") and row, or an empty grid name when every date is sound.
struct BadBillDate {
    QString grid;
    int row = 0;
    QString text;
};
BadBillDate findBadBillDate(const frmNormal& form);

// The first money cell (Amount, Tax, Cess) in either grid that the cell editor would refuse;
// for a grid's current cell, the text in its editor. An empty grid name when every one is sound.
struct BadAmount {
    QString grid;
    int row = 0;
    QString column;
    QString text;
    AmountRead why = AmountRead::Number;
    bool inEditor = false;
    Grid which = Grid::Purchase;
};
BadAmount findBadAmount(const frmNormal& form);

// Years of stored bills that a save would replace by bills of other years only: for the
// purchase register named and the sales register, the bill years stored for the dealer's month
// that none of the dated bills about to be saved in its grid carries. Empty when the
// grids hold no dated bill, or every stored year is among theirs.
struct YearClash {
    std::set<int> stored;   // the years whose bills would go
    std::set<int> saving;   // the years of the bills about to replace them
    bool any() const { return !stored.empty(); }
};
YearClash findYearClash(frmNormal& form, const QString& purchaseTable);

} // namespace f10
