// The Form 10 database services and the register screen's small text services.
#include "TestProgramFolder.h"
#include "form10/registers/Module2.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"

#include <gtest/gtest.h>

namespace {

TEST(BillDateText, NamesTheDateOfItsDayMonthAndTwoDigitYear)
{
    EXPECT_EQ(fnDateFromDMY("26-09-08"), QDate(2008, 9, 26));
    EXPECT_EQ(fnDateFromDMY(" 05-03-09 "), QDate(2009, 3, 5));
    EXPECT_EQ(fnDateFromDMY("26/09/08"), QDate(2008, 9, 26));   // separators are not examined
    EXPECT_EQ(fnDateFromDMY("29-02-08"), QDate(2008, 2, 29));
    EXPECT_EQ(fnDateFromDMY("01-01-95"), QDate(1995, 1, 1));
}

TEST(BillDateText, ATextThatNamesNoRealDateFails)
{
    for (const char* text : {"31-02-08", "29-02-09", "ab-cd-ef", "00-01-09", "01-13-09", "1-9-08", "", "26-09"}) {
        try {
            fnDateFromDMY(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const ado::Error& e) {
            EXPECT_EQ(e.Number(), ado::err::TypeMismatch) << text;
        }
    }
}

TEST(MonthStart, FirstDayOfANamedMonth)
{
    EXPECT_EQ(fnMonthStartDate("March", "09"), "01-03-09");
    EXPECT_EQ(fnMonthStartDate("mArCh", "09"), "01-03-09");
    EXPECT_EQ(fnMonthStartDate("December", "2009"), "01-12-2009");
    EXPECT_EQ(fnMonthStartDate("September", "09"), "01-09-09");
    EXPECT_EQ(fnMonthStartDate(" March", "09"), "");
    EXPECT_EQ(fnMonthStartDate("Sept", "09"), "");
    EXPECT_EQ(fnMonthStartDate("", "09"), "");
}

TEST(DashDate, OnlyTheThirdAndSixthCharactersCount)
{
    EXPECT_TRUE(fnIsDashDate("26-09-08"));
    EXPECT_TRUE(fnIsDashDate("  26-09-08  "));
    EXPECT_TRUE(fnIsDashDate("ab-cd-"));
    EXPECT_FALSE(fnIsDashDate("26/09/08"));
    EXPECT_FALSE(fnIsDashDate("6-09-08"));
    EXPECT_FALSE(fnIsDashDate(""));
    EXPECT_FALSE(fnIsDashDate("26-09"));
}

class Form10Database : public ::testing::Test {
protected:
    void SetUp() override { resetModule2(); }
    void TearDown() override { resetModule2(); }
    long count(const QString& table)
    {
        auto rs = ado::newRecordset();
        rs->Open("SELECT COUNT(*) AS n FROM " + table, Module2().Form10Connection);
        const long n = long(rs->Fields(0).Value().toLongLong());
        rs->Close();
        return n;
    }
    TestProgramFolder folder;
};

TEST_F(Form10Database, EachOpenGivesAFreshConnectionAndClosedRecordsets)
{
    procOpenForm10DB();
    auto& m = Module2();
    ASSERT_TRUE(m.Form10Connection);
    EXPECT_EQ(m.Form10Connection->State(), ado::adStateOpen);
    EXPECT_EQ(m.Form10Connection->ConnectionString,
              "Driver={Microsoft Access Driver (*.mdb)};Dbq=" + folder.path() + "\\nwForm10DB.mdb");
    m.ReadRecordset->Open("SELECT * FROM tblPurchase1", m.Form10Connection);
    const auto firstConnection = m.Form10Connection;
    const auto firstRead = m.ReadRecordset;

    procOpenForm10DB();
    EXPECT_NE(m.Form10Connection, firstConnection);
    EXPECT_NE(m.ReadRecordset, firstRead);
    for (const auto& rs : {m.ReadRecordset, m.StagingRecordset, m.WriteRecordset})
        EXPECT_EQ(rs->State(), ado::adStateClosed);
    // The released objects are not closed.
    EXPECT_EQ(firstRead->State(), ado::adStateOpen);
}

TEST_F(Form10Database, DeleteAllRowsEmptiesTheTable)
{
    procOpenForm10DB();
    Module2().Form10Connection->Execute(
        "INSERT INTO tblRptSales (cCode, cMonth) VALUES ('D1', 'March')");
    Module2().Form10Connection->Execute(
        "INSERT INTO tblRptSales (cCode, cMonth) VALUES ('D2', 'April')");
    ASSERT_EQ(count("tblRptSales"), 2);
    procDeleteAllRows("tblRptSales");
    EXPECT_EQ(Module2().SqlText, "DELETE * FROM  tblRptSales");
    EXPECT_EQ(count("tblRptSales"), 0);
    procDeleteAllRows("tblRptSales");   // an empty table is no error
    EXPECT_EQ(count("tblRptSales"), 0);
}

TEST_F(Form10Database, FailuresGoToTheCaller)
{
    EXPECT_THROW(procDeleteAllRows("tblNoSuchTable"), ado::Error);
    QFile::remove(folder.file("nwForm10DB.mdb"));
    EXPECT_THROW(procOpenForm10DB(), ado::Error);
}

TEST_F(Form10Database, CloseLeavesAnUnopenedConnection)
{
    procOpenForm10DB();
    const auto open = Module2().Form10Connection;
    procCloseForm10DBs();
    ASSERT_TRUE(Module2().Form10Connection);
    EXPECT_NE(Module2().Form10Connection, open);
    EXPECT_EQ(Module2().Form10Connection->State(), ado::adStateClosed);
}

} // namespace
