// The text box as the cell editor uses it: key codes and characters as the program reads
// them, cancelling keys, the selection properties, and Ctrl+D / Ctrl+Y kept for the program.
#include "GridsTestUtil.h"

#include "platform/ui/TextBox.h"

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

TEST_F(TextBoxFixture, NavigationKeysArriveAsTheProgramsKeyCodes)
{
    std::vector<std::pair<int, int>> downs;
    QObject::connect(t, &TextBox::KeyDown, [&](int& code, int shift) { downs.emplace_back(code, shift); });
    const Qt::Key keys[] = {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home,
                            Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down};
    for (Qt::Key k : keys)
        QTest::keyClick(t, k);
    QTest::keyClick(t, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(t, Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(downs.size(), 12u);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(downs[size_t(i)], std::make_pair(33 + i, 0));
    // The modifier keys go down first, with their own codes.
    EXPECT_EQ(downs[8], std::make_pair(16, 1));
    EXPECT_EQ(downs[9], std::make_pair(40, 1));
    EXPECT_EQ(downs[10], std::make_pair(17, 2));
    EXPECT_EQ(downs[11], std::make_pair(65, 2));
}

TEST_F(TextBoxFixture, EnterCtrlDAndCtrlYArriveAsCharacters13_4_25)
{
    std::vector<int> typed;
    QObject::connect(t, &TextBox::KeyPress, [&](int& ascii) { typed.push_back(ascii); });
    QTest::keyClick(t, Qt::Key_Return);
    QTest::keyClick(t, Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(t, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(t, Qt::Key_A);
    QTest::keyClick(t, Qt::Key_Backspace);
    EXPECT_EQ(typed, (std::vector<int>{13, 4, 25, 'a', 8}));
}

TEST_F(TextBoxFixture, TheEditsOwnCtrlDAndCtrlYDoNothing)
{
    QTest::keyClicks(t, "12.5");
    QTest::keyClick(t, Qt::Key_Z, Qt::ControlModifier);   // undo the typing
    EXPECT_EQ(t->Text(), "");
    QTest::keyClick(t, Qt::Key_Y, Qt::ControlModifier);   // the edit would redo it
    EXPECT_EQ(t->Text(), "");
    t->setText("26-09-08");
    t->setSelStart(0);
    QTest::keyClick(t, Qt::Key_D, Qt::ControlModifier);   // the edit would delete a character
    EXPECT_EQ(t->Text(), "26-09-08");
    // The program's own meaning of the key still applies.
    QObject::connect(t, &TextBox::KeyPress, [&](int& ascii) {
        if (ascii == 4)
            t->setText("01-09-09");
    });
    QTest::keyClick(t, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(t->Text(), "01-09-09");
}

TEST_F(TextBoxFixture, HandlersCancelOrReplaceKeys)
{
    t->setText("abcd");
    t->setSelStart(2);
    QObject::connect(t, &TextBox::KeyDown, [](int& code, int) {
        if (code == 37)
            code = 0;
    });
    QTest::keyClick(t, Qt::Key_Left);
    EXPECT_EQ(t->SelStart(), 2);   // the caret did not move
    QTest::keyClick(t, Qt::Key_Right);
    EXPECT_EQ(t->SelStart(), 3);

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

TEST_F(TextBoxFixture, SelectionProperties)
{
    t->setText("hello world");
    EXPECT_EQ(t->SelStart(), 0);
    t->setSelStart(6);
    t->setSelLength(5);
    EXPECT_EQ(t->SelText(), "world");
    EXPECT_EQ(t->SelStart(), 6);
    EXPECT_EQ(t->SelLength(), 5);
    t->setSelText("there");
    EXPECT_EQ(t->Text(), "hello there");
    EXPECT_EQ(t->SelLength(), 0);
    t->setSelStart(0);
    t->setSelLength(t->Text().size());
    EXPECT_EQ(t->SelText(), t->Text());
    t->setSelLength(100);   // clipped to the text
    EXPECT_EQ(t->SelLength(), 11);
    // A partial selection made with the keyboard reads the same way.
    t->setSelStart(11);
    QTest::keyClick(t, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(t, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(t->SelText(), "re");
    EXPECT_EQ(t->SelStart(), 9);
    EXPECT_NE(t->SelText(), t->Text());
}

TEST_F(TextBoxFixture, LockedRefusesTypingAndAlignmentUsesTheProgramsCodes)
{
    t->setText("1250.00");
    t->setLocked(true);
    t->setSelStart(7);
    QTest::keyClicks(t, "9");
    EXPECT_EQ(t->Text(), "1250.00");
    t->setLocked(false);
    QTest::keyClicks(t, "9");
    EXPECT_EQ(t->Text(), "1250.009");
    t->setAlignment(ui::vbRightJustify);
    EXPECT_TRUE(t->alignment() & Qt::AlignRight);
    t->setAlignment(ui::vbCenter);
    EXPECT_TRUE(t->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(t->Alignment(), ui::vbCenter);
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

TEST_F(TextBoxFixture, GeometryIsKeptInTwips)
{
    t->Move(2055, 1230, 1050, 285);
    EXPECT_EQ(t->Left(), 2055);
    EXPECT_EQ(t->Top(), 1230);
    EXPECT_EQ(t->Width(), 1050);
    EXPECT_EQ(t->Height(), 285);
    EXPECT_EQ(t->geometry(), QRect(137, 82, 70, 19));
}

} // namespace
