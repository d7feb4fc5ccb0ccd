// The grid queries of the library's search screens, run as the screens run them, on a small
// law database with the real column names: right rows, right order, Access's Null rules, and
// the aliases as field names.
#include "DbFixture.h"

#include <platform/db/Error.h>

using namespace ado;
using dbtest::DbTest;

namespace {

const char* kLaw1 = R"(
CREATE TABLE Kerala (name TEXT COLLATE NOCASE, SecDesc TEXT COLLATE NOCASE, type TEXT COLLATE NOCASE,
                     ChapterNo INTEGER, fname BLOB);
CREATE TABLE Keralafields (ID INTEGER PRIMARY KEY, ActSection TEXT COLLATE NOCASE,
  CircularNumber TEXT COLLATE NOCASE, CircularSubject TEXT COLLATE NOCASE, CircularSection TEXT COLLATE NOCASE,
  NotificationNumber TEXT COLLATE NOCASE, NotificationSubject TEXT COLLATE NOCASE, NotifcaionSection TEXT COLLATE NOCASE,
  VatJudgmentCitation TEXT COLLATE NOCASE, VatJudgmentSection TEXT COLLATE NOCASE, VatJudgmentSubject TEXT COLLATE NOCASE,
  RJudgmentCitation TEXT COLLATE NOCASE, RJudjmentSection TEXT COLLATE NOCASE, RJudgmentSubject TEXT COLLATE NOCASE);
CREATE TABLE Globalvat (name TEXT COLLATE NOCASE, type TEXT COLLATE NOCASE, fname BLOB);
INSERT INTO Kerala VALUES ('10', NULL, 'ACT', 3, NULL);
INSERT INTO Kerala VALUES ('2', 'Definitions', 'act', 2, NULL);
INSERT INTO Kerala VALUES ('1', 'Short title', 'Act', 1, x'7B5C727466317D');
INSERT INTO Kerala VALUES ('Preamble', 'Before the sections', 'Act', 0, NULL);
INSERT INTO Kerala VALUES ('THE KERALA GENERAL SALES TAX ACT', 'The whole act', 'Act', 9, NULL);
INSERT INTO Kerala VALUES ('r2', 'Rule two', 'Rules', 1, NULL);
INSERT INTO Kerala VALUES ('R1', 'Rule one', 'rules', 1, NULL);
INSERT INTO Kerala VALUES ('R0', 'Not numbered', 'Rules', NULL, NULL);
INSERT INTO Kerala VALUES ('Form 10', 'Monthly return', 'Forms', 2, NULL);
INSERT INTO Kerala VALUES ('Form 1', 'Application', 'FORMS', 0, NULL);
INSERT INTO Kerala VALUES ('Section index KGST', 'Index', 'Act', 0, NULL);
INSERT INTO Kerala VALUES ('1stDiscussion PaperGST', 'Paper', 'Act', 0, NULL);
INSERT INTO Kerala VALUES ('Report On GST Of Task Force', 'Report', 'Act', 0, NULL);
INSERT INTO Kerala VALUES ('KERALA GENERAL SALES TAX RULES', 'Rules', 'Rules', 0, NULL);
INSERT INTO Kerala VALUES ('THE KERALA TAX ON LUXURIES ACTS 1976', NULL, 'Allied', 0, NULL);
INSERT INTO Kerala VALUES ('THE KERALA MONEY-LENDERS ACT 1958 ', NULL, 'allied', 0, NULL);
INSERT INTO Kerala VALUES ('THE KERALA AGRICULTURAL INCOME TAX ACT', NULL, 'Act', 0, NULL);
INSERT INTO Kerala VALUES ('THE KERALA TAX ON LUXURIES RULES 1976', NULL, 'Allied', 0, NULL);
INSERT INTO Kerala VALUES ('MANGALYA NIDHI CESS RULES', NULL, 'ALLIED', 0, NULL);
INSERT INTO Kerala VALUES ('KERALA LUXURY TAX NOTIFICATIONS', NULL, 'Allied', 0, NULL);
INSERT INTO Kerala VALUES ('Mangalya  FORM I', NULL, 'Allied', 0, NULL);
INSERT INTO Kerala VALUES ('Mangalya FORM I', NULL, 'Allied', 0, NULL);
INSERT INTO Kerala VALUES ('KMLFORM- A', NULL, 'Allied', 0, NULL);
INSERT INTO Kerala VALUES ('Tri-FORM H', NULL, 'Allied', 0, NULL);
INSERT INTO Kerala VALUES ('AIT FORM 1', NULL, 'Act', 0, NULL);
INSERT INTO Globalvat VALUES ('default', 'default', x'00');
)";

