// The statement shapes of the Form 10 steps, blanks and all: keyed deletes with "DELETE *",
// literals run straight into keywords, padded INSERT and UPDATE texts, whole-table recordsets
// opened only to add rows, and a keyed report row edited in place.
#include "DbFixture.h"

using namespace ado;
using dbtest::DbTest;

namespace {

const char* kForm10 = R"(
CREATE TABLE tblSales (SlNo TEXT COLLATE NOCASE, BillDate DATE, Party TEXT COLLATE NOCASE,
  TIN TEXT COLLATE NOCASE, BillNo TEXT COLLATE NOCASE, RateOfTax TEXT COLLATE NOCASE, Amount REAL, Tax REAL,
  Cess REAL, NetAmount REAL, cMonth TEXT COLLATE NOCASE, cAddress TEXT COLLATE NOCASE, eDate TEXT COLLATE NOCASE,
  cCode TEXT COLLATE NOCASE);
CREATE TABLE tblCommon (cCode TEXT COLLATE NOCASE, cMonth TEXT COLLATE NOCASE, cAddress TEXT COLLATE NOCASE,
  PTA0 REAL, PTA1 REAL, eDate TEXT COLLATE NOCASE, Place TEXT COLLATE NOCASE, RT0 REAL, RT1 REAL);
CREATE TABLE tblMPage3 (cCode TEXT COLLATE NOCASE, cYear TEXT COLLATE NOCASE, cSequence TEXT COLLATE NOCASE,
  cRPFrom TEXT COLLATE NOCASE, C1_13 TEXT COLLATE NOCASE, C1_14 TEXT COLLATE NOCASE, C1_23 TEXT COLLATE NOCASE);
CREATE TABLE tblRptPurchaseC (cCode TEXT COLLATE NOCASE, cMonth TEXT COLLATE NOCASE,
  cAddress TEXT COLLATE NOCASE, eDate TEXT COLLATE NOCASE, PTA0 REAL, STA0 REAL);
CREATE TABLE tblRptSales (cCode TEXT COLLATE NOCASE, cMonth TEXT COLLATE NOCASE);
INSERT INTO tblSales (SlNo, BillDate, Party, Amount, cMonth, cCode) VALUES ('1', '2009-03-20', 'Late', 300, 'March', 'D1');
INSERT INTO tblSales (SlNo, BillDate, Party, Amount, cMonth, cCode) VALUES ('2', '2009-03-01', 'Early', 100, 'March', 'D1');
INSERT INTO tblSales (SlNo, BillDate, Party, Amount, cMonth, cCode) VALUES ('3', '2009-03-05', 'Middle', 200, 'march', 'D1');
INSERT INTO tblSales (SlNo, BillDate, Party, Amount, cMonth, cCode) VALUES ('1', '2009-03-02', 'Other dealer', 50, 'March', 'D2');
INSERT INTO tblSales (SlNo, BillDate, Party, Amount, cMonth, cCode) VALUES ('1', '2009-04-02', 'April', 70, 'April', 'D1');
INSERT INTO tblRptSales VALUES ('D1', 'March'), ('D2', 'March');
INSERT INTO tblRptPurchaseC (cCode, cMonth, cAddress) VALUES ('D1', 'March', 'Dealer One'), ('D1', 'April', 'Dealer One');
)";

class Form10Shapes : public DbTest {
protected:
    ConnectionPtr cn;
    void SetUp() override
    {
        createDb("nwForm10DB.mdb", kForm10);
        cn = newConnection();
        cn->Open("Driver={Microsoft Access Driver (*.mdb)};Dbq=" + dir.path() + "\\nwForm10DB.mdb");
    }
    long count(const QString& sql) { return query(cn, sql)->RecordCount(); }
};

