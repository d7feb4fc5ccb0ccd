// The law connections on a program folder built from data/: exact connect strings, the
// catalogues, table routing, and the recordset and document services.
#include "TestProgramFolder.h"
#include "lawdb/LawDb.h"
#include "lawdb/MyMOD.h"
#include "library/keralaforms.h"
#include "platform/db/Error.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/documents/RemoteData.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace lawdb;

namespace {

class LawDbTest : public ::testing::Test {
protected:
    void SetUp() override { resetState(); }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        resetState();
    }
    // Runs a statement on a law file before the program connects.
    void prepare(int number, const QString& sql)
    {
        ado::Connection cn;
        cn.Open("Driver={Microsoft Access Driver (*.mdb)};Dbq=" + folder.path() + "\\" + lawFileName(number));
        cn.Execute(sql);
        cn.Close();
    }
    TestProgramFolder folder;
    ui::ScopedMsgBoxResponder answers;
};

} // namespace

TEST_F(LawDbTest, ConnectStringsCharacterForCharacterAndAMissingDatabaseStopsAtThatDatabase)
{
    procConnectLawDBs();
    const QString driver = "Driver={Microsoft Access Driver (*.mdb)};Dbq=" + folder.path() + "\\";
    EXPECT_EQ(state().LawConnectString1, driver + "0909214SD01.mdb;Uid=admin;Pwd=lanterns;");
    EXPECT_EQ(state().LawConnectString2, driver + "1309214SD02.mdb;Uid=admin;Pwd=pimento");
    EXPECT_EQ(state().LawConnectString3, driver + "1509214SD03.mdb;Uid=admin;Pwd=quarrel");
    for (const auto& cn : {state().LawConnection1, state().LawConnection2, state().LawConnection3})
        EXPECT_EQ(cn->State(), ado::adStateOpen);
    EXPECT_EQ(state().connectingDatabase, 0);
    EXPECT_EQ(fnLawConnection(), state().LawConnection1);
    EXPECT_TRUE(state().MediaRoot.endsWith('\\'));

    resetState();
    ASSERT_TRUE(QFile::remove(folder.file("1309214SD02.mdb")));
    EXPECT_THROW(procConnectLawDBs(), ado::Error);
    EXPECT_EQ(state().connectingDatabase, 2);
    EXPECT_EQ(state().LawConnection1->State(), ado::adStateOpen);
    EXPECT_NE(state().LawConnection3->State(), ado::adStateOpen);
    EXPECT_FALSE(state().TableCatalog1);   // steps after the failure did not run
}

TEST_F(LawDbTest, CataloguesNameEachDatabasesTablesAndRouteQueries)
{
    // a file may hold no table at all; a table in two files goes to the lower number
    prepare(2, "DROP TABLE Globalvatse");
    prepare(3, "CREATE TABLE Kerala (name TEXT)");
    prepare(3, "CREATE TABLE Globalvatse (name TEXT)");
    ASSERT_NO_THROW(procConnectLawDBs());
    const auto& s = state();
    for (const char* t : {"Kerala", "Keralafields", "Globalvat"})
        EXPECT_TRUE(s.TableCatalog1->Contains(t)) << t;
    EXPECT_EQ(s.TableCatalog2->Count(), 0);
    for (const char* t : {"Kerala", "CAPractice", "Allshedule"})
        EXPECT_TRUE(s.TableCatalog3->Contains(t)) << t;
    // every entry is keyed by its name and its child collection is its own catalogue, which
    // that does not keep alive
    for (int i = 1; i <= s.TableCatalog1->Count(); ++i) {
        const auto entry = s.TableCatalog1->Item(i);
        EXPECT_EQ(s.TableCatalog1->Item(entry->TableName()), entry) << i;
        EXPECT_EQ(entry->getClsTableCollection(), s.TableCatalog1) << i;
    }

    EXPECT_EQ(fnConnectionForTable("kerala"), s.LawConnection1);
    EXPECT_EQ(fnConnectionForTable("GLOBALVATSE"), s.LawConnection3);
    EXPECT_EQ(fnConnectionForTable("Allshedule"), s.LawConnection3);
    for (const char* none : {"NoSuchTable", " Kerala"})   // looked up unchanged
        EXPECT_EQ(fnConnectionForTable(none), nullptr) << none;
    const std::weak_ptr<clsTableCollection> weak = s.TableCatalog1;
    resetState();
    EXPECT_TRUE(weak.expired());
}

