// The register grids and their floating cell editors: layout, entering and leaving a cell,
// the editor's keys, the rate pickers, appending and deleting rows. One implementation
// serves both grids; the purchase and sales entry points pass which side they are.
//
// The grids are never edited in place: the editor lies over the current cell, takes the
// cell's text when the cell is entered and writes it back when the cell is left.
#include "form10/registers/frmNormal.h"

#include "form10/registers/AmountText.h"
#include "form10/registers/Module2.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/grids/FlexGrid.h"
#include "platform/ui/forms/Keys.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/vb/Vb.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QWindow>
#include <algorithm>

namespace {

constexpr int kCols = 10;
constexpr int kTotalCol = 9;

struct Column { const char* header; int width; int alignment; };
const Column kColumns[kCols] = {
    {"Sl No", 700, ui::flexAlignCenterCenter},
    {"Bill Date", 1050, ui::flexAlignCenterCenter},
    {"Party", 3450, ui::flexAlignCenterCenter},
    {"TIN", 1600, ui::flexAlignCenterCenter},
    {"Bill  No", 1100, ui::flexAlignCenterCenter},
    {"Rate of \r\nTax %", 800, ui::flexAlignCenterCenter},
    {"Amount", 1500, ui::flexAlignRightTop},
    {"Tax", 1500, ui::flexAlignRightTop},
    {"Cess", 1500, ui::flexAlignRightTop},
    {"Total  Amount", 1500, ui::flexAlignRightTop},
};

// A bill date as the grids take it: the two dashes in place and exactly "dd-mm-yy" long.
// Anything longer (05-12-2009) would be stored as another year.
bool isBillDateText(const QString& text)
{
    const QString t = vb::Trim(text);
    return t.size() == 8 && fnIsDashDate(t);
}

void showBillDateMessage(const char* line2)
{
    ui::MsgBox(QStringLiteral("Date Format is not Valid \r\n") + QString::fromLatin1(line2)
                   + QStringLiteral("\r\neg:  ' 26-09-08 ' "),
               ui::vbExclamation | ui::vbOKOnly, QStringLiteral("Plase Note.......!"));
}

// Row total: Amount + Tax + Cess as the cells read (an empty cell counts 0); empty when they
// are too large to add up (the total is then no number, and nothing counts it).
QString rowTotal(const ui::FlexGrid& grid, int row)
{
    try {
        return vb::Format00(f10::amountValue(grid.TextMatrix(row, 6)) + f10::amountValue(grid.TextMatrix(row, 7))
                            + f10::amountValue(grid.TextMatrix(row, 8)));
    } catch (const ado::Error&) {
        return QString();
    }
}

} // namespace

struct frmNormal::GridSide {
    ui::FlexGrid* grid;
    ui::TextBox* editor;
    ui::ListBox* picker;
    const char* dateLine2;
    const char* name;   // in messages: "the purchase grid"
};

frmNormal::GridSide frmNormal::side(int which) const
{
    if (which == 1)
        return {fg1, txtGrid1, List2, "Please follow  'DD-MM-YY '", "purchase"};
    return {fg2, txtGrid2, List3, "Please follow    'DD-MM-YY ' ", "sales"};
}

void frmNormal::totals(int which)
{
    if (which == 1)
        procTotalCal1();
    else
        procTotalCal2();
}

void frmNormal::connectGridEvents()
{
    for (int which : {1, 2}) {
        const GridSide s = side(which);
        connect(s.grid, &ui::FlexGrid::EnterCell, this, [this, which] { enterCell(which); });
        connect(s.grid, &ui::FlexGrid::LeaveCell, this, [this, which] { leaveCell(which); });
        connect(s.editor, &ui::TextBox::GotFocus, this, [s] { fnSelectAllText(*s.editor); });
        // Text typed into the editor is an edit of its cell before it reaches the cell.
        connect(s.editor, &QLineEdit::textEdited, this, [this, which] { markEdited(which); });
        connect(s.editor, &ui::TextBox::KeyDown, this,
                [this, which](int& k, int shift) { editorKeyDown(which, k, shift); });
        connect(s.editor, &ui::TextBox::KeyPress, this, [this, which](int& k) { editorKeyPress(which, k); });
        connect(s.picker, &ui::ListBox::KeyPress, this, [this, which](int& k) { pickerKeyPress(which, k); });
        s.grid->viewport()->installEventFilter(this);
        s.editor->installEventFilter(this);   // Tab and Shift+Tab
        // Scrolling the grid moves the current cell: the editor follows it.
        // Scrolling by wheel or scroll bar moves the current cell on screen: the editor
        // follows it, and is put away while the cell is out of view.
        connect(s.grid, &ui::FlexGrid::Scroll, this, [this, which] { followCurrentCell(which); });
    }
    // Their access keys take the focus from an editor.
    for (ui::CommandButton* button : {cmdAdd, cmdDelete, cmdExport, cmdClose})
        button->installEventFilter(this);
}