TEST_F(Form10Shapes, DeleteStarWithDoubleBlanksEmptiesATableOrOneDealerMonth)
{
    EXPECT_EQ(cn->Execute("DELETE * FROM  tblRptSales"), 2);
    EXPECT_EQ(count("SELECT * FROM  tblRptSales "), 0);
    EXPECT_EQ(cn->Execute("DELETE * FROM  tblRptSales"), 0);   // an empty table is no error
    EXPECT_EQ(cn->Execute("DELETE * FROM  tblSales  WHERE cCode='D1' AND cMonth='March'"), 3);
    EXPECT_EQ(count("SELECT * FROM tblSales"), 2);
}

TEST_F(Form10Shapes, ReadInBillDateOrderWithQuoteRunningIntoOrderBy)
{
    auto rs = query(cn, "SELECT * FROM tblSales WHERE cCode='D1' AND cMonth= 'March'ORDER BY BillDate", adOpenDynamic,
                    adLockOptimistic);
    EXPECT_EQ(column(rs, "Party"), (QStringList{"Early", "Middle", "Late"}));
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields("BillDate").Type(), adDBTimeStamp);
    EXPECT_EQ(rs->Fields("BillDate").Value().kind(), Variant::Kind::Date);
    EXPECT_EQ(rs->Fields("BillDate").Value().toDate(), QDate(2009, 3, 1));
    EXPECT_EQ(rs->Fields("Amount").Type(), adDouble);
    EXPECT_DOUBLE_EQ(rs->Fields("Amount").Value().toDouble(), 100.0);
    EXPECT_TRUE(rs->Fields("Tax").Value().isNull());
}

TEST_F(Form10Shapes, ReportKeyRowWithQuotesRunningIntoAndIsEditedInPlace)
{
    auto rs = query(cn, "SELECT * FROM  tblRptPurchaseC Where cCode ='D1'AND cMonth= 'March'AND cAddress= 'Dealer One'",
                    adOpenKeyset, adLockOptimistic);
    ASSERT_EQ(rs->RecordCount(), 1);
    rs->Fields("PTA0") = Variant("1500.00");
    rs->Fields("eDate") = Variant("31-03-09");
    rs->Update();
    auto check = query(cn, "SELECT cMonth, PTA0, eDate FROM tblRptPurchaseC ORDER BY cMonth");
    EXPECT_EQ(column(check, "PTA0"), (QStringList{"<Null>", "1500"}));
    EXPECT_EQ(column(check, "eDate"), (QStringList{"<Null>", "31-03-09"}));
}

TEST_F(Form10Shapes, WholeTableRecordsetAddsRowsWithDatesStoredAsIsoText)
{
    auto rs = query(cn, "SELECT * FROM tblSales ORDER BY BillDate", adOpenKeyset, adLockOptimistic);
    rs->AddNew();
    rs->Fields("BillDate") = Variant(QDate(2009, 3, 26));
    rs->Fields("Party") = Variant("D'Souza & Co");
    rs->Fields("Amount") = Variant("1500.00");
    rs->Fields("cMonth") = Variant("May");
    rs->Update();
    EXPECT_EQ(rs->RecordCount(), 6);
    auto back = query(cn, "SELECT Party, Amount, Tax, typeof(BillDate) AS t, BillDate || '' AS s FROM tblSales "
                          "WHERE cMonth= 'May'");
    EXPECT_EQ(back->Fields("Party").Value().toString(), "D'Souza & Co");
    EXPECT_EQ(back->Fields("Amount").Value().kind(), Variant::Kind::Double);
    EXPECT_TRUE(back->Fields("Tax").Value().isNull());
    // the date is stored as ISO text, so the file reads the same to any SQLite client
    EXPECT_EQ(back->Fields("t").Value().toString(), "text");
    EXPECT_EQ(back->Fields("s").Value().toString(), "2009-03-26");
}

