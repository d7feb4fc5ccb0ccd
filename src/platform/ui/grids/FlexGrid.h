// The program's flex grid: a ruled grid of text cells with grey fixed rows and columns at
// the top and left. The grid owns its current cell (Row, Col): every change of it, by the
// code or by the user, fires LeaveCell while Row/Col still name the old cell, then
// EnterCell for the new one. Sizes are in twips; CellLeft/CellTop/CellWidth/CellHeight give
// the current cell's inner rectangle (inside the grid lines) relative to the grid's own
// left and top, so a text box placed at grid left + CellLeft, grid top + CellTop covers the
// cell exactly. Reading them first scrolls the current cell into view.
// Alignment codes: 0 left-top, 1 left-centre, 2 left-bottom, 3 centre-top, 4 centre-centre,
// 5 centre-bottom, 6 right-top, 7 right-centre, 8 right-bottom, 9 general (text left,
// numbers right). A cell text may hold "\r\n" for a second line.
// Out-of-range rows and columns raise ado::Error 381 ("Subscript out of range").
#pragma once

#include "platform/ui/controls/Control.h"

#include <QAbstractScrollArea>
#include <QMargins>
#include <QString>
#include <vector>

namespace ui {

enum FlexAlignment {
    flexAlignLeftTop = 0, flexAlignLeftCenter = 1, flexAlignLeftBottom = 2,
    flexAlignCenterTop = 3, flexAlignCenterCenter = 4, flexAlignCenterBottom = 5,
    flexAlignRightTop = 6, flexAlignRightCenter = 7, flexAlignRightBottom = 8,
    flexAlignGeneral = 9
};

class FlexGrid : public ControlEvents<QAbstractScrollArea, FlexGrid>,
                 public ControlGeometry<FlexGrid> {
    Q_OBJECT
public:
    explicit FlexGrid(const QString& name, QWidget* parent = nullptr);

    int Rows() const { return rows_; }
    void setRows(int rows);                  // new rows are empty; the current cell stays inside
    int Cols() const { return cols_; }
    void setCols(int cols);
    int FixedRows() const { return fixedRows_; }
    void setFixedRows(int n);
    int FixedCols() const { return fixedCols_; }
    void setFixedCols(int n);

    int Row() const { return row_; }
    void setRow(int row);                    // LeaveCell, then EnterCell, when it changes
    int Col() const { return col_; }
    void setCol(int col);

    QString Text() const;                    // text of the current cell
    void setText(const QString& text);
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    int RowHeight(int row) const;            // twips, at least RowHeightMin
    void setRowHeight(int row, int twips);
    int RowHeightMin() const { return rowHeightMin_; }
    void setRowHeightMin(int twips);
    int ColWidth(int col) const;             // twips
    void setColWidth(int col, int twips);
    int ColAlignment(int col) const;
    void setColAlignment(int col, int alignment);

    int CellLeft();
    int CellTop();
    int CellWidth();
    int CellHeight();

    void Clear();                            // every text, fixed cells included; layout stays
    void RemoveItem(int row);                // the rows below move up; the current row stays in range
    void AddItem(const QString& tabbedText, int index = -1);   // texts separated by tabs

    int TopRow() const { return topRow_; }   // first scrollable row on view
    int LeftCol() const { return leftCol_; }

    long BackColor() const { return backColor_; }
    void setBackColor(long bgr) { backColor_ = bgr; viewport()->update(); }
    long BackColorFixed() const { return backColorFixed_; }
    void setBackColorFixed(long bgr) { backColorFixed_ = bgr; viewport()->update(); }
    long ForeColor() const { return foreColor_; }
    void setForeColor(long bgr) { foreColor_ = bgr; viewport()->update(); }
    long GridColor() const { return gridColor_; }
    void setGridColor(long bgr) { gridColor_ = bgr; viewport()->update(); }

    // Between a cell's edges and its text: what a text has of its cell's width.
    static constexpr QMargins kTextInset{3, 1, 4, 2};

    // The cell at a point of the grid (widget coordinates), {-1, -1} when none.
    std::pair<int, int> cellAt(const QPoint& pos) const;
    // The inner rectangle of a cell in widget pixels; empty when the cell is not on view.
    QRect cellRect(int row, int col) const;

signals:
    void EnterCell();
    void LeaveCell();
    void RowColChange();
    void Click();
    void DblClick();
    void KeyDown(int& keyCode, int shift);
    void KeyUp(int& keyCode, int shift);
    void KeyPress(int& keyAscii);
    void GotFocus();
    void LostFocus();
    void Scroll();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void keepTopRowInRange();                // the first scrollable row or column on view
    void keepLeftColInRange();               // stays inside the grid's shape
    void relayout();                         // scroll bars and picture follow a change
    QRect currentCellOnView();
    void checkRow(int row) const;
    void checkCol(int col) const;
    void moveTo(int row, int col);
    void ensureVisible(int row, int col);
    void updateScrollBars();
    int rowPx(int row) const;
    int colPx(int col) const;
    struct Axis;                             // rows down or columns across
    Axis rowAxis() const;
    Axis colAxis() const;
    int lastTopRow() const;
    int lastLeftCol() const;

    int rows_ = 2, cols_ = 2, fixedRows_ = 1, fixedCols_ = 1;
    int row_ = 1, col_ = 1;
    int topRow_ = 1, leftCol_ = 1;
    int rowHeightMin_ = 0;
    std::vector<std::vector<QString>> cells_;
    std::vector<int> rowHeights_;            // twips; -1 default
    std::vector<int> colWidths_;
    std::vector<int> colAlign_;
    long backColor_ = 0xFFFFFF, backColorFixed_ = 0xC8D0D4, foreColor_ = 0x000000;
    long gridColor_ = 0xC0C0C0, gridColorFixed_ = 0x808080;
    bool pressed_ = false;
    bool syncingScroll_ = false;
};

} // namespace ui
