// A scratch database in a temp folder for the database-layer tests: created and read back with
// the SQLite API directly (the layer itself never creates files), reached through the same
// ODBC-style connect strings the program builds, with backslashes before the file name.
#pragma once

#include "../ui/UiTestUtil.h"

#include <platform/db/Connection.h>
#include <platform/db/Recordset.h>

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace dbtest {

using uitest::caught;
using uitest::errorNumber;

// Runs one or more statements on a file, outside the layer.
inline void rawExec(const QString& file, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    char* msg = nullptr;
    sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &msg);
    const std::string text = msg ? msg : "";
    sqlite3_free(msg);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << text;
}

// The first column of every row of a statement run outside the layer ("<Null>" for Null).
inline QStringList rawColumn(const QString& file, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    QStringList out;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        const auto* t = sqlite3_column_text(st, 0);
        out << (t ? QString::fromUtf8(reinterpret_cast<const char*>(t)) : QStringLiteral("<Null>"));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

class DbTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString file(const QString& name) const { return dir.path() + "/" + name; }

    // "Driver={...};Dbq=<folder>\<file>;Uid=admin;Pwd=..." as the program writes it.
    QString connectString(const QString& name, const QString& tail = "Uid=admin;Pwd=lanterns;") const
    {
        return "Driver={Microsoft Access Driver (*.mdb)};Dbq=" + dir.path() + "\\" + name + ";" + tail;
    }

    QString createDb(const QString& name, const char* schemaAndRows)
    {
        rawExec(file(name), schemaAndRows);
        return file(name);
    }

    ado::ConnectionPtr open(const QString& name)
    {
        auto cn = ado::newConnection();
        cn->Open(connectString(name));
        return cn;
    }

    ado::RecordsetPtr query(const ado::ConnectionPtr& cn, const QString& sql,
                            int cursor = ado::adOpenStatic, int lock = ado::adLockOptimistic)
    {
        auto rs = ado::newRecordset();
        rs->Open(sql, cn, cursor, lock);
        return rs;
    }

    // All rows of one column as display texts ("<Null>" for Null), in recordset order.
    static QStringList column(const ado::RecordsetPtr& rs, const QString& field)
    {
        QStringList out;
        if (rs->RecordCount() == 0)
            return out;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            const ado::Variant v = rs->Fields(field).Value();
            out << (v.isNull() ? QStringLiteral("<Null>") : v.toString());
        }
        return out;
    }
};

} // namespace dbtest
