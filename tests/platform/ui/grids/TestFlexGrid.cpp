// The flex grid: current cell, the order of its cell events, rows, and the cell editor's rectangle.
#include "GridsTestUtil.h"

#include "platform/ui/grids/FlexGrid.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/ui/forms/Twips.h"

using gridtest::Host;
using gridtest::Log;
using ui::FlexGrid;

namespace {

// A register-like grid: 10 columns, one fixed row, a two-line header.
struct GridFixture : ::testing::Test {
    Host host;
    FlexGrid* g = new FlexGrid("fg1", &host);
    Log log;

    void SetUp() override
    {
        ui::moveTwips(g, 120, 600, 9000, 3000);
        g->setRows(2);
        g->setFixedRows(1);
        g->setRowHeight(0, 400);
        g->setCols(10);
        const int widths[] = {700, 1050, 3450, 1600, 1100, 800, 1500, 1500, 1500, 1500};
        for (int c = 0; c < 10; ++c)
            g->setColWidth(c, widths[c]);
        g->setTextMatrix(0, 5, "Rate of \r\nTax %");
        g->setColAlignment(6, ui::flexAlignRightTop);
        g->setRowHeightMin(300);
        g->setTextMatrix(1, 0, "1");
        QObject::connect(g, &FlexGrid::LeaveCell, [this] {
            log.add(QString("leave(%1,%2)").arg(g->Row()).arg(g->Col()));
        });
        QObject::connect(g, &FlexGrid::EnterCell, [this] {
            log.add(QString("enter(%1,%2)").arg(g->Row()).arg(g->Col()));
        });
        QObject::connect(g, &FlexGrid::Click, [this] { log.add("click"); });
        host.showActive();
    }

    QPoint centreOf(int row, int col) const { return g->cellRect(row, col).center(); }
};

TEST_F(GridFixture, SettingRowOrColInCodeLeavesTheOldCellThenEntersTheNew)
{
    g->setRows(4);
    g->setRow(3);
    g->setCol(5);
    EXPECT_EQ(log.joined(), "leave(1,1) enter(3,1) leave(3,1) enter(3,5)");
    log.clear();
    g->setRow(3);   // no change, no events
    g->setCol(5);
    EXPECT_TRUE(log.events.isEmpty());
    EXPECT_THROW(g->setRow(4), ado::Error);
    EXPECT_THROW(g->setCol(10), ado::Error);
    EXPECT_EQ(g->Row(), 3);
}

TEST_F(GridFixture, ClickingACellMovesTheCurrentCellThenClicks)
{
    g->setRows(3);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->viewport()->mapFrom(g, centreOf(2, 4)));
    EXPECT_EQ(log.joined(), "leave(1,1) enter(2,4) click");
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(g->Col(), 4);
    log.clear();
    // Fixed cells are not current cells: the click arrives, the cell stays.
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->viewport()->mapFrom(g, centreOf(0, 3)));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->viewport()->mapFrom(g, centreOf(1, 0)));
    EXPECT_EQ(log.joined(), "click click");
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(g->Col(), 4);
    log.clear();
    QObject::connect(g, &FlexGrid::DblClick, [this] { log.add("dbl"); });
    // A double click arrives as a click, then the double click (and its release).
    const QPoint at = g->viewport()->mapFrom(g, centreOf(1, 2));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(log.joined(), "leave(2,4) enter(1,2) click dbl");
}

TEST_F(GridFixture, ArrowKeysOnTheGridMoveWithinTheScrollableCells)
{
    g->setRows(3);
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Down);
    QTest::keyClick(g, Qt::Key_Down);   // already on the last row
    QTest::keyClick(g, Qt::Key_Left);   // column 0 is fixed
    QTest::keyClick(g, Qt::Key_Up);
    EXPECT_EQ(log.joined(), "leave(1,1) enter(2,1) leave(2,1) enter(1,1)");
    // A KeyDown handler that cancels the key keeps the cell.
    QObject::connect(g, &FlexGrid::KeyDown, [](int& code, int) { code = 0; });
    log.clear();
    QTest::keyClick(g, Qt::Key_Down);
    EXPECT_TRUE(log.events.isEmpty());
}