// ---- layout -------------------------------------------------------------------------------

void frmNormal::setGridLayout(ui::FlexGrid& grid)
{
    grid.setRows(2);
    grid.setFixedRows(1);
    grid.setRowHeight(0, 400);
    grid.setCols(kCols);
    for (int c = 0; c < kCols; ++c)
        grid.setTextMatrix(0, c, QString::fromLatin1(kColumns[c].header));
    for (int c = 0; c < kCols; ++c)
        grid.setColWidth(c, kColumns[c].width);
    for (int c = 0; c < kCols; ++c)
        grid.setColAlignment(c, kColumns[c].alignment);
    grid.setRowHeightMin(300);
    grid.setTextMatrix(1, 0, QStringLiteral("1"));
}

void frmNormal::procSetGrid() { setGridLayout(*fg1); }
void frmNormal::procSetGrid2() { setGridLayout(*fg2); }

void frmNormal::moveTextBox(ui::FlexGrid& grid, ui::TextBox& editor)
{
    if (grid.Col() > kTotalCol)
        return;
    editor.show();
    editor.setLeft(grid.Left() + grid.CellLeft());
    editor.setTop(grid.Top() + grid.CellTop());
    editor.setHeight(grid.CellHeight());
    editor.setWidth(grid.CellWidth());
}

void frmNormal::followCurrentCell(int which)
{
    const GridSide s = side(which);
    ui::FlexGrid& grid = *s.grid;
    if (grid.Col() > kTotalCol)
        return;
    const QRect cell = grid.cellRect(grid.Row(), grid.Col());
    if (cell.isEmpty()) {
        s.editor->hide();
        return;
    }
    ui::moveTwips(s.editor, grid.Left() + ui::toTwips(cell.x()), grid.Top() + ui::toTwips(cell.y()),
                  ui::toTwips(cell.width()), ui::toTwips(cell.height()));
    s.editor->show();
}

void frmNormal::procMoveTextBox() { moveTextBox(*fg1, *txtGrid1); }
void frmNormal::procMoveTextBox2() { moveTextBox(*fg2, *txtGrid2); }

// ---- rows ---------------------------------------------------------------------------------

void frmNormal::procNewGridCreateRow(ui::FlexGrid& grid)
{
    const int n = grid.Rows() + 1;
    grid.setRows(n);
    grid.setRow(n - 1);
    grid.setTextMatrix(n - 1, 0, QString::number(n - 1));
}

void frmNormal::procGridCreateRow() { procNewGridCreateRow(*fg1); }
void frmNormal::procGridCreateRow2() { procNewGridCreateRow(*fg2); }
void frmNormal::procCreateGridRow() { procNewGridCreateRow(*fg2); }

void frmNormal::procMoveColumn1(ui::FlexGrid& grid)
{
    if (grid.Col() == kTotalCol) {
        if (grid.Row() == grid.Rows() - 1)
            procNewGridCreateRow(grid);
        else
            grid.setRow(grid.Row() + 1);
        grid.setCol(1);
    } else {
        grid.setCol(grid.Col() + 1);
    }
    procTotalCal1();
}

void frmNormal::deleteRow(int which, int row)
{
    const GridSide s = side(which);
    ui::FlexGrid& grid = *s.grid;
    for (int i = row + 1; i < grid.Rows(); ++i)
        grid.setTextMatrix(i, 0, QString::number(i - 1));
    if (grid.Rows() == 2 && row == 1) {
        grid.Clear();
        setGridLayout(grid);
    } else {
        grid.RemoveItem(row);
    }
    markEdited(which);
    s.editor->setText(grid.Text());
    moveTextBox(grid, *s.editor);
    s.editor->setFocus(Qt::OtherFocusReason);
    totals(which);
}

void frmNormal::fnDeleteRow(short row) { deleteRow(1, row); }
void frmNormal::fnDeleteRow2(short row) { deleteRow(2, row); }

void frmNormal::procClear1()
{
    fg1->Clear();
    txtGrid1->setText(QString());
}

// ---- entering and leaving a cell --------------------------------------------------------

