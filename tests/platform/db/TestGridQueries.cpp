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
INSERT INTO Kerala VALUES ('10', NULL, 'ACT', 3, NULL), ('2', 'Definitions', 'act', 2, NULL),
  ('1', 'Short title', 'Act', 1, x'7B5C727466317D'), ('Preamble', 'Before the sections', 'Act', 0, NULL),
  ('THE KERALA GENERAL SALES TAX ACT', 'The whole act', 'Act', 9, NULL), ('r2', 'Rule two', 'Rules', 1, NULL),
  ('R1', 'Rule one', 'rules', 1, NULL), ('R0', 'Not numbered', 'Rules', NULL, NULL),
  ('Form 10', 'Monthly return', 'Forms', 2, NULL), ('Form 1', 'Application', 'FORMS', 0, NULL);
)";

const char* kLaw3 = R"(
CREATE TABLE CAPractice (ID INTEGER PRIMARY KEY, name TEXT COLLATE NOCASE, Type TEXT COLLATE NOCASE,
                         Weight INTEGER, fname BLOB);
CREATE TABLE Allshedule (ID INTEGER PRIMARY KEY, Schname TEXT COLLATE NOCASE, Stid TEXT COLLATE NOCASE, fname BLOB);
INSERT INTO CAPractice VALUES (1, 'Audit', 'Note', 3, NULL), (2, 'Tax planning', NULL, 1, NULL),
  (3, ' x ', 'Note', 2, NULL), (4, NULL, 'Note', 0, NULL), (5, 'Returns', 'Guide', 2, NULL);
INSERT INTO Allshedule VALUES (7, 'Second Schedule', 'k', NULL), (3, 'First Schedule', 'K', NULL),
  (9, 'Central list', 'c', NULL);
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

// The contents screens: the aliases as field names, rows in the screen's order, and Access's
// Null rules (+ makes a Null description a Null search text, & drops it).
TEST_F(GridQueries, ContentsScreens)
{
    const struct {
        const char* screen;
        QStringList fields;
        const char* field;
        QStringList values;
    } cases[] = {
        {"ObjActGlobalSections", {"Search", "SECTION", "DESCRIPTION"}, "Search", {"1 Short title", "2 Definitions", "<Null>"}},
        {"ObjActGlobalSections", {}, "SECTION", {"1", "2", "10"}},
        {"ObjRuleGlobalSections", {}, "RULE SECTION", {"R1", "r2"}},   // one chapter: by name, case-blind
        {"ObjFormGlobalSections", {}, "Search", {"Form 1 Application", "Form 10 Monthly return"}},   // no chapter condition
        // schedules of Kerala only, by name
        {"ObjScheduleGlobalSection", {"Search", "ID", "SCHEDULE"}, "SCHEDULE", {"First Schedule", "Second Schedule"}},
        {"ObjScheduleGlobalSection", {}, "ID", {"3", "7"}},
        // ' x ' trims to one character and Null names drop out; Weight orders the rest
        {"ObjCAMenuItemGlobalSection", {"ID", "Search", "Description"}, "Search", {"Tax planning ", "Returns Guide", "Audit Note"}},
        {"ObjCAMenuItemGlobalSection", {}, "ID", {"2", "5", "1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        auto rs = screen(c.screen);
        if (!c.fields.isEmpty()) {
            EXPECT_EQ(rs->fieldNames(), c.fields);
        }
        EXPECT_EQ(column(rs, c.field), c.values) << c.field;
    }
    EXPECT_EQ(screen("ObjScheduleGlobalSection")->Fields("ID").Type(), adInteger);
    EXPECT_EQ(screen("ObjCAMenuItemGlobalSection")->Fields("Search").Type(), adVarWChar);
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

// The word search runs on a backquoted column with a pattern of "%" wildcards.
TEST_F(GridQueries, WordSearchWithBackquotedColumnAndPercentPattern)
{
    dbtest::rawExec(file("0909214SD01.mdb"),
                    "UPDATE Keralafields SET CircularSubject = 'Sales of TAX goods-Doc1' WHERE ID = 2;"
                    "UPDATE Keralafields SET CircularSubject = 'Tax on sales-Doc2' WHERE ID = 3;");
    auto rs = query(law1, "Select  * from Keralafields where lcase(`CircularSubject`) like '%sales% %tax%' ORDER BY CircularSubject");
    EXPECT_EQ(column(rs, "id"), (QStringList{"2"}));
    EXPECT_EQ(query(law3, "select fname from Allshedule where ID=7 ")->RecordCount(), 1);   // a numeric key
}

} // namespace
