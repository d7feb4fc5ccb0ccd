// Our stand-in for ADODB.Connection over SQLite. A connection opens from the ODBC connect
// strings the program builds ("Driver={...};Dbq=<folder>\<file>;Uid=...;Pwd=..."): Dbq names the
// file, which must exist (nothing is created on open); Uid and Pwd are accepted, not checked.
//
// Connections opened on the same file share one SQLite handle: a step that opens "a new
// connection" joins the transaction of the step before it, and a released connection never
// holds a lock that blocks the next one.
#pragma once

#include "Variant.h"

#include <QString>
#include <memory>

struct sqlite3;

namespace ado {

class SharedHandle;   // one per open database file (Connection.cpp)

enum ObjectState { adStateClosed = 0, adStateOpen = 1 };

// Parsed connect string. Keys compare without regard to case.
struct ConnectString {
    QString driver;
    QString dbq;      // as written
    QString uid;
    QString pwd;
    QString filePath() const;   // dbq with '\' turned into '/'
    static ConnectString parse(const QString& text);   // raises on a string with no Dbq
};

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QString ConnectionString;

    // Opens the file named by the connect string (or ConnectionString when empty).
    void Open(const QString& connectString = {}, const QString& userId = {},
              const QString& password = {}, long options = -1);
    // Runs a statement (Access dialect); returns the number of rows it changed.
    long Execute(const QString& sql);
    int State() const;
    // Idempotent; refused (3246) while a transaction this object began is open.
    void Close();

    // Transactions on the shared handle of the file: statements run through any connection
    // on the file belong to them; commit and rollback end the levels this object began.
    // Releasing the object rolls back a level it left open.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool inTransaction() const;

    QString filePath() const;
    sqlite3* handle() const;              // nullptr while closed
    std::shared_ptr<SharedHandle> sharedHandle() const { return handle_; }

private:
    SharedHandle& openHandle() const;   // raises 3704 while closed
    std::shared_ptr<SharedHandle> handle_;
};

using ConnectionPtr = std::shared_ptr<Connection>;
inline ConnectionPtr newConnection() { return std::make_shared<Connection>(); }

} // namespace ado
