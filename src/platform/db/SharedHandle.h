// One SQLite handle per database file, shared by every Connection and Recordset on that file:
// a transaction begun through one connection object covers statements run through another,
// and a released connection never leaves a lock behind that blocks the next step.
// Internal to the database layer.
#pragma once

#include "Error.h"

#include <QString>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace ado {

// Wraps a prepared statement so every path finalises it.
class Statement {
public:
    explicit Statement(sqlite3_stmt* s = nullptr) : s_(s) {}
    ~Statement();
    Statement(Statement&& o) noexcept : s_(o.s_) { o.s_ = nullptr; }
    Statement& operator=(Statement&& o) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return s_; }
    operator sqlite3_stmt*() const { return s_; }

private:
    sqlite3_stmt* s_;
};

class SharedHandle {
public:
    ~SharedHandle();
    SharedHandle(const SharedHandle&) = delete;
    SharedHandle& operator=(const SharedHandle&) = delete;

    // The handle of the file, opened on first use; the file must exist (it is never created).
    static std::shared_ptr<SharedHandle> acquire(const QString& filePath);

    sqlite3* db() const { return db_; }
    const QString& path() const { return path_; }
    int transactionDepth() const;

    // Transaction levels, each owned by the connection object that began it. Commit and
    // rollback end the owner's innermost level (and any level begun inside it); a level
    // whose owner is gone is rolled back (abandon).
    void begin(const void* owner);
    void commit(const void* owner);
    void rollback(const void* owner);
    bool owns(const void* owner) const;
    void abandon(const void* owner) noexcept;

    // Prepares an already translated statement; raises ado::Error with the engine's message.
    // `tail` receives the text after the first statement.
    sqlite3_stmt* prepare(const QByteArray& sql, QByteArray* tail = nullptr) const;
    // Prepares a statement the program gave, which must be one statement (a trailing ';' is
    // allowed); a text of blanks gives no statement.
    Statement prepareSingle(const QByteArray& sql) const;
    // Raises the engine's current error as ado::Error.
    [[noreturn]] void raise(long number) const;
    void exec(const char* sql);

private:
    SharedHandle(sqlite3* db, QString path) : db_(db), path_(std::move(path)) {}
    sqlite3* db_;
    QString path_;
    std::vector<const void*> owners_;   // one per open level, outermost first
    int levelOf(const void* owner, bool innermost) const;
    void endLevels(int level, bool keep);
    // Identity of the file the handle opened: a file copied over the path (a restore) is
    // another file, and gets a handle of its own.
    unsigned long long device_ = 0;
    unsigned long long inode_ = 0;
};

inline const QString kDbSource = QStringLiteral("Lumora.Database");

// Errors raised alike by connections, recordsets and the catalogue.
[[noreturn]] void raiseObjectClosed();
[[noreturn]] void raiseObjectOpen();
[[noreturn]] void raiseNoConnection();

} // namespace ado
