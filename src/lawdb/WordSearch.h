// The word search of the library's list panel: the words a user types become a LIKE pattern
// on one column of a law table, and the matching rows refill a list box, each entry tagged
// with its row's id. The panel's own filling step lists its rows the same way.
#pragma once

#include "platform/db/Recordset.h"

#include <QString>

namespace ui {
class ListBox;
}

namespace lawdb {

// The label a list shows for a cell "label-document": the text before the last "-" when the
// cell's first "-" comes after its first character; otherwise the whole cell.
QString wordSearchLabel(const QString& cell);

// The quoted LIKE pattern for the typed words, lower-cased: blanks around the words keep a
// blank next to the outer "%", blanks between words become "% %", quotes are doubled, and
// brackets and braces stand for any run of characters.
QString wordSearchPattern(const QString& words);

// "Select  * from <table> where lcase(`<column>`) like <pattern>[ ORDER BY <order>]".
QString wordSearchStatement(const QString& table, const QString& column, const QString& words,
                            const QString& order);

// Adds one entry per row whose `column` is neither Null nor empty, from the current row to
// the end: its label, and the row's `idColumn` as a 32-bit item value. Raises on failure;
// the entries added before it stay.
void fillWordSearchList(ui::ListBox& list, ado::Recordset& rs, const QString& column,
                        const QString& idColumn);

// Reruns WordSearchRecordset on the table's database and refills the list. An empty table or
// column (blanks only included) does nothing; any failure is shown as "WS Err " and the
// list keeps what was added before it.
void procWordSearch(ui::ListBox& list, const QString& table, const QString& column,
                    const QString& words, const QString& order);

} // namespace lawdb
