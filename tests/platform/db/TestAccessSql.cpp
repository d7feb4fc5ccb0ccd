// The Access dialect: each translated shape checked on the text it becomes and on what the
// engine then returns; string literals pass through untouched.
#include "DbFixture.h"

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
                          "INSERT INTO t VALUES (4, 'a*b', 'x?y', 3, '2009-04-01', 1);");
        cn = open("d.mdb");
    }
    // The single value of a one-row, one-column statement.
    Variant value(const QString& sql)
    {
        auto rs = query(cn, sql);
        EXPECT_EQ(rs->RecordCount(), 1) << sql.toStdString();
        return rs->RecordCount() ? rs->Fields(0).Value() : Variant();
    }
    QStringList ids(const QString& where) { return column(query(cn, "SELECT id FROM t WHERE " + where + " ORDER BY id"), "id"); }
};

TEST_F(Dialect, PlusConcatenatesTextsWithNullGivingNullAndAddsNumbers)
{
    EXPECT_EQ(value("SELECT 'a' + 'b'").toString(), "ab");
    EXPECT_TRUE(value("SELECT 'a' + NULL").isNull());
    EXPECT_EQ(value("SELECT 1 + 2").toLongLong(), 3);
    EXPECT_EQ(value("SELECT 1 + 2").kind(), Variant::Kind::Integer);
    EXPECT_DOUBLE_EQ(value("SELECT 1.5 + 2").toDouble(), 3.5);
    EXPECT_DOUBLE_EQ(value("SELECT '5' + 1").toDouble(), 6.0);
    EXPECT_EQ(value("SELECT 2 + 3 * 4").toLongLong(), 14);
    EXPECT_EQ(value("SELECT 10 - 2 + 3").toLongLong(), 11);
    EXPECT_EQ(value("SELECT (1 + 2) * 3").toLongLong(), 9);
    EXPECT_EQ(value("SELECT -1 + 2").toLongLong(), 1);
    EXPECT_EQ(value("SELECT name + ' ' + descr FROM t WHERE id = 1").toString(), "Act First");
    EXPECT_TRUE(value("SELECT name + ' ' + descr FROM t WHERE id = 2").isNull());
    EXPECT_EQ(value("SELECT amount + id FROM t WHERE id = 1").toDouble(), 11.5);
    EXPECT_THROW(value("SELECT 'abc' + 1"), Error);
    // arithmetic in a SET clause and a WHERE clause
    EXPECT_EQ(cn->Execute("UPDATE t SET amount = amount + 1 WHERE id + 1 = 2"), 1);
    EXPECT_DOUBLE_EQ(value("SELECT amount FROM t WHERE id = 1").toDouble(), 11.5);
}

TEST_F(Dialect, AmpersandTreatsNullAsEmptyUnlessBothAreNull)
{
    EXPECT_EQ(value("SELECT 'a' & NULL").toString(), "a");
    EXPECT_TRUE(value("SELECT NULL & NULL").isNull());
    EXPECT_EQ(value("SELECT 'n' & 12").toString(), "n12");
    EXPECT_EQ(value("SELECT 'v' & 1.5").toString(), "v1.5");
    // & binds looser than +
    EXPECT_EQ(value("SELECT 'a' & 1 + 2").toString(), "a3");
    EXPECT_EQ(value("SELECT (name) & ' ' & (descr) FROM t WHERE id = 2").toString(), "rules ");
    EXPECT_EQ(value("SELECT name & '-' & descr FROM t WHERE id = 3").toString(), "-Third");
}

TEST_F(Dialect, TextFunctions)
{
    EXPECT_EQ(value("SELECT LCase('AbC')").toString(), "abc");
    EXPECT_EQ(value("SELECT UCase('AbC')").toString(), "ABC");
    EXPECT_EQ(value("SELECT UCase('éa')").toString(), "ÉA");
    EXPECT_EQ(value("SELECT Len('abcd')").toLongLong(), 4);
    EXPECT_EQ(value("SELECT Len('ñá')").toLongLong(), 2);
    EXPECT_TRUE(value("SELECT Len(NULL)").isNull());
    EXPECT_EQ(value("SELECT InStr('a-b-c', '-')").toLongLong(), 2);
    EXPECT_EQ(value("SELECT InStr(3, 'a-b-c', '-')").toLongLong(), 4);
    EXPECT_EQ(value("SELECT InStr(1, 'abc', 'B')").toLongLong(), 2);   // text compare
    EXPECT_EQ(value("SELECT InStr(1, 'abc', '-')").toLongLong(), 0);
    EXPECT_EQ(value("SELECT InStr(9, 'abc', 'a')").toLongLong(), 0);
    EXPECT_EQ(value("SELECT InStr('ab', 'abc')").toLongLong(), 0);
    EXPECT_EQ(value("SELECT InStr(2, 'xAbab', 'aB')").toLongLong(), 2);
    EXPECT_EQ(value("SELECT InStr(3, 'xAbab', 'aB')").toLongLong(), 4);
    EXPECT_TRUE(value("SELECT InStr(1, NULL, '-')").isNull());
    EXPECT_EQ(value("SELECT Left('abcdef', 2)").toString(), "ab");
    EXPECT_EQ(value("SELECT Left('ab', 5)").toString(), "ab");
    EXPECT_EQ(value("SELECT Right('abcdef', 2)").toString(), "ef");
    EXPECT_EQ(value("SELECT Mid('abcdef', 2, 3)").toString(), "bcd");
    EXPECT_EQ(value("SELECT Mid('abcdef', 4)").toString(), "def");
    EXPECT_THROW(value("SELECT Left('abc', -1)"), Error);
    EXPECT_THROW(value("SELECT Mid('abc', 0)"), Error);
    EXPECT_EQ(value("SELECT Trim('  a b  ')").toString(), "a b");
    EXPECT_EQ(value("SELECT LTrim('  a ')").toString(), "a ");
    EXPECT_EQ(value("SELECT RTrim('  a ')").toString(), "  a");
    EXPECT_EQ(value("SELECT Len(LTrim(RTrim('   ')))").toLongLong(), 0);
}

