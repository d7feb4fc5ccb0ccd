// The shipped sample law content, read the way the library reads it: every search screen's grid
// query lists rows, and every listed row's document query finds a real document.
#include "TestProgramFolder.h"

#include <platform/db/Recordset.h>
#include <platform/sys/ProgramFolder.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

QString connectString(int db)
{
    static const char* const files[] = {"0909214SD01.mdb;", "1309214SD02.mdb;", "1509214SD03.mdb;"};
    static const char* const creds[] = {"Uid=admin;Pwd=lanterns;", "Uid=admin;Pwd=pimento", "Uid=admin;Pwd=quarrel"};
    return QStringLiteral("Driver={Microsoft Access Driver (*.mdb)};Dbq=") + sys::programPath(QString::fromLatin1(files[db - 1]))
           + QString::fromLatin1(creds[db - 1]);
}

ado::RecordsetPtr query(const QString& sql, int db)
{
    auto rs = ado::newRecordset();
    rs->CursorLocation = ado::adUseClient;
    rs->Open(sql, connectString(db), ado::adOpenStatic, ado::adLockOptimistic);
    return rs;
}

// The first column of the statement's first row: the document, or an empty array when the
// statement finds nothing or a Null.
QByteArray firstDocument(const QString& sql, int db)
{
    auto rs = query(sql, db);
    if (rs->Eof())
        return {};
    const ado::Variant v = rs->Fields(0).Value();
    return v.isNull() ? QByteArray() : v.toBytes();
}

QString indexQuery(const QString& column, const QString& alias)
{
    QString sql = QStringLiteral(
        "SELECT Keralafields.CircularNumber AS Search, IIf(InStr(1,[Keralafields].[CircularNumber],'-')>0,"
        "Left([Keralafields].[CircularNumber],InStr(1,[Keralafields].[CircularNumber],'-')-1),"
        "[Keralafields].[CircularNumber]) AS [CIRCULAR NUMBER] FROM Keralafields WHERE "
        "(((Len(LTrim(RTrim([Keralafields].[CircularNumber]))))>1)) ORDER BY Keralafields.CircularNumber ASC;");
    sql.replace(QStringLiteral("CircularNumber"), column);
    sql.replace(QStringLiteral("CIRCULAR NUMBER"), alias);
    return sql;
}

// The document name of an index cell: the text after its first "-".
QString documentName(const QString& cell)
{
    const qsizetype p = cell.indexOf(QLatin1Char('-'));
    return p < 0 ? QString() : cell.mid(p + 1);
}

bool inGlobalvat(const QString& name)
{
    return !query(QStringLiteral("SELECT name FROM Globalvat WHERE ((name='") + name + QStringLiteral("'));"), 1)->Eof();
}

enum class Shape { OwnQuery, Index, Judgment, Name, NameWithCondition, NumericKey };

struct Screen {
    const char* variable;
    int db;                // database the grid query runs on
    QString gridQuery;
    int valueColumn;       // the screen's PredicateValueColumnIndex
    Shape shape;
    QString condition;     // the screen's AdditionalSearchConditions
    QString table;         // for the numeric key shape
};

const QString kAlliedForms = QStringLiteral(
    " 'AGRICULTURAL INCOME TAX Forms' , 'AIT FORM 1' , 'AIT FORM 2' , 'LUXURY Forms' , 'FORMI' , 'FORMIAAA' , "
    "'FORMIB' , 'FORMII' , 'FORMIIA' , 'FORMIIAA' , 'FORMIIB' , 'FORMIIC' , 'FORMIII' , 'FORMIIIA' , 'FORMIIIB' , "
    "'FORMIIIC' , 'FORMIV' , 'FORMIVA' , 'FORMV' , 'FORMVI' , 'FORMVII' , 'FORMVIII' , 'FORMIX' , "
    "'Mangalya  FORM I' , 'Mangalya  FORM II' , 'Mangalya FORM III' , 'KML Forms' , 'KMLFORM- A' , "
    "'KMLFORM -AA' , 'KMLFORM -AAA' , 'KMLFORM- AAAA' , 'KMLFORM- B' , 'KMLFORM -C' , 'KMLFORM -D' , "
    "'KMLFORM- E' , 'KMLFORM -F' , 'KMLFORM -G' , 'KMLFORM -H' , 'KMLFORM -I' , 'KMLFORM -J' , 'KMLFORM -K' , "
    "'KMLFORM -L' , 'KMLFORM- M' , 'KMLFORM- N' , 'KMLFORM -O' , 'KMLFORM- P' , 'KMLFORM- Q' , 'KMLFORM -R' , "
    "'KMLFORM -RA' , 'KMLFORM -RB' , 'KMLFORM -RC' , 'KMLFORM -S' , 'KMLFORM -T' , 'KMLFORM- U' , "
    "'TRIBUNAL Forms' , 'Tri-FORM A' , 'Tri-FORM B' , 'Tri-FORM C' , 'Tri-FORM D' , 'Tri-FORM E' , "
    "'Tri-FORM F' , 'Tri-FORM G' , 'Tri-FORM H'");

