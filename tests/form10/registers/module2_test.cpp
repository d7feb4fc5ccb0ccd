// The Form 10 database services and the register screen's small text services.
#include "register_support.h"

#include "platform/db/Error.h"
#include "platform/db/Recordset.h"

namespace {

TEST(TextServices, ABillDateMustNameARealDateTheDashCheckAndTheMonthStart)
{
    // Separators are not examined.
    for (const auto& [text, date] : std::map<const char*, QDate>{{" 05-03-09 ", {2009, 3, 5}}, {"26/09/08", {2008, 9, 26}},
                                                                 {"29-02-08", {2008, 2, 29}}, {"01-01-95", {1995, 1, 1}}})
        EXPECT_EQ(fnDateFromDMY(text), date) << text;
    // Exactly dd-mm-yy: a longer text is never read as some other date.
    for (const char* text : {"31-02-08", "29-02-09", "ab-cd-ef", "00-01-09", "01-13-09", "1-9-08", "", "26-09",
                             "05-12-2009", "05-12-209", "05-12-09x", "05-12-09 x", "105-12-09"}) {
        try {
            fnDateFromDMY(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const ado::Error& e) {
            EXPECT_EQ(e.Number(), ado::err::TypeMismatch) << text;
        }
    }
    // The month start (Ctrl+D) and the dash check Enter makes.
    EXPECT_EQ(fnMonthStartDate("mArCh", "09"), "01-03-09");
    EXPECT_EQ(fnMonthStartDate("December", "2009"), "01-12-2009");
    for (const char* name : {" March", "Sept", ""})
        EXPECT_EQ(fnMonthStartDate(name, "09"), "") << name;
    EXPECT_TRUE(fnIsDashDate("  26-09-08  "));
    EXPECT_TRUE(fnIsDashDate("ab-cd-"));
    for (const char* text : {"26/09/08", "6-09-08", "", "26-09"})
        EXPECT_FALSE(fnIsDashDate(text)) << text;
}

using Form10Database = f10test::Form10Test;

// The month's steps drive the rest of these services (the save, export and backup tests).
TEST_F(Form10Database, EachOpenGivesAFreshConnectionAndClosedRecordsetsAndDeleteAllRowsEmptiesATable)
{
    procOpenForm10DB();
    auto& m = Module2();
    m.ReadRecordset->Open("SELECT * FROM tblPurchase1", m.Form10Connection);
    const auto firstRead = m.ReadRecordset;
    procOpenForm10DB();
    for (const auto& rs : {m.ReadRecordset, m.StagingRecordset, m.WriteRecordset})
        EXPECT_EQ(rs->State(), ado::adStateClosed);
    EXPECT_EQ(firstRead->State(), ado::adStateOpen);   // released, not closed
    m.Form10Connection->Execute("INSERT INTO tblRptSales (cCode, cMonth) VALUES ('D1', 'March'), ('D2', 'May')");
    procDeleteAllRows("tblRptSales");
    EXPECT_EQ(f10test::count(folder.file("nwForm10DB.mdb"), "tblRptSales"), 0);
}

} // namespace