const char* kLaw3 = R"(
CREATE TABLE CAPractice (ID INTEGER PRIMARY KEY, name TEXT COLLATE NOCASE, Type TEXT COLLATE NOCASE,
                         Weight INTEGER, fname BLOB);
CREATE TABLE Allshedule (ID INTEGER PRIMARY KEY, Schname TEXT COLLATE NOCASE, Stid TEXT COLLATE NOCASE, fname BLOB);
INSERT INTO CAPractice VALUES (1, 'Audit', 'Note', 3, NULL);
INSERT INTO CAPractice VALUES (2, 'Tax planning', NULL, 1, NULL);
INSERT INTO CAPractice VALUES (3, ' x ', 'Note', 2, NULL);
INSERT INTO CAPractice VALUES (4, NULL, 'Note', 0, NULL);
INSERT INTO CAPractice VALUES (5, 'Returns', 'Guide', 2, NULL);
INSERT INTO Allshedule VALUES (7, 'Second Schedule', 'k', NULL);
INSERT INTO Allshedule VALUES (3, 'First Schedule', 'K', NULL);
INSERT INTO Allshedule VALUES (9, 'Central list', 'c', NULL);
)";

const QStringList kIndexColumns = {"CircularNumber", "CircularSubject", "CircularSection",
                                   "VatJudgmentCitation", "VatJudgmentSection", "VatJudgmentSubject",
                                   "RJudgmentCitation", "RJudjmentSection", "RJudgmentSubject",
                                   "NotificationNumber", "NotificationSubject", "NotifcaionSection"};
const QStringList kIndexAliases = {"CIRCULAR NUMBER", "CIRCULAR NUMBER", "CIRCULAR NUMBER", "CITATION", "SECTION",
                                   "SUBJECT", "CITATION", "SECTION", "SUBJECT", "NOTIFICATION NUMBER",
                                   "NOTIFICATION SUBJECT", "NOTIFICATION SECTION"};

QString indexQuery(const QString& col, const QString& alias)
{
    QString q = "SELECT Keralafields.CircularNumber AS Search, IIf(InStr(1,[Keralafields].[CircularNumber],'-')>0,"
                "Left([Keralafields].[CircularNumber],InStr(1,[Keralafields].[CircularNumber],'-')-1),"
                "[Keralafields].[CircularNumber]) AS [CIRCULAR NUMBER] FROM Keralafields WHERE "
                "(((Len(LTrim(RTrim([Keralafields].[CircularNumber]))))>1)) ORDER BY Keralafields.CircularNumber ASC;";
    q.replace("CircularNumber", col);
    q.replace("CIRCULAR NUMBER", alias);
    return q;
}

class GridQueries : public DbTest {
protected:
    ConnectionPtr law1, law3;

    void SetUp() override
    {
        createDb("0909214SD01.mdb", kLaw1);
        createDb("1509214SD03.mdb", kLaw3);
        // index cells: label, "-", document name; and cells the screens leave out
        const char* cells[] = {"Cir 2-2008-Circular two", "NoDash", "b-lower", "A-first", "-lead", "", "   ",
                               "x", " y ", nullptr, "ab"};
        int id = 1;
        for (const char* c : cells) {
            QString sql = "INSERT INTO Keralafields (ID";
            for (const QString& col : kIndexColumns)
                sql += "," + col;
            sql += ") VALUES (" + QString::number(id++);
            for (int k = 0; k < kIndexColumns.size(); ++k)
                sql += c ? ",'" + QString::fromUtf8(c) + "'" : QString(",NULL");
            sql += ");";
            dbtest::rawExec(file("0909214SD01.mdb"), sql.toUtf8().constData());
        }
        law1 = open("0909214SD01.mdb");
        law3 = ado::newConnection();
        law3->Open(connectString("1509214SD03.mdb", "Uid=admin;Pwd=quarrel"));
    }
};