TEST_F(Form10Shapes, PaddedInsertAndUpdateTexts)
{
    EXPECT_EQ(cn->Execute(" INSERT INTO tblMPage3 ( "
                          "  cCode , cYear , cSequence , cRPFrom "
                          ")     VALUES   ('D1','2009','Monthly','March')"),
              1);
    EXPECT_EQ(cn->Execute(" UPDATE tblMPage3    SET C1_13= '0',C1_14= '1500.00',C1_23= '1'  WHERE cCode='D1' AND "
                          "cYear='2009' AND cSequence='Monthly'  AND cRPFrom='March'"),
              1);
    auto rs = query(cn, "SELECT * FROM tblMPage3    WHERE cCode='D1'  AND cYear='2009'  AND cSequence='Monthly'  AND "
                        "cRPFrom='March'");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Fields("C1_13").Value().toString(), "0");
    EXPECT_EQ(rs->Fields("C1_14").Value().toString(), "1500.00");
    EXPECT_EQ(rs->Fields("C1_23").Value().toString(), "1");

    // the month summary: quoted texts into number columns, and bare numbers
    const QString sql = QString(" INSERT INTO tblCommon ( ") + " cCode , cMonth , cAddress , PTA0,PTA1 " + ",eDate,Place"
                        + ",RT0,RT1" + ")     VALUES   (" + "'D1'," + "'March'," + "'Dealer One'," + "'100.50',"
                        + "'0.00'," + "'31-03-09'," + "''," + "12.5" + "," + "0" + ")";
    EXPECT_EQ(cn->Execute(sql), 1);
    rs = query(cn, "SELECT * FROM tblCommon WHERE cCode='d1' AND cMonth= 'MARCH'");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(rs->Fields("PTA0").Value().toDouble(), 100.5);
    EXPECT_DOUBLE_EQ(rs->Fields("RT0").Value().toDouble(), 12.5);
    EXPECT_EQ(rs->Fields("Place").Value().toString(), "");
}

TEST_F(Form10Shapes, MovingOffANewRowSavesIt)
{
    auto src = query(cn, "SELECT * FROM tblSales WHERE cCode='D1' AND cMonth= 'March'", adOpenDynamic, adLockOptimistic);
    auto rpt = query(cn, "SELECT * FROM  tblRptPurchaseC ", adOpenKeyset, adLockOptimistic);
    const long before = rpt->RecordCount();
    while (!src->Eof()) {
        rpt->AddNew();
        rpt->Fields("cCode") = src->Fields("cCode").Value();
        rpt->Fields("STA0") = src->Fields("Amount").Value();
        src->MoveNext();
        rpt->MoveNext();
    }
    rpt->Close();
    src->Close();
    EXPECT_EQ(count("SELECT * FROM  tblRptPurchaseC "), before + 3);
    auto sums = query(cn, "SELECT sum(STA0) AS total FROM tblRptPurchaseC");
    EXPECT_DOUBLE_EQ(sums->Fields("total").Value().toDouble(), 600.0);
}

// A keyed replace (delete, then new rows) inside one transaction, spanning steps that each
// open a new connection object: a failure rolls the delete back too.
TEST_F(Form10Shapes, ReplaceInOneTransactionAcrossNewConnections)
{
    auto first = newConnection();
    first->Open(connectString("nwForm10DB.mdb", ""));
    first->BeginTrans();
    {
        auto step = newConnection();   // a later step opens "a new connection"
        step->Open(connectString("nwForm10DB.mdb", ""));
        EXPECT_TRUE(step->inTransaction());
        step->Execute("DELETE * FROM  tblSales  WHERE cCode='D1' AND cMonth='March'");
        auto add = newRecordset();
        add->Open("SELECT * FROM tblSales ORDER BY BillDate", step, adOpenKeyset, adLockOptimistic);
        add->AddNew();
        add->Fields("cCode") = Variant("D1");
        add->Fields("cMonth") = Variant("March");
        add->Update();
    }
    EXPECT_EQ(count("SELECT * FROM tblSales WHERE cCode='D1' AND cMonth='March'"), 1);
    first->RollbackTrans();
    EXPECT_EQ(count("SELECT * FROM tblSales WHERE cCode='D1' AND cMonth='March'"), 3);
}

} // namespace
