// Register storage: moving a register grid of the register screen to and from its table.
//
// The three registers (tblPurchase1, tblPurchaseInterState1, tblSales) and the three bill
// lists of the reports share one row shape, so one copy routine serves them all; each
// procedure of frmNormal (procWritePurchase, procReadSales_1, ...) stays a thin entry point
// that passes its own table and statement texts.
#pragma once

#include <QString>

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
// "SELECT * FROM <table> WHERE cCode='..' AND cMonth= '..'ORDER BY BillDate": the rows of
// the dealer's month in bill-date order.
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

// The first bill date in either grid that names no real date: the grid ("purchase" or
// "sales") and row, or an empty grid name when every date is sound.
struct BadBillDate {
    QString grid;
    int row = 0;
    QString text;
};
BadBillDate findBadBillDate(const frmNormal& form);

} // namespace f10
