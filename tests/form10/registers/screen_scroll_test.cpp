// The cell editor follows its cell when the grid scrolls by wheel or scroll bar.
#include "screen_support.h"

#include "platform/ui/Twips.h"

#include <QScrollBar>

namespace screentest {

using ScreenScroll = ScreenTest;

TEST_F(ScreenScroll, EditorFollowsItsCellAndHidesWhileTheCellIsOutOfView)
{
    focusEditor(form->txtGrid1);
    for (int i = 1; i <= 14; ++i)
        keyBill(form->txtGrid1, form->List2, QStringLiteral("%1-09-09").arg(i, 2, 10, QLatin1Char('0')),
                QStringLiteral("Party %1").arg(i), 2, "100", "4", "1");
    ui::FlexGrid* grid = form->fg1;
    ASSERT_EQ(grid->Row(), 15);
    ASSERT_GT(grid->TopRow(), 1) << "the grid must have scrolled to show the new row";

    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->minimum());
    QApplication::processEvents();
    EXPECT_TRUE(grid->cellRect(grid->Row(), grid->Col()).isEmpty());
    EXPECT_FALSE(form->txtGrid1->isVisible());

    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    QApplication::processEvents();
    const QRect cell = grid->cellRect(grid->Row(), grid->Col());
    ASSERT_FALSE(cell.isEmpty());
    EXPECT_TRUE(form->txtGrid1->isVisible());
    EXPECT_EQ(form->txtGrid1->Left(), grid->Left() + ui::toTwips(cell.x()));
    EXPECT_EQ(form->txtGrid1->Top(), grid->Top() + ui::toTwips(cell.y()));
    // Typing still goes to the current cell.
    keyCell(form->txtGrid1, QStringLiteral("15-09-09"));
    EXPECT_EQ(grid->TextMatrix(15, 1), "15-09-09");
}

TEST_F(ScreenScroll, HeaderCaptionsSurviveALeaveWhileOnTheFixedRow)
{
    ui::FlexGrid* grid = form->fg1;
    const QString caption = grid->TextMatrix(0, 2);
    ASSERT_FALSE(caption.isEmpty());
    focusEditor(form->txtGrid1);
    grid->setCol(2);
    form->txtGrid1->setText(QStringLiteral("typed"));
    grid->setRows(1);          // cut back to the header row, as a reader does before filling
    grid->setCol(3);           // leaving the cell must not write into the header
    EXPECT_EQ(grid->TextMatrix(0, 2), caption);
}

} // namespace screentest
