// The keyed table collection: case-insensitive keys, positions from 1, the duplicate-key
// error, Contains that never fails, the child collection made once, enumeration order.
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

} // namespace

TEST(TableCatalogue, KeysIgnoreCaseAndPositionsCountFromOne)
{
    auto c = std::make_shared<clsTableCollection>();
    c->Add("Kerala", c, "Kerala");
    c->Add("Globalvat", c, "Globalvat");
    EXPECT_EQ(c->Count(), 2);
    EXPECT_TRUE(c->Contains("kerala"));
    EXPECT_TRUE(c->Contains("KERALA"));
    EXPECT_FALSE(c->Contains("Keralafields"));
    EXPECT_EQ(c->Item("gLOBALVAT")->TableName(), "Globalvat");
    EXPECT_EQ(c->Item(1)->TableName(), "Kerala");
    EXPECT_EQ(c->Item(2)->TableName(), "Globalvat");
    EXPECT_EQ(errorNumber([&] { c->Item(0); }), clsTableCollection::kErrSubscript);
    EXPECT_EQ(errorNumber([&] { c->Item(3); }), clsTableCollection::kErrSubscript);
    EXPECT_EQ(errorNumber([&] { c->Item("Allshedule"); }), clsTableCollection::kErrInvalidCall);
}

TEST(TableCatalogue, DuplicateKeyFailsAndAddsNothing)
{
    auto c = std::make_shared<clsTableCollection>();
    c->Add("Kerala", c, "Kerala");
    EXPECT_EQ(errorNumber([&] { c->Add("KERALA", c, "KERALA"); }), clsTableCollection::kErrDuplicateKey);
    EXPECT_EQ(c->Count(), 1);
    EXPECT_EQ(c->Item("kerala")->TableName(), "Kerala");
}

TEST(TableCatalogue, EmptyKeyAddsAnEntryOnlyItsPositionReaches)
{
    auto c = std::make_shared<clsTableCollection>();
    c->Add("First", nullptr, "");
    c->Add("Second", nullptr, "");
    EXPECT_EQ(c->Count(), 2);
    EXPECT_FALSE(c->Contains(""));
    EXPECT_EQ(c->Item(2)->TableName(), "Second");
    EXPECT_EQ(errorNumber([&] { c->Item(QString()); }), clsTableCollection::kErrInvalidCall);
}

TEST(TableCatalogue, RemoveByPositionAndKeyKeepsTheRestInOrder)
{
    auto c = std::make_shared<clsTableCollection>();
    for (const char* n : {"A", "B", "C", "D"})
        c->Add(n, c, n);
    c->Remove(2);
    c->Remove("d");
    ASSERT_EQ(c->Count(), 2);
    EXPECT_EQ(c->Item(1)->TableName(), "A");
    EXPECT_EQ(c->Item(2)->TableName(), "C");
    EXPECT_FALSE(c->Contains("B"));
    EXPECT_FALSE(c->Contains("D"));
    // The key of a removed entry can be used again.
    c->Add("b2", c, "B");
    EXPECT_EQ(c->Item("b")->TableName(), "b2");
    EXPECT_EQ(errorNumber([&] { c->Remove(9); }), clsTableCollection::kErrSubscript);
    EXPECT_EQ(errorNumber([&] { c->Remove("zz"); }), clsTableCollection::kErrInvalidCall);
    EXPECT_EQ(c->Count(), 3);
}

TEST(TableCatalogue, EnumerationFollowsTheOrderOfAdding)
{
    auto c = std::make_shared<clsTableCollection>();
    const QStringList names{"Kerala", "Keralafields", "Globalvat", "Zeta", "Alpha"};
    for (const QString& n : names)
        c->Add(n, c, n);
    QStringList seen;
    for (const auto& t : c->NewEnum())
        seen << t->TableName();
    EXPECT_EQ(seen, names);
    QStringList ranged;
    for (const auto& t : *c)
        ranged << t->TableName();
    EXPECT_EQ(ranged, names);
}

TEST(TableCatalogue, ChildCollectionIsTheGivenOneOrCreatedOnce)
{
    auto c = std::make_shared<clsTableCollection>();
    auto entry = c->Add("Kerala", c, "Kerala");
    EXPECT_EQ(entry->getClsTableCollection(), c);

    lawdb::clsTable fresh;
    auto first = fresh.getClsTableCollection();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Count(), 0);
    EXPECT_EQ(fresh.getClsTableCollection(), first);

    auto other = std::make_shared<clsTableCollection>();
    fresh.setClsTableCollection(other);
    EXPECT_EQ(fresh.getClsTableCollection(), other);
}

TEST(TableCatalogue, SelfReferenceDoesNotKeepTheCatalogueAlive)
{
    std::weak_ptr<clsTableCollection> watch;
    {
        auto c = std::make_shared<clsTableCollection>();
        c->Add("Kerala", c, "Kerala");
        watch = c;
    }
    EXPECT_TRUE(watch.expired());
}
