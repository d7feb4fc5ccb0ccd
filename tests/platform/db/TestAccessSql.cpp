// The Access dialect: each translated shape checked on the text it becomes and on what the
// engine then returns; string literals pass through untouched.
#include "DbFixture.h"
#include "DecimalCommaLocale.h"

#include <QElapsedTimer>

#include <platform/db/AccessSql.h>
#include <platform/db/Error.h>

using namespace ado;
using dbtest::DbTest;

namespace {

QString sqlite(const QString& access) { return QString::fromUtf8(accesssql::translate(access).sql); }

TEST(AccessTranslate, LiteralsPassThroughUntouched)
{
    const QString lit = "'a + b & c * Left(x) [y] True #1/2/2009# DELETE * FROM '' \" ;'";
    EXPECT_TRUE(sqlite("SELECT " + lit + " AS v").contains(lit));
    EXPECT_EQ(sqlite("DELETE * FROM  t WHERE a='DELETE * FROM'"), "DELETE FROM  t WHERE a='DELETE * FROM' COLLATE NOCASE");
    EXPECT_TRUE(sqlite("UPDATE t SET a= 'x + y',b= 'DELETE * FROM'  WHERE k='1'").contains("'x + y'"));
    EXPECT_TRUE(sqlite("SELECT \"a'b\" AS v").contains("'a''b'"));
    // the wildcard rewrite of LIKE applies to its pattern only; a pattern joined from pieces
    // has the wildcards of each piece, but a literal handed to a function inside it, or one
    // after the pattern, is data
    EXPECT_EQ(sqlite("SELECT 'a*b?' AS v, x FROM t WHERE x LIKE 'a*'"),
              "SELECT 'a*b?' AS v, x FROM t WHERE x LIKE 'a%'");
    EXPECT_EQ(sqlite("SELECT x FROM t WHERE x Like '*' & y & '?' AND z = 'a*'"),
              "SELECT x FROM t WHERE x Like acc_concat(acc_concat('%' , y ), '_') AND z = 'a*' COLLATE NOCASE");
    EXPECT_EQ(sqlite("SELECT x FROM t WHERE x LIKE Trim('*') & '*'"),
              "SELECT x FROM t WHERE x LIKE acc_concat(acc_trim('*') , '%')");
}

TEST(AccessTranslate, DeleteStarAndFunctionNames)
{
    EXPECT_EQ(sqlite("DELETE * FROM  tblRptSales"), "DELETE FROM  tblRptSales");
    EXPECT_EQ(sqlite("delete  *  from t"), "delete  from t");
    EXPECT_EQ(sqlite("SELECT Left(a,1), RIGHT(a,2), lcase(a) FROM t"),
              "SELECT acc_left(a,1), acc_right(a,2), acc_lcase(a) FROM t");
    // a column that happens to be called like a function is left alone
    EXPECT_EQ(sqlite("SELECT t.Left, [Len] FROM t"), "SELECT t.Left, [Len] FROM t");
    EXPECT_EQ(sqlite("SELECT a FROM t LEFT JOIN u ON t.k = u.k"), "SELECT a FROM t LEFT JOIN u ON t.k = u.k");
}

TEST(AccessTranslate, OnlyPlainSingleTableSelectsReadTheRowid)
{
    EXPECT_GE(accesssql::translate("SELECT * FROM t WHERE a = 1 ORDER BY b").rowidInsertAt, 0);
    for (const char* sql : {"SELECT DISTINCT a FROM t", "SELECT count(*) FROM t", "SELECT a FROM t, u",
                            "SELECT a FROM t GROUP BY a", "SELECT a FROM t JOIN u ON 1",
                            "SELECT a FROM (SELECT a FROM t)", "DELETE FROM t", "SELECT a FROM t UNION SELECT a FROM u"})
        EXPECT_LT(accesssql::translate(sql).rowidInsertAt, 0) << sql;
}

// A chain of 40,000 operators translates in linear time; nesting past 200 levels is refused.
TEST(AccessTranslate, LongChainsTranslateInOnePassAndDeepNestingIsRefused)
{
    const auto terms = [](int n, const QString& op) {
        QString s = "a";
        for (int i = 1; i < n; ++i)
            s += op + "a";
        return s;
    };
    QElapsedTimer clock;
    clock.start();
    const QString longest = sqlite("SELECT " + terms(40000, " + ") + " FROM t WHERE b = " + terms(40000, "&"));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(longest.count("acc_plus("), 39999);
    EXPECT_EQ(longest.count("acc_concat("), 39999);
    EXPECT_TRUE(longest.section(" WHERE ", 0, 0).endsWith("), a ), a) FROM t")) << longest.left(60).toStdString();
    EXPECT_TRUE(longest.endsWith(",a),a)")) << longest.right(20).toStdString();
    // the same shapes short; "-" alone adds no call
    EXPECT_EQ(sqlite("SELECT " + terms(4, " & ")), "SELECT acc_concat(acc_concat(acc_concat(a , a ), a ), a)");
    EXPECT_EQ(sqlite("SELECT a + b - c + d - e WHERE b = a + 'x' & c"),
              "SELECT acc_plus(acc_plus(a , b )- c , d )- e WHERE b = acc_concat(acc_plus(a , 'x' ), c)");
    const QString deepest = "SELECT " + QString(200, '(') + "1 + 2" + QString(200, ')');
    EXPECT_EQ(sqlite(deepest), "SELECT " + QString(200, '(') + "acc_plus(1 , 2)" + QString(200, ')'));
    for (int levels : {201, 6000, 100000}) {
        const Error e = dbtest::caught([&] { sqlite("SELECT " + QString(levels, '(') + "1" + QString(levels, ')')); });
        EXPECT_EQ(e.Number(), err::SyntaxError) << levels;
        EXPECT_EQ(e.Description().toStdString(),
                  "The statement is too complex: it nests parentheses more than 200 levels deep.");
    }
}

class Dialect : public DbTest {
protected:
    ConnectionPtr cn;
    void SetUp() override
    {
        createDb("d.mdb", "CREATE TABLE t (id INTEGER, name TEXT COLLATE NOCASE, descr TEXT COLLATE NOCASE, "
                          "amount REAL, d DATE, flag BOOLEAN);"
                          "INSERT INTO t VALUES (1, 'Act', 'First', 10.5, '2009-03-01', 1);"
                          "INSERT INTO t VALUES (2, 'rules', NULL, NULL, '2009-03-15', 0);"
                          "INSERT INTO t VALUES (3, NULL, 'Third', 2, NULL, NULL);"
                          "INSERT INTO t VALUES (4, 'a*b', 'x?y', 3, '2009-04-01', 1);"
                          "CREATE TABLE q (id INTEGER, name TEXT COLLATE NOCASE, descr TEXT COLLATE NOCASE);"
                          "INSERT INTO q VALUES (1, 'Act', 'First'), (2, 'it''s', NULL), (3, NULL, 'a+b & c'),"
                          " (4, 'March ', 'say \"hi\"');");
        cn = open("d.mdb");
    }
    // The single value of a one-row, one-column statement.
    Variant value(const QString& sql)
    {
        auto rs = query(cn, sql);
        EXPECT_EQ(rs->RecordCount(), 1) << sql.toStdString();
        return rs->RecordCount() ? rs->Fields(0).Value() : Variant();
    }
    QStringList ids(const QString& where, const QString& table = "t")
    {
        return column(query(cn, "SELECT id FROM " + table + " WHERE " + where + " ORDER BY id"), "id");
    }
};

// Each statement's single value as display text ("<Null>" for Null).
TEST_F(Dialect, OperatorsAndFunctionsReturnWhatAccessReturns)
{
    const std::pair<const char*, const char*> cases[] = {
        // + adds numbers and joins texts, Null giving Null
        {"SELECT 'a' + 'b'", "ab"}, {"SELECT 'a' + NULL", "<Null>"}, {"SELECT 1.5 + 2", "3.5"}, {"SELECT '5' + 1", "6"},
        {"SELECT 2 + 3 * 4", "14"}, {"SELECT 10 - 2 + 3", "11"}, {"SELECT (1 + 2) * 3", "9"}, {"SELECT -1 + 2", "1"},
        {"SELECT id + amount FROM t WHERE id = 2", "<Null>"}, {"SELECT amount + id FROM t WHERE id = 1", "11.5"},
        {"SELECT name + ' ' + descr FROM t WHERE id = 1", "Act First"},
        {"SELECT name + ' ' + descr FROM t WHERE id = 2", "<Null>"},
        // & treats Null as empty unless both are Null, and binds looser than +
        {"SELECT 'a' & NULL", "a"}, {"SELECT NULL & NULL", "<Null>"}, {"SELECT 'n' & 12", "n12"},
        {"SELECT 'v' & 1.5", "v1.5"}, {"SELECT 'a' & 1 + 2", "a3"}, {"SELECT 1 + 2 & 3", "33"},
        {"SELECT id & '-' & amount FROM t WHERE id = 1", "1-10.5"},
        {"SELECT (name) & ' ' & (descr) FROM t WHERE id = 2", "rules "},
        {"SELECT name & '-' & descr FROM t WHERE id = 3", "-Third"},
        // text functions
        {"SELECT UCase('éa')", "ÉA"}, {"SELECT Len('ñá')", "2"}, {"SELECT Len(NULL)", "<Null>"},
        {"SELECT InStr('a-b-c', '-')", "2"}, {"SELECT InStr(3, 'a-b-c', '-')", "4"}, {"SELECT InStr(9, 'abc', 'a')", "0"},
        {"SELECT InStr('ab', 'abc')", "0"}, {"SELECT InStr(3, 'xAbab', 'aB')", "4"}, {"SELECT InStr(1, NULL, '-')", "<Null>"},
        {"SELECT InStr(3, 'abc', '')", "3"}, {"SELECT InStr(4, 'abc', 'c')", "0"}, {"SELECT InStr('ÄBC-x', 'bc-')", "2"},
        // a fourth argument of 0 compares binary
        {"SELECT InStr(1, 'abcB', 'B', 0)", "4"}, {"SELECT InStr(1, 'abcB', 'B', 1)", "2"}, {"SELECT InStr(1, 'abcb', 'B', 0)", "0"},
        {"SELECT Left('ab', 5)", "ab"}, {"SELECT Left('abc', 0)", ""}, {"SELECT Left(NULL, 2)", "<Null>"},
        {"SELECT Left(12345, 2)", "12"}, {"SELECT Right('abc', 9)", "abc"}, {"SELECT Mid('abcdef', 2, 3)", "bcd"},
        {"SELECT Mid('abcdef', 4)", "def"}, {"SELECT Mid('abc', 5)", ""}, {"SELECT Mid('abc', 2, 99)", "bc"},
        {"SELECT Trim('  a b  ')", "a b"}, {"SELECT LTrim('  a ')", "a "}, {"SELECT RTrim('  a ')", "  a"},
        // conversions and choices; IIf evaluates only the chosen branch
        {"SELECT Val('12abc')", "12"}, {"SELECT Val(' 1 2.5x')", "12.5"}, {"SELECT Val('abc')", "0"},
        {"SELECT Nz(NULL, 'none')", "none"}, {"SELECT Nz(NULL)", ""}, {"SELECT Nz(5, 0)", "5"},
        {"SELECT IIf(1 > 0, 'yes', 'no')", "yes"}, {"SELECT IIf(NULL, 'yes', 'no')", "no"},
        // the index label of a cell: the part before its first dash
        {"SELECT IIf(InStr(1,'abc','-')>0, Left('abc', InStr(1,'abc','-')-1), 'abc')", "abc"},
        {"SELECT IIf(InStr(1,'a-b-c','-')>0,Left('a-b-c',InStr(1,'a-b-c','-')-1),'a-b-c')", "a"},
        {"SELECT IIf(InStr(1,'-x','-')>0,Left('-x',InStr(1,'-x','-')-1),'-x')", ""},
        {"SELECT IIf(InStr(1,[t].[name],'-')>0,Left([t].[name],InStr(1,[t].[name],'-')-1),[t].[name]) FROM t WHERE id=3",
         "<Null>"},
        {"SELECT IIf(True, IIf(False, 1, 2), 3)", "2"}, {"SELECT CStr(12)", "12"}, {"SELECT CLng(2.5)", "2"},
        {"SELECT Format(2.675, '#0.00')", "2.68"},
        // literals with escapes and operators come back as written
        {"SELECT 'it''s' & ''", "it's"}, {"SELECT \"say \"\"hi\"\"\" AS v", "say \"hi\""}, {"SELECT \"it's\" AS v", "it's"},
        {"SELECT '' AS v", ""},
    };
    for (const auto& [sql, expected] : cases) {
        const Variant v = value(sql);
        EXPECT_EQ(v.isNull() ? QString("<Null>") : v.toString(), expected) << sql;
    }
    EXPECT_EQ(value("SELECT 1 + 2").kind(), Variant::Kind::Integer);
    for (const char* bad : {"SELECT 'abc' + 1", "SELECT Left('abc', -1)", "SELECT Mid('abc', 0)", "SELECT Val(NULL)",
                            "SELECT InStr(0, 'abc', 'a')", "SELECT InStr(NULL, 'abc', 'a')", "SELECT Mid('abc', 1, -1)",
                            "SELECT Left('abc', NULL)"})
        EXPECT_THROW(value(bad), Error) << bad;
    // arithmetic in a SET clause and a WHERE clause
    EXPECT_EQ(cn->Execute("UPDATE t SET amount = amount + 1 WHERE id + 1 = 2"), 1);
    EXPECT_DOUBLE_EQ(value("SELECT amount FROM t WHERE id = 1").toDouble(), 11.5);
}

// Case-blind comparison (trailing blanks count), also for IN, BETWEEN and expressions; Like wildcards.
TEST_F(Dialect, ComparisonsAndPredicates)
{
    const std::tuple<const char*, const char*, QStringList> cases[] = {
        {"t", "name = 'ACT'", {"1"}}, {"t", "name + '' = 'ACT'", {"1"}}, {"t", "'ACT' = LCase(name)", {"1"}},
        {"t", "name <> 'act'", {"2", "4"}}, {"t", "name Is Not Null AND descr Is Null", {"2"}},
        {"t", "name IN ('RULES', 'act')", {"1", "2"}}, {"t", "[t].[name]='rules'AND id=2", {"2"}},
        {"t", "  ((( id )>2))   AND    flag = True ", {"4"}}, {"t", "flag = False", {"2"}},
        {"t", "id Mod 2 = 0", {"2", "4"}}, {"t", "name = \"Rules\"", {"2"}}, {"t", "name Like 'r*'", {"2"}},
        {"t", "name LIKE '*C*'", {"1"}}, {"t", "name Like 'a?b'", {"4"}}, {"t", "descr Like 'x?y'", {"4"}},
        {"q", "name='it''s'", {"2"}}, {"q", "name=\"IT'S\"", {"2"}}, {"q", "descr='a+b & c'", {"3"}},
        {"q", "descr='say \"hi\"'", {"4"}}, {"q", "name<>''''AND id<3", {"1", "2"}},   // a literal of one quote
        {"q", "name='March '", {"4"}}, {"q", "name='March'", {}}, {"q", "name='act '", {}},
        {"q", "descr Like '*' & 'irs' & '*'", {"1"}}, {"q", "name Like 'ma' & 'rc?' & '*'", {"4"}},
        {"q", "descr Like \"*+b*\"", {"3"}}, {"q", "LCase(name) IN ('ACT', 'x')", {"1"}},
        {"q", "UCase(name) NOT IN ('act', 'IT''S')", {"4"}}, {"q", "'ACT' IN (name)", {"1"}},
        {"q", "LCase(name) Between 'A' And 'B'", {"1"}}, {"q", "name In ('ACT','it''s') And descr ='first'", {"1"}},
        {"q", "name & '' = 'ACT'", {"1"}}, {"q", "Trim(name) = 'march'", {"4"}}, {"q", "IIf(id>2, name, descr) = 'FIRST'", {"1"}},
    };
    for (const auto& [table, where, expected] : cases)
        EXPECT_EQ(ids(where, table), expected) << table << ": " << where;
    // a literal running straight into a keyword keeps its separation
    EXPECT_EQ(column(query(cn, "SELECT id FROM t WHERE name= 'act'ORDER BY id DESC"), "id"), QStringList{"1"});
}

TEST_F(Dialect, DatesAreIsoTextAndHashLiteralsCompareWithThem)
{
    EXPECT_EQ(ids("d >= #3/10/2009# AND d < #4/1/2009#"), (QStringList{"2"}));
    EXPECT_EQ(ids("d = #01/Apr/2009#"), (QStringList{"4"}));
    EXPECT_EQ(ids("d = #2009-03-01#"), (QStringList{"1"}));
    EXPECT_EQ(ids("d Between #3/1/2009# And #3/31/2009#"), (QStringList{"1", "2"}));
    EXPECT_EQ(ids("d > #15/Mar/2009#"), (QStringList{"4"}));
    auto rs = query(cn, "SELECT d FROM t ORDER BY d DESC");
    EXPECT_EQ(rs->Fields(0).Value().kind(), Variant::Kind::Date);
    EXPECT_EQ(rs->Fields(0).Value().toDate(), QDate(2009, 4, 1));
    EXPECT_TRUE(value("SELECT d FROM t WHERE id=3").isNull());
    // bracketed names and aliases with blanks become field names
    rs = query(cn, "SELECT [t].[name] AS [The Name], t.id AS [No], descr AS Search FROM [t] WHERE [id]=1;");
    EXPECT_EQ(rs->fieldNames(), (QStringList{"The Name", "No", "Search"}));
    EXPECT_EQ(rs->Fields("the name").Value().toString(), "Act");
}

// Numbers too large for a double are the statement's "Overflow", never an infinity or a crash.
TEST_F(Dialect, HostileNumbersAreTheStatementsErrors)
{
    EXPECT_EQ(value("SELECT Format(1e-312, '0.00')").toString(), "0.00");
    EXPECT_EQ(value("SELECT Format('1e-400', '#0.00')").toString(), "0.00");
    EXPECT_EQ(value("SELECT Val('1e-400')").toDouble(), 0.0);
    const QString huge(400, '9');
    for (const QString& sql : {QString("SELECT Format(1e400, '0.00')"), QString("SELECT Format('1e400', '#0.00')"),
                               "SELECT Val('" + huge + "')", QString("SELECT Val('-1d400x')"),
                               QString("SELECT CDbl('-1e400')"), QString("SELECT CLng(1e300)"),
                               QString("SELECT CLng(3000000000)"), QString("SELECT CInt(40000)"),
                               QString("SELECT Left('abc', 1e300)"), QString("SELECT Mid('abc', 1e19)"),
                               QString("SELECT InStr(1e300, 'abc', 'a')"), QString("SELECT 1e308 + 1e308"),
                               QString("SELECT '1e308' + 1e308"), QString("SELECT Int(1e400)"),
                               QString("SELECT 'x' & 1e999"), QString("SELECT Len(-1e999)"),
                               "SELECT amount + '" + huge + "' FROM t WHERE id = 1"}) {
        const Error e = dbtest::caught([&] { value(sql); });
        EXPECT_EQ(e.Description(), "Overflow") << sql.toStdString() << ": " << e.Description().toStdString();
    }
    EXPECT_TRUE(value("SELECT 1e999").isNull());   // the engine's infinity is read as no value
    EXPECT_EQ(value("SELECT CInt(-32768)").toLongLong(), -32768);
    EXPECT_EQ(value("SELECT CLng(-2147483648)").toLongLong(), -2147483648LL);
}

// Long chains give what a short one gives; one too deep for the engine is the statement's error.
TEST_F(Dialect, LongChainsRunAsTheirShortForms)
{
    const auto chains = [](int n) {
        QString sum = "SELECT 1", text = "SELECT 'x'";
        for (int i = 1; i < n; ++i) {
            sum += i % 3 ? " + 1" : " - 1";
            text += " & 'x'";
        }
        return std::pair{sum, text};
    };
    const auto [sum, text] = chains(30);
    EXPECT_EQ(value(sum).toLongLong(), 12);
    EXPECT_EQ(value(text).toString(), QString(30, 'x'));
    const auto [longSum, longText] = chains(10000);
    EXPECT_EQ(dbtest::errorNumber([&] { query(cn, longSum); }), err::SyntaxError);
    EXPECT_EQ(dbtest::errorNumber([&] { query(cn, longText); }), err::SyntaxError);
}

// A statement's numbers are read and written with a point whatever the process locale.
TEST_F(Dialect, NumbersInStatementsFollowNoLocale)
{
    DecimalCommaLocale comma;
    ASSERT_TRUE(comma.active());
    EXPECT_DOUBLE_EQ(value("SELECT Val('392.44')").toDouble(), 392.44);
    EXPECT_EQ(value("SELECT Format('2.675', '#0.00')").toString(), "2.68");
    EXPECT_EQ(value("SELECT Format(1234.5, '#0.00')").toString(), "1234.50");
    EXPECT_EQ(value("SELECT '1.5' + 1").toString(), "2.5");
    EXPECT_EQ(value("SELECT 'v' & 1.5").toString(), "v1.5");
    EXPECT_EQ(value("SELECT Format(amount, '0.00') FROM t WHERE id = 1").toString(), "10.50");
}

} // namespace
