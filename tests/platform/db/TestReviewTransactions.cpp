// Transactions on the one handle a file has: a connection object released or closed while
// the transaction it began is still open.
#include "DbFixture.h"

#include <platform/db/Error.h>

using namespace ado;
using dbtest::DbTest;

namespace {

class ReviewTransactions : public DbTest {
protected:
    void SetUp() override { createDb("t.mdb", "CREATE TABLE Zeta (n INTEGER); INSERT INTO Zeta VALUES (1), (2);"); }
    long rows(const ConnectionPtr& cn) { return query(cn, "SELECT * FROM Zeta")->RecordCount(); }
};

// The step after keeps the shared handle alive; the transaction of the released object must
// not stay open on it (its work would be lost later, and its lock would stay).
TEST_F(ReviewTransactions, ReleasingTheConnectionThatBeganATransactionRollsItBack)
{
    auto other = open("t.mdb");
    {
        auto cn = open("t.mdb");
        cn->BeginTrans();
        cn->Execute("INSERT INTO Zeta VALUES (3)");
        EXPECT_EQ(rows(other), 3);
    }
    EXPECT_FALSE(other->inTransaction());
    EXPECT_EQ(rows(other), 2);
    // nothing is left locked: a writer outside the layer goes through
    dbtest::rawExec(file("t.mdb"), "INSERT INTO Zeta VALUES (9);");
    EXPECT_EQ(rows(other), 3);
}

TEST_F(ReviewTransactions, ARecordsetKeepsItsConnectionAndSoItsTransaction)
{
    auto other = open("t.mdb");
    RecordsetPtr rs;
    {
        auto cn = open("t.mdb");
        cn->BeginTrans();
        cn->Execute("INSERT INTO Zeta VALUES (3)");
        rs = query(cn, "SELECT * FROM Zeta");
    }
    EXPECT_TRUE(other->inTransaction());
    rs->ActiveConnection->CommitTrans();
    rs.reset();
    EXPECT_EQ(rows(other), 3);
}

TEST_F(ReviewTransactions, ReleasingAnInnerLevelLeavesTheOuterOneOpen)
{
    auto outer = open("t.mdb");
    outer->BeginTrans();
    outer->Execute("INSERT INTO Zeta VALUES (3)");
    {
        auto inner = open("t.mdb");
        inner->BeginTrans();
        inner->Execute("INSERT INTO Zeta VALUES (4)");
    }
    EXPECT_TRUE(outer->inTransaction());
    EXPECT_EQ(rows(outer), 3);
    outer->CommitTrans();
    EXPECT_EQ(rows(open("t.mdb")), 3);
}

TEST_F(ReviewTransactions, ClosingExplicitlyInsideOwnTransactionIsRefused)
{
    auto cn = open("t.mdb");
    cn->BeginTrans();
    try {
        cn->Close();
        FAIL() << "closed inside a transaction";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 3246);
        EXPECT_EQ(e.Description(), "Connection object cannot be explicitly closed while in a transaction.");
    }
    EXPECT_EQ(cn->State(), adStateOpen);
    cn->RollbackTrans();
    cn->Close();
    cn->Close();
    EXPECT_EQ(cn->State(), adStateClosed);
}

TEST_F(ReviewTransactions, NestedLevelsOfOneConnectionUnwindInOrder)
{
    auto cn = open("t.mdb");
    cn->BeginTrans();
    cn->Execute("INSERT INTO Zeta VALUES (3)");
    cn->BeginTrans();
    cn->Execute("INSERT INTO Zeta VALUES (4)");
    cn->CommitTrans();            // inner level joins the outer one
    EXPECT_TRUE(cn->inTransaction());
    cn->RollbackTrans();          // the outer level takes both rows away
    EXPECT_FALSE(cn->inTransaction());
    EXPECT_EQ(rows(cn), 2);
    try {
        cn->CommitTrans();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), err::NoTransaction);
    }
}

} // namespace