std::vector<Screen> screens()
{
    const QString whole = QStringLiteral("SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala ");
    return {
        {"ObjActGlobalSections", 1,
         QStringLiteral("SELECT Kerala.name + ' ' + Kerala.SecDesc as Search , Kerala.name as SECTION, Kerala.SecDesc as DESCRIPTION FROM Kerala WHERE (((Kerala.name)<>'THE KERALA GENERAL SALES TAX ACT') AND ((Kerala.ChapterNo)>0) AND ((LCase(([Kerala].[type])))='act')) ORDER BY Kerala.ChapterNo, Kerala.name;"),
         1, Shape::OwnQuery, QStringLiteral("and type='Act'"), {}},
        {"ObjRuleGlobalSections", 1,
         QStringLiteral("SELECT Kerala.name + ' ' + Kerala.SecDesc as Search , Kerala.name as [RULE SECTION], Kerala.SecDesc as DESCRIPTION FROM Kerala WHERE (((Kerala.ChapterNo)>0) AND ((LCase(([Kerala].[type])))='rules')) ORDER BY Kerala.ChapterNo, Kerala.name ;"),
         1, Shape::OwnQuery, QStringLiteral("and type='Rules'"), {}},
        {"ObjFormGlobalSections", 1,
         QStringLiteral("SELECT Kerala.name + ' ' + Kerala.SecDesc as Search , Kerala.name as FORM, Kerala.SecDesc as DESCRIPTION FROM Kerala WHERE ( ((LCase(([Kerala].[type])))='forms')) ORDER BY Kerala.ChapterNo, Kerala.name;"),
         1, Shape::OwnQuery, QStringLiteral("and type='Forms'"), {}},
        {"ObjScheduleGlobalSection", 3,
         QStringLiteral("SELECT Allshedule.Schname As Search, Allshedule.ID, Allshedule.Schname As SCHEDULE FROM Allshedule WHERE (((Allshedule.Stid)='k')) ORDER BY Allshedule.Schname;"),
         1, Shape::NumericKey, {}, QStringLiteral("Allshedule")},
        {"gsCircularNumber", 1, indexQuery(QStringLiteral("CircularNumber"), QStringLiteral("CIRCULAR NUMBER")), 0, Shape::Index, {}, {}},
        {"gsCircularSubject", 1, indexQuery(QStringLiteral("CircularSubject"), QStringLiteral("CIRCULAR NUMBER")), 0, Shape::Index, {}, {}},
        {"gsCircularSection", 1, indexQuery(QStringLiteral("CircularSection"), QStringLiteral("CIRCULAR NUMBER")), 0, Shape::Index, {}, {}},
        {"gsJudgmentCitation", 1, indexQuery(QStringLiteral("VatJudgmentCitation"), QStringLiteral("CITATION")), 0, Shape::Judgment, {}, {}},
        {"gsJudgmentSection", 1, indexQuery(QStringLiteral("VatJudgmentSection"), QStringLiteral("SECTION")), 0, Shape::Judgment, {}, {}},
        {"gsJudgmentSubject", 1, indexQuery(QStringLiteral("VatJudgmentSubject"), QStringLiteral("SUBJECT")), 0, Shape::Judgment, {}, {}},
        {"gsArJudgmentCitation", 1, indexQuery(QStringLiteral("RJudgmentCitation"), QStringLiteral("CITATION")), 0, Shape::Judgment, {}, {}},
        {"gsArJudgmentSection", 1, indexQuery(QStringLiteral("RJudjmentSection"), QStringLiteral("SECTION")), 0, Shape::Judgment, {}, {}},
        {"gsArJudgmentSubject", 1, indexQuery(QStringLiteral("RJudgmentSubject"), QStringLiteral("SUBJECT")), 0, Shape::Judgment, {}, {}},
        {"gsNotificationNumber", 1, indexQuery(QStringLiteral("NotificationNumber"), QStringLiteral("NOTIFICATION NUMBER")), 0, Shape::Index, {}, {}},
        {"gsNotificationSubject", 1, indexQuery(QStringLiteral("NotificationSubject"), QStringLiteral("NOTIFICATION SUBJECT")), 0, Shape::Index, {}, {}},
        {"gsNotificationSection", 1, indexQuery(QStringLiteral("NotifcaionSection"), QStringLiteral("NOTIFICATION SECTION")), 0, Shape::Index, {}, {}},
        {"ObjSectionIndexKGSTGB", 1, whole + QStringLiteral("WHERE Kerala.name = 'Section index KGST';"), 0, Shape::Name, {}, {}},
        {"ObjGenSaleTaxActGB", 1, whole + QStringLiteral("WHERE Kerala.name = 'THE KERALA GENERAL SALES TAX ACT';"), 0,
         Shape::NameWithCondition, QStringLiteral(" and type='Act'"), {}},
        {"ObjGSTPaperReportGB", 1, whole + QStringLiteral("WHERE Kerala.name IN ('1stDiscussion PaperGST', 'Report On GST Of Task Force');"), 0,
         Shape::NameWithCondition, QStringLiteral(" and type='Act'"), {}},
        {"ObjGSTRuleGB", 1, whole + QStringLiteral("WHERE Kerala.name IN ('KERALA GENERAL SALES TAX RULES');"), 0,
         Shape::NameWithCondition, QStringLiteral(" and type='Rules'"), {}},
        {"ObjAlliedActGB", 1, whole + QStringLiteral("where name In ('THE KERALA TAX ON LUXURIES ACTS 1976', 'THE KERALA MONEY-LENDERS ACT 1958 ', 'THE KERALA AGRICULTURAL INCOME TAX ACT') And Type ='Allied'"), 0,
         Shape::NameWithCondition, QStringLiteral(" and type='Allied'"), {}},
        {"ObjAlliedRuleGB", 1, whole + QStringLiteral("where name In ('THE KERALA TAX ON LUXURIES RULES 1976','THE KERALA AGRICULTURAL INCOME TAX RULES', 'MANGALYA NIDHI CESS RULES') And Type ='Allied'"), 0,
         Shape::NameWithCondition, QStringLiteral(" and type='Allied'"), {}},
        {"ObjAlliedFormsGB", 1, whole + QStringLiteral("where name In (") + kAlliedForms + QStringLiteral(") And Type ='Allied'"), 0,
         Shape::NameWithCondition, QStringLiteral(" and type='Allied'"), {}},
        {"ObjAlliedCircularsGB", 1, whole + QStringLiteral("where name In ('xxxx Currently No items') And Type ='Allied'"), 0,
         Shape::NameWithCondition, QStringLiteral(" and type='Allied'"), {}},
        {"ObjAlliedNotificationsGB", 1, whole + QStringLiteral("where name In ('KERALA LUXURY TAX NOTIFICATIONS') And Type ='Allied'"), 0,
         Shape::NameWithCondition, QStringLiteral(" and type='Allied'"), {}},
        {"ObjCAMenuItemGlobalSection", 3,
         QStringLiteral("SELECT ID, (CAPractice.name) & ' ' & (CAPractice.Type) AS Search, CAPractice.name AS Description FROM CAPractice WHERE (((Len(LTrim(RTrim([CAPractice].[name]))))>1)) ORDER BY CAPractice.Weight;"),
         0, Shape::NumericKey, {}, QStringLiteral("CAPractice")},
    };
}

