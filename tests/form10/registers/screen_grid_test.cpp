// Keying bills into the register grids through the floating editors and rate pickers.
#include "screen_support.h"

using namespace screentest;

namespace {

class GridKeys : public ScreenTest {};

// The editor covers the grid's current cell exactly, in twips and on screen.
void expectEditorOverCell(ui::FlexGrid* grid, ui::TextBox* editor)
{
    EXPECT_EQ(editor->Left(), grid->Left() + grid->CellLeft());
    EXPECT_EQ(editor->Top(), grid->Top() + grid->CellTop());
    EXPECT_EQ(editor->Width(), grid->CellWidth());
    EXPECT_EQ(editor->Height(), grid->CellHeight());
    const QRect cell = grid->cellRect(grid->Row(), grid->Col()).translated(grid->pos());
    EXPECT_LE(std::abs(editor->geometry().left() - cell.left()), 1);
    EXPECT_LE(std::abs(editor->geometry().top() - cell.top()), 1);
    EXPECT_LE(std::abs(editor->geometry().width() - cell.width()), 1);
    EXPECT_LE(std::abs(editor->geometry().height() - cell.height()), 1);
}

TEST_F(GridKeys, KeyingAPurchaseBillFillsTheRowTotalAndItsRateLabels)
{
    focusEditor(form->txtGrid1);
    keyCell(form->txtGrid1, "26-09-08");
    keyCell(form->txtGrid1, "Anand Traders");
    keyCell(form->txtGrid1, "32010");
    keyCell(form->txtGrid1, "B17");

    // Column 5: the picker drops 300 twips below the top of the rate cell, entry 0 selected.
    ASSERT_EQ(form->fg1->Col(), 5);
    EXPECT_TRUE(form->List2->isVisible());
    EXPECT_EQ(form->List2->ListIndex(), 0);
    EXPECT_EQ(form->List2->Top(), form->fg1->Top() + form->fg1->CellTop() + 300);
    EXPECT_EQ(form->List2->Left(), form->fg1->Left() + form->fg1->CellLeft());
    EXPECT_EQ(form->List2->Width(), form->fg1->CellWidth());
    EXPECT_TRUE(form->List2->hasFocus());
    pick(form->List2, 3);
    EXPECT_FALSE(form->List2->isVisible());
    EXPECT_EQ(form->fg1->TextMatrix(1, 5), "    12.5");
    EXPECT_EQ(form->fg1->Col(), 6);
    expectEditorOverCell(form->fg1, form->txtGrid1);

    keyCell(form->txtGrid1, "1000");
    keyCell(form->txtGrid1, "125");
    keyCell(form->txtGrid1, "10");
    ASSERT_EQ(form->fg1->Col(), 9);
    EXPECT_TRUE(form->txtGrid1->Locked());
    EXPECT_EQ(form->txtGrid1->Alignment(), ui::vbRightJustify);
    EXPECT_EQ(form->fg1->TextMatrix(1, 9), "1135.00");
    EXPECT_EQ(form->txtGrid1->Text(), "1135.00");
    enter(form->txtGrid1);

    // Enter in column 9 of the last row appends row 2, numbered, and lands in column 1.
    EXPECT_EQ(form->fg1->Rows(), 3);
    EXPECT_EQ(form->fg1->Row(), 2);
    EXPECT_EQ(form->fg1->Col(), 1);
    EXPECT_EQ(form->fg1->TextMatrix(2, 0), "2");
    EXPECT_FALSE(form->txtGrid1->Locked());

    const QStringList expected = {"1", "26-09-08", "Anand Traders", "32010", "B17", "    12.5",
                                  "1000.00", "125.00", "10.00", "1135.00"};
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(form->fg1->TextMatrix(1, c), expected[c]) << "column " << c;
    EXPECT_EQ(label("Label15"), "1000.00");
    EXPECT_EQ(label("Label19"), "125.00");
    EXPECT_EQ(label("Label62"), "10.00");
    EXPECT_EQ(form->txtTotal->Text(), "1135.00");
    for (const char* other : {"Label12", "Label16", "Label58", "Label13", "Label17", "Label57", "Label14",
                              "Label18", "Label56", "Label10", "Label34", "Label61"})
        EXPECT_EQ(label(other), "0.00") << other;
    EXPECT_TRUE(ui::shownMessages().empty());
}

TEST_F(GridKeys, NumericCellsReadTheirLeadingNumberWhenLeft)
{
    focusEditor(form->txtGrid1);
    form->fg1->setCol(6);
    keyCell(form->txtGrid1, "12abc");
    EXPECT_EQ(form->fg1->TextMatrix(1, 6), "12.00");
    keyCell(form->txtGrid1, "");
    EXPECT_EQ(form->fg1->TextMatrix(1, 7), "0.00");
    keyCell(form->txtGrid1, "  3.5x");
    EXPECT_EQ(form->fg1->TextMatrix(1, 8), "3.50");
    EXPECT_EQ(form->fg1->TextMatrix(1, 9), "15.50");
    // Text cells keep what was typed, blanks included.
    form->fg1->setCol(2);
    keyCell(form->txtGrid1, "  Padded  ");
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "  Padded  ");
}