TEST_F(Dialect, ConversionAndChoiceFunctions)
{
    EXPECT_DOUBLE_EQ(value("SELECT Val('12abc')").toDouble(), 12.0);
    EXPECT_DOUBLE_EQ(value("SELECT Val(' 1 2.5x')").toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(value("SELECT Val('abc')").toDouble(), 0.0);
    EXPECT_THROW(value("SELECT Val(NULL)"), Error);
    EXPECT_EQ(value("SELECT Nz(NULL, 'none')").toString(), "none");
    EXPECT_EQ(value("SELECT Nz(NULL)").toString(), "");
    EXPECT_EQ(value("SELECT Nz(5, 0)").toLongLong(), 5);
    EXPECT_EQ(value("SELECT IIf(1 > 0, 'yes', 'no')").toString(), "yes");
    EXPECT_EQ(value("SELECT IIf(NULL, 'yes', 'no')").toString(), "no");
    // only the chosen branch is evaluated
    EXPECT_EQ(value("SELECT IIf(InStr(1,'abc','-')>0, Left('abc', InStr(1,'abc','-')-1), 'abc')").toString(), "abc");
    EXPECT_EQ(value("SELECT IIf(True, IIf(False, 1, 2), 3)").toLongLong(), 2);
    EXPECT_EQ(value("SELECT CStr(12)").toString(), "12");
    EXPECT_EQ(value("SELECT CLng(2.5)").toLongLong(), 2);
    EXPECT_EQ(value("SELECT Format(2.675, '#0.00')").toString(), "2.68");
}

TEST_F(Dialect, ComparisonsAndPredicates)
{
    // text columns and literals compare without regard to case
    EXPECT_EQ(ids("name = 'ACT'"), (QStringList{"1"}));
    EXPECT_EQ(ids("name + '' = 'ACT'"), (QStringList{"1"}));
    EXPECT_EQ(ids("'ACT' = LCase(name)"), (QStringList{"1"}));
    EXPECT_EQ(ids("name <> 'act'"), (QStringList{"2", "4"}));
    EXPECT_EQ(ids("name Is Not Null AND descr Is Null"), (QStringList{"2"}));
    EXPECT_EQ(ids("name IN ('RULES', 'act')"), (QStringList{"1", "2"}));
    EXPECT_EQ(ids("[t].[name]='rules'AND id=2"), (QStringList{"2"}));
    EXPECT_EQ(ids("  ((( id )>2))   AND    flag = True "), (QStringList{"4"}));
    EXPECT_EQ(ids("flag = False"), (QStringList{"2"}));
    EXPECT_EQ(ids("id Mod 2 = 0"), (QStringList{"2", "4"}));
    EXPECT_EQ(ids("name = \"Rules\""), (QStringList{"2"}));
}

TEST_F(Dialect, LikeWithAccessWildcards)
{
    EXPECT_EQ(ids("name Like 'r*'"), (QStringList{"2"}));
    EXPECT_EQ(ids("name LIKE '*C*'"), (QStringList{"1"}));
    EXPECT_EQ(ids("name Like 'a?b'"), (QStringList{"4"}));
    EXPECT_EQ(ids("descr Like 'x?y'"), (QStringList{"4"}));
}

TEST_F(Dialect, DatesAreIsoTextAndHashLiteralsCompareWithThem)
{
    EXPECT_EQ(ids("d >= #3/10/2009# AND d < #4/1/2009#"), (QStringList{"2"}));
    EXPECT_EQ(ids("d = #01/Apr/2009#"), (QStringList{"4"}));
    EXPECT_EQ(ids("d = #2009-03-01#"), (QStringList{"1"}));
    auto rs = query(cn, "SELECT d FROM t ORDER BY d DESC");
    EXPECT_EQ(rs->Fields(0).Value().toDate(), QDate(2009, 4, 1));
}

TEST_F(Dialect, BracketedNamesAndAliasesWithBlanksBecomeFieldNames)
{
    auto rs = query(cn, "SELECT [t].[name] AS [The Name], t.id AS [No], descr AS Search FROM [t] WHERE [id]=1;");
    EXPECT_EQ(rs->fieldNames(), (QStringList{"The Name", "No", "Search"}));
    EXPECT_EQ(rs->Fields("the name").Value().toString(), "Act");
}

} // namespace