// The statement (and database) the library runs for the chosen value of a screen.
std::pair<QString, int> documentQuery(const Screen& s, const ado::Variant& value)
{
    const QString select = QStringLiteral("select fname from Kerala where name='");
    switch (s.shape) {
    case Shape::OwnQuery:
        return {QStringLiteral("select fname from Kerala where name='") + value.toString() + QStringLiteral("' ")
                    + s.condition.trimmed(), 1};
    case Shape::Index:
        return {select + documentName(value.toString()) + QStringLiteral("'"), 1};
    case Shape::Judgment: {
        const QString name = documentName(value.toString());
        if (inGlobalvat(name))
            return {QStringLiteral("select fname from Globalvat where name='") + name + QStringLiteral("'"), 1};
        return {QStringLiteral("select fname from Globalvatse where name='") + name + QStringLiteral("'"), 2};
    }
    case Shape::Name:
        return {select + value.toString() + QStringLiteral("'"), 1};
    case Shape::NameWithCondition:
        return {select + value.toString() + QStringLiteral("'") + s.condition, 1};
    case Shape::NumericKey:
        return {QStringLiteral("select fname from ") + s.table + QStringLiteral(" where ID=") + value.toString(), 3};
    }
    return {};
}

class SampleContent : public ::testing::Test {
protected:
    TestProgramFolder folder;
};

TEST_F(SampleContent, EverySearchScreenListsRowsThatOpenADocument)
{
    const auto all = screens();
    ASSERT_EQ(all.size(), 26u);
    for (const Screen& s : all) {
        SCOPED_TRACE(s.variable);
        auto rs = query(s.gridQuery, s.db);
        ASSERT_GT(rs->RecordCount(), 0) << "the screen lists no rows";
        for (; !rs->Eof(); rs->MoveNext()) {
            const ado::Variant value = rs->Fields(s.valueColumn).Value();
            ASSERT_FALSE(value.isNull());
            const auto [sql, db] = documentQuery(s, value);
            const QByteArray doc = firstDocument(sql, db);
            EXPECT_TRUE(doc.startsWith("{\\rtf")) << sql.toStdString();
        }
    }
}

