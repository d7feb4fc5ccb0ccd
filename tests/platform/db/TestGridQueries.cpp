// The grid queries of the library's search screens, taken from its screen catalogue and run as
// the screens run them, on a small law database with the real column names: right rows, right
// order, Access's Null rules, and the aliases as field names.
#include "DbFixture.h"

#include <library/ScreenCatalog.h>

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
            QString sql = "INSERT INTO Keralafields (ID," + kIndexColumns.join(',') + ") VALUES (" + QString::number(id++);
            for (int k = 0; k < kIndexColumns.size(); ++k)
                sql += c ? ",'" + QString::fromUtf8(c) + "'" : QString(",NULL");
            dbtest::rawExec(file("0909214SD01.mdb"), (sql + ");").toUtf8().constData());
        }
        law1 = open("0909214SD01.mdb");
        law3 = ado::newConnection();
        law3->Open(connectString("1509214SD03.mdb", "Uid=admin;Pwd=quarrel"));
    }
    // The grid rows of a screen of the catalogue, on the database the screen reads.
    RecordsetPtr screen(const char* variable)
    {
        const library::ScreenSpec* s = library::findScreen(variable);
        return query(s->runner == library::GridRunner::ByConnection3 ? law3 : law1, s->gridQuery());
    }
};

TEST_F(GridQueries, ActContentsJoinsNameAndDescriptionWithPlusSoNullDescriptionGivesNullSearch)
{
    auto rs = screen("ObjActGlobalSections");
    EXPECT_EQ(rs->fieldNames(), (QStringList{"Search", "SECTION", "DESCRIPTION"}));
    EXPECT_EQ(column(rs, "SECTION"), (QStringList{"1", "2", "10"}));
    EXPECT_EQ(column(rs, "Search"), (QStringList{"1 Short title", "2 Definitions", "<Null>"}));
    EXPECT_EQ(column(rs, "description"), (QStringList{"Short title", "Definitions", "<Null>"}));
}

TEST_F(GridQueries, RulesAndFormsContents)
{
    auto rs = screen("ObjRuleGlobalSections");
    EXPECT_EQ(rs->Fields(1).Name(), "RULE SECTION");
    // same chapter: names in Access's case-blind order
    EXPECT_EQ(column(rs, "RULE SECTION"), (QStringList{"R1", "r2"}));
    rs = screen("ObjFormGlobalSections");   // no chapter condition
    EXPECT_EQ(column(rs, "FORM"), (QStringList{"Form 1", "Form 10"}));
    EXPECT_EQ(column(rs, "Search"), (QStringList{"Form 1 Application", "Form 10 Monthly return"}));
}

TEST_F(GridQueries, SchedulesOfKeralaOnlyOrderedByName)
{
    auto rs = screen("ObjScheduleGlobalSection");
    EXPECT_EQ(rs->fieldNames(), (QStringList{"Search", "ID", "SCHEDULE"}));
    EXPECT_EQ(column(rs, "SCHEDULE"), (QStringList{"First Schedule", "Second Schedule"}));
    EXPECT_EQ(column(rs, "ID"), (QStringList{"3", "7"}));
    EXPECT_EQ(rs->Fields("ID").Type(), adInteger);
}

TEST_F(GridQueries, CAPracticeJoinsWithAmpersandSoNullTypeLeavesNameAndBlank)
{
    auto rs = screen("ObjCAMenuItemGlobalSection");
    EXPECT_EQ(rs->fieldNames(), (QStringList{"ID", "Search", "Description"}));
    // ' x ' trims to one character and Null names drop out; Weight orders the rest
    EXPECT_EQ(column(rs, "Search"), (QStringList{"Tax planning ", "Returns Guide", "Audit Note"}));
    EXPECT_EQ(column(rs, "ID"), (QStringList{"2", "5", "1"}));
    EXPECT_EQ(rs->Fields("Search").Type(), adVarWChar);
}

TEST_F(GridQueries, WholeDocumentScreens)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"ObjSectionIndexKGSTGB", {"Section index KGST"}},
        {"ObjGenSaleTaxActGB", {"THE KERALA GENERAL SALES TAX ACT"}},
        {"ObjGSTPaperReportGB", {"1stDiscussion PaperGST", "Report On GST Of Task Force"}},
        {"ObjGSTRuleGB", {"KERALA GENERAL SALES TAX RULES"}},
        // the trailing blank is part of the name; a name of another type is left out
        {"ObjAlliedActGB", {"THE KERALA MONEY-LENDERS ACT 1958 ", "THE KERALA TAX ON LUXURIES ACTS 1976"}},
        {"ObjAlliedRuleGB", {"MANGALYA NIDHI CESS RULES", "THE KERALA TAX ON LUXURIES RULES 1976"}},
        {"ObjAlliedCircularsGB", {}},
        {"ObjAlliedNotificationsGB", {"KERALA LUXURY TAX NOTIFICATIONS"}},
        // "Mangalya FORM I" (one blank) is another name; "AIT FORM 1" is not of type Allied
        {"ObjAlliedFormsGB", {"KMLFORM- A", "Mangalya  FORM I", "Tri-FORM H"}},
    };
    for (const auto& [variable, names] : cases) {
        SCOPED_TRACE(variable);
        auto rs = screen(variable);
        EXPECT_EQ(rs->fieldNames(), (QStringList{"Search", "Section"}));
        QStringList got = column(rs, "Section");
        got.sort();
        EXPECT_EQ(got, names);
        EXPECT_EQ(rs->RecordCount(), names.size());
        if (names.isEmpty()) {
            EXPECT_TRUE(rs->Eof() && rs->Bof());
        }
    }
}

TEST_F(GridQueries, IndexTemplateForEveryIndexColumn)
{
    for (const QString& col : kIndexColumns) {
        SCOPED_TRACE(col.toStdString());
        auto rs = query(law1, library::indexGridQuery(col, "AN ALIAS"));
        EXPECT_EQ(rs->fieldNames(), (QStringList{"Search", "AN ALIAS"}));
        // empty, blank, one-character and Null cells are left out; order by the whole cell, case-blind
        EXPECT_EQ(column(rs, "Search"), (QStringList{"-lead", "A-first", "ab", "b-lower", "Cir 2-2008-Circular two", "NoDash"}));
        // the label is the text before the first "-", or the whole cell
        EXPECT_EQ(column(rs, "AN ALIAS"), (QStringList{"", "A", "ab", "b", "Cir 2", "NoDash"}));
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

TEST_F(GridQueries, DocumentQueriesReturnTheBlob)
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
    EXPECT_EQ(query(law1, "SELECT name FROM Globalvat WHERE ((name='DEFAULT'));")->RecordCount(), 1);
    // numeric keys, one statement ending in a blank
    EXPECT_EQ(query(law3, "select fname from Allshedule where ID=7 ")->RecordCount(), 1);
    EXPECT_EQ(query(law3, "select fname from CAPractice where ID=2")->RecordCount(), 1);
}

TEST_F(GridQueries, ApostropheInADocumentNameBreaksTheUnescapedStatementAndIsFoundDoubled)
{
    auto rs = newRecordset();
    EXPECT_EQ(dbtest::errorOf([&] { rs->Open("select fname from Kerala where name='D'Souza'", law1); }),
              err::SyntaxError);
    EXPECT_EQ(rs->State(), adStateClosed);
    dbtest::rawExec(file("0909214SD01.mdb"), "INSERT INTO Kerala (name, type) VALUES ('D''Souza', 'Act');");
    EXPECT_EQ(column(query(law1, "select name from Kerala where name='D''Souza'"), "name"), (QStringList{"D'Souza"}));
}

} // namespace
