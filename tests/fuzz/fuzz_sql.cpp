// Fuzz target: the Access dialect and the Access functions. Any statement text translates or is
// refused with the layer's error; the translation runs on a scratch database with the functions
// registered, where nothing may end the program: a function's failure is the statement's error.
#include "FuzzSupport.h"
#include "platform/db/AccessSql.h"
#include "platform/db/Error.h"

#include <sqlite3.h>

namespace {

// Statements may not reach files, nor run for ever.
int authorize(void*, int action, const char*, const char*, const char*, const char*)
{
    return action == SQLITE_ATTACH || action == SQLITE_DETACH || action == SQLITE_PRAGMA ? SQLITE_DENY : SQLITE_OK;
}

int progress(void* steps)
{
    return ++*static_cast<int*>(steps) > 2000;
}

sqlite3* scratch()
{
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    ado::accesssql::registerFunctions(db);
    sqlite3_exec(db,
                 "CREATE TABLE t (id INTEGER, name TEXT COLLATE NOCASE, amount REAL, d DATE, fname BLOB);"
                 "INSERT INTO t VALUES (1, 'Act', 10.5, '2009-03-01', x'7b5c727466'), (2, NULL, NULL, NULL, NULL),"
                 " (3, 'it''s', -1e308, '2009-13-45', 'text'), (4, '12abc', 1e-312, 'x', x'00');",
                 nullptr, nullptr, nullptr);
    sqlite3_set_authorizer(db, authorize, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1 << 20);
    return db;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ado::accesssql::Translation tr;
    try {
        tr = ado::accesssql::translate(fuzz::text(data, size));
    } catch (const ado::Error&) {
        return 0;   // refused with the layer's error: a statement nested too deep
    }
    fuzz::require(tr.rowidInsertAt <= int(tr.sql.size()), "the rowid place lies in the statement");
    sqlite3* db = scratch();   // afresh for each input: no input leaves anything for the next
    int steps = 0;
    sqlite3_progress_handler(db, 100, progress, &steps);
    const char* sql = tr.sql.constData();
    const char* end = sql + tr.sql.size();
    for (int statements = 0; sql < end && statements < 8; ++statements) {
        sqlite3_stmt* st = nullptr;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(db, sql, int(end - sql), &st, &tail) != SQLITE_OK || !st) {
            sqlite3_finalize(st);
            break;
        }
        for (int rows = 0; rows < 100 && sqlite3_step(st) == SQLITE_ROW; ++rows) {
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                if (sqlite3_column_type(st, c) == SQLITE_TEXT) {
                    const QString v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
                    // Format never writes an infinity: it reports Overflow instead.
                    if (tr.sql.contains("acc_format"))
                        fuzz::require(v.compare(QLatin1String("inf"), Qt::CaseInsensitive) != 0, "Format wrote an infinity");
                }
            }
        }
        sqlite3_finalize(st);
        sql = tail;
    }
    sqlite3_close_v2(db);
    return 0;
}