TEST_F(GridQueries, ActContentsJoinsNameAndDescriptionWithPlusSoNullDescriptionGivesNullSearch)
{
    auto rs = query(law1, "SELECT Kerala.name + ' ' + Kerala.SecDesc as Search , Kerala.name as SECTION, Kerala.SecDesc as DESCRIPTION FROM Kerala WHERE (((Kerala.name)<>'THE KERALA GENERAL SALES TAX ACT') AND ((Kerala.ChapterNo)>0) AND ((LCase(([Kerala].[type])))='act')) ORDER BY Kerala.ChapterNo, Kerala.name;");
    EXPECT_EQ(rs->fieldNames(), (QStringList{"Search", "SECTION", "DESCRIPTION"}));
    EXPECT_EQ(column(rs, "SECTION"), (QStringList{"1", "2", "10"}));
    EXPECT_EQ(column(rs, "Search"), (QStringList{"1 Short title", "2 Definitions", "<Null>"}));
    EXPECT_EQ(column(rs, "description"), (QStringList{"Short title", "Definitions", "<Null>"}));
}

TEST_F(GridQueries, RulesContentsWithBracketedAliasAndBlankBeforeSemicolon)
{
    auto rs = query(law1, "SELECT Kerala.name + ' ' + Kerala.SecDesc as Search , Kerala.name as [RULE SECTION], Kerala.SecDesc as DESCRIPTION FROM Kerala WHERE (((Kerala.ChapterNo)>0) AND ((LCase(([Kerala].[type])))='rules')) ORDER BY Kerala.ChapterNo, Kerala.name ;");
    EXPECT_EQ(rs->Fields(1).Name(), "RULE SECTION");
    // same chapter: names in Access's case-blind order
    EXPECT_EQ(column(rs, "RULE SECTION"), (QStringList{"R1", "r2"}));
}

TEST_F(GridQueries, FormsContentsHasNoChapterCondition)
{
    auto rs = query(law1, "SELECT Kerala.name + ' ' + Kerala.SecDesc as Search , Kerala.name as FORM, Kerala.SecDesc as DESCRIPTION FROM Kerala WHERE ( ((LCase(([Kerala].[type])))='forms')) ORDER BY Kerala.ChapterNo, Kerala.name;");
    EXPECT_EQ(column(rs, "FORM"), (QStringList{"Form 1", "Form 10"}));
    EXPECT_EQ(column(rs, "Search"), (QStringList{"Form 1 Application", "Form 10 Monthly return"}));
}

TEST_F(GridQueries, SchedulesOfKeralaOnlyOrderedByName)
{
    auto rs = query(law3, "SELECT Allshedule.Schname As Search, Allshedule.ID, Allshedule.Schname As SCHEDULE FROM Allshedule WHERE (((Allshedule.Stid)='k')) ORDER BY Allshedule.Schname;");
    EXPECT_EQ(rs->fieldNames(), (QStringList{"Search", "ID", "SCHEDULE"}));
    EXPECT_EQ(column(rs, "SCHEDULE"), (QStringList{"First Schedule", "Second Schedule"}));
    EXPECT_EQ(column(rs, "ID"), (QStringList{"3", "7"}));
    EXPECT_EQ(rs->Fields("ID").Type(), adInteger);
}

