// The text box as the cell editor uses it: key codes and characters as the program reads
// them, cancelling keys, the selection properties, and Ctrl+D / Ctrl+Y kept for the program.
#include "../grids/GridsTestUtil.h"

#include "platform/ui/controls/TextBox.h"

using gridtest::Host;
using gridtest::Log;
using ui::TextBox;

namespace {

struct TextBoxFixture : ::testing::Test {
    Host host;
    TextBox* t = new TextBox("txtGrid1", &host);
    TextBox* other = new TextBox("txtOther", &host);
    Log log;

    void SetUp() override
    {
        other->move(0, 60);
        host.showActive();
        t->setFocus();
    }
};

// Keys arrive as the program's key codes (each modifier goes down first with its own), and a
// handler can cancel a key or replace a character.
TEST_F(TextBoxFixture, KeysArriveAsTheProgramsCodesAndHandlersCancelOrReplaceThem)
{
    std::vector<std::pair<int, int>> downs;
    QObject::connect(t, &TextBox::KeyDown, [&](int& code, int shift) {
        downs.emplace_back(code, shift);
        if (code == 37)
            code = 0;
    });
    for (Qt::Key k : {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home, Qt::Key_Up, Qt::Key_Down})
        QTest::keyClick(t, k);
    QTest::keyClick(t, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(t, Qt::Key_A, Qt::ControlModifier);
    const std::vector<std::pair<int, int>> expected = {{33, 0}, {34, 0}, {35, 0}, {36, 0}, {38, 0},
                                                       {40, 0}, {16, 1}, {40, 1}, {17, 2}, {65, 2}};
    EXPECT_EQ(downs, expected);
    t->setText("abcd");
    t->setSelStart(2);
    QTest::keyClick(t, Qt::Key_Left);
    EXPECT_EQ(t->SelStart(), 2);   // the caret did not move
    QTest::keyClick(t, Qt::Key_Right);
    EXPECT_EQ(t->SelStart(), 3);
    EXPECT_EQ(downs.back(), std::make_pair(39, 0));

    QObject::connect(t, &TextBox::KeyPress, [](int& ascii) {
        if (ascii == 'x')
            ascii = 0;
        else if (ascii >= 'a' && ascii <= 'z')
            ascii -= 32;
    });
    t->setText("");
    QTest::keyClicks(t, "vxat");
    EXPECT_EQ(t->Text(), "VAT");
}

TEST_F(TextBoxFixture, CtrlDAndCtrlYAreTheProgramsCharacters4And25Only)
{
    std::vector<int> typed;
    QObject::connect(t, &TextBox::KeyPress, [&](int& ascii) { typed.push_back(ascii); });
    QTest::keyClicks(t, "12.5");
    QTest::keyClick(t, Qt::Key_Z, Qt::ControlModifier);   // undo the typing
    EXPECT_EQ(t->Text(), "");
    QTest::keyClick(t, Qt::Key_Y, Qt::ControlModifier);   // the edit would redo it
    EXPECT_EQ(t->Text(), "");
    QTest::keyClick(t, Qt::Key_Return);
    t->setText("26-09-08");
    t->setSelStart(0);
    QTest::keyClick(t, Qt::Key_D, Qt::ControlModifier);   // the edit would delete a character
    EXPECT_EQ(t->Text(), "26-09-08");
    t->setSelStart(8);
    QTest::keyClick(t, Qt::Key_Backspace);
    EXPECT_EQ(t->Text(), "26-09-0");
    EXPECT_EQ(typed, (std::vector<int>{'1', '2', '.', '5', 26, 25, 13, 4, 8}));
    // The program's own meaning of the key still applies.
    QObject::connect(t, &TextBox::KeyPress, [&](int& ascii) {
        if (ascii == 4)
            t->setText("01-09-09");
    });
    QTest::keyClick(t, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(t->Text(), "01-09-09");
}

TEST_F(TextBoxFixture, SelectionPropertiesAndLockedRefusingTyping)
{
    t->setText("hello world");
    t->setSelStart(6);
    t->setSelLength(5);
    t->setSelText("there");
    EXPECT_EQ(t->Text(), "hello there");
    t->setSelStart(11);
    QTest::keyClick(t, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(t, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(t->SelText(), "re");
    EXPECT_EQ(t->SelStart(), 9);

    t->setText("1250.00");
    t->setLocked(true);
    t->setSelStart(7);
    QTest::keyClicks(t, "9");
    EXPECT_EQ(t->Text(), "1250.00");
    t->setLocked(false);
    QTest::keyClicks(t, "9");
    EXPECT_EQ(t->Text(), "1250.009");
}

TEST_F(TextBoxFixture, ChangeAndFocusEvents)
{
    QObject::connect(t, &TextBox::Change, [&] { log.add("change"); });
    QObject::connect(t, &TextBox::GotFocus, [&] { log.add("got"); });
    QObject::connect(t, &TextBox::LostFocus, [&] { log.add("lost"); });
    t->setText("March");
    t->setText("March");   // the same text is no change
    other->setFocus();
    t->setFocus();
    QTest::keyClicks(t, "x");
    EXPECT_EQ(log.joined(), "change lost got change");
}

} // namespace
