#include "platform/ui/grids/FlexGrid.h"

#include "platform/db/Error.h"
#include "platform/vb/Vb.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace ui {

namespace {

constexpr int kDefaultRowHeight = 240;   // twips: one line of the default font
constexpr int kDefaultColWidth = 960;

[[noreturn]] void raiseError(long number, const QString& description)
{
    throw ado::Error(number, description, QStringLiteral("FlexGrid"));
}

[[noreturn]] void subscriptOutOfRange() { raiseError(381, QStringLiteral("Subscript out of range")); }
[[noreturn]] void invalidRow() { raiseError(30009, QStringLiteral("Invalid Row value")); }
[[noreturn]] void invalidCol() { raiseError(30010, QStringLiteral("Invalid Col value")); }

Qt::Alignment qtAlignment(int code, const QString& text)
{
    switch (code) {
    case flexAlignLeftTop: return Qt::AlignLeft | Qt::AlignTop;
    case flexAlignLeftCenter: return Qt::AlignLeft | Qt::AlignVCenter;
    case flexAlignLeftBottom: return Qt::AlignLeft | Qt::AlignBottom;
    case flexAlignCenterTop: return Qt::AlignHCenter | Qt::AlignTop;
    case flexAlignCenterCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case flexAlignCenterBottom: return Qt::AlignHCenter | Qt::AlignBottom;
    case flexAlignRightTop: return Qt::AlignRight | Qt::AlignTop;
    case flexAlignRightCenter: return Qt::AlignRight | Qt::AlignVCenter;
    case flexAlignRightBottom: return Qt::AlignRight | Qt::AlignBottom;
    default:
        return (vb::IsNumeric(text) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
}

} // namespace

FlexGrid::FlexGrid(const QString& name, QWidget* parent) : ControlEvents(parent)
{
    setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    cells_.assign(rows_, std::vector<QString>(cols_));
    rowHeights_.assign(rows_, -1);
    colWidths_.assign(cols_, -1);
    colAlign_.assign(cols_, flexAlignGeneral);
    updateScrollBars();
}

// ---- shape -------------------------------------------------------------------------------

void FlexGrid::setRows(int rows)
{
    if (rows < 0)
        invalidRow();
    rows_ = rows;
    cells_.resize(rows, std::vector<QString>(cols_));
    rowHeights_.resize(rows, -1);
    fixedRows_ = std::min(fixedRows_, rows_);
    row_ = std::clamp(row_, 0, std::max(0, rows_ - 1));
    keepTopRowInRange();
    relayout();
}

void FlexGrid::setCols(int cols)
{
    if (cols < 0)
        invalidCol();
    cols_ = cols;
    for (auto& r : cells_)
        r.resize(cols);
    colWidths_.resize(cols, -1);
    colAlign_.resize(cols, flexAlignGeneral);
    fixedCols_ = std::min(fixedCols_, cols_);
    col_ = std::clamp(col_, 0, std::max(0, cols_ - 1));
    keepLeftColInRange();
    relayout();
}

void FlexGrid::setFixedRows(int n)
{
    if (n < 0 || n > rows_)
        raiseError(30011, QStringLiteral("Invalid FixedRows value"));
    fixedRows_ = n;
    if (row_ < n && n < rows_)
        row_ = n;
    keepTopRowInRange();
    relayout();
}

void FlexGrid::setFixedCols(int n)
{
    if (n < 0 || n > cols_)
        raiseError(30012, QStringLiteral("Invalid FixedCols value"));
    fixedCols_ = n;
    if (col_ < n && n < cols_)
        col_ = n;
    keepLeftColInRange();
    relayout();
}

void FlexGrid::keepTopRowInRange()
{
    topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, rows_ - 1));
}

void FlexGrid::keepLeftColInRange()
{
    leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, cols_ - 1));
}

