// Values assigned to fields take the column's type, as the engine converts them.
#include "DbFixture.h"

#include <platform/db/Error.h>

using namespace ado;
using dbtest::DbTest;

namespace {

class ReviewRecordset : public DbTest {
protected:
    ConnectionPtr cn;
    void SetUp() override
    {
        createDb("v.mdb", "CREATE TABLE v (n INTEGER, t TEXT COLLATE NOCASE, x REAL, loose);"
                          "INSERT INTO v VALUES (1, 'a', 1.5, NULL);");
        cn = open("v.mdb");
    }
};

TEST_F(ReviewRecordset, NumbersPutInTextColumnsAreStoredAsTheirText)
{
    auto rs = query(cn, "SELECT * FROM v", adOpenKeyset);
    rs->AddNew();
    rs->Fields("n") = Variant(2);
    rs->Fields("t") = Variant(1500.0);
    rs->Update();
    rs->AddNew();
    rs->Fields("n") = Variant(3);
    rs->Fields("t") = Variant(12.5);
    rs->Update();
    rs->AddNew();
    rs->Fields("n") = Variant(4);
    rs->Fields("t") = Variant(true);
    rs->Update();
    EXPECT_EQ(column(query(cn, "SELECT t FROM v ORDER BY n"), "t"), (QStringList{"a", "1500", "12.5", "True"}));
    // found by the text a statement would quote
    EXPECT_EQ(query(cn, "SELECT n FROM v WHERE t='1500'")->RecordCount(), 1);
}

TEST_F(ReviewRecordset, NumbersPutInWholeNumberColumnsAreRoundedHalfToEven)
{
    auto rs = query(cn, "SELECT * FROM v WHERE n = 1");
    rs->Fields("n") = Variant(2.5);
    rs->Update();
    EXPECT_EQ(rs->Fields("n").Value().kind(), Variant::Kind::Integer);
    EXPECT_EQ(rs->Fields("n").Value().toLongLong(), 2);
    rs->Fields("n") = Variant(QString(" 3.5 "));
    rs->Update();
    EXPECT_EQ(query(cn, "SELECT n FROM v")->Fields(0).Value().toLongLong(), 4);
    rs->Fields("n") = Variant(true);
    rs->Update();
    EXPECT_EQ(query(cn, "SELECT n FROM v")->Fields(0).Value().toLongLong(), -1);
    // a column with no declared type keeps what it is given
    rs->Fields("loose") = Variant(2.5);
    rs->Update();
    EXPECT_DOUBLE_EQ(query(cn, "SELECT loose FROM v")->Fields(0).Value().toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(query(cn, "SELECT x FROM v")->Fields(0).Value().toDouble(), 1.5);
}

// Through the ODBC driver a date column is the database's time stamp (135), the type the
// search screens filter by a one-day range; 7 is the automation date, which they do not.
TEST_F(ReviewRecordset, DateColumnsReportTheTimeStampTypeAndFilterByDay)
{
    createDb("d.mdb", "CREATE TABLE b (n INTEGER, BillDate DATE);"
                      "INSERT INTO b VALUES (1, '1982-12-17'), (2, '1982-12-18'), (3, '1982-12-19');");
    auto db = open("d.mdb");
    auto rs = query(db, "SELECT n, BillDate AS Search FROM b ORDER BY n");
    EXPECT_EQ(rs->Fields("Search").Type(), adDBTimeStamp);
    auto view = rs->Clone(adLockReadOnly);
    view->setFilter("Search>=#18/Dec/1982# AND Search<#19/Dec/1982# ");
    EXPECT_EQ(column(view, "n"), (QStringList{"2"}));
    // a date written as text into it is stored as a date
    auto edit = query(db, "SELECT * FROM b WHERE n = 3");
    edit->Fields("BillDate") = Variant("20-12-82");
    edit->Update();
    EXPECT_EQ(query(db, "SELECT n FROM b WHERE BillDate = #12/20/1982#")->RecordCount(), 1);
}

} // namespace
