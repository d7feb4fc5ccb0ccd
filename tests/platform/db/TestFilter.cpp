// The filters the search screens build, applied to a read-only clone as the screens do.
#include "DbFixture.h"

#include "library/SearchFilter.h"

#include <QRegularExpression>

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
        {"Search LIKE '*act*' AND [CIRCULAR NUMBER] LIKE 'c-2'", {"2"}},   // each column's own text
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

// The search box as a user works it: each text filters the screen's clone, most of them
// from the rows the previous text left (a word grown by a character, a word added); the rows
// must be those of the same filter set on a clone with no filter before it, and those a plain
// case-insensitive search of each word picks.
class Narrowing : public DbTest {
protected:
    RecordsetPtr base, typed;
    void SetUp() override
    {
        createDb("n.mdb", "CREATE TABLE docs (ID INTEGER PRIMARY KEY, Search TEXT COLLATE NOCASE);");
        const QStringList cells = {
            "Kerala VAT Act 2003 section 2", "KERALA vat ACT", "kerala value added tax rules", "Dealer's return",
            "D'Souza v State of Kerala", "50% rebate on rate * 2", "[draft] {old} rules", "ÉCOLE Straße",
            "école strasse", "ΣΊΣΥΦΟΣ and σίσυφος", "final ς sigma", "Kelvin \u212A and k", "𐐀𐐁 Deseret", "𐐨𐐩 deseret",
            "കേരള മൂല്യവർധിത നികുതി നിയമം", "an ordinary ascii prefix then ÉCOLE", "İstanbul", "istanbul", "",
            "   ", "tax", "act tax", "taxact", "x", "ZAKAT ZONE tax"};
        QString sql;
        for (const QString& c : cells)
            sql += "INSERT INTO docs (Search) VALUES ('" + QString(c).replace("'", "''") + "');";
        sql += "INSERT INTO docs (Search) VALUES (NULL);";
        createDb("n.mdb", sql.toUtf8().constData());
        base = query(open("n.mdb"), "SELECT ID, Search FROM docs ORDER BY ID");
        typed = base->Clone(adLockReadOnly);
    }
    static QString filterOf(const QString& text)
    {
        return library::buildSearchFilter("Search", adVarWChar, text).filter;
    }
    static void apply(const RecordsetPtr& rs, const QString& filter)
    {
        if (filter.isEmpty())
            rs->setFilterNone();
        else
            rs->setFilter(filter);
    }
    // Rows whose Search holds every typed word, its pieces between wildcards in order.
    QStringList plainSearch(const QString& text)
    {
        const QStringList words = text.simplified().split(' ', Qt::SkipEmptyParts);
        static const QRegularExpression wildcards("[*%\\[\\]{}]");
        QStringList ids;
        auto all = base->Clone(adLockReadOnly);
        for (all->MoveFirst(); !all->Eof(); all->MoveNext()) {
            const Variant v = all->Fields("Search").Value();
            const bool found = std::all_of(words.begin(), words.end(), [&](const QString& word) {
                qsizetype at = 0;
                for (const QString& piece : word.split(wildcards, Qt::SkipEmptyParts)) {
                    at = v.isNull() ? -1 : v.toString().indexOf(piece, at, Qt::CaseInsensitive);
                    if (at < 0)
                        return false;
                    at += piece.size();
                }
                return !v.isNull();
            });
            if (found)
                ids << all->Fields("ID").Value().toString();
        }
        return ids;
    }
    void expectRowsOf(const QString& text)
    {
        apply(typed, filterOf(text));
        auto fresh = base->Clone(adLockReadOnly);
        apply(fresh, filterOf(text));
        const QStringList rows = column(typed, "ID");
        EXPECT_EQ(rows, column(fresh, "ID")) << text.toStdString();
        EXPECT_EQ(rows, plainSearch(text)) << text.toStdString();
    }
    // Every text from one character of `word` to the whole of it, appended to `before`.
    void typeOut(const QString& before, const QString& word)
    {
        for (int i = 1; i <= word.size(); ++i)
            expectRowsOf(before + word.left(i));
    }
};