TEST_F(LawDbTest, OpenersReturnRowsOrShowTheDetailedMessageAndTheJudgmentLookupSurvivesQuotes)
{
    procConnectLawDBs();
    auto rs = getRecordSet("SELECT name FROM Kerala", "Kerala");
    ASSERT_TRUE(rs);
    EXPECT_GT(rs->RecordCount(), 0);
    EXPECT_TRUE(getRecordSetByCn("SELECT ID FROM CAPractice", state().LawConnection3));
    EXPECT_TRUE(answers.messages().empty());

    EXPECT_FALSE(getRecordSet("SELECT * FROM Nowhere", "Nowhere"));
    EXPECT_FALSE(getRecordSetByCn("SELEC nonsense", state().LawConnection3));
    ASSERT_EQ(answers.messages().size(), 2u);
    const auto& m = answers.messages().front();
    EXPECT_TRUE(m.prompt.startsWith("MyMOD.getRecordSet : ")) << m.prompt.toStdString();
    EXPECT_TRUE(m.prompt.contains(" | No: ") && m.prompt.contains(" | Src: "));
    EXPECT_EQ(m.title, "_IN_DEBUG");
    EXPECT_EQ(m.icon(), ui::vbExclamation);
    EXPECT_TRUE(answers.messages().back().prompt.startsWith("MyMOD.getRecordSetByCn : "));

    // the judgment lookup: case ignored, a quote in the name searched for
    for (auto [name, found] : {std::pair{"default", true}, {"DEFAULT", true}, {"no such judgment", false}, {"", false},
                               {"D'Souza v State", false}})
        EXPECT_EQ(fnInGlobalvat(name), found) << name;
    state().LawConnection1->Execute("INSERT INTO Globalvat (name, type) VALUES ('D''Souza v State', 'x')");
    EXPECT_TRUE(fnInGlobalvat("D'Souza v State"));
    EXPECT_EQ(answers.messages().size(), 2u);
}

TEST_F(LawDbTest, PlaceholderServiceBindsOnlyWhenTheDocumentIsMissing)
{
    procConnectLawDBs();
    state().LawConnection1->Execute("INSERT INTO Kerala (name, type) VALUES ('nulldoc', 'Act')");
    auto& kf = ui::form<keralaforms>();
    // statement, its answer, what the document window is bound to afterwards
    const std::tuple<QString, bool, QString> cases[] = {
        {"select fname from Kerala where fname is not null", false, "untouched"},
        {"select fname from Kerala where name='zzz-nothing'", true, kPlaceholderQuery},
        {"select fname from Kerala where name='nulldoc'", true, kPlaceholderQuery},
        {"select fname from Nowhere", false, "untouched"},
    };
    for (const auto& [sql, missing, bound] : cases) {
        kf.MSRDC1->setConnect("untouched");
        kf.MSRDC1->setSQL("untouched");
        EXPECT_EQ(IsQueryReturnsNullCnStr(sql, state().LawConnectString1), missing) << sql.toStdString();
        EXPECT_EQ(kf.MSRDC1->SQL(), bound);
        EXPECT_EQ(kf.MSRDC1->Connect(), missing ? state().LawConnectString1 : "untouched");
    }
    ASSERT_EQ(answers.messages().size(), 1u);   // the failing statement only
    EXPECT_TRUE(answers.messages().front().prompt.startsWith("MyMOD.IsQueryReturnsNullCnStr : "));
}
