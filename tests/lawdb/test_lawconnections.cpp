// The law connections on a program folder built from data/: exact connect strings, the
// catalogues, table routing, and the recordset and document services.
#include "TestProgramFolder.h"
#include "lawdb/LawDb.h"
#include "lawdb/MyMOD.h"
#include "library/keralaforms.h"
#include "platform/db/Error.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/RemoteData.h"

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
};

void bind(keralaforms& kf, const QString& text)
{
    kf.MSRDC1->setConnect(text);
    kf.MSRDC1->setSQL(text);
}

} // namespace

TEST_F(LawDbTest, ConnectStringsCharacterForCharacter)
{
    procConnectLawDBs();
    const QString f = folder.path();
    EXPECT_EQ(state().LawConnectString1,
              "Driver={Microsoft Access Driver (*.mdb)};Dbq=" + f + "\\0909214SD01.mdb;Uid=admin;Pwd=lanterns;");
    EXPECT_EQ(state().LawConnectString2,
              "Driver={Microsoft Access Driver (*.mdb)};Dbq=" + f + "\\1309214SD02.mdb;Uid=admin;Pwd=pimento");
    EXPECT_EQ(state().LawConnectString3,
              "Driver={Microsoft Access Driver (*.mdb)};Dbq=" + f + "\\1509214SD03.mdb;Uid=admin;Pwd=quarrel");
    EXPECT_EQ(state().LawConnection1->State(), ado::adStateOpen);
    EXPECT_EQ(state().LawConnection2->State(), ado::adStateOpen);
    EXPECT_EQ(state().LawConnection3->State(), ado::adStateOpen);
    EXPECT_EQ(state().connectingDatabase, 0);
    EXPECT_EQ(fnLawConnection(), state().LawConnection1);
    EXPECT_TRUE(state().MediaRoot.endsWith('\\'));
}

TEST_F(LawDbTest, CataloguesNameEachDatabasesTablesAndRouteQueries)
{
    procConnectLawDBs();
    const auto& s = state();
    for (const char* t : {"Kerala", "Keralafields", "Globalvat"})
        EXPECT_TRUE(s.TableCatalog1->Contains(t)) << t;
    EXPECT_TRUE(s.TableCatalog2->Contains("Globalvatse"));
    EXPECT_TRUE(s.TableCatalog3->Contains("CAPractice"));
    EXPECT_TRUE(s.TableCatalog3->Contains("Allshedule"));
    EXPECT_FALSE(s.TableCatalog1->Contains("Allshedule"));
    // Every entry is keyed by its name and its child collection is its own catalogue,
    // which that does not keep alive.
    for (int i = 1; i <= s.TableCatalog1->Count(); ++i) {
        const auto entry = s.TableCatalog1->Item(i);
        EXPECT_EQ(s.TableCatalog1->Item(entry->TableName()), entry) << i;
        EXPECT_EQ(entry->getClsTableCollection(), s.TableCatalog1) << i;
    }

    EXPECT_EQ(fnConnectionForTable("kerala"), s.LawConnection1);
    EXPECT_EQ(fnConnectionForTable("GLOBALVATSE"), s.LawConnection2);
    EXPECT_EQ(fnConnectionForTable("Allshedule"), s.LawConnection3);
    EXPECT_EQ(fnConnectionForTable("NoSuchTable"), nullptr);
    EXPECT_EQ(fnConnectionForTable(" Kerala"), nullptr);   // looked up unchanged
    const std::weak_ptr<clsTableCollection> weak = s.TableCatalog1;
    resetState();
    EXPECT_TRUE(weak.expired());
}

TEST_F(LawDbTest, DatabaseWithoutTablesGivesAnEmptyCatalogue)
{
    prepare(3, "DROP TABLE CAPractice");
    prepare(3, "DROP TABLE Allshedule");
    ASSERT_NO_THROW(procConnectLawDBs());
    ASSERT_TRUE(state().TableCatalog3);
    EXPECT_EQ(state().TableCatalog3->Count(), 0);
    EXPECT_EQ(fnConnectionForTable("CAPractice"), nullptr);
    EXPECT_GT(state().TableCatalog1->Count(), 0);
}

TEST_F(LawDbTest, TableInTwoDatabasesResolvesToTheLowerNumber)
{
    prepare(3, "CREATE TABLE Kerala (name TEXT)");
    prepare(3, "CREATE TABLE Globalvatse (name TEXT)");
    procConnectLawDBs();
    EXPECT_TRUE(state().TableCatalog3->Contains("Kerala"));
    EXPECT_EQ(fnConnectionForTable("Kerala"), state().LawConnection1);
    EXPECT_EQ(fnConnectionForTable("Globalvatse"), state().LawConnection2);
}