void FlexGrid::relayout()
{
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::checkRow(int row) const
{
    if (row < 0 || row >= rows_)
        subscriptOutOfRange();
}

void FlexGrid::checkCol(int col) const
{
    if (col < 0 || col >= cols_)
        subscriptOutOfRange();
}

// ---- current cell ------------------------------------------------------------------------

void FlexGrid::setRow(int row)
{
    if (row < 0 || row >= rows_)
        invalidRow();
    moveTo(row, col_);
}

void FlexGrid::setCol(int col)
{
    if (col < 0 || col >= cols_)
        invalidCol();
    moveTo(row_, col);
}

void FlexGrid::moveTo(int row, int col)
{
    if (row == row_ && col == col_)
        return;
    emit LeaveCell();
    // A LeaveCell handler may have reshaped the grid.
    if (row >= rows_ || col >= cols_)
        return;
    row_ = row;
    col_ = col;
    ensureVisible(row_, col_);
    viewport()->update();
    emit RowColChange();
    emit EnterCell();
}

QString FlexGrid::Text() const
{
    return TextMatrix(row_, col_);
}

void FlexGrid::setText(const QString& text)
{
    setTextMatrix(row_, col_, text);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    return cells_[row][col];
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    checkRow(row);
    checkCol(col);
    cells_[row][col] = text;
    viewport()->update();
}

// ---- sizes -------------------------------------------------------------------------------

int FlexGrid::RowHeight(int row) const
{
    checkRow(row);
    const int h = rowHeights_[row] < 0 ? kDefaultRowHeight : rowHeights_[row];
    return std::max(h, rowHeightMin_);
}

void FlexGrid::setRowHeight(int row, int twips)
{
    checkRow(row);
    rowHeights_[row] = std::max(0, twips);
    relayout();
}

void FlexGrid::setRowHeightMin(int twips)
{
    rowHeightMin_ = std::max(0, twips);
    relayout();
}

int FlexGrid::ColWidth(int col) const
{
    checkCol(col);
    return colWidths_[col] < 0 ? kDefaultColWidth : colWidths_[col];
}

void FlexGrid::setColWidth(int col, int twips)
{
    checkCol(col);
    colWidths_[col] = std::max(0, twips);
    relayout();
}

int FlexGrid::ColAlignment(int col) const
{
    checkCol(col);
    return colAlign_[col];
}

void FlexGrid::setColAlignment(int col, int alignment)
{
    checkCol(col);
    colAlign_[col] = alignment;
    viewport()->update();
}

int FlexGrid::rowPx(int row) const { return toPixels(RowHeight(row)); }
int FlexGrid::colPx(int col) const { return toPixels(ColWidth(col)); }

// ---- geometry ----------------------------------------------------------------------------

// One direction of the grid: the fixed lines (rows or columns) first, then the scrollable ones
// from the first on view. Rows and columns are laid out, hit and scrolled by the same walks.
struct FlexGrid::Axis {
    int count, fixed, first;   // lines, fixed lines, first scrollable line on view
    int extent;                // viewport pixels along the axis
    const FlexGrid* grid;
    int (FlexGrid::*size)(int) const;

    int px(int line) const { return (grid->*size)(line); }
    int fixedPx() const
    {
        int sum = 0;
        for (int l = 0; l < fixed; ++l)
            sum += px(l);
        return sum;
    }

    // Viewport offset of a line; -1 when it is not on view.
    int offsetOf(int line) const
    {
        if (line < fixed) {
            int at = 0;
            for (int l = 0; l < line; ++l)
                at += px(l);
            return at;
        }
        if (line < first)
            return -1;
        int at = fixedPx();
        for (int l = first; l < line; ++l) {
            at += px(l);
            if (at >= extent)
                return -1;
        }
        return at < extent ? at : -1;
    }

    // The lines on view, each with its offset.
    std::vector<std::pair<int, int>> onView() const
    {
        std::vector<std::pair<int, int>> lines;
        int at = 0;
        for (int l = 0; l < count && at < extent; ++l) {
            if (l >= fixed && l < first) {
                l = first - 1;   // the lines scrolled out of view
                continue;
            }
            lines.emplace_back(l, at);
            at += px(l);
        }
        return lines;
    }

    // The line on view at a viewport offset; -1 when none.
    int lineAt(int pos) const
    {
        for (const auto& [l, at] : onView())
            if (pos >= at && pos < at + px(l))
                return l;
        return -1;
    }

    // The highest first line that still fills the view to the last line.
    int lastFirst() const
    {
        const int avail = extent - fixedPx();
        int top = count - 1;
        int used = 0;
        while (top >= fixed) {
            used += px(top);
            if (used > avail)
                break;
            --top;
        }
        return std::max(fixed, std::min(top + 1, count - 1));
    }

    // The first line on view once `line` is shown whole, scrolling as little as possible.
    int firstShowing(int line) const
    {
        if (line < fixed)
            return first;
        if (line < first)
            return line;
        const int avail = extent - fixedPx();
        // Counted upwards from `line`: the lines above it that still fit.
        int from = line, used = px(line);
        while (from > first && used + px(from - 1) <= avail)
            used += px(--from);
        return from;
    }
};

FlexGrid::Axis FlexGrid::rowAxis() const
{
    return {rows_, fixedRows_, topRow_, viewport()->height(), this, &FlexGrid::rowPx};
}

FlexGrid::Axis FlexGrid::colAxis() const
{
    return {cols_, fixedCols_, leftCol_, viewport()->width(), this, &FlexGrid::colPx};
}

QRect FlexGrid::cellRect(int row, int col) const
{
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_)
        return {};
    const int x = colAxis().offsetOf(col), y = rowAxis().offsetOf(row);
    if (x < 0 || y < 0)
        return {};
    const QPoint origin = viewport()->geometry().topLeft();
    // The grid lines are the last pixel column and row of each cell.
    return QRect(origin.x() + x, origin.y() + y, std::max(0, colPx(col) - 1),
                 std::max(0, rowPx(row) - 1));
}