// The editor over the current cell, with its text, alignment and lock for the cell's column.
void frmNormal::dressEditor(int which)
{
    const GridSide s = side(which);
    ui::FlexGrid& grid = *s.grid;
    ui::TextBox& editor = *s.editor;

    moveTextBox(grid, editor);
    const int col = grid.Col();
    if (col <= kTotalCol)
        editor.setText(grid.Text());
    switch (col) {
    case 1: case 2: case 3: case 4:
        editor.setAlignment(ui::vbCenter);
        editor.setLocked(false);
        break;
    case 5:
        // keeps the locked state of the cell entered before
        editor.setAlignment(ui::vbCenter);
        break;
    case 6:
        editor.setAlignment(ui::vbRightJustify);
        editor.setLocked(false);
        editor.setText(f10::amountText(editor.Text()));
        break;
    case 7:
        editor.setAlignment(ui::vbRightJustify);
        editor.setLocked(false);
        editor.setText(f10::amountText(editor.Text()));
        s.picker->hide();
        break;
    case 8:
        editor.setAlignment(ui::vbRightJustify);
        editor.setLocked(false);
        s.picker->hide();
        break;
    case kTotalCol: {
        editor.setAlignment(ui::vbRightJustify);
        editor.setLocked(true);
        // The row total is computed, never typed: the cell and the editor show the same
        // fresh value, so leaving the cell cannot write a stale total back.
        const QString total = rowTotal(grid, grid.Row());
        grid.setTextMatrix(grid.Row(), kTotalCol, total);
        editor.setText(total);
        break;
    }
    default:
        break;
    }
}

void frmNormal::enterCell(int which)
{
    dressEditor(which);
    const GridSide s = side(which);
    ui::FlexGrid& grid = *s.grid;
    ui::TextBox& editor = *s.editor;
    if (grid.isVisible() && grid.isEnabled())
        grid.setFocus(Qt::OtherFocusReason);
    if (editor.isVisible() && editor.isEnabled())
        editor.setFocus(Qt::OtherFocusReason);
    totals(which);
}

void frmNormal::leaveCell(int which)
{
    const GridSide s = side(which);
    ui::FlexGrid& grid = *s.grid;
    const int row = grid.Row();
    const int col = grid.Col();
    // The header row is never a bill: a grid cut back to its fixed row keeps its captions.
    if (row < grid.FixedRows()) {
        totals(which);
        return;
    }
    if (col >= 1 && col <= 5) {
        setCellText(which, s.editor->Text());
    } else if (col >= 6 && col <= 8) {
        // Only an amount goes into the cell: the keys and clicks that leave a cell refuse any
        // other text with a message first, and a move made by the program leaves the cell as it was.
        double value = 0;
        const f10::AmountRead read = f10::readAmount(s.editor->Text(), &value);
        if (read == f10::AmountRead::Number || read == f10::AmountRead::Empty)
            setCellText(which, vb::Format00(value));
    }
    // Computed after the edited cell is written, so the total includes what was just typed.
    if (grid.Cols() > kTotalCol)
        grid.setTextMatrix(row, kTotalCol, rowTotal(grid, row));
    totals(which);
}

void frmNormal::setCellText(int which, const QString& text)
{
    ui::FlexGrid& grid = *side(which).grid;
    if (grid.Text() == text)
        return;
    grid.setText(text);
    markEdited(which);
}

void frmNormal::markEdited(int which)
{
    (which == 1 ? fg1Edited : fg2Edited) = true;
}

void frmNormal::fg1_EnterCell() { enterCell(1); }
void frmNormal::fg1_LeaveCell() { leaveCell(1); }
void frmNormal::fg2_EnterCell() { enterCell(2); }
void frmNormal::fg2_LeaveCell() { leaveCell(2); }
void frmNormal::txtGrid1_GotFocus() { fnSelectAllText(*txtGrid1); }
void frmNormal::txtGrid2_GotFocus() { fnSelectAllText(*txtGrid2); }

void frmNormal::commitEditor(int which)
{
    const GridSide s = side(which);
    if (s.grid->Row() >= s.grid->FixedRows() && s.grid->Col() >= 1 && s.grid->Col() <= kTotalCol
        && s.editor->Text() != s.grid->Text())
        leaveCell(which);
}

void frmNormal::commitCellEditors()
{
    commitEditor(1);
    commitEditor(2);
}

// ---- the bill-date and amount checks -----------------------------------------------------

