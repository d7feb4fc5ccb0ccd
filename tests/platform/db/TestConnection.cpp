// Connect strings, opening files, the one shared handle per file and its transactions,
// statement errors, and the table catalogue.
#include "DbFixture.h"
#include "HeldWriteLock.h"

#include <platform/db/Catalog.h>

#include <QElapsedTimer>
#include <QFile>

using namespace ado;
using dbtest::DbTest;

namespace {

TEST(ConnectStringParse, KeysAnyCaseBracedDriverAndTrailingSemicolonOptional)
{
    const ConnectString a = ConnectString::parse(
        "Driver={Microsoft Access Driver (*.mdb)};Dbq=C:\\Lumora\\0909214SD01.mdb;Uid=admin;Pwd=lanterns;");
    EXPECT_EQ(a.driver, "{Microsoft Access Driver (*.mdb)}");
    EXPECT_EQ(a.dbq, "C:\\Lumora\\0909214SD01.mdb");
    EXPECT_EQ(a.filePath(), "C:/Lumora/0909214SD01.mdb");
    EXPECT_EQ(a.uid, "admin");
    EXPECT_EQ(a.pwd, "lanterns");

    const ConnectString b = ConnectString::parse("DRIVER={x;y};DBQ=/tmp\\a b\\1309214SD02.mdb;UID=admin;PWD=pimento");
    EXPECT_EQ(b.driver, "{x;y}");
    EXPECT_EQ(b.filePath(), "/tmp/a b/1309214SD02.mdb");
    EXPECT_EQ(b.pwd, "pimento");

    // no Dbq is an error
    EXPECT_THROW(ConnectString::parse("Driver={Microsoft Access Driver (*.mdb)};Uid=admin;"), Error);
    EXPECT_THROW(ConnectString::parse("Dbq=;"), Error);
    EXPECT_THROW(ConnectString::parse(""), Error);
}

class Connections : public DbTest {
protected:
    void SetUp() override
    {
        createDb("a.mdb", "CREATE TABLE Zeta (n INTEGER); CREATE TABLE Alpha (t TEXT COLLATE NOCASE);"
                          "CREATE VIEW Mid AS SELECT n FROM Zeta; CREATE TABLE Beta (x);"
                          "INSERT INTO Zeta VALUES (1), (2);");
    }
    long rows(const ConnectionPtr& cn) { return query(cn, "SELECT * FROM Zeta")->RecordCount(); }
};

TEST_F(Connections, MissingFileIsRefusedAndNeverCreatedAndAFileThatIsNoDatabaseIsRefused)
{
    auto cn = newConnection();
    const Error e = dbtest::caught([&] { cn->Open(connectString("missing.mdb")); });
    EXPECT_EQ(e.Number(), err::ConnectFailed);
    EXPECT_TRUE(e.Description().contains("missing.mdb"));
    EXPECT_EQ(cn->State(), adStateClosed);
    EXPECT_FALSE(QFile::exists(file("missing.mdb")));

    QFile f(file("junk.mdb"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a database file, just some text that is long enough to have a header");
    f.close();
    EXPECT_THROW(cn->Open(connectString("junk.mdb")), Error);
    EXPECT_EQ(cn->State(), adStateClosed);
}

TEST_F(Connections, OpenUsesConnectionStringPropertyWhenGivenNone)
{
    auto cn = newConnection();
    cn->ConnectionString = connectString("a.mdb");
    cn->Open({}, {}, {}, -1);
    EXPECT_EQ(cn->State(), adStateOpen);
    EXPECT_EQ(rows(cn), 2);
    EXPECT_THROW(cn->Open(), Error);   // already open
    cn->BeginTrans();
    const Error e = dbtest::caught([&] { cn->Close(); });
    EXPECT_EQ(e.Number(), 3246);
    EXPECT_EQ(e.Description(), "Connection object cannot be explicitly closed while in a transaction.");
    EXPECT_EQ(cn->State(), adStateOpen);
    cn->RollbackTrans();
    cn->Close();
    cn->Close();
    EXPECT_EQ(cn->State(), adStateClosed);
    EXPECT_EQ(cn->handle(), nullptr);
    EXPECT_THROW(cn->Execute("DELETE * FROM Zeta"), Error);
}

TEST_F(Connections, ConnectionsOnOneFileShareOneHandleAndItsTransaction)
{
    auto a = open("a.mdb");
    auto b = newConnection();
    b->Open("Dbq=" + dir.path() + "/./a.mdb");   // another spelling of the same file
    EXPECT_EQ(a->handle(), b->handle());

    a->BeginTrans();
    EXPECT_TRUE(b->inTransaction());
    b->Execute("INSERT INTO Zeta VALUES (3)");
    EXPECT_EQ(rows(a), 3);
    a->RollbackTrans();
    EXPECT_EQ(rows(b), 2);
    EXPECT_FALSE(b->inTransaction());

    b->BeginTrans();
    a->Execute("DELETE * FROM Zeta WHERE n = 1");
    b->CommitTrans();
    EXPECT_EQ(rows(a), 1);
    EXPECT_EQ(dbtest::errorOf([&] { a->CommitTrans(); }), err::NoTransaction);
    EXPECT_THROW(a->RollbackTrans(), Error);

    // a nested transaction rolls back its inner part only
    a->BeginTrans();
    a->Execute("INSERT INTO Zeta VALUES (10)");
    a->BeginTrans();
    a->Execute("INSERT INTO Zeta VALUES (11)");
    a->RollbackTrans();
    a->CommitTrans();
    EXPECT_EQ(rows(b), 2);
    // an inner level committed joins the outer one, whose rollback takes both away
    a->BeginTrans();
    a->Execute("INSERT INTO Zeta VALUES (12)");
    a->BeginTrans();
    a->Execute("INSERT INTO Zeta VALUES (13)");
    a->CommitTrans();
    EXPECT_TRUE(a->inTransaction());
    a->RollbackTrans();
    EXPECT_FALSE(a->inTransaction());
    EXPECT_EQ(rows(b), 2);
}

TEST_F(Connections, ReleasedConnectionsLeaveNoLockAndNoUncommittedWorkBehind)
{
    {
        auto cn = open("a.mdb");
        auto rs = query(cn, "SELECT * FROM Zeta");   // read whole; holds no read lock
        cn->Execute("INSERT INTO Zeta VALUES (5)");
        dbtest::rawExec(file("a.mdb"), "INSERT INTO Zeta VALUES (6);");
    }
    // nothing holds the file: a writer outside the layer is not blocked
    dbtest::rawExec(file("a.mdb"), "INSERT INTO Zeta VALUES (7);");
    EXPECT_EQ(rows(open("a.mdb")), 5);
    {
        auto cn = open("a.mdb");
        cn->BeginTrans();
        cn->Execute("DELETE * FROM  Zeta");
    }
    EXPECT_EQ(rows(open("a.mdb")), 5);
}

// Another holder keeps the shared handle alive; the transaction of a released connection must
// not stay open on it (its work would be lost later and its lock would stay), unless a
// recordset still holds that connection.
TEST_F(Connections, ReleasingTheConnectionThatBeganATransactionRollsBackItsLevelOnly)
{
    auto other = open("a.mdb");
    {
        auto cn = open("a.mdb");
        cn->BeginTrans();
        cn->Execute("INSERT INTO Zeta VALUES (3)");
        EXPECT_EQ(rows(other), 3);
    }
    EXPECT_FALSE(other->inTransaction());
    EXPECT_EQ(rows(other), 2);
    dbtest::rawExec(file("a.mdb"), "INSERT INTO Zeta VALUES (9);");   // nothing is left locked
    EXPECT_EQ(rows(other), 3);

    RecordsetPtr rs;
    {
        auto cn = open("a.mdb");
        cn->BeginTrans();
        cn->Execute("INSERT INTO Zeta VALUES (4)");
        rs = query(cn, "SELECT * FROM Zeta");
    }
    EXPECT_TRUE(other->inTransaction());
    rs->ActiveConnection->CommitTrans();
    rs.reset();
    EXPECT_EQ(rows(other), 4);

    // an inner level released leaves the outer one open
    other->BeginTrans();
    other->Execute("INSERT INTO Zeta VALUES (5)");
    {
        auto inner = open("a.mdb");
        inner->BeginTrans();
        inner->Execute("INSERT INTO Zeta VALUES (6)");
    }
    EXPECT_TRUE(other->inTransaction());
    EXPECT_EQ(rows(other), 5);
    other->CommitTrans();
    EXPECT_EQ(rows(open("a.mdb")), 5);
}

// A restore copies another file over the path while objects of the last step may still hold
// the old one: connections opened afterwards must see the restored file.
TEST_F(Connections, FileCopiedOverThePathIsOpenedAfresh)
{
    auto old = open("a.mdb");
    auto keep = query(old, "SELECT * FROM Zeta");
    createDb("b.mdb", "CREATE TABLE Zeta (n INTEGER); INSERT INTO Zeta VALUES (1), (2), (3);");
    ASSERT_TRUE(QFile::remove(file("a.mdb")));
    ASSERT_TRUE(QFile::copy(file("b.mdb"), file("a.mdb")));
    auto fresh = open("a.mdb");
    EXPECT_NE(fresh->handle(), old->handle());
    EXPECT_EQ(rows(fresh), 3);
    EXPECT_EQ(keep->RecordCount(), 2);
}

TEST_F(Connections, ExecuteReportsChangedRowsAndRefusesBadStatements)
{
    auto cn = open("a.mdb");
    EXPECT_EQ(cn->Execute("UPDATE Zeta SET n = n + 10"), 2);
    EXPECT_EQ(cn->Execute("SELECT * FROM Zeta;"), 0);
    const Error e = dbtest::caught([&] { cn->Execute("SELEC * FROM Zeta"); });
    EXPECT_EQ(e.Number(), err::SyntaxError);
    EXPECT_TRUE(e.Description().contains("syntax error")) << e.Description().toStdString();
    EXPECT_EQ(e.Source(), "Lumora.Database");
    const Error missing = dbtest::caught([&] { cn->Execute("DELETE * FROM  NoSuchTable"); });
    EXPECT_NE(missing.Number(), 0);
    EXPECT_TRUE(missing.Description().contains("NoSuchTable"));
    // one statement per call, as Access runs them
    EXPECT_EQ(dbtest::caught([&] { cn->Execute("DELETE FROM Zeta; DELETE FROM Alpha"); }).Description(),
              "Characters found after end of SQL statement.");
    EXPECT_EQ(rows(cn), 2);
}

// A file another program holds locked is waited for, from the moment the connection opens it
// and for every statement after, a few seconds before the lock is reported: not refused at once
// with "database is locked".
TEST_F(Connections, AFileLockedByAnotherWriterIsWaitedForFromTheOpen)
{
    QElapsedTimer clock;
    {
        HeldWriteLock other(file("a.mdb"), 800);
        ASSERT_TRUE(other.held());
        clock.start();
        auto cn = open("a.mdb");
        EXPECT_EQ(rows(cn), 2);
        EXPECT_GE(clock.elapsed(), 500);
    }
    auto cn = open("a.mdb");
    {
        HeldWriteLock other(file("a.mdb"), 800);
        ASSERT_TRUE(other.held());
        clock.start();
        EXPECT_EQ(cn->Execute("INSERT INTO Zeta VALUES (3)"), 1);
        EXPECT_GE(clock.elapsed(), 500);
    }
    // A lock held longer than the wait is reported, after the wait.
    cn.reset();
    HeldWriteLock longer(file("a.mdb"), 5400);
    ASSERT_TRUE(longer.held());
    clock.start();
    const Error e = dbtest::caught([&] { open("a.mdb"); });
    EXPECT_NE(e.Number(), 0);
    EXPECT_TRUE(e.Description().contains("locked")) << e.Description().toStdString();
    EXPECT_GE(clock.elapsed(), 4000);
}

TEST_F(Connections, CatalogueListsTablesInCreationOrder)
{
    Catalog cat;
    EXPECT_THROW(cat.Tables(), Error);
    cat.ActiveConnection = open("a.mdb");
    EXPECT_EQ(cat.Tables(), (QStringList{"Zeta", "Alpha", "Mid", "Beta"}));

    createDb("empty.mdb", "PRAGMA user_version = 1;");
    Catalog none;
    none.ActiveConnection = open("empty.mdb");
    EXPECT_TRUE(none.Tables().isEmpty());
}

} // namespace