TEST_F(GridKeys, TheRowTotalFollowsAnEditLeftByTheMouseOrArrows)
{
    focusEditor(form->txtGrid1);
    form->fg1->setCol(6);
    keyCell(form->txtGrid1, "100");
    keyCell(form->txtGrid1, "10");
    // Type the cess and leave the cell upwards (the only row: Up stays), then by Left.
    fnSelectAllText(*form->txtGrid1);
    type(form->txtGrid1, "5");
    fnSelectAllText(*form->txtGrid1);
    key(form->txtGrid1, Qt::Key_Left);
    EXPECT_EQ(form->fg1->Col(), 7);
    EXPECT_EQ(form->fg1->TextMatrix(1, 8), "5.00");
    EXPECT_EQ(form->fg1->TextMatrix(1, 9), "115.00");
    // Entering and leaving the total column keeps the fresh total.
    form->fg1->setCol(9);
    form->fg1->setCol(1);
    EXPECT_EQ(form->fg1->TextMatrix(1, 9), "115.00");
}

TEST_F(GridKeys, EnteringTheRateCellByMouseDoesNotDropThePicker)
{
    focusEditor(form->txtGrid1);
    const QRect cell = form->fg1->cellRect(1, 5);
    QTest::mouseClick(form->fg1->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(form->fg1->Col(), 5);
    EXPECT_FALSE(form->List2->isVisible());
    expectEditorOverCell(form->fg1, form->txtGrid1);
    keyCell(form->txtGrid1, "4");
    EXPECT_EQ(form->fg1->TextMatrix(1, 5), "4");
    EXPECT_EQ(form->fg1->Col(), 6);
}

TEST_F(GridKeys, BillDateCheckOnEnterWithEachGridsMessage)
{
    focusEditor(form->txtGrid1);
    keyCell(form->txtGrid1, "26/09/08");
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    const ui::MessageRecord purchase = ui::shownMessages().back();
    EXPECT_EQ(purchase.prompt,
              "Date Format is not Valid \r\nPlease follow  'DD-MM-YY '\r\neg:  ' 26-09-08 ' ");
    EXPECT_EQ(purchase.title, "Plase Note.......!");
    EXPECT_EQ(purchase.icon(), ui::vbExclamation);
    EXPECT_EQ(purchase.buttonSet(), ui::vbOKOnly);
    EXPECT_EQ(form->fg1->Col(), 1);
    EXPECT_EQ(form->txtGrid1->Text(), "");

    keyCell(form->txtGrid1, "1-9-08");
    EXPECT_EQ(ui::shownMessages().size(), 2u);
    // The dashes are all the check looks at.
    keyCell(form->txtGrid1, "ab-cd-ef");
    EXPECT_EQ(ui::shownMessages().size(), 2u);
    EXPECT_EQ(form->fg1->Col(), 2);
    EXPECT_EQ(form->fg1->TextMatrix(1, 1), "ab-cd-ef");

    focusEditor(form->txtGrid2);
    keyCell(form->txtGrid2, "2009-12-01");
    ASSERT_EQ(ui::shownMessages().size(), 3u);
    EXPECT_EQ(ui::shownMessages().back().prompt,
              "Date Format is not Valid \r\nPlease follow    'DD-MM-YY ' \r\neg:  ' 26-09-08 ' ");
    EXPECT_EQ(form->fg2->Col(), 1);
}

TEST_F(GridKeys, LeavingABadDateByArrowOrMouseIsRefusedAndKeepsTheText)
{
    focusEditor(form->txtGrid1);
    keyBill(form->txtGrid1, form->List2, "01-09-09", "A", 0, "1", "0", "0");
    ASSERT_EQ(form->fg1->Row(), 2);
    type(form->txtGrid1, "1.9.09");
    key(form->txtGrid1, Qt::Key_Up);
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ui::shownMessages().back().title, "Plase Note.......!");
    EXPECT_EQ(form->fg1->Row(), 2);
    EXPECT_EQ(form->fg1->Col(), 1);
    EXPECT_EQ(form->txtGrid1->Text(), "1.9.09");

    // A click on another cell of the grid is refused the same way.
    const QRect other = form->fg1->cellRect(1, 3);
    QTest::mouseClick(form->fg1->viewport(), Qt::LeftButton, {}, other.center());
    EXPECT_EQ(ui::shownMessages().size(), 2u);
    EXPECT_EQ(form->fg1->Row(), 2);
    EXPECT_EQ(form->fg1->Col(), 1);
    EXPECT_EQ(form->txtGrid1->Text(), "1.9.09");

    // Corrected, the cell is left freely; an empty date cell may be left too.
    fnSelectAllText(*form->txtGrid1);
    type(form->txtGrid1, "01-09-09");
    key(form->txtGrid1, Qt::Key_Up);
    EXPECT_EQ(form->fg1->Row(), 1);
    EXPECT_EQ(form->fg1->TextMatrix(2, 1), "01-09-09");
    key(form->txtGrid1, Qt::Key_Down);
    fnSelectAllText(*form->txtGrid1);
    key(form->txtGrid1, Qt::Key_Delete);
    key(form->txtGrid1, Qt::Key_Up);
    EXPECT_EQ(form->fg1->Row(), 1);
    EXPECT_EQ(ui::shownMessages().size(), 2u);
}

