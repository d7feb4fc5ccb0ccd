// The shipped sample law content, read the way the library reads it: every search screen's grid
// query lists rows, and every listed row's document query finds a real document.
#include "TestProgramFolder.h"

#include <library/DocumentQueries.h>
#include <library/ScreenCatalog.h>
#include <platform/db/Recordset.h>
#include <platform/sys/ProgramFolder.h>

#include <gtest/gtest.h>

namespace {

using library::GoShape;

ado::RecordsetPtr query(const QString& sql, int db)
{
    static const char* const files[] = {"0909214SD01.mdb;", "1309214SD02.mdb;", "1509214SD03.mdb;"};
    auto rs = ado::newRecordset();
    rs->Open(sql, "Driver={Microsoft Access Driver (*.mdb)};Dbq=" + sys::programPath(files[db - 1]) + "Uid=admin;",
             ado::adOpenStatic, ado::adLockOptimistic);
    return rs;
}

// The first column of the first row: the document, or empty when there is no row or a Null.
QByteArray firstDocument(const QString& sql, int db)
{
    auto rs = query(sql, db);
    return rs->Eof() || rs->Fields(0).Value().isNull() ? QByteArray() : rs->Fields(0).Value().toBytes();
}

bool inGlobalvat(const QString& name)
{
    return !query("SELECT name FROM Globalvat WHERE ((name='" + library::sqlQuoted(name) + "'));", 1)->Eof();
}

// The statement (and database) the library runs for the chosen value of a screen.
std::pair<QString, int> documentQuery(const library::ScreenSpec& s, const ado::Variant& value)
{
    const QString v = value.toString();
    switch (s.shape) {
    case GoShape::OwnDocument:
    case GoShape::ScreenQuery:
        return {library::goQueryText("fname", "Kerala", "name", v, s.additionalSearchConditions), 1};
    case GoShape::Index:
        return {library::nameStatement("Kerala", library::indexDocumentName(v)), 1};
    case GoShape::Judgment: {
        const QString name = library::indexDocumentName(v);
        return inGlobalvat(name) ? std::pair{library::nameStatement("Globalvat", name), 1}
                                 : std::pair{library::nameStatement("Globalvatse", name), 2};
    }
    case GoShape::Name:
        return {library::nameStatement("Kerala", v), 1};
    case GoShape::NameWithCondition:
        return {library::nameStatement("Kerala", v, s.additionalSearchConditions), 1};
    case GoShape::NumericKey:
    case GoShape::NumericKeyWithCondition:
        return {library::numericKeyStatement(s.oleTableName, "ID", *library::numericKeyText(value)), 3};
    }
    return {};
}

class SampleContent : public ::testing::Test {
protected:
    TestProgramFolder folder;
};

TEST_F(SampleContent, EverySearchScreenListsRowsThatOpenADocument)
{
    for (const library::ScreenSpec& s : library::screenCatalog()) {
        SCOPED_TRACE(s.variable);
        auto rs = query(s.gridQuery(), s.runner == library::GridRunner::ByConnection3 ? 3 : 1);
        ASSERT_GT(rs->RecordCount(), 0) << "the screen lists no rows";
        if (QLatin1String(s.variable) == "ObjAlliedFormsGB") {
            EXPECT_EQ(rs->RecordCount(), 63);
        }
        for (; !rs->Eof(); rs->MoveNext()) {
            const ado::Variant value = rs->Fields(s.predicateValueColumnIndex).Value();
            ASSERT_FALSE(value.isNull());
            const auto [sql, db] = documentQuery(s, value);
            EXPECT_TRUE(firstDocument(sql, db).startsWith("{\\rtf")) << sql.toStdString();
        }
    }
}

// Every document of the sample is marked as not the law's official text; the judgment tables
// keep a name in both (read from the first database) and one in the second only.
TEST_F(SampleContent, EveryLawDocumentIsMarkedAsSampleAndJudgmentsAreInBothTables)
{
    const std::pair<const char*, int> sources[] = {{"select fname from Kerala", 1}, {"select fname from Globalvat", 1},
                                                   {"select fname from Globalvatse", 2},
                                                   {"select fname from CAPractice", 3},
                                                   {"select fname from Allshedule", 3}};
    for (const auto& [sql, db] : sources) {
        SCOPED_TRACE(sql);
        for (auto rs = query(sql, db); !rs->Eof(); rs->MoveNext()) {
            const QByteArray doc = rs->Fields(0).Value().toBytes();
            EXPECT_TRUE(doc.contains("Sample text") && doc.contains("not the official text of the law"));
        }
    }
    int inBoth = 0, onlySecond = 0;
    for (auto rs = query("select name from Globalvatse", 2); !rs->Eof(); rs->MoveNext())
        (inGlobalvat(rs->Fields(0).Value().toString()) ? inBoth : onlySecond)++;
    EXPECT_GE(inBoth, 1);
    EXPECT_GE(onlySecond, 1);
    // The judgment window's placeholder, and a schedule list that leaves out other states'.
    EXPECT_TRUE(firstDocument("SELECT Globalvat.fname FROM Globalvat WHERE (((Globalvat.name)='default') AND "
                              "((Globalvat.type)='default'));", 1).startsWith("{\\rtf"));
    EXPECT_LT(query(library::findScreen("ObjScheduleGlobalSection")->gridQuery(), 3)->RecordCount(),
              query("select ID from Allshedule", 3)->RecordCount());
}

} // namespace