// Shows the amount message when a money editor holds a text that is not an amount, or one
// too large: the cell keeps its value and stays current, the text in the editor for correction.
bool frmNormal::amountRefused(int which)
{
    const GridSide s = side(which);
    const int col = s.grid->Col();
    if (col < 6 || col > 8)
        return false;
    double value = 0;
    const f10::AmountRead read = f10::readAmount(s.editor->Text(), &value);
    if (read == f10::AmountRead::Number || read == f10::AmountRead::Empty)
        return false;
    ui::MsgBox(f10::refusedAmountMessage(s.editor->Text(), read, QLatin1String(s.name), s.grid->Row(),
                                         QString::fromLatin1(kColumns[col].header)),
               ui::vbExclamation | ui::vbOKOnly, QStringLiteral("Plase Note.......!"));
    s.editor->setFocus(Qt::OtherFocusReason);
    return true;
}

// Shows the date-format message when the date editor holds a text without its two dashes.
// An empty date cell may be left (blank rows are normal); Enter demands a date.
bool frmNormal::billDateRefused(int which)
{
    const GridSide s = side(which);
    if (s.grid->Col() != 1)
        return false;
    const QString text = vb::Trim(s.editor->Text());
    if (text.isEmpty() || isBillDateText(text))
        return false;
    showBillDateMessage(s.dateLine2);
    s.editor->setFocus(Qt::OtherFocusReason);
    return true;
}

int frmNormal::focusedEditor() const
{
    const QWidget* focused = QApplication::focusWidget();
    return focused == txtGrid1 ? 1 : focused == txtGrid2 ? 2 : 0;
}

// Whether a press on `target` takes the focus from the editor, as the toolkit gives it: to the
// first control from the target outwards that takes the focus by a click. The editor's own
// grid is left out: a click on another of its cells is checked as a move of the current cell.
bool frmNormal::pressLeavesEditor(QWidget* target, int which) const
{
    const GridSide s = side(which);
    for (QWidget* w = target; w && w != this; w = w->parentWidget()) {
        if (w == s.editor || w == s.grid)
            return false;
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus))
            return true;
    }
    return false;
}

// Leaving an editor for another control (Tab, Shift+Tab, a click, an access key) reads its text
// as leaving its cell does: refused with the same message, the editor keeping the focus and
// the text (true); otherwise the text goes into the cell, so that the grid and its totals count
// what the editor shows.
bool frmNormal::editorLeaveRefused(int which)
{
    if (billDateRefused(which) || amountRefused(which))
        return true;
    commitEditor(which);
    return false;
}

bool frmNormal::eventFilter(QObject* watched, QEvent* event)
{
    const int leaving = focusedEditor();
    // A press is looked at on its way into the window, before it moves the focus; the rest of
    // a refused click goes nowhere either.
    if (watched == windowHandle()) {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
            return false;
        const auto* me = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonPress && !(me->flags() & Qt::MouseEventCreatedDoubleClick))
            pressRefused_ = leaving && pressLeavesEditor(childAt(me->position().toPoint()), leaving)
                            && editorLeaveRefused(leaving);
        return pressRefused_;
    }
    if (leaving && watched == side(leaving).editor && event->type() == QEvent::KeyPress) {
        const auto* ke = static_cast<QKeyEvent*>(event);
        const bool tab = ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab;
        if (tab && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return editorLeaveRefused(leaving);
    }
    // An access key (Alt+A, Alt+X ...) would take the focus to its button.
    if (leaving && event->type() == QEvent::Shortcut)
        return editorLeaveRefused(leaving);
    // A click on another cell leaves the date cell: a refused date keeps the cell current
    // and its text in the editor for correction.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        for (int which : {1, 2}) {
            const GridSide s = side(which);
            if (watched != s.grid->viewport())
                continue;
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() != Qt::LeftButton)
                break;
            const auto [r, c] = s.grid->cellAt(me->position().toPoint() + s.grid->viewport()->geometry().topLeft());
            const bool moves = r >= s.grid->FixedRows() && c >= s.grid->FixedCols()
                               && (r != s.grid->Row() || c != s.grid->Col());
            if (moves && (billDateRefused(which) || amountRefused(which)))
                return true;
            break;
        }
    }
    return ui::Form::eventFilter(watched, event);
}

// ---- the editor's keys ------------------------------------------------------------------

