// Connections: connect-string parsing, the per-file shared SQLite handle, statements run
// through Execute, and transactions on the shared handle.
#include "Connection.h"
#include "AccessSql.h"
#include "SharedHandle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <sqlite3.h>

#include <map>
#include <sys/stat.h>

namespace ado {

namespace {

// Handles by canonical file path. Weak: the handle closes when its last user lets go.
QMutex registryMutex;
std::map<QString, std::weak_ptr<SharedHandle>>& registry()
{
    static std::map<QString, std::weak_ptr<SharedHandle>> r;
    return r;
}

constexpr int kBusyTimeoutMs = 5000;

[[noreturn]] void raiseConnectFailed(const QString& description)
{
    throw Error(err::ConnectFailed, description, kDbSource);
}

} // namespace

void raiseObjectClosed()
{
    throw Error(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."), kDbSource);
}

void raiseObjectOpen()
{
    throw Error(err::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."), kDbSource);
}

void raiseNoConnection()
{
    throw Error(err::NoConnection,
                QStringLiteral("The connection cannot be used to perform this operation. It is either "
                               "closed or invalid in this context."),
                kDbSource);
}

// ---- Statement ----

Statement::~Statement()
{
    if (s_)
        sqlite3_finalize(s_);
}

Statement& Statement::operator=(Statement&& o) noexcept
{
    if (this != &o) {
        if (s_)
            sqlite3_finalize(s_);
        s_ = o.s_;
        o.s_ = nullptr;
    }
    return *this;
}

// ---- SharedHandle ----

SharedHandle::~SharedHandle()
{
    // Statements still held elsewhere keep the file open until they are finalised.
    sqlite3_close_v2(db_);
}

std::shared_ptr<SharedHandle> SharedHandle::acquire(const QString& filePath)
{
    const QFileInfo fi(filePath);
    const auto notFound = [&] {
        raiseConnectFailed(QStringLiteral("Could not find file '%1'.").arg(QDir::toNativeSeparators(filePath)));
    };
    if (filePath.isEmpty() || !fi.exists() || !fi.isFile())
        notFound();
    const QString key = fi.canonicalFilePath();

    QMutexLocker lock(&registryMutex);
    struct stat st {};
    if (::stat(QFile::encodeName(key).constData(), &st) != 0)
        notFound();
    auto& reg = registry();
    if (auto it = reg.find(key); it != reg.end()) {
        if (auto h = it->second.lock()) {
            if (h->device_ == st.st_dev && h->inode_ == st.st_ino)
                return h;
        }
    }
    std::erase_if(reg, [](const auto& entry) { return entry.second.expired(); });
    sqlite3* db = nullptr;
    const auto cannotOpen = [&] {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("cannot open");
        sqlite3_close_v2(db);
        raiseConnectFailed(QStringLiteral("Could not open file '%1': %2").arg(key, msg));
    };
    if (sqlite3_open_v2(key.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr)
        != SQLITE_OK)
        cannotOpen();
    // Every statement on the handle, the first one below included, waits the same while
    // another program holds the file locked, before it reports the lock.
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // A file that is no database is refused now rather than at the first statement.
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
        cannotOpen();
    sqlite3_extended_result_codes(db, 0);
    accesssql::registerFunctions(db);
    std::shared_ptr<SharedHandle> h(new SharedHandle(db, key));
    h->device_ = st.st_dev;
    h->inode_ = st.st_ino;
    reg[key] = h;
    return h;
}

sqlite3_stmt* SharedHandle::prepare(const QByteArray& sql, QByteArray* tail) const
{
    sqlite3_stmt* stmt = nullptr;
    const char* rest = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &stmt, &rest);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        raise(err::SyntaxError);
    }
    if (tail)
        *tail = rest ? QByteArray(rest, int(sql.constData() + sql.size() - rest)) : QByteArray();
    return stmt;
}

Statement SharedHandle::prepareSingle(const QByteArray& sql) const
{
    QByteArray tail;
    Statement st(prepare(sql, &tail));
    tail = tail.trimmed();
    if (!tail.isEmpty() && tail != ";")
        throw Error(err::SyntaxError, QStringLiteral("Characters found after end of SQL statement."), kDbSource);
    return st;
}

void SharedHandle::raise(long number) const
{
    throw Error(number, QString::fromUtf8(sqlite3_errmsg(db_)), kDbSource);
}

void SharedHandle::exec(const char* sql)
{
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        raise(err::EngineFailure);
}

// Nested transactions are savepoints inside the outer one. The engine may have ended the
// transaction itself (a failure that rolls back); the levels then end with it.
int SharedHandle::transactionDepth() const
{
    return sqlite3_get_autocommit(db_) ? 0 : int(owners_.size());
}

void SharedHandle::begin(const void* owner)
{
    if (!owners_.empty() && sqlite3_get_autocommit(db_))
        owners_.clear();
    if (owners_.empty())
        exec("BEGIN");
    else
        exec(QByteArray("SAVEPOINT lumora_sp").append(QByteArray::number(qsizetype(owners_.size()))).constData());
    owners_.push_back(owner);
}

int SharedHandle::levelOf(const void* owner, bool innermost) const
{
    int found = -1;
    for (int k = 0; k < int(owners_.size()); ++k) {
        if (owners_[size_t(k)] == owner) {
            found = k;
            if (!innermost)
                break;
        }
    }
    return found;
}

bool SharedHandle::owns(const void* owner) const
{
    return transactionDepth() > 0 && levelOf(owner, true) >= 0;
}

// Ends `level` and every level begun inside it: keeps their work (commit) or undoes it.
void SharedHandle::endLevels(int level, bool keep)
{
    const QByteArray sp = QByteArray("lumora_sp").append(QByteArray::number(level));
    if (level == 0) {
        exec(keep ? "COMMIT" : "ROLLBACK");
    } else {
        if (!keep)
            exec(("ROLLBACK TO " + sp).constData());
        exec(("RELEASE " + sp).constData());
    }
    // only once the engine has done it: a refused COMMIT leaves the transaction open
    owners_.resize(size_t(level));
}

void SharedHandle::commit(const void* owner)
{
    if (sqlite3_get_autocommit(db_))
        owners_.clear();
    const int level = levelOf(owner, true);
    if (level < 0)
        throw Error(err::NoTransaction, QStringLiteral("No transaction is active."), kDbSource);
    endLevels(level, true);
}

void SharedHandle::rollback(const void* owner)
{
    const int level = levelOf(owner, true);
    if (level < 0)
        throw Error(err::NoTransaction, QStringLiteral("No transaction is active."), kDbSource);
    if (sqlite3_get_autocommit(db_)) {
        owners_.clear();   // already undone by the engine
        return;
    }
    endLevels(level, false);
}

void SharedHandle::abandon(const void* owner) noexcept
{
    const int level = levelOf(owner, false);
    if (level < 0)
        return;
    if (sqlite3_get_autocommit(db_)) {
        owners_.clear();
        return;
    }
    try {
        endLevels(level, false);
    } catch (...) {
        // the engine refused; the levels are forgotten all the same
    }
}

// ---- ConnectString ----

QString ConnectString::filePath() const
{
    QString p = dbq.trimmed();
    p.replace(u'\\', u'/');
    return p;
}

ConnectString ConnectString::parse(const QString& text)
{
    ConnectString cs;
    bool haveDbq = false;
    // key=value pairs separated by ';'; a value in braces may itself hold ';' ("{...}")
    int i = 0;
    const int n = int(text.size());
    while (i < n) {
        const int eq = int(text.indexOf(u'=', i));
        if (eq < 0)
            break;
        const QString key = text.mid(i, eq - i).trimmed().toLower();
        int j = eq + 1;
        QString value;
        if (j < n && text[j] == u'{') {
            const int close = int(text.indexOf(u'}', j));
            const int end = close < 0 ? n : close + 1;
            value = text.mid(j, end - j);
            j = end;
            const int semi = int(text.indexOf(u';', j));
            j = semi < 0 ? n : semi + 1;
        } else {
            const int semi = int(text.indexOf(u';', j));
            const int end = semi < 0 ? n : semi;
            value = text.mid(j, end - j);
            j = semi < 0 ? n : semi + 1;
        }
        if (key == u"driver") {
            cs.driver = value;
        } else if (key == u"dbq" || key == u"data source") {
            cs.dbq = value;
            haveDbq = true;
        } else if (key == u"uid" || key == u"user id") {
            cs.uid = value;
        } else if (key == u"pwd" || key == u"password") {
            cs.pwd = value;
        }
        i = j;
    }
    if (!haveDbq || cs.dbq.trimmed().isEmpty())
        raiseConnectFailed(QStringLiteral("The connect string names no database file (Dbq): \"%1\"").arg(text));
    return cs;
}

// ---- Connection ----

Connection::Connection() = default;

// An object released while the transaction it began is open takes that transaction with it,
// even when other objects still use the file's handle.
Connection::~Connection()
{
    if (handle_)
        handle_->abandon(this);
}

void Connection::Open(const QString& connectString, const QString& userId, const QString& password,
                      long options)
{
    Q_UNUSED(userId);
    Q_UNUSED(password);
    Q_UNUSED(options);
    if (handle_)
        raiseObjectOpen();
    if (!connectString.isEmpty())
        ConnectionString = connectString;
    const ConnectString cs = ConnectString::parse(ConnectionString);
    handle_ = SharedHandle::acquire(cs.filePath());
}

SharedHandle& Connection::openHandle() const
{
    if (!handle_)
        raiseObjectClosed();
    return *handle_;
}

long Connection::Execute(const QString& sql)
{
    SharedHandle& h = openHandle();
    const Statement st = h.prepareSingle(accesssql::translate(sql).sql);
    if (!st.get())
        return 0;   // blanks only
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        h.raise(err::EngineFailure);
    return sqlite3_column_count(st) == 0 ? long(sqlite3_changes(h.db())) : 0;
}

int Connection::State() const { return handle_ ? adStateOpen : adStateClosed; }

void Connection::Close()
{
    if (handle_ && handle_->owns(this))
        throw Error(err::InTransaction,
                    QStringLiteral("Connection object cannot be explicitly closed while in a transaction."), kDbSource);
    handle_.reset();
}

void Connection::BeginTrans() { openHandle().begin(this); }

void Connection::CommitTrans() { openHandle().commit(this); }

void Connection::RollbackTrans() { openHandle().rollback(this); }

bool Connection::inTransaction() const { return handle_ && handle_->transactionDepth() > 0; }

QString Connection::filePath() const { return handle_ ? handle_->path() : QString(); }

sqlite3* Connection::handle() const { return handle_ ? handle_->db() : nullptr; }

} // namespace ado
