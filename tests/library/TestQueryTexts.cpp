// The texts the library builds: the filter a typed search becomes, the statements that turn a
// chosen row into a document query, and the screen catalogue's queries.
#include "library/DocumentQueries.h"
#include "library/ScreenCatalog.h"
#include "library/SearchFilter.h"
#include "platform/db/RecordsetFilter.h"

#include <gtest/gtest.h>

using namespace library;

namespace {
constexpr int kText = 202, kLong = 3, kCurrency = 6, kBool = 11, kDbDate = 133;
const QString kNotNumeric = "Not a valid numeric.\r\nPlease enter a numeric value.";
} // namespace

TEST(SearchFilter, EachColumnTypeGivesItsFilterOrItsMessage)
{
    struct Case {
        int type;
        const char* typed;
        FilterOutcome::Kind kind;
        QString text;   // the filter, or the message of a refusal
    };
    const Case cases[] = {
        {kText, "  vat   act ", FilterOutcome::Apply, "F LIKE '*vat*' AND F LIKE '*act*'"},
        {kText, "dealer's", FilterOutcome::Apply, "F LIKE '*dealer''s*'"},
        {kText, "[a]{b}", FilterOutcome::Apply, "F LIKE '*%a%%b%*'"},
        {kText, "   ", FilterOutcome::Apply, ""},
        {kLong, "   ", FilterOutcome::Apply, ""},
        {kDbDate, "", FilterOutcome::Apply, ""},
        {kLong, " 12.5 ", FilterOutcome::Apply, "F =12.5"},
        {kLong, "12a", FilterOutcome::Reject, kNotNumeric},
        {kCurrency, "7", FilterOutcome::Apply, "F =7"},
        {kCurrency, "x", FilterOutcome::Reject, "Not a valid Currency.\r\nPlease enter a numeric value."},
        {kBool, "TRUE", FilterOutcome::Apply, "F =TRUE"},
        {kBool, "-1", FilterOutcome::Apply, "F =-1"},
        {kBool, "FALS", FilterOutcome::Silent, ""},
        {kBool, "yes", FilterOutcome::Reject, "Not a valid boolean.\r\nPlease enter ('True' or 'False' or a numeric value)."},
        {kDbDate, "18-Dec-1982", FilterOutcome::Apply, "F>=#18/Dec/1982# AND F<#19/Dec/1982# "},
        {135, "31/12/1999", FilterOutcome::Apply, "F>=#31/Dec/1999# AND F<#01/Jan/2000# "},
        {kDbDate, "18-Dec", FilterOutcome::Silent, ""},
        {kDbDate, "18-Dec-19x2", FilterOutcome::Reject, "Not a valid date.\r\nPlease enter a valid date. Eg. 18-Dec-1982"},
        {7, "anything", FilterOutcome::Apply, ""},     // other types never filter
        {205, "anything", FilterOutcome::Apply, ""},
    };
    for (const Case& c : cases) {
        const auto r = buildSearchFilter("F", c.type, c.typed);
        EXPECT_EQ(r.kind, c.kind) << c.type << " " << c.typed;
        EXPECT_EQ(r.kind == FilterOutcome::Reject ? r.message : r.filter, c.text) << c.type << " " << c.typed;
    }
    for (int t : {8, 129, 130, 200, 201, 203})   // every text type filters the same way
        EXPECT_EQ(buildSearchFilter("F", t, "a b").filter, "F LIKE '*a*' AND F LIKE '*b*'") << t;
}

TEST(SearchFilter, DatesAreReadInTheFormsUsersType)
{
    for (const char* text : {"18-Dec-1982", "18/12/1982", "18 December 1982", "1982-12-18", "18-dec-82", "Dec 18, 1982",
                             "18 Decem 1982"})
        EXPECT_EQ(parseSearchDate(text), QDate(1982, 12, 18)) << text;
    for (const char* text : {"31-Feb-2001", "18-Dex-1982", "18-De-1982", "18-Dec", "hello"})
        EXPECT_FALSE(parseSearchDate(text).isValid()) << text;
    // A short year is a date, and its range is one the recordset's filter reads back.
    EXPECT_EQ(parseSearchDate("18-Dec-198"), QDate(198, 12, 18));
    EXPECT_EQ(ado::filter::parseDateLiteral(formatFilterDate(QDate(198, 12, 18))), QDate(198, 12, 18));
    // Typing a date key by key is never refused.
    for (const QString full : {"18-Dec-1982", "18 Dec 1982"})
        for (int n = 1; n <= full.size(); ++n)
            EXPECT_NE(buildSearchFilter("F", kDbDate, full.left(n)).kind, FilterOutcome::Reject) << full.left(n).toStdString();
}

// The other statement shapes are checked on every screen's road to its document.
TEST(DocumentQueries, StatementsKeepTheirBlanksAndDoubleQuotesAndOnlyNumbersMakeNumericKeys)
{
    EXPECT_EQ(goQueryText("fname", "Kerala", "name", "12", "  and type='Act' "),
              "select fname from Kerala where name='12' and type='Act'");
    EXPECT_EQ(goQueryText("fname", "Kerala", "name", "Dealer's Guide", ""),
              "select fname from Kerala where name='Dealer''s Guide' ");
    EXPECT_EQ(nameStatement("Globalvatse", "O'Brien v State"), "select fname from Globalvatse where name='O''Brien v State'");
    for (auto [cell, name] : {std::pair{"A-B-C", "B-C"}, {"AB", ""}, {"AB-", ""}, {"Sec 6 - Levy ", " Levy "}})
        EXPECT_EQ(indexDocumentName(cell), name) << cell;   // nothing trimmed

    for (const ado::Variant& v : {ado::Variant(qint64(7)), ado::Variant(7.0), ado::Variant(" 7 ")})
        EXPECT_EQ(numericKeyText(v).value_or("none"), "7");
    for (const ado::Variant& v : {ado::Variant::null(), ado::Variant(), ado::Variant("7 or 1=1")})
        EXPECT_FALSE(numericKeyText(v).has_value());
}

TEST(ScreenCatalog, TenScreensHandleTheirBack)
{
    const auto& all = screenCatalog();
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const ScreenSpec& s) { return s.hasBackHandler; }), 10);
}