TEST_F(GridQueries, CAPracticeJoinsWithAmpersandSoNullTypeLeavesNameAndBlank)
{
    auto rs = query(law3, "SELECT ID, (CAPractice.name) & ' ' & (CAPractice.Type) AS Search, CAPractice.name AS Description FROM CAPractice WHERE (((Len(LTrim(RTrim([CAPractice].[name]))))>1)) ORDER BY CAPractice.Weight;");
    EXPECT_EQ(rs->fieldNames(), (QStringList{"ID", "Search", "Description"}));
    // ' x ' trims to one character and Null names drop out; Weight orders the rest
    EXPECT_EQ(column(rs, "Search"), (QStringList{"Tax planning ", "Returns Guide", "Audit Note"}));
    EXPECT_EQ(column(rs, "ID"), (QStringList{"2", "5", "1"}));
    EXPECT_EQ(rs->Fields("Search").Type(), adVarWChar);
}

TEST_F(GridQueries, WholeDocumentScreens)
{
    struct Case {
        const char* sql;
        QStringList names;
    };
    const Case cases[] = {
        {"SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala WHERE Kerala.name = 'Section index KGST';",
         {"Section index KGST"}},
        {"SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala WHERE Kerala.name = 'THE KERALA GENERAL SALES TAX ACT';",
         {"THE KERALA GENERAL SALES TAX ACT"}},
        {"SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala WHERE Kerala.name IN ('1stDiscussion PaperGST', 'Report On GST Of Task Force');",
         {"1stDiscussion PaperGST", "Report On GST Of Task Force"}},
        {"SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala WHERE Kerala.name IN ('KERALA GENERAL SALES TAX RULES');",
         {"KERALA GENERAL SALES TAX RULES"}},
        {"SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala where name In ('THE KERALA TAX ON LUXURIES ACTS 1976', 'THE KERALA MONEY-LENDERS ACT 1958 ', 'THE KERALA AGRICULTURAL INCOME TAX ACT') And Type ='Allied'",
         {"THE KERALA MONEY-LENDERS ACT 1958 ", "THE KERALA TAX ON LUXURIES ACTS 1976"}},
        {"SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala where name In ('THE KERALA TAX ON LUXURIES RULES 1976','THE KERALA AGRICULTURAL INCOME TAX RULES', 'MANGALYA NIDHI CESS RULES') And Type ='Allied'",
         {"MANGALYA NIDHI CESS RULES", "THE KERALA TAX ON LUXURIES RULES 1976"}},
        {"SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala where name In ('xxxx Currently No items') And Type ='Allied'",
         {}},
        {"SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala where name In ('KERALA LUXURY TAX NOTIFICATIONS') And Type ='Allied'",
         {"KERALA LUXURY TAX NOTIFICATIONS"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        auto rs = query(law1, c.sql);
        EXPECT_EQ(rs->fieldNames(), (QStringList{"Search", "Section"}));
        QStringList got = column(rs, "Section");
        got.sort();
        EXPECT_EQ(got, c.names);
        EXPECT_EQ(rs->RecordCount(), c.names.size());
        if (c.names.isEmpty()) {
            EXPECT_TRUE(rs->Eof());
            EXPECT_TRUE(rs->Bof());
        }
    }
}

TEST_F(GridQueries, AlliedFormsListBuiltFromNamesKeepsInnerBlanks)
{
    const QStringList names = {"AGRICULTURAL INCOME TAX Forms", "AIT FORM 1", "Mangalya  FORM I", "KMLFORM- A", "Tri-FORM H"};
    QString list = " '" + names[0] + "'";
    for (int i = 1; i < names.size(); ++i)
        list += " , '" + names[i] + "'";
    auto rs = query(law1, "SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala where name In (" + list + ") And Type ='Allied'");
    QStringList got = column(rs, "Search");
    got.sort();
    // "Mangalya FORM I" (one blank) is another name; "AIT FORM 1" is not of type Allied
    EXPECT_EQ(got, (QStringList{"KMLFORM- A", "Mangalya  FORM I", "Tri-FORM H"}));
}

TEST_F(GridQueries, IndexTemplateForEveryIndexColumn)
{
    for (int k = 0; k < kIndexColumns.size(); ++k) {
        SCOPED_TRACE(kIndexColumns[k].toStdString());
        auto rs = query(law1, indexQuery(kIndexColumns[k], kIndexAliases[k]));
        EXPECT_EQ(rs->fieldNames(), (QStringList{"Search", kIndexAliases[k]}));
        // empty, blank, one-character and Null cells are left out; order by the whole cell, case-blind
        EXPECT_EQ(column(rs, "Search"),
                  (QStringList{"-lead", "A-first", "ab", "b-lower", "Cir 2-2008-Circular two", "NoDash"}));
        // the label is the text before the first "-", or the whole cell
        EXPECT_EQ(column(rs, kIndexAliases[k]), (QStringList{"", "A", "ab", "b", "Cir 2", "NoDash"}));
        EXPECT_EQ(rs->Fields(1).Type(), adVarWChar);
    }
}

TEST_F(GridQueries, WordSearchWithBackquotedColumnAndPercentPattern)
{
    dbtest::rawExec(file("0909214SD01.mdb"),
                    "UPDATE Keralafields SET CircularSubject = 'Sales of TAX goods-Doc1' WHERE ID = 2;"
                    "UPDATE Keralafields SET CircularSubject = 'Tax on sales-Doc2' WHERE ID = 3;");
    auto rs = query(law1, "Select  * from Keralafields where lcase(`CircularSubject`) like '%sales% %tax%' ORDER BY CircularSubject");
    EXPECT_EQ(column(rs, "id"), (QStringList{"2"}));
    rs = query(law1, "SELECT Keralafields.ID, Keralafields.ActSection FROM Keralafields WHERE (((Keralafields.ActSection) Is Not Null)) ORDER BY Keralafields.ID;");
    EXPECT_EQ(rs->RecordCount(), 0);
}

TEST_F(GridQueries, PlaceholderAndDocumentQueriesReturnTheBlob)
{
    auto rs = query(law1, "SELECT Globalvat.fname FROM Globalvat WHERE (((Globalvat.name)='default') AND ((Globalvat.type)='default'));");
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Fields(0).Type(), adLongVarBinary);
    EXPECT_EQ(rs->Fields("fname").Value().toBytes(), QByteArray(1, '\0'));

    rs = query(law1, "select fname from Kerala where name='1' and type='Act'");
    EXPECT_EQ(rs->Fields("fname").Value().toBytes(), QByteArray("{\\rtf1}"));
    // type compares without regard to case: 'act' is stored
    rs = query(law1, "select fname from Kerala where name='2' and type='Act'");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_TRUE(rs->Fields("fname").Value().isNull());
    rs = query(law1, "SELECT name FROM Globalvat WHERE ((name='DEFAULT'));");
    EXPECT_EQ(rs->RecordCount(), 1);
}

TEST_F(GridQueries, NumericKeyStatementEndingInABlank)
{
    auto rs = query(law3, "select fname from Allshedule where ID=7 ");
    EXPECT_EQ(rs->RecordCount(), 1);
    rs = query(law3, "select fname from CAPractice where ID=2");
    EXPECT_EQ(rs->RecordCount(), 1);
}

TEST_F(GridQueries, ApostropheInADocumentNameBreaksTheUnescapedStatement)
{
    auto rs = newRecordset();
    try {
        rs->Open("select fname from Kerala where name='D'Souza'", law1, adOpenStatic, adLockOptimistic);
        FAIL() << "the statement should be refused";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), err::SyntaxError);
        EXPECT_FALSE(e.Description().isEmpty());
        EXPECT_EQ(e.Source(), "Lumora.Database");
    }
    EXPECT_EQ(rs->State(), adStateClosed);
    // doubled, the quote is part of the value
    dbtest::rawExec(file("0909214SD01.mdb"), "INSERT INTO Kerala (name, type) VALUES ('D''Souza', 'Act');");
    rs = query(law1, "select name from Kerala where name='D''Souza'");
    EXPECT_EQ(column(rs, "name"), (QStringList{"D'Souza"}));
}

} // namespace