void frmNormal::editorKeyDown(int which, int& keyCode, int shift)
{
    (void)shift;
    const GridSide s = side(which);
    ui::FlexGrid& grid = *s.grid;
    ui::TextBox& editor = *s.editor;
    const bool wholeSelected = editor.Text() == editor.SelText();

    int row = grid.Row();
    int col = grid.Col();
    switch (keyCode) {
    case ui::vbKeyPageUp: row = 1; break;
    case ui::vbKeyPageDown: row = grid.Rows() - 1; break;
    case ui::vbKeyLeft: if (wholeSelected) col = std::max(1, col - 1); break;
    case ui::vbKeyUp: row = std::max(1, row - 1); break;
    case ui::vbKeyRight: if (wholeSelected) col = std::min(col + 1, grid.Cols() - 1); break;
    case ui::vbKeyDown: row = std::min(row + 1, grid.Rows() - 1); break;
    default: break;
    }
    const bool moves = row != grid.Row() || col != grid.Col();
    if (moves && (billDateRefused(which) || amountRefused(which))) {
        keyCode = 0;
    } else if (moves) {
        switch (keyCode) {
        case ui::vbKeyPageUp:
        case ui::vbKeyPageDown:
            grid.setRow(row);
            break;
        case ui::vbKeyLeft:
            grid.setCol(col);
            grid.setFocus(Qt::OtherFocusReason);
            editor.setFocus(Qt::OtherFocusReason);
            break;
        case ui::vbKeyUp:
            grid.setRow(row);
            grid.setFocus(Qt::OtherFocusReason);
            editor.setFocus(Qt::OtherFocusReason);
            break;
        case ui::vbKeyRight:
            grid.setCol(col);
            editor.setFocus(Qt::OtherFocusReason);
            break;
        case ui::vbKeyDown:
            grid.setRow(row);
            editor.setFocus(Qt::OtherFocusReason);
            break;
        default:
            break;
        }
        // The new cell's text is selected whole; the key must not collapse that selection.
        keyCode = 0;
    } else if (keyCode == ui::vbKeyLeft && wholeSelected) {
        editor.setFocus(Qt::OtherFocusReason);
    }
    totals(which);
}

void frmNormal::editorKeyPress(int which, int& keyAscii)
{
    const GridSide s = side(which);
    ui::FlexGrid& grid = *s.grid;
    ui::TextBox& editor = *s.editor;

    if (keyAscii == ui::vbKeyReturn && amountRefused(which)) {
        keyAscii = 0;
    } else if (keyAscii == ui::vbKeyReturn) {
        setCellText(which, editor.Text());
        bool accepted = true;
        if (grid.Col() == 1 && !isBillDateText(editor.Text())) {
            showBillDateMessage(s.dateLine2);
            editor.setText(QString());
            accepted = false;
        }
        if (accepted) {
            procMoveColumn1(grid);
            moveTextBox(grid, editor);
            if (grid.Col() == 5)
                dropPicker(which);
        }
    } else if (keyAscii == 25) {
        deleteRow(which, grid.Row());
    } else if (keyAscii == 4 && grid.Col() == 1) {
        editor.setText(fnMonthStartDate(vb::Trim(txtRPTo->Text()), QStringLiteral("09")));
    }
    totals(which);
}

void frmNormal::txtGrid1_KeyDown(int& keyCode, int shift) { editorKeyDown(1, keyCode, shift); }
void frmNormal::txtGrid2_KeyDown(int& keyCode, int shift) { editorKeyDown(2, keyCode, shift); }
void frmNormal::txtGrid1_KeyPress(int& keyAscii) { editorKeyPress(1, keyAscii); }
void frmNormal::txtGrid2_KeyPress(int& keyAscii) { editorKeyPress(2, keyAscii); }

// ---- rate pickers -------------------------------------------------------------------------

void frmNormal::dropPicker(int which)
{
    const GridSide s = side(which);
    ui::FlexGrid& grid = *s.grid;
    ui::ListBox& picker = *s.picker;
    picker.setLeft(grid.Left() + grid.CellLeft());
    picker.setTop(grid.Top() + grid.CellTop() + 300);
    picker.setWidth(grid.CellWidth());
    picker.setListIndex(0);
    picker.show();
    picker.raise();
    picker.setFocus(Qt::OtherFocusReason);
}

void frmNormal::pickerKeyPress(int which, int& keyAscii)
{
    if (keyAscii != ui::vbKeyReturn)
        return;
    const GridSide s = side(which);
    s.editor->setText(s.picker->Text());
    // Hand the focus back to the editor first: hiding the focused list would pass the
    // focus down the tab chain (and could open the month list).
    s.editor->setFocus(Qt::OtherFocusReason);
    s.picker->hide();
    procMoveColumn1(*s.grid);
    moveTextBox(*s.grid, *s.editor);
}

void frmNormal::List2_KeyPress(int& keyAscii) { pickerKeyPress(1, keyAscii); }
void frmNormal::List3_KeyPress(int& keyAscii) { pickerKeyPress(2, keyAscii); }
