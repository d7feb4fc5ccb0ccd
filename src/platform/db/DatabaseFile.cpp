// Copies and checks of whole database files through their own SQLite handles, apart from the
// shared handles of the connections.
#include "DatabaseFile.h"

#include "Error.h"
#include "SharedHandle.h"

#include <QFile>
#include <cerrno>
#include <functional>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace ado {

namespace {

constexpr int kBusyWaitMs = 5000;     // a copy or check waits this long for a writer to commit
constexpr int kSettleWaitMs = 1000;   // a writer holding the file longer is another program's
constexpr int kRetryMs = 50;

long numberForErrno(int error)
{
    switch (error) {
    case ENOENT: return err::FileNotFound;
    case ENOSPC: case EDQUOT: return err::DiskFull;
    case EACCES: case EPERM: case EROFS: return err::PermissionDenied;
    default: return err::FileAccess;
    }
}

// The kind of trouble behind an engine result; the system's own error only where the engine
// failed at the system (its last system error may be older otherwise).
long numberFor(int rc, int systemError)
{
    switch (rc & 0xff) {
    case SQLITE_BUSY: case SQLITE_LOCKED: return err::FileInUse;
    case SQLITE_CORRUPT: case SQLITE_NOTADB: case SQLITE_FORMAT: return err::FileDamaged;
    case SQLITE_FULL: return err::DiskFull;
    case SQLITE_PERM: case SQLITE_READONLY: case SQLITE_AUTH: return err::PermissionDenied;
    case SQLITE_CANTOPEN: case SQLITE_IOERR: return numberForErrno(systemError);
    default: return err::FileAccess;
    }
}

[[noreturn]] void raiseAs(long number, const QString& words)
{
    throw Error(number, words, kDbSource);
}

// A failed system call, in the system's words.
[[noreturn]] void raiseErrno(int error)
{
    raiseAs(numberForErrno(error), QString::fromLocal8Bit(std::strerror(error)));
}

// One handle, closed on every path.
class FileHandle {
public:
    FileHandle(const QString& path, int flags)
    {
        rc_ = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr);
        if (db_) {
            sqlite3_extended_result_codes(db_, 1);
            sqlite3_busy_timeout(db_, kBusyWaitMs);
        }
    }
    ~FileHandle() { sqlite3_close_v2(db_); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool opened() const { return rc_ == SQLITE_OK; }
    sqlite3* db() const { return db_; }
    QString message() const { return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory"); }
    // The handle's last failure (`rc`, or the open's), classified, with the engine's words.
    [[noreturn]] void raise(int rc = SQLITE_OK) const
    {
        if (rc == SQLITE_OK)
            rc = db_ ? sqlite3_extended_errcode(db_) : rc_;
        raiseAs(numberFor(rc, db_ ? sqlite3_system_errno(db_) : 0), message());
    }

private:
    sqlite3* db_ = nullptr;
    int rc_ = SQLITE_ERROR;
};

bool isBusy(int rc)
{
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

// The file's first bytes are a database header: an empty file would open as an empty
// database, and a copy of one is no backup.
void checkHeader(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        raiseErrno(errno);
    static const char header[] = "SQLite format 3";   // and its NUL: 16 bytes
    char read[sizeof header] = {};
    const ssize_t got = ::read(fd, read, sizeof read);
    const int error = errno;
    ::close(fd);
    if (got < 0)
        raiseErrno(error);
    if (got != sizeof header || std::memcmp(read, header, sizeof header) != 0)
        raiseAs(err::FileDamaged, QStringLiteral("file is not a database"));
}

} // namespace

void copyDatabaseFile(const QString& source, const QString& destination)
{
    FileHandle from(source, SQLITE_OPEN_READONLY);
    if (!from.opened())
        from.raise();
    QFile::remove(destination);
    // Made here, not by the engine: refused a read-write open (a read-only volume, a folder
    // without write permission), the engine tries read-only and then reports that try's
    // failure, "missing", instead of the refusal.
    const int made = ::open(QFile::encodeName(destination).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (made < 0)
        raiseErrno(errno);
    ::close(made);
    long number = 0;
    QString words;
    {
        FileHandle to(destination, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (!to.opened()) {
            number = numberFor(sqlite3_extended_errcode(to.db()), sqlite3_system_errno(to.db()));
            words = to.message();
        } else if (sqlite3_backup* backup = sqlite3_backup_init(to.db(), "main", from.db(), "main")) {
            // All pages in one step: the source stays read-locked for the whole copy.
            int rc = sqlite3_backup_step(backup, -1);
            for (int waited = 0; isBusy(rc) && waited < kBusyWaitMs; waited += kRetryMs) {
                sqlite3_sleep(kRetryMs);
                rc = sqlite3_backup_step(backup, -1);
            }
            sqlite3_backup_finish(backup);
            if (rc == SQLITE_OK) {
                number = err::FileAccess;
                words = QStringLiteral("the copy was not completed");
            } else if (rc != SQLITE_DONE) {
                number = numberFor(rc, sqlite3_system_errno(to.db()));
                words = QString::fromUtf8(sqlite3_errstr(rc));
            }
        } else {
            number = numberFor(sqlite3_extended_errcode(to.db()), sqlite3_system_errno(to.db()));
            words = to.message();
        }
    }
    if (number != 0) {
        QFile::remove(destination);
        QFile::remove(destination + QStringLiteral("-journal"));
        raiseAs(number, words);
    }
}

void checkDatabaseFile(const QString& path)
{
    checkHeader(path);
    FileHandle handle(path, SQLITE_OPEN_READONLY);
    if (!handle.opened())
        handle.raise();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(handle.db(), "PRAGMA integrity_check(3)", -1, &raw, nullptr) != SQLITE_OK)
        handle.raise();
    const Statement check(raw);
    QStringList problems;
    int rc;
    while ((rc = sqlite3_step(check)) == SQLITE_ROW)
        problems << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
    if (rc != SQLITE_DONE)
        handle.raise(rc);
    if (problems != QStringList{QStringLiteral("ok")})
        raiseAs(err::FileDamaged, problems.join(QStringLiteral("; ")));
}

void settleDatabaseFile(const QString& path, bool replacing)
{
    FileHandle handle(path, SQLITE_OPEN_READWRITE);
    if (!handle.opened())
        return;
    sqlite3_busy_timeout(handle.db(), kSettleWaitMs);
    // A read lock taken read-write rolls a left journal back; a write lock waits for writers.
    const char* take = replacing ? "BEGIN IMMEDIATE" : "BEGIN; SELECT count(*) FROM sqlite_master";
    const int rc = sqlite3_exec(handle.db(), take, nullptr, nullptr, nullptr);
    if (isBusy(rc))
        handle.raise(rc);   // closing the handle ends what was begun
    sqlite3_exec(handle.db(), "ROLLBACK", nullptr, nullptr, nullptr);
}

DatabaseFacts readDatabaseFacts(const QString& path)
{
    FileHandle handle(path, SQLITE_OPEN_READONLY);
    if (!handle.opened())
        handle.raise();
    DatabaseFacts facts;
    const auto each = [&](const char* sql, const std::function<void(sqlite3_stmt*)>& row) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(handle.db(), sql, -1, &raw, nullptr) != SQLITE_OK)
            handle.raise();
        const Statement statement(raw);
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
            row(statement);
        if (rc != SQLITE_DONE)
            handle.raise(rc);
    };
    each("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", [&](sqlite3_stmt* s) {
        facts.tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    });
    each("PRAGMA user_version", [&](sqlite3_stmt* s) { facts.userVersion = sqlite3_column_int(s, 0); });
    return facts;
}

} // namespace ado
