// Command and option buttons: colours as the program writes them, Enter and Escape in a
// window with a default and a cancel button, focus events and the option's double click.
#include "GridsTestUtil.h"

#include "platform/ui/CommandButton.h"
#include "platform/ui/OptionButton.h"
#include "platform/ui/TextBox.h"

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
            QObject::connect(b, &CommandButton::KeyPress, [this, b](int& a) {
                log.add(b->objectName() + QString(".key%1").arg(a));
            });
        }
        host.showActive();
    }
};

TEST_F(ButtonsFixture, OnlyAGraphicalButtonShowsItsBackColor)
{
    add->setBackColor(0xC0C0FF);   // 0xBBGGRR: pale red
    EXPECT_NE(add->palette().color(QPalette::Button), QColor(255, 192, 192));
    add->setStyle(ui::vbButtonGraphical);
    EXPECT_EQ(add->palette().color(QPalette::Button), QColor(255, 192, 192));
    add->setBackColor(0xC0FFFF);
    EXPECT_EQ(add->palette().color(QPalette::Button), QColor(255, 255, 192));
    EXPECT_EQ(add->BackColor(), 0xC0FFFF);
}

TEST_F(ButtonsFixture, EnterAndEscapeAnywhereClickTheDefaultAndCancelButtons)
{
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Return);
    QTest::keyClick(search, Qt::Key_Escape);
    EXPECT_EQ(log.joined(), "cmdGO.click cmdBack.click");
    log.clear();
    go->setEnabled(false);   // a disabled default button is not clicked
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(log.joined(), "");
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

TEST_F(ButtonsFixture, EnterOnAFocusedButtonClicksItUnlessItsKeyPressTakesTheKey)
{
    back->setFocus();
    QTest::keyClick(back, Qt::Key_Return);
    EXPECT_EQ(log.joined(), "cmdBack.key13 cmdBack.click");   // not the default button
    log.clear();
    // A KeyPress handler that does the work itself cancels the key: no click as well.
    QObject::connect(add, &CommandButton::KeyPress, [](int& a) { if (a == 13) a = 0; });
    add->setFocus();
    QTest::keyClick(add, Qt::Key_Return);
    EXPECT_EQ(log.joined(), "cmdAdd.key13");
    log.clear();
    add->setFocus();
    QTest::keyClick(add, Qt::Key_Space);
    EXPECT_EQ(log.joined(), "cmdAdd.key32 cmdAdd.click");
}

TEST_F(ButtonsFixture, FocusEventsFollowTheTabOrder)
{
    QObject::connect(add, &CommandButton::GotFocus, [this] { add->setBackColor(0xC0FFFF); });
    QObject::connect(add, &CommandButton::LostFocus, [this] { add->setBackColor(0xC0C0FF); });
    add->setStyle(ui::vbButtonGraphical);
    QWidget::setTabOrder(back, add);
    back->setFocus();
    QTest::keyClick(back, Qt::Key_Tab);
    EXPECT_TRUE(add->hasFocus());
    EXPECT_EQ(add->BackColor(), 0xC0FFFF);
    QTest::keyClick(add, Qt::Key_Tab);
    EXPECT_FALSE(add->hasFocus());
    EXPECT_EQ(add->BackColor(), 0xC0C0FF);
}

struct OptionsFixture : ::testing::Test {
    Host host;
    OptionButton* o1 = new OptionButton("Option1", " &Form No. 52", &host);
    OptionButton* o2 = new OptionButton("Option2", " &E - Filing", &host);
    OptionButton* o3 = new OptionButton("Option3", " &Direct To Form", &host);
    CommandButton* close = new CommandButton("cmdClose", "&Cancel", &host);
    Log log;

    void SetUp() override
    {
        o1->Move(1920, 600, 2895, 615);
        o2->Move(1920, 1440, 2895, 615);
        o3->Move(1920, 2280, 2895, 495);
        close->Move(3000, 2880, 975, 375);
        for (OptionButton* o : {o1, o2, o3}) {
            const QString n = o->objectName();
            QObject::connect(o, &OptionButton::Click, [this, n] { log.add(n + ".click"); });
            QObject::connect(o, &OptionButton::DblClick, [this, n] { log.add(n + ".dbl"); });
            QObject::connect(o, &OptionButton::KeyPress, [this, n](int& a) { log.add(n + QString(".key%1").arg(a)); });
            QObject::connect(o, &OptionButton::GotFocus, [o] { o->setBackColor(ui::RGB(38, 112, 166)); });
            QObject::connect(o, &OptionButton::LostFocus, [o] { o->setBackColor(ui::RGB(52, 81, 148)); });
        }
        host.showActive();
    }
};

TEST_F(OptionsFixture, OneOptionIsSelectedAndAClickNeverUnselects)
{
    o2->setValue(true);   // set in code: selects and clicks
    o2->setValue(true);   // already selected
    o3->setValue(true);
    EXPECT_FALSE(o2->Value());
    EXPECT_EQ(log.joined(), "Option2.click Option3.click");
    QTest::mouseClick(o1, Qt::LeftButton, {}, QPoint(8, o1->height() / 2));
    QTest::mouseClick(o1, Qt::LeftButton, {}, QPoint(8, o1->height() / 2));
    EXPECT_TRUE(o1->Value());
    EXPECT_FALSE(o3->Value());
}

TEST_F(OptionsFixture, DoubleClickAndEnterReachTheProgram)
{
    QTest::mouseDClick(o2, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_NE(log.joined().find("Option2.dbl"), std::string::npos);
    log.clear();
    o1->setFocus();
    QTest::keyClick(o1, Qt::Key_Return);
    EXPECT_EQ(log.joined(), "Option1.key13");
}

TEST_F(OptionsFixture, TabVisitsEveryOptionThenTheButton)
{
    close->setFocus();
    o1->setFocus();
    EXPECT_EQ(o1->BackColor(), ui::RGB(38, 112, 166));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(o2->hasFocus());
    EXPECT_EQ(o1->BackColor(), ui::RGB(52, 81, 148));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(o3->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(close->hasFocus());
    EXPECT_EQ(o3->BackColor(), ui::RGB(52, 81, 148));
}

} // namespace
