// The keyed table collection: keys, positions, errors, the child collection, order.
#include "lawdb/clsTableCollection.h"
#include "platform/db/Error.h"

#include <gtest/gtest.h>

using lawdb::clsTableCollection;

namespace {

long errorNumber(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ado::Error& e) {
        return e.Number();
    }
    return 0;
}

QStringList names(const std::vector<lawdb::clsTablePtr>& tables)
{
    QStringList out;
    for (const auto& t : tables)
        out << t->TableName();
    return out;
}

} // namespace

TEST(TableCatalogue, KeysIgnoreCaseEntriesKeepTheirOrderAndMisusesRaiseTheirErrors)
{
    auto c = std::make_shared<clsTableCollection>();
    for (const char* n : {"Kerala", "Keralafields", "Globalvat", "Zeta"})
        c->Add(n, c, n);
    c->Add("Unkeyed", nullptr, "");   // an empty key: only its position reaches it
    EXPECT_EQ(names(c->NewEnum()), (QStringList{"Kerala", "Keralafields", "Globalvat", "Zeta", "Unkeyed"}));
    EXPECT_TRUE(c->Contains("KERALA"));
    EXPECT_FALSE(c->Contains("") || c->Contains("Allshedule"));
    EXPECT_EQ(c->Item("gLOBALVAT")->TableName(), "Globalvat");
    EXPECT_EQ(c->Item(5)->TableName(), "Unkeyed");
    EXPECT_EQ(errorNumber([&] { c->Add("KERALA", c, "KERALA"); }), clsTableCollection::kErrDuplicateKey);
    EXPECT_EQ(c->Item("kerala")->TableName(), "Kerala");   // the duplicate added nothing
    for (int bad : {0, 6})
        EXPECT_EQ(errorNumber([&] { c->Item(bad); }), clsTableCollection::kErrSubscript) << bad;
    for (const QString& bad : {QString("Allshedule"), QString()})
        EXPECT_EQ(errorNumber([&] { c->Item(bad); }), clsTableCollection::kErrInvalidCall) << bad.toStdString();

    c->Remove(2);
    c->Remove("zeta");
    std::vector<lawdb::clsTablePtr> ranged(c->begin(), c->end());
    EXPECT_EQ(names(ranged), (QStringList{"Kerala", "Globalvat", "Unkeyed"}));
    c->Add("again", c, "KeralaFields");   // the key of a removed entry can be used again
    EXPECT_EQ(c->Item("keralafields")->TableName(), "again");
    EXPECT_EQ(errorNumber([&] { c->Remove(9); }), clsTableCollection::kErrSubscript);
    EXPECT_EQ(errorNumber([&] { c->Remove("zz"); }), clsTableCollection::kErrInvalidCall);
    EXPECT_EQ(c->Count(), 4);
}

// Its catalogue as the child collection, not kept alive: checked on the connection road.
TEST(TableCatalogue, ChildCollectionIsCreatedOnce)
{
    lawdb::clsTable fresh;
    auto first = fresh.getClsTableCollection();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Count(), 0);
    EXPECT_EQ(fresh.getClsTableCollection(), first);
}
