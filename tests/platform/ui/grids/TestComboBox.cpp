// The drop-down list: Click on the user's choice and on ListIndex set in code, none on Text or
// Clear; keys before the box's own handling; a list as wide as its longest entry.
#include "GridsTestUtil.h"

#include "platform/ui/ComboBox.h"

#include <QAbstractItemView>

using gridtest::Host;
using gridtest::Log;
using ui::ComboBox;

namespace {

struct ComboBoxFixture : ::testing::Test {
    Host host;
    ComboBox* c = new ComboBox("cboDrive", &host);
    Log log;

    void SetUp() override
    {
        c->setGeometry(0, 0, 80, 30);
        for (const char* root : {"/home/alice/", "/media/alice/A VERY LONG VOLUME NAME INDEED/", "/mnt/data/"})
            c->AddItem(root);
        QObject::connect(c, &ComboBox::Click, [this] { log.add(QString("click %1").arg(c->ListIndex())); });
        host.showActive();
    }
};

TEST_F(ComboBoxFixture, ChoicesFireClickAndShownTextsDoNot)
{
    EXPECT_EQ(c->ListCount(), 3);
    EXPECT_EQ(c->List(2), "/mnt/data/");
    EXPECT_EQ(c->List(3), "");
    c->setListIndex(2);
    c->setText("/home/alice/");
    EXPECT_EQ(c->ListIndex(), 0);
    EXPECT_EQ(c->Text(), "/home/alice/");
    EXPECT_EQ(c->toolTip(), "/home/alice/");
    EXPECT_EQ(gridtest::errorNumber([&] { c->setText("/elsewhere/"); }), 383);
    EXPECT_EQ(gridtest::errorNumber([&] { c->setListIndex(3); }), 380);
    c->setFocus();
    QTest::keyClick(c, Qt::Key_Down);   // the user's choice with the keyboard
    EXPECT_EQ(log.joined(), "click 2 click 1");
    c->Clear();
    EXPECT_EQ(c->ListCount(), 0);
    EXPECT_EQ(c->Text(), "");
    EXPECT_EQ(log.joined(), "click 2 click 1");
}

TEST_F(ComboBoxFixture, EnterReachesKeyPressAndTheListShowsWholeEntries)
{
    c->setFocus();
    QObject::connect(c, &ComboBox::KeyPress, [this](int& ascii) { log.add(QString("press %1").arg(ascii)); });
    QTest::keyClick(c, Qt::Key_Return);
    EXPECT_EQ(log.joined(), "press 13");
    c->showPopup();
    const QAbstractItemView* list = c->view();
    EXPECT_GE(list->width(), list->fontMetrics().horizontalAdvance(c->List(1)));
    c->hidePopup();
}

} // namespace
