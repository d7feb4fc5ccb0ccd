// The filters the search screens build, applied to a read-only clone as the screens do.
#include "DbFixture.h"

#include <platform/db/Error.h>

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
        try {
            rs->setFilter(filter);
        } catch (const Error& e) {
            EXPECT_FALSE(e.Description().isEmpty());
            return e.Number();
        }
        return 0;
    }
};

TEST_F(Filters, WordTermsJoinedByAndMatchAnywhereWithoutRegardToCase)
{
    rs->setFilter("Search LIKE '*vat*' AND Search LIKE '*act*'");
    EXPECT_EQ(ids(), (QStringList{"1"}));
    rs->setFilter("Search LIKE '*ACT*'");
    EXPECT_EQ(ids(), (QStringList{"1", "2"}));
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Filter(), "Search LIKE '*ACT*'");
    // order of words does not matter
    rs->setFilter("Search LIKE '*act*' AND Search LIKE '*kerala*'");
    EXPECT_EQ(ids(), (QStringList{"1"}));
}

TEST_F(Filters, FirstMatchingRowBecomesCurrentAndOwnerStaysUnfiltered)
{
    rs->MoveLast();
    rs->setFilter("Search LIKE '*tax*'");
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    EXPECT_EQ(rs->Fields("ID").Value().toLongLong(), 2);
    EXPECT_EQ(base->RecordCount(), 5);
    rs->setFilter("Search LIKE '*nothing like this*'");
    EXPECT_TRUE(rs->Eof());
    EXPECT_TRUE(rs->Bof());
    EXPECT_TRUE(rs->Bookmark().isNull());
}

TEST_F(Filters, DoubledQuoteAndPercentWildcardFromTypedBrackets)
{
    rs->setFilter("Search LIKE '*d''souza*'");
    EXPECT_EQ(ids(), (QStringList{"3"}));
    // a typed "[" or "}" reaches the filter as "%", a wildcard
    rs->setFilter("Search LIKE '*rules %old%*'");
    EXPECT_EQ(ids(), (QStringList{"5"}));
    rs->setFilter("Search LIKE '*draft%*'");
    EXPECT_EQ(ids(), (QStringList{"5"}));
    rs->setFilter("Search LIKE 'act*'");
    EXPECT_EQ(ids(), (QStringList{"2"}));
    rs->setFilter("Search LIKE '*2'");
    EXPECT_EQ(ids(), (QStringList{"1"}));
}

TEST_F(Filters, NullNeverMatches)
{
    rs->setFilter("Search LIKE '**'");
    EXPECT_EQ(ids(), (QStringList{"1", "2", "3", "5"}));
    rs->setFilter("Amount <> 12");
    EXPECT_EQ(ids(), (QStringList{"2", "3", "5"}));
}

TEST_F(Filters, NumericAndBooleanEquality)
{
    rs->setFilter("Amount =12");
    EXPECT_EQ(ids(), (QStringList{"1"}));
    rs->setFilter("Amount =12.5");
    EXPECT_EQ(ids(), (QStringList{"2"}));
    rs->setFilter("Amount =-3");
    EXPECT_EQ(ids(), (QStringList{"5"}));
    rs->setFilter("Flag =TRUE");
    EXPECT_EQ(ids(), (QStringList{"1", "3"}));
    rs->setFilter("Flag =false");
    EXPECT_EQ(ids(), (QStringList{"2", "5"}));
    rs->setFilter("Flag =-1");
    EXPECT_EQ(ids(), (QStringList{"1", "3"}));
    rs->setFilter("Flag =0");
    EXPECT_EQ(ids(), (QStringList{"2", "5"}));
    rs->setFilter("ID >= 2 AND ID < 4");
    EXPECT_EQ(ids(), (QStringList{"2", "3"}));
}

TEST_F(Filters, OneDayDateRange)
{
    rs->setFilter("Issued>=#18/Dec/1982# AND Issued<#19/Dec/1982# ");
    EXPECT_EQ(ids(), (QStringList{"1"}));
    rs->setFilter("Issued>=#05/Mar/2009# AND Issued<#06/Mar/2009# ");
    EXPECT_EQ(ids(), (QStringList{"5"}));
}

TEST_F(Filters, TextEqualityAndBracketedCaptionWithBlank)
{
    rs->setFilter("[CIRCULAR NUMBER] = 'C-4'");
    EXPECT_EQ(ids(), (QStringList{"5"}));
    rs->setFilter("CIRCULAR NUMBER LIKE '*-2*'");
    EXPECT_EQ(ids(), (QStringList{"2"}));
    rs->setFilter("search = 'ACT ON VALUE ADDED TAX'");
    EXPECT_EQ(ids(), (QStringList{"2"}));
}

TEST_F(Filters, ClearingRestoresAllRowsAtTheFirst)
{
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

TEST_F(Filters, RowsAddedThroughTheOwnerAppearWhenTheyMatch)
{
    auto cn = open("f.mdb");
    auto owner = query(cn, "SELECT * FROM docs ORDER BY ID");
    auto view = owner->Clone(adLockReadOnly);
    view->setFilter("Search LIKE '*act*'");
    owner->AddNew();
    owner->Fields("ID") = Variant(6);
    owner->Fields("Search") = Variant("Another ACT");
    owner->Update();
    owner->AddNew();
    owner->Fields("ID") = Variant(7);
    owner->Fields("Search") = Variant("unrelated");
    owner->Update();
    EXPECT_EQ(column(view, "ID"), (QStringList{"1", "2", "6"}));
}

} // namespace
