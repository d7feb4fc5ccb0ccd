// Whole database files: copies taken while a connection writes, the soundness check, and the
// check that nobody is writing before a file is replaced.
#include "DbFixture.h"
#include "platform/db/DatabaseFile.h"

#include <QDir>
#include <QFile>
#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using dbtest::caught;
using dbtest::rawExec;

class DatabaseFileTest : public dbtest::DbTest {
protected:
    QString source = createDb("a.mdb", "CREATE TABLE t (x TEXT); INSERT INTO t VALUES ('kept'), ('also');");

    static QStringList rows(const QString& path) { return dbtest::rawColumn(path, "SELECT x FROM t ORDER BY rowid"); }
    static void writeBytes(const QString& path, const QByteArray& bytes, qint64 at = 0)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(at);
        f.write(bytes);
    }
};

TEST_F(DatabaseFileTest, ACopyTakenDuringAnOpenChangeHoldsTheDatabaseAsCommitted)
{
    // Another connection has begun a change and not committed it.
    auto cn = open("a.mdb");
    cn->BeginTrans();
    cn->Execute("INSERT INTO t VALUES ('uncommitted')");
    const QString copy = file("copy.mdb");
    ado::copyDatabaseFile(source, copy);
    EXPECT_EQ(rows(copy), (QStringList{"kept", "also"}));
    EXPECT_NO_THROW(ado::checkDatabaseFile(copy));
    cn->CommitTrans();

    // A copy over an older copy replaces it whole.
    ado::copyDatabaseFile(source, copy);
    EXPECT_EQ(rows(copy), (QStringList{"kept", "also", "uncommitted"}));
    EXPECT_FALSE(QFile::exists(copy + "-journal"));
}

TEST_F(DatabaseFileTest, ACopyStartedWhileAWriterHoldsTheFileWaitsForTheCommit)
{
    // The writer's change is larger than its page cache, so its pages reach the file before
    // the commit, under an exclusive lock: a byte copy now would hold half a change.
    std::promise<void> holding;
    std::thread writer([&] {
        sqlite3* db = nullptr;
        sqlite3_open(source.toUtf8().constData(), &db);
        sqlite3_exec(db, "PRAGMA cache_size = 10; BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                         "FROM n WHERE i < 3000) INSERT INTO t SELECT printf('%0200d', i) FROM n;",
                     nullptr, nullptr, nullptr);
        holding.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
    holding.get_future().wait();
    sqlite3* reader = nullptr;
    sqlite3_open(source.toUtf8().constData(), &reader);
    EXPECT_EQ(sqlite3_exec(reader, "SELECT count(*) FROM t", nullptr, nullptr, nullptr), SQLITE_BUSY);
    sqlite3_close(reader);

    const QString copy = file("copy.mdb");
    EXPECT_NO_THROW(ado::copyDatabaseFile(source, copy));
    writer.join();
    EXPECT_EQ(rows(copy).size(), 3002);
    EXPECT_NO_THROW(ado::checkDatabaseFile(copy));
}

TEST_F(DatabaseFileTest, FailedCopiesLeaveNoFileBehind)
{
    EXPECT_NE(caught([&] { ado::copyDatabaseFile(file("missing.mdb"), file("c.mdb")); }).Number(), 0);
    EXPECT_FALSE(QFile::exists(file("missing.mdb")));   // never created by the copy
    EXPECT_FALSE(QFile::exists(file("c.mdb")));
    const ado::Error e = caught([&] { ado::copyDatabaseFile(source, file("no/such/folder/c.mdb")); });
    EXPECT_NE(e.Number(), 0);
    EXPECT_FALSE(e.Description().isEmpty());
}

TEST_F(DatabaseFileTest, TheCheckRefusesWhatIsNoSoundDatabase)
{
    EXPECT_NO_THROW(ado::checkDatabaseFile(source));
    QFile(file("empty.mdb")).open(QIODevice::WriteOnly);   // opens as an empty database
    const ado::Error empty = caught([&] { ado::checkDatabaseFile(file("empty.mdb")); });
    EXPECT_EQ(empty.Description(), "file is not a database");
    EXPECT_EQ(empty.Number(), ado::err::FileDamaged);
    writeBytes(file("text.mdb"), "TAXDATA as a text file\n");
    EXPECT_EQ(caught([&] { ado::checkDatabaseFile(file("text.mdb")); }).Number(), ado::err::FileDamaged);
    EXPECT_EQ(caught([&] { ado::checkDatabaseFile(file("missing.mdb")); }).Number(), ado::err::FileNotFound);

    // A damaged page: the header is right, the tree under it is not.
    rawExec(source, "CREATE TABLE big (y TEXT); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                    "WHERE i < 400) INSERT INTO big SELECT printf('%0100d', i) FROM n;");
    writeBytes(source, QByteArray(4096, '\xff'), 4096 * 2);
    const ado::Error damaged = caught([&] { ado::checkDatabaseFile(source); });
    EXPECT_EQ(damaged.Number(), ado::err::FileDamaged);
    EXPECT_FALSE(damaged.Description().isEmpty());
    EXPECT_NE(damaged.Description(), "ok");
}

// A file this account may not read, or a folder it may not write a copy into, is said to be
// so: not called damaged, nor missing.
TEST_F(DatabaseFileTest, AFileThatMayNotBeReadOrAFolderThatMayNotBeWrittenIsSaidToBeSo)
{
    const QString readable = createDb("b.mdb", "CREATE TABLE t (x TEXT);");
    const QString locked = file("locked");
    ASSERT_TRUE(QDir().mkdir(locked));
    ::chmod(QFile::encodeName(locked).constData(), 0555);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(source).constData(), 0);
    const auto refused = [&] {
        const ado::Error read = caught([&] { ado::checkDatabaseFile(source); });
        const ado::Error written = caught([&] { ado::copyDatabaseFile(readable, locked + "/copy.mdb"); });
        return read.Number() == ado::err::PermissionDenied && read.Description() == "Permission denied"
               && written.Number() == ado::err::PermissionDenied && written.Description() == "Permission denied";
    };
    if (::geteuid() != 0) {
        EXPECT_TRUE(refused());
        return;
    }
    // Permissions do not bind the superuser: the check runs in a child as an ordinary account.
    const pid_t child = fork();
    if (child == 0)
        _exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? (refused() ? 0 : 1) : 2);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
}

TEST_F(DatabaseFileTest, SettlingRefusesAFileSomeoneIsWritingAndPassesOtherwise)
{
    EXPECT_NO_THROW(ado::settleDatabaseFile(source));
    EXPECT_NO_THROW(ado::settleDatabaseFile(file("missing.mdb")));
    writeBytes(file("text.mdb"), "not a database");
    EXPECT_NO_THROW(ado::settleDatabaseFile(file("text.mdb")));   // about to be replaced

    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(source.toUtf8().constData(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN IMMEDIATE; INSERT INTO t VALUES ('pending')", nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_NO_THROW(ado::settleDatabaseFile(source));   // reading alongside a writer that has not committed
    EXPECT_EQ(caught([&] { ado::settleDatabaseFile(source, true); }).Number(), ado::err::FileInUse);
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    EXPECT_NO_THROW(ado::settleDatabaseFile(source, true));
    EXPECT_EQ(rows(source), (QStringList{"kept", "also"}));
}

} // namespace