// The editor placed at grid left + CellLeft, grid top + CellTop with CellWidth x CellHeight
// covers the cell inside its grid lines, wherever the cell is, scrolled or not.
TEST_F(GridFixture, AnEditorPlacedFromTheCellTwipsCoversTheCellExactly)
{
    auto* editor = new ui::TextBox("txtGrid1", &host);
    g->setRows(40);
    auto place = [&] {
        ui::moveTwips(editor, g->Left() + g->CellLeft(), g->Top() + g->CellTop(), g->CellWidth(),
                      g->CellHeight());
    };
    EXPECT_EQ(g->RowHeight(1), 300);   // the default height lifted to the minimum
    g->setRowHeight(2, 600);
    const std::pair<int, int> cells[] = {{1, 1}, {1, 5}, {3, 9}, {39, 6}, {2, 2}};
    for (auto [r, c] : cells) {
        g->setRow(r);
        g->setCol(c);
        place();
        const QRect cell = g->cellRect(r, c);
        ASSERT_FALSE(cell.isEmpty()) << r << "," << c;
        EXPECT_EQ(editor->geometry(), QRect(g->mapToParent(cell.topLeft()), cell.size()))
            << r << "," << c;
        EXPECT_EQ(g->CellHeight(), ui::toTwips(ui::toPixels(g->RowHeight(r)) - 1));
        EXPECT_EQ(g->CellWidth(), ui::toTwips(ui::toPixels(g->ColWidth(c)) - 1));
    }
    g->setRow(39);   // far below the first screenful
    EXPECT_GT(g->TopRow(), 1);
    EXPECT_EQ(g->cellAt(g->cellRect(39, 6).topLeft()), std::make_pair(39, 6));
}

TEST_F(GridFixture, MovingFarScrollsJustEnoughToShowTheCurrentCell)
{
    g->setRows(30000);
    g->setRow(29999);
    const QRect last = g->cellRect(29999, 1);
    ASSERT_FALSE(last.isEmpty());
    EXPECT_LE(last.bottom(), g->viewport()->geometry().bottom());
    // The rows above it fill the view: no further row would fit below the last.
    EXPECT_LT(g->viewport()->geometry().bottom() - last.bottom(), ui::toPixels(g->RowHeight(1)));
    g->setRow(5000);
    EXPECT_EQ(g->TopRow(), 5000);    // moving up puts the row at the top
    g->setCol(9);                    // the last column, beyond the right edge of the view
    EXPECT_GT(g->LeftCol(), 1);
    EXPECT_FALSE(g->cellRect(5000, 9).isEmpty());
    EXPECT_FALSE(g->cellRect(0, 0).isEmpty());   // fixed cells stay on view
}

TEST_F(GridFixture, RemovingAddingCuttingAndClearingRowsKeepsTheTextsAndTheCurrentRowInside)
{
    g->setRows(5);
    for (int r = 1; r < 5; ++r)
        g->setTextMatrix(r, 2, QString("party %1").arg(r));
    g->setRow(4);
    log.clear();
    g->RemoveItem(2);
    EXPECT_EQ(g->Rows(), 4);
    EXPECT_EQ(g->TextMatrix(2, 2), "party 3");
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(gridtest::errorNumber([&] { g->RemoveItem(0); }), 30015);   // the header
    g->AddItem("2\t01-09-08\tParty", 1);   // texts separated by tabs
    EXPECT_EQ(g->TextMatrix(1, 2), "Party");
    EXPECT_EQ(g->TextMatrix(2, 2), "party 1");
    g->setRows(2);   // cut: the current row stays inside, the texts of the rows that stay stay
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(gridtest::errorNumber([&] { g->RemoveItem(1); }), 30015);   // the only bill row
    g->setRows(3);
    EXPECT_EQ(g->TextMatrix(1, 2), "Party");
    EXPECT_EQ(g->TextMatrix(2, 2), "");
    EXPECT_TRUE(log.events.isEmpty());
    for (auto [r, c] : {std::pair{3, 0}, std::pair{0, 10}, std::pair{-1, 0}})
        EXPECT_EQ(gridtest::errorNumber([&] { g->TextMatrix(r, c); }), 381) << r << "," << c;
    // Clear empties every text, the fixed ones too, and keeps the layout and the cell.
    g->setRow(2);
    log.clear();
    g->Clear();
    EXPECT_EQ(g->TextMatrix(0, 5), "");
    EXPECT_EQ(g->TextMatrix(1, 2), "");
    EXPECT_EQ(g->Rows(), 3);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_TRUE(log.events.isEmpty());
}

} // namespace
