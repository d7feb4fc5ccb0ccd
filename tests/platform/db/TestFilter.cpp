// The filters the search screens build, applied to a read-only clone as the screens do.
#include "DbFixture.h"

using namespace ado;
using dbtest::DbTest;

namespace {

class Filters : public DbTest {
protected:
    RecordsetPtr base, rs;
    void SetUp() override
    {
        createDb("f.mdb", "CREATE TABLE docs (ID INTEGER, Search TEXT COLLATE NOCASE, [CIRCULAR NUMBER] TEXT, "
                          "Amount REAL, Flag BOOLEAN, Issued DATE);"
                          "INSERT INTO docs VALUES (1, 'Kerala VAT Act section 2', 'C-1', 12, 1, '1982-12-18');"
                          "INSERT INTO docs VALUES (2, 'Act on value added tax', 'C-2', 12.5, 0, '1982-12-19');"
                          "INSERT INTO docs VALUES (3, 'D''Souza v State', 'C-3', 0, 1, '1982-12-17');"
                          "INSERT INTO docs VALUES (4, NULL, NULL, NULL, NULL, NULL);"
                          "INSERT INTO docs VALUES (5, 'Rules [old] 50% {draft}', 'c-4', -3, 0, '2009-03-05');");
        base = query(open("f.mdb"), "SELECT * FROM docs ORDER BY ID");
        rs = base->Clone(adLockReadOnly);
    }
    QStringList ids() { return column(rs, "ID"); }
    long errorOf(const QString& filter)
    {
        const Error e = dbtest::caught([&] { rs->setFilter(filter); });
        EXPECT_FALSE(e.Description().isEmpty());
        return e.Number();
    }
};

TEST_F(Filters, EachFormOfTheGrammarSelectsItsRows)
{
    const std::pair<const char*, QStringList> cases[] = {
        // words joined by AND match anywhere, in any order, without regard to case
        {"Search LIKE '*vat*' AND Search LIKE '*act*'", {"1"}},
        {"Search LIKE '*act*' AND Search LIKE '*kerala*'", {"1"}},
        {"Search LIKE '*ACT*'", {"1", "2"}},
        {"Search LIKE 'act*'", {"2"}},
        {"Search LIKE '*2'", {"1"}},
        // a doubled quote; a typed "[" or "}" reaches the filter as "%", a wildcard
        {"Search LIKE '*d''souza*'", {"3"}},
        {"Search LIKE '*rules %old%*'", {"5"}},
        {"Search LIKE '*draft%*'", {"5"}},
        // Null never matches
        {"Search LIKE '**'", {"1", "2", "3", "5"}},
        {"Amount <> 12", {"2", "3", "5"}},
        // numbers and truth values
        {"Amount =12", {"1"}},
        {"Amount =12.5", {"2"}},
        {"Amount =-3", {"5"}},
        {"Flag =TRUE", {"1", "3"}},
        {"Flag =false", {"2", "5"}},
        {"Flag =-1", {"1", "3"}},
        {"Flag =0", {"2", "5"}},
        {"ID >= 2 AND ID < 4", {"2", "3"}},
        // the one-day date range
        {"Issued>=#18/Dec/1982# AND Issued<#19/Dec/1982# ", {"1"}},
        {"Issued>=#05/Mar/2009# AND Issued<#06/Mar/2009# ", {"5"}},
        // text equality and a caption with a blank, bracketed or not
        {"[CIRCULAR NUMBER] = 'C-4'", {"5"}},
        {"CIRCULAR NUMBER LIKE '*-2*'", {"2"}},
        {"search = 'ACT ON VALUE ADDED TAX'", {"2"}},
    };
    for (const auto& [filter, expected] : cases) {
        rs->setFilter(filter);
        EXPECT_EQ(ids(), expected) << filter;
        EXPECT_EQ(rs->RecordCount(), expected.size()) << filter;
    }
    EXPECT_EQ(rs->Filter(), "search = 'ACT ON VALUE ADDED TAX'");
}

// A date column under another name is still the time stamp type the screens filter by day.
TEST_F(Filters, DateColumnUnderAnotherNameIsATimeStampAndFiltersByDay)
{
    auto aliased = query(open("f.mdb"), "SELECT ID, Issued AS Search FROM docs ORDER BY ID");
    EXPECT_EQ(aliased->Fields("Search").Type(), adDBTimeStamp);
    rs = aliased->Clone(adLockReadOnly);
    rs->setFilter("Search>=#18/Dec/1982# AND Search<#19/Dec/1982# ");
    EXPECT_EQ(ids(), (QStringList{"1"}));
}

TEST_F(Filters, FirstMatchingRowBecomesCurrentAndClearingRestoresAllRowsAtTheFirst)
{
    rs->MoveLast();
    rs->setFilter("Search LIKE '*tax*'");
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    EXPECT_EQ(rs->Fields("ID").Value().toLongLong(), 2);
    EXPECT_EQ(base->RecordCount(), 5);   // the owner stays unfiltered
    rs->setFilter("Search LIKE '*nothing like this*'");
    EXPECT_TRUE(rs->Eof() && rs->Bof());
    EXPECT_TRUE(rs->Bookmark().isNull());
    rs->setFilter("Search LIKE '*act*'");
    rs->MoveLast();
    rs->setFilterNone();
    EXPECT_EQ(rs->RecordCount(), 5);
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    EXPECT_EQ(rs->Filter(), "");
    rs->setFilter("Search LIKE '*act*'");
    rs->setFilter("");
    EXPECT_EQ(rs->RecordCount(), 5);
}

TEST_F(Filters, TextsOutsideTheGrammarAreError3001AndKeepTheFilterInForce)
{
    rs->setFilter("Search LIKE '*act*'");
    for (const char* bad : {"Search LIKE", "Search LIKE '*act", "Nope LIKE '*a*'", "Search LIKE '*a*' OR ID = 1",
                            "Search ~ 'a'", "(ID = 1)", "ID = 12a", "ID = NULL", "Search LIKE 12",
                            "Issued>=#31/Feb/2009#", "ID = 1 AND", "= 3", "Search LIKE '*a*' Search LIKE '*b*'"}) {
        EXPECT_EQ(errorOf(bad), err::FilterInvalid) << bad;
        EXPECT_EQ(rs->Filter(), "Search LIKE '*act*'") << bad;
        EXPECT_EQ(rs->RecordCount(), 2) << bad;
    }
}

} // namespace