TEST_F(GridKeys, CtrlDPutsTheMonthStartIntoTheDateCellOnly)
{
    form->txtRPTo->setText("September");
    EXPECT_EQ(form->txtMonth->Text(), "September");
    focusEditor(form->txtGrid1);
    key(form->txtGrid1, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(form->txtGrid1->Text(), "01-09-09");
    enter(form->txtGrid1);
    EXPECT_EQ(form->fg1->TextMatrix(1, 1), "01-09-09");
    EXPECT_EQ(form->fg1->Col(), 2);
    type(form->txtGrid1, "X");
    key(form->txtGrid1, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(form->txtGrid1->Text(), "X");

    form->txtRPTo->setText("Sept");
    form->fg1->setCol(1);
    key(form->txtGrid1, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(form->txtGrid1->Text(), "");
}

TEST_F(GridKeys, CtrlYOnTheOnlyRowResetsTheGrid)
{
    focusEditor(form->txtGrid2);
    form->fg2->setCol(2);
    keyCell(form->txtGrid2, "Only Party");
    keyCell(form->txtGrid2, "T");
    form->fg2->setTextMatrix(1, 5, "4");
    form->fg2->setTextMatrix(1, 6, "100.00");
    form->procTotalCal2();
    ASSERT_EQ(label("Label21"), "100.00");
    key(form->txtGrid2, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form->fg2->Rows(), 2);
    EXPECT_EQ(form->fg2->TextMatrix(1, 0), "1");
    for (int c = 1; c < 10; ++c)
        EXPECT_EQ(form->fg2->TextMatrix(1, c), "") << c;
    EXPECT_EQ(form->fg2->TextMatrix(0, 2), "Party");
    EXPECT_EQ(form->fg2->TextMatrix(0, 5), "Rate of \r\nTax %");
    EXPECT_EQ(label("Label21"), "0.00");
    EXPECT_EQ(form->txtGrid2->Text(), "");
    EXPECT_TRUE(form->txtGrid2->hasFocus());
}

TEST_F(GridKeys, CtrlYOnAMiddleRowRenumbersTheRowsBelow)
{
    focusEditor(form->txtGrid1);
    for (const char* party : {"P1", "P2", "P3", "P4"}) {
        form->fg1->setCol(2);
        keyCell(form->txtGrid1, party);
        form->fg1->setCol(9);
        enter(form->txtGrid1);
    }
    // Enter in column 9 of the fourth row appended a fifth; drop it to get four bill rows.
    ASSERT_EQ(form->fg1->Rows(), 6);
    key(form->txtGrid1, Qt::Key_Y, Qt::ControlModifier);
    ASSERT_EQ(form->fg1->Rows(), 5);
    form->fg1->setRow(2);
    key(form->txtGrid1, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form->fg1->Rows(), 4);
    const QStringList parties = {"P1", "P3", "P4"};
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(form->fg1->TextMatrix(r, 0), QString::number(r));
        EXPECT_EQ(form->fg1->TextMatrix(r, 2), parties[r - 1]);
    }
    // The editor shows the cell that moved up into the current place.
    EXPECT_EQ(form->fg1->Row(), 2);
    EXPECT_EQ(form->txtGrid1->Text(), form->fg1->Text());
    expectEditorOverCell(form->fg1, form->txtGrid1);
}

TEST_F(GridKeys, ArrowAndPageKeysStayInsideTheBillRows)
{
    focusEditor(form->txtGrid1);
    for (int i = 0; i < 3; ++i) {
        form->fg1->setCol(9);
        enter(form->txtGrid1);
    }
    ASSERT_EQ(form->fg1->Rows(), 5);   // four bill rows
    key(form->txtGrid1, Qt::Key_PageUp);
    EXPECT_EQ(form->fg1->Row(), 1);
    key(form->txtGrid1, Qt::Key_Up);
    EXPECT_EQ(form->fg1->Row(), 1);
    key(form->txtGrid1, Qt::Key_Left);
    EXPECT_EQ(form->fg1->Col(), 1);
    key(form->txtGrid1, Qt::Key_PageDown);
    EXPECT_EQ(form->fg1->Row(), 4);
    key(form->txtGrid1, Qt::Key_Down);
    EXPECT_EQ(form->fg1->Row(), 4);
    EXPECT_EQ(form->fg1->Rows(), 5);
    form->fg1->setCol(9);
    key(form->txtGrid1, Qt::Key_Right);
    EXPECT_EQ(form->fg1->Col(), 9);
}

TEST_F(GridKeys, LeftWithPartOfTheTextSelectedMovesTheCaretNotTheCell)
{
    focusEditor(form->txtGrid1);
    form->fg1->setCol(3);
    type(form->txtGrid1, "ABCDEF");
    form->txtGrid1->setSelStart(2);
    form->txtGrid1->setSelLength(2);
    key(form->txtGrid1, Qt::Key_Left);
    EXPECT_EQ(form->fg1->Col(), 3);
    EXPECT_EQ(form->txtGrid1->Text(), "ABCDEF");
    key(form->txtGrid1, Qt::Key_Right);
    EXPECT_EQ(form->fg1->Col(), 3);

    fnSelectAllText(*form->txtGrid1);
    key(form->txtGrid1, Qt::Key_Left);
    EXPECT_EQ(form->fg1->Col(), 2);
    EXPECT_EQ(form->fg1->TextMatrix(1, 3), "ABCDEF");
    // The new cell's text is selected whole, so Right goes straight back.
    key(form->txtGrid1, Qt::Key_Right);
    EXPECT_EQ(form->fg1->Col(), 3);
    EXPECT_EQ(form->txtGrid1->SelText(), "ABCDEF");
}

TEST_F(GridKeys, TheRateCellKeepsTheLockOfTheCellBefore)
{
    focusEditor(form->txtGrid1);
    form->fg1->setCol(9);
    EXPECT_TRUE(form->txtGrid1->Locked());
    type(form->txtGrid1, "77");
    EXPECT_EQ(form->txtGrid1->Text(), "0.00");   // typing refused in the total column
    form->fg1->setCol(5);
    EXPECT_TRUE(form->txtGrid1->Locked());
    form->fg1->setCol(4);
    EXPECT_FALSE(form->txtGrid1->Locked());
    form->fg1->setCol(5);
    EXPECT_FALSE(form->txtGrid1->Locked());
}

} // namespace
