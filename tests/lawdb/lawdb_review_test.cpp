// Law connections at the edges: a law database without tables, and the catalogue fill that
// makes every entry's child collection its own catalogue without keeping it alive.
#include "TestProgramFolder.h"
#include "lawdb/LawDb.h"
#include "platform/db/Connection.h"

#include <gtest/gtest.h>

using namespace lawdb;

namespace {

class LawDbReview : public ::testing::Test {
protected:
    void SetUp() override { resetState(); }
    void TearDown() override { resetState(); }
    void prepare(int number, const QString& sql)
    {
        ado::Connection cn;
        cn.Open("Driver={Microsoft Access Driver (*.mdb)};Dbq=" + folder.path() + "\\" + lawFileName(number));
        cn.Execute(sql);
        cn.Close();
    }
    TestProgramFolder folder;
};

} // namespace

TEST_F(LawDbReview, DatabaseWithoutTablesGivesAnEmptyCatalogue)
{
    prepare(3, "DROP TABLE CAPractice");
    prepare(3, "DROP TABLE Allshedule");
    ASSERT_NO_THROW(procConnectLawDBs());
    ASSERT_TRUE(state().TableCatalog3);
    EXPECT_EQ(state().TableCatalog3->Count(), 0);
    EXPECT_EQ(fnConnectionForTable("CAPractice"), nullptr);
    EXPECT_GT(state().TableCatalog1->Count(), 0);
}

TEST_F(LawDbReview, EveryEntryIsKeyedByItsNameAndItsChildIsItsCatalogue)
{
    procConnectLawDBs();
    const auto& cat = *state().TableCatalog1;
    for (int i = 1; i <= cat.Count(); ++i) {
        const auto entry = cat.Item(i);
        EXPECT_EQ(cat.Item(entry->TableName()), entry) << i;
        EXPECT_EQ(entry->getClsTableCollection(), state().TableCatalog1) << i;
    }
    const std::weak_ptr<clsTableCollection> weak = state().TableCatalog1;
    resetState();
    EXPECT_TRUE(weak.expired());
}
