// The filter texts the search screen builds for each kind of search column.
#include "library/SearchFilter.h"

#include <gtest/gtest.h>

using library::buildSearchFilter;
using library::FilterOutcome;

namespace {
constexpr int kText = 202, kLong = 3, kCurrency = 6, kBool = 11, kDbDate = 133, kAutoDate = 7,
              kBinary = 205;
}

TEST(SearchFilter, TextWordsBecomeLikeTermsInTypedOrder)
{
    const auto r = buildSearchFilter("Search", kText, "  vat   act ");
    ASSERT_EQ(r.kind, FilterOutcome::Apply);
    EXPECT_EQ(r.filter, "Search LIKE '*vat*' AND Search LIKE '*act*'");

    EXPECT_EQ(buildSearchFilter("Search", kText, "sale").filter, "Search LIKE '*sale*'");
    // every text type of the group filters the same way
    for (int t : {8, 129, 130, 200, 201, 203})
        EXPECT_EQ(buildSearchFilter("S", t, "a b").filter, "S LIKE '*a*' AND S LIKE '*b*'") << t;
}

TEST(SearchFilter, QuotesAreDoubledAndBracketsBecomeWildcards)
{
    EXPECT_EQ(buildSearchFilter("Search", kText, "dealer's").filter, "Search LIKE '*dealer''s*'");
    EXPECT_EQ(buildSearchFilter("Search", kText, "[a]{b}").filter, "Search LIKE '*%a%%b%*'");
}

TEST(SearchFilter, EmptyOrBlankTextClearsTheFilterForEveryType)
{
    for (int t : {kText, kLong, kCurrency, kBool, kDbDate}) {
        const auto r = buildSearchFilter("F", t, "   ");
        EXPECT_EQ(r.kind, FilterOutcome::Apply) << t;
        EXPECT_TRUE(r.filter.isEmpty()) << t;
    }
}

TEST(SearchFilter, NumericAndCurrencyColumnsTakeNumbersOnly)
{
    EXPECT_EQ(buildSearchFilter("ID", kLong, "12").filter, "ID =12");
    EXPECT_EQ(buildSearchFilter("ID", kLong, " 12.5 ").filter, "ID =12.5");

    const auto bad = buildSearchFilter("ID", kLong, "12a");
    EXPECT_EQ(bad.kind, FilterOutcome::Reject);
    EXPECT_EQ(bad.message, "Not a valid numeric.\r\nPlease enter a numeric value.");

    const auto money = buildSearchFilter("Amt", kCurrency, "x");
    EXPECT_EQ(money.kind, FilterOutcome::Reject);
    EXPECT_EQ(money.message, "Not a valid Currency.\r\nPlease enter a numeric value.");
    EXPECT_EQ(buildSearchFilter("Amt", kCurrency, "7").filter, "Amt =7");
}

TEST(SearchFilter, TruthColumnsAcceptWordsNumbersAndStaySilentOnPrefixes)
{
    EXPECT_EQ(buildSearchFilter("Flag", kBool, "TRUE").filter, "Flag =TRUE");
    EXPECT_EQ(buildSearchFilter("Flag", kBool, "-1").filter, "Flag =-1");
    EXPECT_EQ(buildSearchFilter("Flag", kBool, "tr").kind, FilterOutcome::Silent);
    EXPECT_EQ(buildSearchFilter("Flag", kBool, "FALS").kind, FilterOutcome::Silent);
    const auto bad = buildSearchFilter("Flag", kBool, "yes");
    EXPECT_EQ(bad.kind, FilterOutcome::Reject);
    EXPECT_EQ(bad.message,
              "Not a valid boolean.\r\nPlease enter ('True' or 'False' or a numeric value).");
}

TEST(SearchFilter, DateColumnsFilterOneDay)
{
    const auto r = buildSearchFilter("D", kDbDate, "18-Dec-1982");
    ASSERT_EQ(r.kind, FilterOutcome::Apply);
    EXPECT_EQ(r.filter, "D>=#18/Dec/1982# AND D<#19/Dec/1982# ");
    // the last day of a year rolls into the next
    EXPECT_EQ(buildSearchFilter("D", 135, "31/12/1999").filter,
              "D>=#31/Dec/1999# AND D<#01/Jan/2000# ");
    EXPECT_EQ(buildSearchFilter("D", kDbDate, "18-Dec").kind, FilterOutcome::Silent);
    const auto bad = buildSearchFilter("D", kDbDate, "18-Dec-19x2");
    EXPECT_EQ(bad.kind, FilterOutcome::Reject);
    EXPECT_EQ(bad.message, "Not a valid date.\r\nPlease enter a valid date. Eg. 18-Dec-1982");
}

TEST(SearchFilter, OtherTypesNeverFilter)
{
    for (int t : {kAutoDate, kBinary, 0}) {
        const auto r = buildSearchFilter("F", t, "anything");
        EXPECT_EQ(r.kind, FilterOutcome::Apply);
        EXPECT_TRUE(r.filter.isEmpty());
    }
}

TEST(SearchFilter, DatesAreReadInTheFormsUsersType)
{
    const QDate d(1982, 12, 18);
    for (const char* text : {"18-Dec-1982", "18/12/1982", "18 December 1982", "1982-12-18",
                             "18-dec-82", "Dec 18, 1982"})
        EXPECT_EQ(library::parseSearchDate(text), d) << text;
    for (const char* text : {"31-Feb-2001", "18-Dex-1982", "18-Dec", "hello"})
        EXPECT_FALSE(library::parseSearchDate(text).isValid()) << text;
}
