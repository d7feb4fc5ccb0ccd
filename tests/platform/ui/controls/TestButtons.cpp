// Command and option buttons: default and cancel keys, focus colours, options and Tab stops.
#include "../grids/GridsTestUtil.h"

#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/controls/OptionButton.h"
#include "platform/ui/controls/TextBox.h"

using gridtest::Host;
using gridtest::Log;
using ui::CommandButton;
using ui::OptionButton;

namespace {

struct ButtonsFixture : ::testing::Test {
    Host host;
    ui::TextBox* search = new ui::TextBox("txtSearch", &host);
    CommandButton* go = new CommandButton("cmdGO", "&GO", &host);
    CommandButton* back = new CommandButton("cmdBack", "&Back", &host);
    CommandButton* add = new CommandButton("cmdAdd", "&Add", &host);
    Log log;

    void SetUp() override
    {
        go->move(0, 40);
        back->move(0, 80);
        add->move(0, 120);
        go->setDefault(true);
        back->setCancel(true);
        for (CommandButton* b : {go, back, add}) {
            QObject::connect(b, &CommandButton::Click, [this, b] { log.add(b->objectName() + ".click"); });
            QObject::connect(b, &CommandButton::KeyPress, [this, b](int& a) { log.add(b->objectName() + QString(".key%1").arg(a)); });
        }
        host.showActive();
    }
    void key(QWidget* w, Qt::Key k)
    {
        w->setFocus();
        QTest::keyClick(w, k);
    }
};

// Enter and Escape anywhere click the default and the cancel button, unless disabled; Enter on
// a focused button clicks it instead, unless its KeyPress handler does the work and takes the key.
TEST_F(ButtonsFixture, EnterEscapeAndSpaceClickTheRightButton)
{
    key(search, Qt::Key_Return);
    key(search, Qt::Key_Escape);
    EXPECT_EQ(log.joined(), "cmdGO.click cmdBack.click");
    log.clear();
    go->setEnabled(false);
    key(search, Qt::Key_Return);
    EXPECT_EQ(log.joined(), "");
    key(back, Qt::Key_Return);
    EXPECT_EQ(log.joined(), "cmdBack.key13 cmdBack.click");
    log.clear();
    QObject::connect(add, &CommandButton::KeyPress, [](int& a) { if (a == 13) a = 0; });
    key(add, Qt::Key_Return);
    EXPECT_EQ(log.joined(), "cmdAdd.key13");
    log.clear();
    key(add, Qt::Key_Space);
    EXPECT_EQ(log.joined(), "cmdAdd.key32 cmdAdd.click");
}

TEST(DefaultButton, WorksWhenItsWindowIsAssembledAfterwards)
{
    auto* frame = new QWidget;   // the button's container, not yet in a window
    auto* go = new CommandButton("cmdGO", "&GO", frame);
    go->setDefault(true);
    Host host;
    auto* search = new ui::TextBox("txtSearch", &host);
    frame->setParent(&host);
    frame->move(0, 40);
    int clicks = 0;
    QObject::connect(go, &CommandButton::Click, [&] { ++clicks; });
    host.showActive();
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Enter);
    EXPECT_EQ(clicks, 1);
}

// The program colours a button as it gets and loses the focus; only a graphical one shows it.
TEST_F(ButtonsFixture, FocusEventsFollowTheTabOrderAndOnlyAGraphicalButtonShowsItsBackColor)
{
    QObject::connect(add, &CommandButton::GotFocus, [this] { add->setBackColor(0xC0FFFF); });
    QObject::connect(add, &CommandButton::LostFocus, [this] { add->setBackColor(0xC0C0FF); });
    QWidget::setTabOrder(back, add);
    key(back, Qt::Key_Tab);
    EXPECT_TRUE(add->hasFocus());
    EXPECT_EQ(add->BackColor(), 0xC0FFFF);
    EXPECT_NE(add->palette().color(QPalette::Button), QColor(255, 255, 192));
    add->setStyle(ui::vbButtonGraphical);
    EXPECT_EQ(add->palette().color(QPalette::Button), QColor(255, 255, 192));   // 0xBBGGRR
    QTest::keyClick(add, Qt::Key_Tab);
    EXPECT_FALSE(add->hasFocus());
    EXPECT_EQ(add->palette().color(QPalette::Button), QColor(255, 192, 192));
}

TEST(OptionButtons, OneIsSelectedAClickNeverUnselectsAndTabVisitsEveryOption)
{
    Host host;
    Log log;
    OptionButton* o[] = {new OptionButton("Option1", " &Form No. 52", &host),
                         new OptionButton("Option2", " &E - Filing", &host),
                         new OptionButton("Option3", " &Direct To Form", &host)};
    auto* close = new CommandButton("cmdClose", "&Cancel", &host);
    for (int i = 0; i < 3; ++i) {
        o[i]->Move(1920, 600 + 840 * i, 2895, 615);
        QObject::connect(o[i], &OptionButton::Click, [&log, i] { log.add(QString("Option%1.click").arg(i + 1)); });
        QObject::connect(o[i], &OptionButton::GotFocus, [b = o[i]] { b->setBackColor(ui::RGB(38, 112, 166)); });
        QObject::connect(o[i], &OptionButton::LostFocus, [b = o[i]] { b->setBackColor(ui::RGB(52, 81, 148)); });
    }
    close->Move(3000, 3120, 975, 375);
    host.showActive();

    o[1]->setValue(true);   // set in code: selects and clicks
    o[1]->setValue(true);   // already selected
    o[2]->setValue(true);
    EXPECT_FALSE(o[1]->Value());
    EXPECT_EQ(log.joined(), "Option2.click Option3.click");
    QTest::mouseClick(o[0], Qt::LeftButton, {}, QPoint(8, o[0]->height() / 2));
    QTest::mouseClick(o[0], Qt::LeftButton, {}, QPoint(8, o[0]->height() / 2));
    EXPECT_TRUE(o[0]->Value());
    EXPECT_FALSE(o[2]->Value());

    close->setFocus();
    o[0]->setFocus();
    EXPECT_EQ(o[0]->BackColor(), ui::RGB(38, 112, 166));
    for (QWidget* next : {static_cast<QWidget*>(o[1]), static_cast<QWidget*>(o[2]), static_cast<QWidget*>(close)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(next->hasFocus()) << next->objectName().toStdString();
    }
    EXPECT_EQ(o[0]->BackColor(), ui::RGB(52, 81, 148));
    EXPECT_EQ(o[2]->BackColor(), ui::RGB(52, 81, 148));
}

} // namespace