std::pair<int, int> FlexGrid::cellAt(const QPoint& pos) const
{
    const QPoint p = pos - viewport()->geometry().topLeft();
    const int hitRow = rowAxis().lineAt(p.y()), hitCol = colAxis().lineAt(p.x());
    if (hitRow < 0 || hitCol < 0)
        return {-1, -1};
    return {hitRow, hitCol};
}

QRect FlexGrid::currentCellOnView()
{
    ensureVisible(row_, col_);
    return cellRect(row_, col_);
}

int FlexGrid::CellLeft() { return toTwips(currentCellOnView().x()); }
int FlexGrid::CellTop() { return toTwips(currentCellOnView().y()); }
int FlexGrid::CellWidth() { return toTwips(currentCellOnView().width()); }
int FlexGrid::CellHeight() { return toTwips(currentCellOnView().height()); }

// ---- rows --------------------------------------------------------------------------------

void FlexGrid::Clear()
{
    for (auto& r : cells_)
        std::fill(r.begin(), r.end(), QString());
    viewport()->update();
}

void FlexGrid::RemoveItem(int row)
{
    checkRow(row);
    if (row < fixedRows_ || rows_ - fixedRows_ <= 1)
        raiseError(30015, QStringLiteral("Cannot remove last non-fixed row"));
    cells_.erase(cells_.begin() + row);
    rowHeights_.erase(rowHeights_.begin() + row);
    --rows_;
    row_ = std::min(row_, rows_ - 1);
    keepTopRowInRange();
    relayout();
}

void FlexGrid::AddItem(const QString& tabbedText, int index)
{
    if (index < 0)
        index = rows_;
    if (index > rows_)
        subscriptOutOfRange();
    std::vector<QString> cells(cols_);
    const QStringList parts = tabbedText.split(QLatin1Char('\t'));
    for (int c = 0; c < cols_ && c < parts.size(); ++c)
        cells[c] = parts[c];
    cells_.insert(cells_.begin() + index, std::move(cells));
    rowHeights_.insert(rowHeights_.begin() + index, -1);
    ++rows_;
    relayout();
}

// ---- scrolling ---------------------------------------------------------------------------

int FlexGrid::lastTopRow() const { return rowAxis().lastFirst(); }
int FlexGrid::lastLeftCol() const { return colAxis().lastFirst(); }

void FlexGrid::updateScrollBars()
{
    syncingScroll_ = true;
    verticalScrollBar()->setRange(0, std::max(0, lastTopRow() - fixedRows_));
    verticalScrollBar()->setPageStep(10);
    verticalScrollBar()->setValue(std::max(0, topRow_ - fixedRows_));
    horizontalScrollBar()->setRange(0, std::max(0, lastLeftCol() - fixedCols_));
    horizontalScrollBar()->setValue(std::max(0, leftCol_ - fixedCols_));
    syncingScroll_ = false;
}

void FlexGrid::ensureVisible(int row, int col)
{
    const int top = rowAxis().firstShowing(row), left = colAxis().firstShowing(col);
    if (top == topRow_ && left == leftCol_)
        return;
    topRow_ = top;
    leftCol_ = left;
    relayout();
    emit Scroll();
}

