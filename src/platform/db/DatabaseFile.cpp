// Copies and checks of whole database files through their own SQLite handles, apart from the
// shared handles of the connections.
#include "DatabaseFile.h"

#include "Error.h"
#include "SharedHandle.h"

#include <QFile>
#include <QStringList>
#include <sqlite3.h>

namespace ado {

namespace {

constexpr int kBusyWaitMs = 5000;     // a copy waits this long for a writer to commit
constexpr int kSettleWaitMs = 1000;   // a writer holding the file longer is "changing it"
constexpr int kRetryMs = 50;

[[noreturn]] void raiseReason(const QString& reason)
{
    throw Error(err::EngineFailure, reason, kDbSource);
}

// One handle, closed on every path.
class FileHandle {
public:
    FileHandle(const QString& path, int flags)
    {
        rc_ = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr);
        if (db_)
            sqlite3_busy_timeout(db_, kBusyWaitMs);
    }
    ~FileHandle() { sqlite3_close_v2(db_); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool opened() const { return rc_ == SQLITE_OK; }
    sqlite3* db() const { return db_; }
    QString message() const { return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory"); }

private:
    sqlite3* db_ = nullptr;
    int rc_ = SQLITE_ERROR;
};

bool isBusy(int rc)
{
    return rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
}

} // namespace

void copyDatabaseFile(const QString& source, const QString& destination)
{
    FileHandle from(source, SQLITE_OPEN_READONLY);
    if (!from.opened())
        raiseReason(from.message());
    QFile::remove(destination);
    QString reason;
    {
        FileHandle to(destination, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (!to.opened()) {
            reason = to.message();
        } else if (sqlite3_backup* backup = sqlite3_backup_init(to.db(), "main", from.db(), "main")) {
            // All pages in one step: the source stays read-locked for the whole copy.
            int rc = sqlite3_backup_step(backup, -1);
            for (int waited = 0; isBusy(rc) && waited < kBusyWaitMs; waited += kRetryMs) {
                sqlite3_sleep(kRetryMs);
                rc = sqlite3_backup_step(backup, -1);
            }
            sqlite3_backup_finish(backup);
            if (rc != SQLITE_DONE)
                reason = rc == SQLITE_OK ? QStringLiteral("the copy was not completed") : to.message();
        } else {
            reason = to.message();
        }
    }
    if (!reason.isEmpty()) {
        QFile::remove(destination);
        QFile::remove(destination + QStringLiteral("-journal"));
        raiseReason(reason);
    }
}

void checkDatabaseFile(const QString& path)
{
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            raiseReason(file.errorString());
        // An empty file would open as an empty database; a copy of one is no backup.
        static const QByteArray header("SQLite format 3\0", 16);
        if (file.read(header.size()) != header)
            raiseReason(QStringLiteral("file is not a database"));
    }
    FileHandle handle(path, SQLITE_OPEN_READONLY);
    if (!handle.opened())
        raiseReason(handle.message());
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(handle.db(), "PRAGMA integrity_check(3)", -1, &raw, nullptr) != SQLITE_OK)
        raiseReason(handle.message());
    const Statement check(raw);
    QStringList problems;
    int rc;
    while ((rc = sqlite3_step(check)) == SQLITE_ROW)
        problems << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
    if (rc != SQLITE_DONE)
        raiseReason(handle.message());
    if (problems != QStringList{QStringLiteral("ok")})
        raiseReason(problems.join(QStringLiteral("; ")));
}

void settleDatabaseFile(const QString& path)
{
    FileHandle handle(path, SQLITE_OPEN_READWRITE);
    if (!handle.opened())
        return;
    sqlite3_busy_timeout(handle.db(), kSettleWaitMs);
    const int rc = sqlite3_exec(handle.db(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        sqlite3_exec(handle.db(), "ROLLBACK", nullptr, nullptr, nullptr);
    else if (isBusy(rc))
        raiseReason(QStringLiteral("another connection is changing it"));
}

} // namespace ado
