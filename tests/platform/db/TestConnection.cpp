// Connect strings, opening files, the one shared handle per file and its transactions,
// statement errors, and the table catalogue.
#include "DbFixture.h"
#include "HeldWriteLock.h"

#include <platform/db/Catalog.h>

#include <QElapsedTimer>
#include <QFile>

using namespace ado;
using dbtest::caught;
using dbtest::DbTest;

namespace {

TEST(ConnectStringParse, KeysAnyCaseBracedDriverAndTheFileWithLocalSeparators)
{
    const ConnectString a = ConnectString::parse(
        "DRIVER={x;y};DBQ=/tmp\\a b\\1309214SD02.mdb;UID=admin;PWD=pimento");   // no trailing ';'
    EXPECT_EQ(a.driver, "{x;y}");
    EXPECT_EQ(a.dbq, "/tmp\\a b\\1309214SD02.mdb");
    EXPECT_EQ(a.filePath(), "/tmp/a b/1309214SD02.mdb");
    EXPECT_EQ(a.uid, "admin");
    EXPECT_EQ(a.pwd, "pimento");
    for (const char* noFile : {"Driver={Microsoft Access Driver (*.mdb)};Uid=admin;", "Dbq=;", ""})
        EXPECT_THROW(ConnectString::parse(noFile), Error) << noFile;
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
    const Error e = caught([&] { cn->Open(connectString("missing.mdb")); });
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

TEST_F(Connections, OpenUsesConnectionStringPropertyAndCloseWaitsForTheTransaction)
{
    auto cn = newConnection();
    cn->ConnectionString = connectString("a.mdb");
    cn->Open({}, {}, {}, -1);
    EXPECT_EQ(cn->State(), adStateOpen);
    EXPECT_EQ(rows(cn), 2);
    EXPECT_THROW(cn->Open(), Error);   // already open
    cn->BeginTrans();
    const Error e = caught([&] { cn->Close(); });
    EXPECT_EQ(e.Number(), err::InTransaction);
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
    EXPECT_EQ(dbtest::errorNumber([&] { a->CommitTrans(); }), err::NoTransaction);
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
    // a keyed replace whose steps each open a new connection, rows added through a recordset
    // among them, is rolled back whole
    a->BeginTrans();
    {
        auto step = open("a.mdb");
        EXPECT_TRUE(step->inTransaction());
        step->Execute("DELETE * FROM  Zeta");
        auto add = query(step, "SELECT * FROM Zeta");
        add->AddNew();
        add->Fields("n") = Variant(20);
        add->Update();
    }
    EXPECT_EQ(rows(b), 1);
    a->RollbackTrans();
    EXPECT_EQ(rows(b), 2);
}

// A released connection leaves no lock and no uncommitted work behind, even on a shared handle.
TEST_F(Connections, ReleasingTheConnectionThatBeganATransactionRollsBackItsLevelOnly)
{
    {
        auto cn = open("a.mdb");
        auto rs = query(cn, "SELECT * FROM Zeta");   // read whole: a writer outside is not blocked
        dbtest::rawExec(file("a.mdb"), "INSERT INTO Zeta VALUES (3);");
        cn->BeginTrans();
        cn->Execute("DELETE * FROM  Zeta");
    }
    dbtest::rawExec(file("a.mdb"), "INSERT INTO Zeta VALUES (4);");   // nor by the released writer
    EXPECT_EQ(rows(open("a.mdb")), 4);

    auto other = open("a.mdb");
    {
        auto cn = open("a.mdb");
        cn->BeginTrans();
        cn->Execute("INSERT INTO Zeta VALUES (5)");
        EXPECT_EQ(rows(other), 5);
    }
    EXPECT_FALSE(other->inTransaction());
    EXPECT_EQ(rows(other), 4);
    dbtest::rawExec(file("a.mdb"), "DELETE FROM Zeta WHERE n > 2;");   // nothing is left locked
    EXPECT_EQ(rows(other), 2);

    RecordsetPtr rs;
    {
        auto cn = open("a.mdb");
        cn->BeginTrans();
        cn->Execute("INSERT INTO Zeta VALUES (6)");
        rs = query(cn, "SELECT * FROM Zeta");
    }
    EXPECT_TRUE(other->inTransaction());
    rs->ActiveConnection->CommitTrans();
    rs.reset();
    EXPECT_EQ(rows(other), 3);

    // an inner level released leaves the outer one open
    other->BeginTrans();
    other->Execute("INSERT INTO Zeta VALUES (7)");
    {
        auto inner = open("a.mdb");
        inner->BeginTrans();
        inner->Execute("INSERT INTO Zeta VALUES (8)");
    }
    EXPECT_TRUE(other->inTransaction());
    EXPECT_EQ(rows(other), 4);
    other->CommitTrans();
    EXPECT_EQ(rows(open("a.mdb")), 4);
}

// A restore copies another file over the path: later connections must see the restored file.
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
    EXPECT_EQ(cn->Execute(" INSERT INTO Zeta ( n )     VALUES   ('30')"), 1);   // padded; a quoted number
    EXPECT_EQ(query(cn, "SELECT n FROM Zeta WHERE n = 30")->Fields(0).Value().kind(), Variant::Kind::Integer);
    const Error e = caught([&] { cn->Execute("SELEC * FROM Zeta"); });
    EXPECT_EQ(e.Number(), err::SyntaxError);
    EXPECT_TRUE(e.Description().contains("syntax error")) << e.Description().toStdString();
    EXPECT_EQ(e.Source(), "Lumora.Database");
    EXPECT_TRUE(caught([&] { cn->Execute("DELETE * FROM  NoSuchTable"); }).Description().contains("NoSuchTable"));
    // one statement per call, as Access runs them
    EXPECT_EQ(caught([&] { cn->Execute("DELETE FROM Zeta; DELETE FROM Alpha"); }).Description(),
              "Characters found after end of SQL statement.");
    EXPECT_EQ(rows(cn), 3);
}

// A file another writer holds locked is waited for, at the open and at every statement.
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
    const Error e = caught([&] { open("a.mdb"); });
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