void FlexGrid::scrollContentsBy(int, int)
{
    if (syncingScroll_)
        return;
    const int top = fixedRows_ + verticalScrollBar()->value();
    const int left = fixedCols_ + horizontalScrollBar()->value();
    if (top == topRow_ && left == leftCol_)
        return;
    topRow_ = std::min(top, std::max(fixedRows_, rows_ - 1));
    leftCol_ = std::min(left, std::max(fixedCols_, cols_ - 1));
    viewport()->update();
    emit Scroll();
}

void FlexGrid::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
}

// ---- painting ----------------------------------------------------------------------------

void FlexGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    const int vw = viewport()->width(), vh = viewport()->height();
    p.fillRect(QRect(0, 0, vw, vh), colorOf(0x808080));

    const auto rowsOnView = rowAxis().onView();   // row, y
    const auto colsOnView = colAxis().onView();   // col, x

    for (const auto& [r, ry] : rowsOnView) {
        const int h = rowPx(r);
        if (h <= 0)
            continue;
        for (const auto& [c, cx] : colsOnView) {
            const int w = colPx(c);
            if (w <= 0)
                continue;
            const bool fixed = r < fixedRows_ || c < fixedCols_;
            const QRect cell(cx, ry, w, h);
            p.fillRect(cell, colorOf(fixed ? backColorFixed_ : backColor_));
            QString text = cells_[r][c];
            if (!text.isEmpty()) {
                text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
                text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
                p.setPen(colorOf(foreColor_));
                const QRect inner = cell.marginsRemoved(kTextInset);
                p.save();
                p.setClipRect(cell.adjusted(0, 0, -1, -1));
                p.drawText(inner, int(qtAlignment(colAlign_[c], text)), text);
                p.restore();
            }
            p.setPen(colorOf(fixed ? gridColorFixed_ : gridColor_));
            p.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
            p.drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
            if (fixed) {   // a light edge gives the fixed cells their raised look
                p.setPen(Qt::white);
                p.drawLine(cell.left(), cell.top(), cell.right() - 1, cell.top());
                p.drawLine(cell.left(), cell.top(), cell.left(), cell.bottom() - 1);
            }
            if (r == row_ && c == col_ && hasFocus()) {
                QPen focus(Qt::black);
                focus.setStyle(Qt::DotLine);
                p.setPen(focus);
                p.drawRect(cell.adjusted(1, 1, -3, -3));
            }
        }
    }
}

// ---- input -------------------------------------------------------------------------------

void FlexGrid::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(e);
        return;
    }
    pressed_ = true;
    const auto [r, c] = cellAt(e->position().toPoint() + viewport()->geometry().topLeft());
    if (r >= fixedRows_ && c >= fixedCols_)
        moveTo(r, c);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && pressed_) {
        pressed_ = false;
        emit Click();
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(e);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        pressed_ = false;   // one Click per double click, before it
        emit DblClick();
        return;
    }
    QAbstractScrollArea::mouseDoubleClickEvent(e);
}

void FlexGrid::keyPressEvent(QKeyEvent* e)
{
    int code = 0;
    if (keyDownCancels(*this, e, code))
        return;
    const int lastRow = rows_ - 1, lastCol = cols_ - 1;
    const bool hasCells = rows_ > fixedRows_ && cols_ > fixedCols_;
    if (hasCells) {
        switch (code) {
        case vbKeyUp: if (row_ > fixedRows_) setRow(row_ - 1); e->accept(); return;
        case vbKeyDown: if (row_ < lastRow) setRow(row_ + 1); e->accept(); return;
        case vbKeyLeft: if (col_ > fixedCols_) setCol(col_ - 1); e->accept(); return;
        case vbKeyRight: if (col_ < lastCol) setCol(col_ + 1); e->accept(); return;
        case vbKeyPageUp: setRow(fixedRows_); e->accept(); return;
        case vbKeyPageDown: setRow(lastRow); e->accept(); return;
        case vbKeyHome: setCol(fixedCols_); e->accept(); return;
        case vbKeyEnd: setCol(lastCol); e->accept(); return;
        default: break;
        }
    }
    int ascii = keyPressAsciiOf(e);
    if (ascii != 0) {
        emit KeyPress(ascii);
        e->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(e);
}

// The current cell shows the focus.
void FlexGrid::focusInEvent(QFocusEvent* e)
{
    viewport()->update();
    ControlEvents::focusInEvent(e);
}

void FlexGrid::focusOutEvent(QFocusEvent* e)
{
    viewport()->update();
    ControlEvents::focusOutEvent(e);
}

} // namespace ui