TEST_F(LawDbTest, LayoutRecordIsAnIndependentCopy)
{
    procConnectLawDBs();
    LayoutRecord a = fnLayoutRecord();
    const LayoutRecord b = fnLayoutRecord();
    EXPECT_EQ(a, b);
    a.first[0] = 1;
    EXPECT_EQ(fnLayoutRecord().first[0], 180);
    EXPECT_EQ(fnFileSystem(), fnFileSystem());
}

TEST_F(LawDbTest, MissingDatabaseStopsAtThatDatabase)
{
    ASSERT_TRUE(QFile::remove(folder.file("1309214SD02.mdb")));
    EXPECT_THROW(procConnectLawDBs(), ado::Error);
    EXPECT_EQ(state().connectingDatabase, 2);
    EXPECT_EQ(state().LawConnection1->State(), ado::adStateOpen);
    EXPECT_NE(state().LawConnection3->State(), ado::adStateOpen);
    EXPECT_FALSE(state().TableCatalog1);   // steps after the failure did not run
}

TEST_F(LawDbTest, OpenersReturnRowsOrShowTheDetailedMessage)
{
    procConnectLawDBs();
    ui::ScopedMsgBoxResponder answer;
    auto rs = getRecordSet("SELECT name FROM Kerala", "Kerala");
    ASSERT_TRUE(rs);
    EXPECT_GT(rs->RecordCount(), 0);
    EXPECT_TRUE(answer.messages().empty());

    EXPECT_FALSE(getRecordSet("SELECT * FROM Nowhere", "Nowhere"));
    ASSERT_EQ(answer.messages().size(), 1u);
    const auto& m = answer.messages().front();
    EXPECT_TRUE(m.prompt.startsWith("MyMOD.getRecordSet : ")) << m.prompt.toStdString();
    EXPECT_TRUE(m.prompt.contains(" | No: ") && m.prompt.contains(" | Src: "));
    EXPECT_EQ(m.title, "_IN_DEBUG");
    EXPECT_EQ(m.icon(), ui::vbExclamation);

    auto ok = getRecordSetByCn("SELECT ID FROM CAPractice", state().LawConnection3);
    ASSERT_TRUE(ok);
    EXPECT_FALSE(getRecordSetByCn("SELEC nonsense", state().LawConnection3));
    ASSERT_EQ(answer.messages().size(), 2u);
    EXPECT_TRUE(answer.messages().back().prompt.startsWith("MyMOD.getRecordSetByCn : "));
}

TEST_F(LawDbTest, GlobalvatTestFindsNamesAndSurvivesQuotes)
{
    procConnectLawDBs();
    EXPECT_TRUE(fnInGlobalvat("default"));
    EXPECT_TRUE(fnInGlobalvat("DEFAULT"));
    EXPECT_FALSE(fnInGlobalvat("no such judgment"));
    EXPECT_FALSE(fnInGlobalvat(""));
    EXPECT_FALSE(fnInGlobalvat("D'Souza v State"));
    state().LawConnection1->Execute("INSERT INTO Globalvat (name, type) VALUES ('D''Souza v State', 'x')");
    EXPECT_TRUE(fnInGlobalvat("D'Souza v State"));
}

TEST_F(LawDbTest, PlaceholderServiceBindsOnlyWhenTheDocumentIsMissing)
{
    procConnectLawDBs();
    state().LawConnection1->Execute("INSERT INTO Kerala (name, type) VALUES ('nulldoc', 'Act')");
    ui::ScopedMsgBoxResponder answer;
    auto& kf = ui::form<keralaforms>();
    const QString own = "select fname from Kerala where name='zzz-nothing'";

    bind(kf, "untouched");
    const QString anyDoc = "select fname from Kerala where fname is not null";
    EXPECT_FALSE(IsQueryReturnsNullCnStr(anyDoc, state().LawConnectString1));
    EXPECT_EQ(kf.MSRDC1->SQL(), "untouched");

    EXPECT_TRUE(IsQueryReturnsNullCnStr(own, state().LawConnectString1));
    EXPECT_EQ(kf.MSRDC1->Connect(), state().LawConnectString1);
    EXPECT_EQ(kf.MSRDC1->SQL(), kPlaceholderQuery);

    bind(kf, "untouched");
    EXPECT_TRUE(IsQueryReturnsNullCnStr("select fname from Kerala where name='nulldoc'", state().LawConnectString1));
    EXPECT_EQ(kf.MSRDC1->SQL(), kPlaceholderQuery);
    EXPECT_TRUE(answer.messages().empty());

    bind(kf, "untouched");
    EXPECT_FALSE(IsQueryReturnsNullCnStr("select fname from Nowhere", state().LawConnectString1));
    EXPECT_EQ(kf.MSRDC1->SQL(), "untouched");
    ASSERT_EQ(answer.messages().size(), 1u);
    EXPECT_TRUE(answer.messages().front().prompt.startsWith("MyMOD.IsQueryReturnsNullCnStr : "));
}
