// A scratch database in a temp folder for the database-layer tests: created with the SQLite
// API directly (the layer itself never creates files), reached through the same ODBC-style
// connect strings the program builds, with backslashes before the file name.
#pragma once

#include <platform/db/Connection.h>
#include <platform/db/Error.h>
#include <platform/db/Recordset.h>

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace dbtest {

// Runs one or more statements on a file of the fixture, outside the layer.
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

// The error a step throws; one numbered 0 when it succeeds.
template <class F>
ado::Error caught(F&& f)
{
    try {
        f();
    } catch (const ado::Error& e) {
        return e;
    }
    return ado::Error(0, {});
}
template <class F>
long errorOf(F&& f)
{
    return caught(std::forward<F>(f)).Number();
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
        const QString f = file(name);
        rawExec(f, schemaAndRows);
        return f;
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
        rs->MoveFirst();
        while (!rs->Eof()) {
            const ado::Variant v = rs->Fields(field).Value();
            out << (v.isNull() ? QStringLiteral("<Null>") : v.toString());
            rs->MoveNext();
        }
        return out;
    }
};

} // namespace dbtest