TEST_F(SampleContent, AlliedFormsListAllSixtyThreeNames)
{
    const Screen forms = screens()[22];
    ASSERT_STREQ(forms.variable, "ObjAlliedFormsGB");
    EXPECT_EQ(query(forms.gridQuery, 1)->RecordCount(), 63);
}

TEST_F(SampleContent, EveryIndexCellNamesAnExistingDocument)
{
    struct Column { const char* name; bool judgment; };
    const Column columns[] = {
        {"ActSection", false}, {"CircularNumber", false}, {"CircularSubject", false}, {"CircularSection", false},
        {"NotificationNumber", false}, {"NotificationSubject", false}, {"NotifcaionSection", false},
        {"VatJudgmentCitation", true}, {"VatJudgmentSection", true}, {"VatJudgmentSubject", true},
        {"RJudgmentCitation", true}, {"RJudjmentSection", true}, {"RJudgmentSubject", true}};
    for (const Column& c : columns) {
        SCOPED_TRACE(c.name);
        const QString col = QString::fromLatin1(c.name);
        auto rs = query(QStringLiteral("SELECT ") + col + QStringLiteral(" FROM Keralafields WHERE ") + col
                            + QStringLiteral(" IS NOT NULL"), 1);
        ASSERT_FALSE(rs->Eof()) << "index column without cells";
        for (; !rs->Eof(); rs->MoveNext()) {
            const QString cell = rs->Fields(0).Value().toString();
            const QString name = documentName(cell);
            ASSERT_FALSE(name.isEmpty()) << cell.toStdString();
            const QString where = QStringLiteral(" where name='") + name + QStringLiteral("'");
            if (c.judgment) {
                const bool found = !firstDocument(QStringLiteral("select fname from Globalvat") + where, 1).isEmpty()
                                   || !firstDocument(QStringLiteral("select fname from Globalvatse") + where, 2).isEmpty();
                EXPECT_TRUE(found) << cell.toStdString();
            } else {
                EXPECT_FALSE(firstDocument(QStringLiteral("select fname from Kerala") + where, 1).isEmpty())
                    << cell.toStdString();
            }
        }
    }
}

TEST_F(SampleContent, PlaceholderDocumentExists)
{
    const QByteArray doc = firstDocument(
        QStringLiteral("SELECT Globalvat.fname FROM Globalvat WHERE (((Globalvat.name)='default') AND ((Globalvat.type)='default'));"), 1);
    EXPECT_TRUE(doc.startsWith("{\\rtf"));
}

TEST_F(SampleContent, JudgmentsAreSpreadOverBothDatabases)
{
    // A name in both tables is read from the first database: the sample keeps one such case.
    int inBoth = 0, onlySecond = 0;
    for (auto rs = query(QStringLiteral("select name from Globalvatse"), 2); !rs->Eof(); rs->MoveNext())
        (inGlobalvat(rs->Fields(0).Value().toString()) ? inBoth : onlySecond)++;
    EXPECT_GE(inBoth, 1);
    EXPECT_GE(onlySecond, 1);
}

TEST_F(SampleContent, SchedulesOfOtherStatesAreNotListed)
{
    const long kerala = query(QStringLiteral("SELECT Allshedule.Schname As Search, Allshedule.ID, Allshedule.Schname As SCHEDULE FROM Allshedule WHERE (((Allshedule.Stid)='k')) ORDER BY Allshedule.Schname;"), 3)->RecordCount();
    const long all = query(QStringLiteral("select ID from Allshedule"), 3)->RecordCount();
    EXPECT_GT(kerala, 0);
    EXPECT_LT(kerala, all);
}

TEST_F(SampleContent, EveryLawDocumentIsMarkedAsSample)
{
    struct Source { const char* sql; int db; };
    const Source sources[] = {{"select fname from Kerala", 1}, {"select fname from Globalvat", 1},
                              {"select fname from Globalvatse", 2}, {"select fname from CAPractice", 3},
                              {"select fname from Allshedule", 3}};
    for (const Source& s : sources) {
        SCOPED_TRACE(s.sql);
        for (auto rs = query(QString::fromLatin1(s.sql), s.db); !rs->Eof(); rs->MoveNext()) {
            const QByteArray doc = rs->Fields(0).Value().toBytes();
            EXPECT_TRUE(doc.contains("Sample text") && doc.contains("not the official text of the law"));
        }
    }
}

} // namespace