TEST_F(Narrowing, TypedDeletedAndPastedTextsShowTheRowsOfAFullFilter)
{
    typeOut("", "kerala vat act 2003");
    for (const char* deleted : {"kerala vat act 200", "kerala vat act", "kerala vat ac", "kerala v", "kerala", "kera",
                                "k"})
        expectRowsOf(deleted);
    // pasted over the text, or into it
    for (const char* pasted : {"d'souza", "  tax   act  ", "tax act", "taxact", "act tax x", "ta xact", "kerala dealer"})
        expectRowsOf(pasted);
    typeOut("", "dealer's");
    typeOut("", "[draft] {old}");
    typeOut("", "50% rebate * 2");
    typeOut("", "École STRASSE");
    typeOut("", "straße");
    typeOut("", "σίσυφος ΣΊΣΥΦΟΣ ς");
    typeOut("", "k\u212A");
    typeOut("", "𐐀𐐩 deseret");
    typeOut("", "കേരള നികുതി");
    typeOut("", "prefix then école");
    typeOut("", "İSTANBUL");
    typeOut("", "zone");
    typeOut("", "*");
    expectRowsOf("");
    EXPECT_EQ(typed->RecordCount(), base->RecordCount());
}

// The rows change under the screen's clone between two keystrokes (another cursor on the same
// rows adds, edits or deletes): the next keystroke reflects them.
TEST_F(Narrowing, RowsChangedBetweenKeystrokesAreFilteredAsTheyNowStand)
{
    expectRowsOf("ker");
    typed->MoveFirst();
    typed->Move(2);                                              // on the row deleted below
    base->AddNew();
    base->Fields("Search") = Variant("added kerala row");
    base->Update();
    base->MoveFirst();
    base->Fields("Search") = Variant("no longer one of them");   // was "Kerala VAT Act ..."
    base->Update();
    base->MoveNext();
    base->MoveNext();
    base->Delete();                                              // "kerala value added tax rules"
    base->MoveLast();
    base->MovePrevious();
    base->Fields("Search") = Variant("Kerala now");              // the row that was NULL
    base->Update();
    typeOut("ker", "ala");
    expectRowsOf("kerala ");
    expectRowsOf("kerala r");
    EXPECT_EQ(column(typed, "ID"), (QStringList{"2", "5", "26", "27"}));
}

// Filters set one after the other on one clone, the second of each pair looking like a
// narrower one without being one, beside the second set on a fresh clone.
TEST_F(Filters, ASecondFilterThatOnlyLooksNarrowerSelectsTheRowsItWouldAlone)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"Search LIKE '*act on*'", "Search LIKE '*act*'"},                 // a character removed
        {"Search LIKE 'act*'", "Search LIKE '*act*'"},                     // the first was anchored
        {"Search LIKE '*ct'", "Search LIKE '*act*'"},
        {"Search LIKE '*c*'", "[CIRCULAR NUMBER] LIKE '*c-3*'"},           // another column
        {"Search LIKE '*2*' AND Search LIKE '*a*'", "Search LIKE '*a*'"},
        {"Search LIKE '*act*vat*'", "Search LIKE '*vat act*'"},            // pieces in an order
        {"Amount =12", "Amount =12.5"},
        {"ID >= 2", "ID >= 1"},
        {"Search LIKE '**'", "Search LIKE '*a*' AND ID <> 3"},
    };
    for (const auto& [first, second] : pairs) {
        rs->setFilter(first);
        rs->setFilter(second);
        auto fresh = base->Clone(adLockReadOnly);
        fresh->setFilter(second);
        EXPECT_EQ(ids(), column(fresh, "ID")) << first << " then " << second;
        EXPECT_FALSE(ids().isEmpty()) << second;
    }
}

} // namespace
