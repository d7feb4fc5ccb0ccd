// The list box and the drop-down list: when Click fires and when not, keys, prefix search.
#include "../grids/GridsTestUtil.h"

#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/ListBox.h"

#include <QAbstractItemView>
#include <QLineEdit>

using gridtest::errorNumber;
using gridtest::Host;
using gridtest::Log;
using ui::ComboBox;
using ui::ListBox;

namespace {

struct ListBoxFixture : ::testing::Test {
    Host host;
    ListBox* l = new ListBox("List1", &host);
    QLineEdit* other = new QLineEdit(&host);
    Log log;

    void SetUp() override
    {
        l->setGeometry(0, 0, 200, 200);
        other->move(300, 0);
        for (const char* m : {"January", "February", "March", "April", "May", "June"})
            l->AddItem(m);
        QObject::connect(l, &ListBox::Click, [this] { log.add(QString("click %1").arg(l->ListIndex())); });
        host.showActive();
    }
};

TEST_F(ListBoxFixture, SettingListIndexInCodeFiresClickOncePerChange)
{
    EXPECT_EQ(l->Text(), "");
    l->setListIndex(2);
    EXPECT_EQ(l->Text(), "March");
    l->setListIndex(2);   // the same entry: no change, no Click
    l->setListIndex(0);
    l->setListIndex(-1);
    EXPECT_EQ(log.joined(), "click 2 click 0 click -1");
    EXPECT_EQ(l->Text(), "");
    EXPECT_EQ(errorNumber([&] { l->setListIndex(6); }), 380);
    EXPECT_EQ(errorNumber([&] { l->setListIndex(-2); }), 380);
}

TEST_F(ListBoxFixture, KeysComeAroundTheListsOwnMoveAndCanCancelIt)
{
    l->setListIndex(1);
    l->setFocus();
    log.clear();
    QObject::connect(l, &ListBox::KeyDown, [this](int& code, int) {
        log.add(QString("down %1 at %2").arg(code).arg(l->ListIndex()));
        if (code == 38)
            code = 0;   // Up is cancelled
    });
    QObject::connect(l, &ListBox::KeyUp, [this](int& code, int) {
        log.add(QString("up %1 at %2").arg(code).arg(l->ListIndex()));
    });
    QObject::connect(l, &ListBox::KeyPress, [this](int& ascii) { log.add(QString("press %1").arg(ascii)); });
    QTest::keyClick(l, Qt::Key_Down);
    EXPECT_EQ(log.joined(), "down 40 at 1 click 2 up 40 at 2");
    log.clear();
    QTest::keyClick(l, Qt::Key_Return);
    QTest::keyClick(l, Qt::Key_Up);
    EXPECT_EQ(log.joined(), "down 13 at 2 press 13 up 13 at 2 down 38 at 2 up 38 at 2");
    EXPECT_EQ(l->ListIndex(), 2);
}

TEST_F(ListBoxFixture, MouseAndFocusEvents)
{
    QObject::connect(l, &ListBox::GotFocus, [this] { log.add("got"); });
    QObject::connect(l, &ListBox::LostFocus, [this] { log.add("lost"); });
    QObject::connect(l, &ListBox::DblClick, [this] { log.add("dbl"); });
    other->setFocus();
    l->setFocus();   // taking the focus selects nothing
    other->setFocus();
    EXPECT_EQ(log.joined(), "lost got lost");
    EXPECT_EQ(l->ListIndex(), -1);
    log.clear();
    const QRect r = l->visualItemRect(l->item(2));
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(log.joined(), "got click 2 dbl");
}

TEST_F(ListBoxFixture, EntriesItemDataAndThePrefixSearch)
{
    EXPECT_EQ(l->FindString("ma"), 2);   // March before May
    EXPECT_EQ(l->FindString("MAY"), 4);
    EXPECT_EQ(l->FindString("arch"), -1);   // not a prefix
    EXPECT_EQ(l->FindString(""), -1);       // nothing typed finds nothing
    l->AddItem("first", 0);
    l->setItemData(l->NewIndex(), 4711);
    EXPECT_EQ(l->List(1), "January");
    EXPECT_EQ(l->ItemData(0), 4711);
    l->setListIndex(1);
    log.clear();
    l->RemoveItem(1);   // the selected entry goes: nothing is selected, no Click
    EXPECT_EQ(l->ListIndex(), -1);
    EXPECT_EQ(l->ListCount(), 6);
    l->setListIndex(4);
    log.clear();
    l->Clear();
    EXPECT_EQ(l->ListCount(), 0);
    EXPECT_EQ(l->ListIndex(), -1);
    EXPECT_EQ(l->FindString(""), -1);
    EXPECT_TRUE(log.events.isEmpty());
}

TEST(ComboBoxControl, ChoicesFireClickShownTextsDoNotAndTheListShowsWholeEntries)
{
    Host host;
    auto* c = new ComboBox("cboDrive", &host);
    Log log;
    c->setGeometry(0, 0, 80, 30);
    for (const char* root : {"/home/alice/", "/media/alice/A VERY LONG VOLUME NAME INDEED/", "/mnt/data/"})
        c->AddItem(root);
    QObject::connect(c, &ComboBox::Click, [&] { log.add(QString("click %1").arg(c->ListIndex())); });
    QObject::connect(c, &ComboBox::KeyPress, [&](int& ascii) { log.add(QString("press %1").arg(ascii)); });
    host.showActive();

    c->setListIndex(2);
    c->setText("/home/alice/");
    EXPECT_EQ(c->ListIndex(), 0);
    EXPECT_EQ(c->toolTip(), "/home/alice/");
    EXPECT_EQ(errorNumber([&] { c->setText("/elsewhere/"); }), 383);
    EXPECT_EQ(errorNumber([&] { c->setListIndex(3); }), 380);
    c->setFocus();
    QTest::keyClick(c, Qt::Key_Down);   // the user's choice with the keyboard
    QTest::keyClick(c, Qt::Key_Return);
    EXPECT_EQ(log.joined(), "click 2 click 1 press 13");
    c->showPopup();
    EXPECT_GE(c->view()->width(), c->view()->fontMetrics().horizontalAdvance(c->List(1)));
    c->hidePopup();
    c->Clear();
    EXPECT_EQ(c->ListCount(), 0);
    EXPECT_EQ(c->Text(), "");
    EXPECT_EQ(log.joined(), "click 2 click 1 press 13");
}

} // namespace
