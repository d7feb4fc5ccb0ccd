#include "ScreenCatalog.h"

namespace library {

namespace {

constexpr const char* kActContents =
    "SELECT Kerala.name + ' ' + Kerala.SecDesc as Search , Kerala.name as SECTION, Kerala.SecDesc as "
    "DESCRIPTION FROM Kerala WHERE (((Kerala.name)<>'THE KERALA GENERAL SALES TAX ACT') AND "
    "((Kerala.ChapterNo)>0) AND ((LCase(([Kerala].[type])))='act')) ORDER BY Kerala.ChapterNo, "
    "Kerala.name;";
constexpr const char* kRulesContents =
    "SELECT Kerala.name + ' ' + Kerala.SecDesc as Search , Kerala.name as [RULE SECTION], "
    "Kerala.SecDesc as DESCRIPTION FROM Kerala WHERE (((Kerala.ChapterNo)>0) AND "
    "((LCase(([Kerala].[type])))='rules')) ORDER BY Kerala.ChapterNo, Kerala.name ;";
constexpr const char* kFormsContents =
    "SELECT Kerala.name + ' ' + Kerala.SecDesc as Search , Kerala.name as FORM, Kerala.SecDesc as "
    "DESCRIPTION FROM Kerala WHERE ( ((LCase(([Kerala].[type])))='forms')) ORDER BY "
    "Kerala.ChapterNo, Kerala.name;";
constexpr const char* kSchedules =
    "SELECT Allshedule.Schname As Search, Allshedule.ID, Allshedule.Schname As SCHEDULE FROM "
    "Allshedule WHERE (((Allshedule.Stid)='k')) ORDER BY Allshedule.Schname;";
constexpr const char* kCAPractice =
    "SELECT ID, (CAPractice.name) & ' ' & (CAPractice.Type) AS Search, CAPractice.name AS "
    "Description FROM CAPractice WHERE (((Len(LTrim(RTrim([CAPractice].[name]))))>1)) ORDER BY "
    "CAPractice.Weight;";
constexpr const char* kKgstIndex =
    "SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala WHERE Kerala.name = "
    "'Section index KGST';";
constexpr const char* kGstAct =
    "SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala WHERE Kerala.name = "
    "'THE KERALA GENERAL SALES TAX ACT';";
constexpr const char* kGstPapers =
    "SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala WHERE Kerala.name IN "
    "('1stDiscussion PaperGST', 'Report On GST Of Task Force');";
constexpr const char* kGstRules =
    "SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala WHERE Kerala.name IN "
    "('KERALA GENERAL SALES TAX RULES');";
constexpr const char* kAlliedActs =
    "SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala where name In ('THE KERALA "
    "TAX ON LUXURIES ACTS 1976', 'THE KERALA MONEY-LENDERS ACT 1958 ', 'THE KERALA AGRICULTURAL "
    "INCOME TAX ACT') And Type ='Allied'";
constexpr const char* kAlliedRules =
    "SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala where name In ('THE KERALA "
    "TAX ON LUXURIES RULES 1976','THE KERALA AGRICULTURAL INCOME TAX RULES', 'MANGALYA NIDHI CESS "
    "RULES') And Type ='Allied'";
constexpr const char* kAlliedCirculars =
    "SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala where name In ('xxxx "
    "Currently No items') And Type ='Allied'";
constexpr const char* kAlliedNotifications =
    "SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala where name In ('KERALA "
    "LUXURY TAX NOTIFICATIONS') And Type ='Allied'";

using R = GridRunner;
using G = GoShape;

// variable, opener, key, header, query, index column, alias, runner,
// DontShowOleForm, search, detail, hidden ID, auto-size, predicate value,
// table, OLE column, predicate column, conditions, connect string, Go shape, Back handler
const std::vector<ScreenSpec> kCatalog = {
    {"ObjActGlobalSections", "Tvw", "VAT", "Kerala VAT Act Sectionwse & Subjectwise", kActContents,
     "", "", R::ByTable, false, 0, 0, kNotSet, 2, 1, "Kerala", "fname", "name", "and type='Act'", 1,
     G::OwnDocument, false},
    {"ObjRuleGlobalSections", "tvw2", "Sectionwise",
     "THE KERALA VALUE ADDED TAX RULES 2003 TABLE OF CONTENTS", kRulesContents, "", "", R::ByTable,
     false, 0, 0, kNotSet, 2, 1, "Kerala", "fname", "name", "and type='Rules'", 1, G::OwnDocument,
     false},
    {"ObjFormGlobalSections", "Toolbar2", "forms", "THE KERALA VALUE ADDED TAX FORMS",
     kFormsContents, "", "", R::ByConnection1, true, 0, 0, kNotSet, 2, 1, "Kerala", "fname", "name",
     "and type='Forms'", 1, G::ScreenQuery, false},
    {"ObjScheduleGlobalSection", "Toolbar2", "sch", "THE KERALA VALUE ADDED TAX ACT SCHEDULES",
     kSchedules, "", "", R::ByConnection3, true, 0, 0, 1, 2, 1, "Allshedule", "fname", "ID", "", 3,
     G::NumericKeyWithCondition, false},
    {"gsCircularNumber", "tvwc", "Gen", "KERALA CIRCULARS NUMBERWISE", "", "CircularNumber",
     "CIRCULAR NUMBER", R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "name", "",
     1, G::Index, false},
    {"gsCircularSubject", "tvwc", "cirsub", "KERALA CIRCULARS SUBJECTWISE", "", "CircularSubject",
     "CIRCULAR NUMBER", R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "name", "",
     1, G::Index, false},
    {"gsCircularSection", "tvwc", "Twor", "KERALA CIRCULARS SECTIONWISE", "", "CircularSection",
     "CIRCULAR NUMBER", R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "name", "",
     1, G::Index, false},
    {"gsJudgmentCitation", "tvw3", "Sec1r", "KERALA JUDGMENT CITATIONS", "",
     "VatJudgmentCitation", "CITATION", R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala",
     "fname", "name", "", 1, G::Judgment, true},
    {"gsJudgmentSection", "tvw3", "Twor", "KERALA JUDGMENT SECTIONS", "", "VatJudgmentSection",
     "SECTION", R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "name", "", 1,
     G::Judgment, false},
    {"gsJudgmentSubject", "tvw3", "Sec2r", "KERALA JUDGMENT SUBJECTS", "", "VatJudgmentSubject",
     "SUBJECT", R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "name", "", 1,
     G::Judgment, false},
    {"gsArJudgmentCitation", "tvwr", "Sec1r", "KERALA OLD & RECENT JUDGMENT CITATIONS", "",
     "RJudgmentCitation", "CITATION", R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala",
     "fname", "name", "", 1, G::Judgment, false},
    {"gsArJudgmentSection", "tvwr", "Twor", "KERALA OLD & RECENT JUDGMENT SECTIONS", "",
     "RJudjmentSection", "SECTION", R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname",
     "name", "", 1, G::Judgment, false},
    {"gsArJudgmentSubject", "tvwr", "Subr", "KERALA OLD & RECENT JUDGMENT SUBJECTS", "",
     "RJudgmentSubject", "SUBJECT", R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname",
     "name", "", 1, G::Judgment, false},
    {"gsNotificationNumber", "tvwn", "Sec2r", "KERALA NOTIFICATIONS NUMBERWISE", "",
     "NotificationNumber", "NOTIFICATION NUMBER", R::ByConnection1, true, 0, 1, kNotSet, 1, 0,
     "Kerala", "fname", "name", "", 1, G::Index, false},
    {"gsNotificationSubject", "tvwn", "Notsub", "KERALA NOTIFICATIONS SUBJECTWISE", "",
     "NotificationSubject", "NOTIFICATION SUBJECT", R::ByConnection1, true, 0, 1, kNotSet, 1, 0,
     "Kerala", "fname", "name", "", 1, G::Index, false},
    {"gsNotificationSection", "tvwn", "Twon", "KERALA NOTIFICATIONS SECTIONWISE", "",
     "NotifcaionSection", "NOTIFICATION SECTION", R::ByConnection1, true, 0, 1, kNotSet, 1, 0,
     "Kerala", "fname", "name", "", 1, G::Index, false},
    {"ObjSectionIndexKGSTGB", "Tvw", "KGST", "Section index KGST", kKgstIndex, "", "",
     R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "Search", "", 1, G::Name, true},
    {"ObjGenSaleTaxActGB", "Tvw", "GENERAL", "The Kerala General Sales Tax Act", kGstAct, "", "",
     R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "Search", " and type='Act'", 1,
     G::NameWithCondition, true},
    {"ObjGSTPaperReportGB", "Tvw", "GST", "Paper & Report on KGST", kGstPapers, "", "",
     R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "Search", " and type='Act'", 1,
     G::NameWithCondition, true},
    {"ObjGSTRuleGB", "tvw2", "GENERAL", "The Kerala General Sales Tax Rules", kGstRules, "", "",
     R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "Search", " and type='Rules'",
     1, G::NameWithCondition, true},
    {"ObjAlliedActGB", "tvwali", "Sec1al", "The Kerala Allied Act", kAlliedActs, "", "",
     R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "Search", " and type='Allied'",
     1, G::NameWithCondition, true},
    {"ObjAlliedRuleGB", "tvwali", "Sec2al", "The Kerala Allied Rules", kAlliedRules, "", "",
     R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "Search", " and type='Allied'",
     1, G::NameWithCondition, true},
    {"ObjAlliedFormsGB", "tvwali", "Sec3al", "The Kerala Allied Forms", "", "", "",
     R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "Search", " and type='Allied'",
     1, G::NameWithCondition, true},
    {"ObjAlliedCircularsGB", "tvwali", "Sec4al", "The Kerala Allied Circulars", kAlliedCirculars, "",
     "", R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname", "Search",
     " and type='Allied'", 1, G::NameWithCondition, true},
    {"ObjAlliedNotificationsGB", "tvwali", "Sec5al", "The Kerala Allied Notifications",
     kAlliedNotifications, "", "", R::ByConnection1, true, 0, 1, kNotSet, 1, 0, "Kerala", "fname",
     "Search", " and type='Allied'", 1, G::NameWithCondition, true},
    {"ObjCAMenuItemGlobalSection", "Toolbar2", "ca", "C A Practice", kCAPractice, "", "",
     R::ByConnection3, true, 1, 2, 1, 2, 0, "CAPractice", "fname", "ID", "", 3, G::NumericKey, false},
};

} // namespace

QString ScreenSpec::gridQuery() const
{
    if (*indexColumn)
        return indexGridQuery(QString::fromLatin1(indexColumn), QString::fromLatin1(indexAlias));
    if (QLatin1String(variable) == QLatin1String("ObjAlliedFormsGB"))
        return alliedFormsQuery();
    return QString::fromLatin1(query);
}

const std::vector<ScreenSpec>& screenCatalog() { return kCatalog; }

const ScreenSpec* findScreen(const QString& variable)
{
    for (const ScreenSpec& s : kCatalog)
        if (variable == QLatin1String(s.variable))
            return &s;
    return nullptr;
}

const ScreenSpec* screenFor(const QString& opener, const QString& key)
{
    for (const ScreenSpec& s : kCatalog)
        if (opener == QLatin1String(s.opener) && key == QLatin1String(s.key))
            return &s;
    return nullptr;
}

QString indexGridQuery(const QString& column, const QString& alias)
{
    const QString c = QStringLiteral("[Keralafields].[") + column + QStringLiteral("]");
    return QStringLiteral("SELECT Keralafields.") + column + QStringLiteral(" AS Search, IIf(InStr(1,")
           + c + QStringLiteral(",'-')>0,Left(") + c + QStringLiteral(",InStr(1,") + c
           + QStringLiteral(",'-')-1),") + c + QStringLiteral(") AS [") + alias
           + QStringLiteral("] FROM Keralafields WHERE (((Len(LTrim(RTrim(") + c
           + QStringLiteral("))))>1)) ORDER BY Keralafields.") + column + QStringLiteral(" ASC;");
}

const QStringList& alliedFormNames()
{
    static const QStringList names = {
        "AGRICULTURAL INCOME TAX Forms", "AIT FORM 1", "AIT FORM 2", "LUXURY Forms", "FORMI",
        "FORMIAAA", "FORMIB", "FORMII", "FORMIIA", "FORMIIAA", "FORMIIB", "FORMIIC", "FORMIII",
        "FORMIIIA", "FORMIIIB", "FORMIIIC", "FORMIV", "FORMIVA", "FORMV", "FORMVI", "FORMVII",
        "FORMVIII", "FORMIX", "Mangalya  FORM I", "Mangalya  FORM II", "Mangalya FORM III",
        "KML Forms", "KMLFORM- A", "KMLFORM -AA", "KMLFORM -AAA", "KMLFORM- AAAA", "KMLFORM- B",
        "KMLFORM -C", "KMLFORM -D", "KMLFORM- E", "KMLFORM -F", "KMLFORM -G", "KMLFORM -H",
        "KMLFORM -I", "KMLFORM -J", "KMLFORM -K", "KMLFORM -L", "KMLFORM- M", "KMLFORM- N",
        "KMLFORM -O", "KMLFORM- P", "KMLFORM- Q", "KMLFORM -R", "KMLFORM -RA", "KMLFORM -RB",
        "KMLFORM -RC", "KMLFORM -S", "KMLFORM -T", "KMLFORM- U", "TRIBUNAL Forms", "Tri-FORM A",
        "Tri-FORM B", "Tri-FORM C", "Tri-FORM D", "Tri-FORM E", "Tri-FORM F", "Tri-FORM G",
        "Tri-FORM H"};
    return names;
}

QString alliedFormsQuery()
{
    QString list;
    for (const QString& name : alliedFormNames())
        list += (list.isEmpty() ? QStringLiteral(" '") : QStringLiteral(" , '")) + name
                + QStringLiteral("'");
    return QStringLiteral("SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala where "
                          "name In (")
           + list + QStringLiteral(") And Type ='Allied'");
}

} // namespace library
