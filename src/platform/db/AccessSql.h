// The Access SQL dialect on SQLite. Statements are translated outside their string literals
// only: "DELETE * FROM", "+" and "&" concatenation with Access's Null rules, Access function
// names, "#date#" literals, True/False, double-quoted texts, Like wildcards "*" and "?", and
// text compared with a literal without regard to case. The Access functions themselves are
// registered on every handle.
#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;

namespace ado::accesssql {

struct Translation {
    QByteArray sql;          // SQLite text, UTF-8
    // Offset just after the SELECT keyword of a plain single-select statement whose rows map
    // one-to-one onto table rows (no DISTINCT, grouping, aggregate, union or join); -1 otherwise.
    int rowidInsertAt = -1;
};

// Raises ado::Error (a syntax error) for a statement nested more than 200 levels of
// parentheses deep. Time grows with the length of the statement, not faster.
Translation translate(const QString& accessSql);

// Registers the Access functions (acc_*) on a handle.
void registerFunctions(sqlite3* db);

} // namespace ado::accesssql
