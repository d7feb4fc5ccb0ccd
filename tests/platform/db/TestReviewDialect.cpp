// Edge cases of the Access dialect: what each shape returns, and literals that must come
// through the translation exactly as written.
#include "DbFixture.h"

#include <platform/db/AccessSql.h>
#include <platform/db/Error.h>

using namespace ado;
using dbtest::DbTest;

namespace {

QString sqlite(const QString& access) { return QString::fromUtf8(accesssql::translate(access).sql); }

class ReviewDialect : public DbTest {
protected:
    ConnectionPtr cn;
    void SetUp() override
    {
        createDb("r.mdb", "CREATE TABLE t (id INTEGER, name TEXT COLLATE NOCASE, descr TEXT COLLATE NOCASE, "
                          "amount REAL, d DATE);"
                          "INSERT INTO t VALUES (1, 'Act', 'First', 10.5, '2009-03-01');"
                          "INSERT INTO t VALUES (2, 'it''s', NULL, NULL, '2009-03-15');"
                          "INSERT INTO t VALUES (3, NULL, 'a+b & c', 2, NULL);"
                          "INSERT INTO t VALUES (4, 'March ', 'say \"hi\"', 3, '2009-04-01');");
        cn = open("r.mdb");
    }
    Variant value(const QString& sql)
    {
        auto rs = query(cn, sql);
        EXPECT_EQ(rs->RecordCount(), 1) << sql.toStdString();
        return rs->RecordCount() ? rs->Fields(0).Value() : Variant();
    }
    QStringList ids(const QString& where)
    {
        return column(query(cn, "SELECT id FROM t WHERE " + where + " ORDER BY id"), "id");
    }
};

TEST_F(ReviewDialect, LiteralsWithEscapesAndOperatorsComeBackAsWritten)
{
    EXPECT_EQ(value("SELECT 'it''s' & ''").toString(), "it's");
    EXPECT_EQ(value("SELECT \"say \"\"hi\"\"\" AS v").toString(), "say \"hi\"");
    EXPECT_EQ(value("SELECT \"it's\" AS v").toString(), "it's");
    EXPECT_EQ(value("SELECT 'a+b & c' AS v").toString(), "a+b & c");
    EXPECT_EQ(value("SELECT '[x] #1/2/2009# True Left(' AS v").toString(), "[x] #1/2/2009# True Left(");
    EXPECT_EQ(value("SELECT '' AS v").toString(), "");
    EXPECT_EQ(ids("name='it''s'"), (QStringList{"2"}));
    EXPECT_EQ(ids("name=\"IT'S\""), (QStringList{"2"}));
    EXPECT_EQ(ids("descr='a+b & c'"), (QStringList{"3"}));
    EXPECT_EQ(ids("descr='say \"hi\"'"), (QStringList{"4"}));
    // a literal that holds only a doubled quote, running into the next keyword
    EXPECT_EQ(ids("name<>''''AND id<3"), (QStringList{"1", "2"}));
}

TEST_F(ReviewDialect, TrailingBlanksInsideLiteralsCount)
{
    EXPECT_EQ(ids("name='March '"), (QStringList{"4"}));
    EXPECT_TRUE(ids("name='March'").isEmpty());
    EXPECT_TRUE(ids("name='act '").isEmpty());
}

TEST_F(ReviewDialect, PlusAndAmpersandNullRules)
{
    EXPECT_TRUE(value("SELECT name + ' ' + descr FROM t WHERE id=2").isNull());
    EXPECT_EQ(value("SELECT name & ' ' & descr FROM t WHERE id=2").toString(), "it's ");
    EXPECT_TRUE(value("SELECT name & descr FROM t WHERE id=5 OR (name Is Null AND descr Is Null) "
                      "UNION ALL SELECT NULL & NULL").isNull());
    EXPECT_EQ(value("SELECT id & '-' & amount FROM t WHERE id=1").toString(), "1-10.5");
    EXPECT_DOUBLE_EQ(value("SELECT id + amount FROM t WHERE id=1").toDouble(), 11.5);
    EXPECT_TRUE(value("SELECT id + amount FROM t WHERE id=2").isNull());
    // '&' binds looser than '+'
    EXPECT_EQ(value("SELECT 1 + 2 & 3").toString(), "33");
    EXPECT_EQ(value("SELECT 'a' & 1 + 2").toString(), "a3");
}

TEST_F(ReviewDialect, LikePatternJoinedFromPieces)
{
    EXPECT_EQ(ids("descr Like '*' & 'irs' & '*'"), (QStringList{"1"}));
    EXPECT_EQ(ids("name Like 'ma' & 'rc?' & '*'"), (QStringList{"4"}));
    EXPECT_EQ(ids("descr Like \"*+b*\""), (QStringList{"3"}));
}

TEST_F(ReviewDialect, InStrMidLeftEdges)
{
    EXPECT_EQ(value("SELECT InStr(1, 'abc', '')").toLongLong(), 1);
    EXPECT_EQ(value("SELECT InStr(3, 'abc', '')").toLongLong(), 3);
    EXPECT_EQ(value("SELECT InStr(1, '', 'a')").toLongLong(), 0);
    EXPECT_EQ(value("SELECT InStr(4, 'abc', 'c')").toLongLong(), 0);
    EXPECT_TRUE(value("SELECT InStr(1, 'abc', NULL)").isNull());
    EXPECT_THROW(value("SELECT InStr(0, 'abc', 'a')"), Error);
    EXPECT_THROW(value("SELECT InStr(NULL, 'abc', 'a')"), Error);
    EXPECT_EQ(value("SELECT InStr('ÄBC-x', 'bc-')").toLongLong(), 2);
    EXPECT_EQ(value("SELECT InStr(1, 'abcB', 'B', 0)").toLongLong(), 4);   // binary compare
    EXPECT_EQ(value("SELECT InStr(1, 'abcB', 'B', 1)").toLongLong(), 2);
    EXPECT_EQ(value("SELECT InStr(1, 'abcb', 'B', 0)").toLongLong(), 0);
    EXPECT_EQ(value("SELECT Mid('abc', 5)").toString(), "");
    EXPECT_EQ(value("SELECT Mid('abc', 2, 0)").toString(), "");
    EXPECT_EQ(value("SELECT Mid('abc', 2, 99)").toString(), "bc");
    EXPECT_TRUE(value("SELECT Mid(NULL, 1, 1)").isNull());
    EXPECT_THROW(value("SELECT Mid('abc', 1, -1)"), Error);
    EXPECT_EQ(value("SELECT Left('abc', 0)").toString(), "");
    EXPECT_TRUE(value("SELECT Left(NULL, 2)").isNull());
    EXPECT_THROW(value("SELECT Left('abc', NULL)"), Error);
    EXPECT_EQ(value("SELECT Right('abc', 9)").toString(), "abc");
    EXPECT_EQ(value("SELECT Left(12345, 2)").toString(), "12");
}

TEST_F(ReviewDialect, IndexLabelOfCellsWithAndWithoutDash)
{
    const QString label = "IIf(InStr(1,[t].[name],'-')>0,Left([t].[name],InStr(1,[t].[name],'-')-1),[t].[name])";
    EXPECT_EQ(value("SELECT " + label + " FROM t WHERE id=1").toString(), "Act");
    EXPECT_TRUE(value("SELECT " + label + " FROM t WHERE id=3").isNull());
    EXPECT_EQ(value("SELECT IIf(InStr(1,'-x','-')>0,Left('-x',InStr(1,'-x','-')-1),'-x')").toString(), "");
    EXPECT_EQ(value("SELECT IIf(InStr(1,'a-b-c','-')>0,Left('a-b-c',InStr(1,'a-b-c','-')-1),'a-b-c')").toString(), "a");
}

TEST_F(ReviewDialect, DatesComeBackAsDatesAndCompareWithHashLiterals)
{
    const Variant v = value("SELECT d FROM t WHERE id=4");
    EXPECT_EQ(v.kind(), Variant::Kind::Date);
    EXPECT_EQ(v.toDate(), QDate(2009, 4, 1));
    EXPECT_EQ(ids("d Between #3/1/2009# And #3/31/2009#"), (QStringList{"1", "2"}));
    EXPECT_EQ(ids("d > #15/Mar/2009#"), (QStringList{"4"}));
    EXPECT_TRUE(value("SELECT d FROM t WHERE id=3").isNull());
}

TEST(ReviewTranslate, TextInsideLiteralsIsNeverRewritten)
{
    // the wildcard rewrite of LIKE applies to its pattern only
    EXPECT_EQ(sqlite("SELECT 'a*b?' AS v, x FROM t WHERE x LIKE 'a*'"),
              "SELECT 'a*b?' AS v, x FROM t WHERE x LIKE 'a%'");
    EXPECT_TRUE(sqlite("UPDATE t SET a= 'x + y',b= 'DELETE * FROM'  WHERE k='1'").contains("'x + y'"));
    EXPECT_TRUE(sqlite("SELECT \"a'b\" AS v").contains("'a''b'"));
    // a pattern joined from pieces has the wildcards of each piece; a literal handed to a
    // function inside it, or one after the pattern, is data
    EXPECT_EQ(sqlite("SELECT x FROM t WHERE x Like '*' & y & '?' AND z = 'a*'"),
              "SELECT x FROM t WHERE x Like acc_concat(acc_concat('%' , y ), '_') AND z = 'a*' COLLATE NOCASE");
    EXPECT_EQ(sqlite("SELECT x FROM t WHERE x LIKE Trim('*') & '*'"),
              "SELECT x FROM t WHERE x LIKE acc_concat(acc_trim('*') , '%')");
}

} // namespace

namespace {

// IN and BETWEEN take the collation of their left operand: an expression there still
// compares text without regard to case.
TEST_F(ReviewDialect, InAndBetweenCompareTextWithoutRegardToCaseWhateverTheLeftOperand)
{
    EXPECT_EQ(ids("LCase(name) IN ('ACT', 'x')"), (QStringList{"1"}));
    EXPECT_EQ(ids("UCase(name) NOT IN ('act', 'IT''S')"), (QStringList{"4"}));
    EXPECT_EQ(ids("'ACT' IN (name)"), (QStringList{"1"}));
    EXPECT_EQ(ids("LCase(name) Between 'A' And 'B'"), (QStringList{"1"}));
    EXPECT_EQ(ids("id IN (1, 3)"), (QStringList{"1", "3"}));
    EXPECT_EQ(ids("name In ('ACT','it''s') And descr ='first'"), (QStringList{"1"}));
    EXPECT_EQ(ids("name & '' = 'ACT'"), (QStringList{"1"}));
    EXPECT_EQ(ids("Trim(name) = 'march'"), (QStringList{"4"}));
    EXPECT_EQ(ids("IIf(id>2, name, descr) = 'FIRST'"), (QStringList{"1"}));
}

} // namespace
