// The grid search screen. Every grid property it relies on (row bookmarks, the selected-rows
// list, locked and hidden columns) comes from the data grid; every filter goes through the
// screen's own read-only clone of the owner's recordset, never the owner's recordset itself.
#include "frmGlobalSections.h"

#include "DocumentQueries.h"
#include "SearchFilter.h"
#include "keralaforms.h"

#include "lawdb/MyMOD.h"
#include "platform/db/Error.h"
#include "platform/db/StatementText.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/controls/Control.h"
#include "platform/ui/grids/DataGrid.h"
#include "platform/ui/forms/Keys.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/forms/Readable.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/ui/forms/Twips.h"
#include "platform/vb/Vb.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

constexpr long kInvalidPropertyValue = 380;

// A size the layout computes; a negative one is refused as the platform refuses it.
int checkedSize(int twips)
{
    if (twips < 0)
        throw ado::Error(kInvalidPropertyValue, QStringLiteral("Invalid property value"),
                         QStringLiteral("Lumora"));
    return twips;
}

QFont makeFont(const QString& family, double points, bool bold, QFont::StyleHint hint)
{
    QFont f(family);
    f.setStyleHint(hint);
    f.setPointSizeF(ui::readablePoints(points));
    f.setBold(bold);
    return f;
}

void setBackground(QWidget* w, long bgr)
{
    ui::setPaletteColor(*w, bgr, {QPalette::Window});
    w->setAutoFillBackground(true);
}

void setColors(QWidget* w, long background, long text)
{
    ui::setPaletteColor(*w, text, {QPalette::WindowText});
    setBackground(w, background);
}

bool ctrlDown() { return QApplication::keyboardModifiers() & Qt::ControlModifier; }

// A trapped failure: the detailed message while the debug flag is on, else the plain one.
void showTrappedError(const QString& tag, const ado::Error& e, const QString& plainText)
{
    if (lawdb::fnInDebug())
        ui::MsgBox(ado::detailedText(tag, e));
    else
        ui::MsgBox(plainText, ui::vbOKOnly, QStringLiteral("Lumora"));
}

} // namespace

frmGlobalSections::frmGlobalSections(QWidget* parent)
    : ui::Form(QStringLiteral("frmGlobalSections"), parent)
{
    setWidth(12735);
    setHeight(9135);

    frameContent = new QGroupBox(QStringLiteral("Select the item you want and click GO"), this);
    frameContent->setObjectName(QStringLiteral("frameContent"));
    frameContent->setFont(makeFont(QStringLiteral("MS Sans Serif"), 8.25, true, QFont::SansSerif));
    setColors(frameContent, 0x5A3412, 0x00FFFF);
    frameContent->setStyleSheet(QStringLiteral(
        "QGroupBox#frameContent { color: #FFFF00; background-color: #12345A; }"));
    ui::moveTwips(frameContent, 870, 750, 11385, 7515);

    lblWordSearch = new QLabel(QStringLiteral("Word &Search"), frameContent);
    lblWordSearch->setObjectName(QStringLiteral("lblWordSearch"));
    lblWordSearch->setFont(makeFont(QStringLiteral("MS Sans Serif"), 8.25, true, QFont::SansSerif));
    lblWordSearch->setStyleSheet(QStringLiteral("background-color: #FFFFFF; color: #000080;"));
    ui::moveTwips(lblWordSearch, 1035, 810, 1125, 285);
    // The search box beside it follows its width (the layout step).
    ui::widenToText(lblWordSearch);

    txtSearch = new ui::TextBox(QStringLiteral("txtSearch"), frameContent);
    txtSearch->setFont(makeFont(QStringLiteral("Verdana"), 9, false, QFont::SansSerif));
    ui::moveTwips(txtSearch, 2190, 780, 8145, 315);
    lblWordSearch->setBuddy(txtSearch);

    cmdGO = new ui::CommandButton(QStringLiteral("cmdGO"), QStringLiteral("&GO"), frameContent);
    cmdGO->setStyle(ui::vbButtonGraphical);
    cmdGO->setBackColor(0xC0FFFF);
    cmdGO->setFont(makeFont(QStringLiteral("Microsoft Sans Serif"), 9, true, QFont::SansSerif));
    cmdGO->setDefault(true);
    ui::moveTwips(cmdGO, 10410, 150, 885, 555);

    txtDetail = new QPlainTextEdit(frameContent);
    txtDetail->setObjectName(QStringLiteral("txtDetail"));
    txtDetail->setFont(makeFont(QStringLiteral("Times New Roman"), 11.25, true, QFont::Serif));
    // Shows the current row only; read-only so that Enter and Escape reach Go and Back.
    txtDetail->setReadOnly(true);
    ui::moveTwips(txtDetail, 1035, 1140, 9315, 690);

    DataGrid1 = new ui::DataGrid(QStringLiteral("DataGrid1"), frameContent);
    DataGrid1->setHeadFont(makeFont(QStringLiteral("Times New Roman"), 12, true, QFont::Serif));
    DataGrid1->setFont(makeFont(QStringLiteral("Times New Roman"), 12, false, QFont::Serif));
    ui::moveTwips(DataGrid1, 1035, 1830, 9315, 2205);

    cmdBack = new ui::CommandButton(QStringLiteral("cmdBack"), QStringLiteral("&Back"), frameContent);
    cmdBack->setStyle(ui::vbButtonGraphical);
    cmdBack->setBackColor(0xC0FFFF);
    cmdBack->setFont(makeFont(QStringLiteral("Microsoft Sans Serif"), 9, true, QFont::SansSerif));
    cmdBack->setCancel(true);
    ui::moveTwips(cmdBack, 10410, 6930, 885, 555);

    setTabOrder(txtSearch, cmdGO);
    setTabOrder(cmdGO, txtDetail);
    setTabOrder(txtDetail, DataGrid1);
    setTabOrder(DataGrid1, cmdBack);

    connect(cmdGO, &ui::CommandButton::Click, this, &frmGlobalSections::cmdGO_Click);
    connect(cmdBack, &ui::CommandButton::Click, this, &frmGlobalSections::cmdBack_Click);
    connect(txtSearch, &ui::TextBox::Change, this, &frmGlobalSections::FilterRec);
    connect(txtSearch, &ui::TextBox::KeyDown, this, &frmGlobalSections::txtSearch_KeyDown);
    connect(txtSearch, &ui::TextBox::KeyPress, this, &frmGlobalSections::txtSearch_KeyPress);
    connect(txtSearch, &ui::TextBox::DblClick, this, &frmGlobalSections::doubleClickGo);
    connect(cmdGO, &ui::CommandButton::KeyPress, this, &frmGlobalSections::routeCharacterToSearch);
    connect(cmdBack, &ui::CommandButton::KeyPress, this, &frmGlobalSections::routeCharacterToSearch);

    connect(DataGrid1, &ui::DataGrid::KeyPress, this, &frmGlobalSections::routeCharacterToSearch);
    connect(DataGrid1, &ui::DataGrid::DblClick, this, &frmGlobalSections::doubleClickGo);
    connect(DataGrid1, &ui::DataGrid::KeyDown, this, [this](int&, int) { ChangeSelection(); });
    connect(DataGrid1, &ui::DataGrid::KeyUp, this, [this](int&, int) { ChangeSelection(); });

    connect(DataGrid1, &ui::DataGrid::RowColChange, this, [this] { ChangeSelection(); });
    connect(DataGrid1, &ui::DataGrid::GotFocus, this, [this] { ChangeSelection(); });
    connect(DataGrid1, &ui::DataGrid::ColResize, this, [this] { AutoSizeColumn(); });
    connect(DataGrid1, &ui::DataGrid::RowResize, this, [this] { applyRowHeightBounds(); });

    lblWordSearch->installEventFilter(this);
    txtDetail->installEventFilter(this);
    txtDetail->viewport()->installEventFilter(this);
}

frmGlobalSections::~frmGlobalSections() = default;

void frmGlobalSections::Form_Load()
{
    detailIndex_ = -1;
    autoSizeColumnIndex_ = -1;
    searchColumnIndex_ = -1;
    hiddenIDIndex_ = -1;
    setDontShowOleForm(false);
    minimumRowHeight_ = 300;
    maximumRowHeight_ = 1000;

    DataGrid1->setAllowAddNew(false);
    DataGrid1->setAllowDelete(false);
    DataGrid1->setAllowUpdate(false);
    DataGrid1->setRecordSelectors(false);
    DataGrid1->setAllowRowSizing(true);
    DataGrid1->setAppearance(1);
    DataGrid1->setBorderStyle(0);
    DataGrid1->setRowHeight(320);
}

void frmGlobalSections::setRecSet(const ado::RecordsetPtr& recordset)
{
    if (!recordset)
        throw ado::Error(91, QStringLiteral("Object variable or With block variable not set"),
                         QStringLiteral("frmGlobalSections"));
    recSet_ = recordset->Clone(ado::adLockReadOnly);
}

QString frmGlobalSections::Header() const { return DataGrid1->Caption(); }

void frmGlobalSections::setHeader(const QString& text)
{
    DataGrid1->setCaption(text);
    setCaption(text);
}

bool frmGlobalSections::LoadGridData()
{
    vb::skip([this] { DataGrid1->setDataSource(recSet_); });
    vb::skip([this] {
        DataGrid1->ClearFields();
        DataGrid1->ReBind();
    });
    vb::skip([this] {
        for (int i = 0; i < DataGrid1->Columns().Count(); ++i)
            DataGrid1->Columns(i).setLocked(true);
    });
    auto hideColumn = [this](int i) {
        ui::DataGridColumn& c = DataGrid1->Columns(i);
        c.setWidth(0);
        c.setAllowSizing(false);
        c.setLocked(true);
        c.setVisible(false);
    };
    vb::skip([&] {
        if (DataGrid1->Columns().Count() > 1)
            hideColumn(0);
    });
    vb::skip([&] {
        if (hiddenIDIndex_ >= 0 && hiddenIDIndex_ < DataGrid1->Columns().Count())
            hideColumn(hiddenIDIndex_);
    });
    vb::skip([this] { ChangeSelection(); });
    vb::skip([this] { AutoSizeColumn(); });
    vb::skip([this] { FocusForm(); });
    return true;
}

// ---- selection and detail -----------------------------------------------------------------

void frmGlobalSections::ChangeSelection()
{
    try {
        if (DataGrid1->Row() >= 0) {
            ui::SelBookmarksCollection& sel = DataGrid1->SelBookmarks();
            for (int i = sel.Count() - 1; i >= 0; --i)
                sel.Remove(i);
            sel.Add(DataGrid1->RowBookmark(DataGrid1->Row()));
        }
        cmdGO->setEnabled(!DataGrid1->Bookmark().isNull());
        ShowDetail();
    } catch (const ado::Error& e) {
        showTrappedError(QStringLiteral("ChangeSelectionErr "), e, QStringLiteral("Grid exceptional case 3"));
    }
}

void frmGlobalSections::ShowDetail()
{
    vb::skip([this] { txtDetail->clear(); });
    vb::skip([this] {
        if (detailIndex_ >= 0 && detailIndex_ < DataGrid1->Columns().Count()
            && !DataGrid1->Bookmark().isNull())
            txtDetail->setPlainText(cellText(detailIndex_));
    });
}

QString frmGlobalSections::cellText(int column) const
{
    return DataGrid1->Columns(column).Text();
}

ado::Variant frmGlobalSections::predicateValue() const
{
    return DataGrid1->Columns(predicateValueColumnIndex_).Value();
}

// ---- Go and Back --------------------------------------------------------------------------

void frmGlobalSections::cmdGO_Click()
{
    try {
        const QString value = predicateValue().toDisplayString();
        const QString query = library::goQueryText(oleColumnName_, oleTableName_,
                                                   predicateColumnName_, value,
                                                   additionalSearchConditions_);
        if (!dontShowOleForm_) {
            ui::form<keralaforms>().bindAndShow(this, query, connectionString_, true);
        } else {
            queryString_ = query;
            ado::Variant v = predicateValue();
            emit GoClicked(this, v);
        }
    } catch (const ado::Error& e) {
        showTrappedError(QStringLiteral("Error on cmdGO_Click() "), e, QStringLiteral("Grid exceptional case 1"));
    }
}

void frmGlobalSections::cmdBack_Click()
{
    emit BackClicked(this);
    Hide();
}

void frmGlobalSections::Form_QueryUnload(int& cancel, int unloadMode)
{
    if (unloadMode != ui::vbFormControlMenu)
        return;
    cancel = 1;
    Hide();
    emit BackClicked(this);
}

void frmGlobalSections::doubleClickGo()
{
    if (cmdGO->isEnabled() && !DataGrid1->Bookmark().isNull())
        cmdGO_Click();
}

// ---- filtering ----------------------------------------------------------------------------

void frmGlobalSections::FilterRec()
{
    if (searchColumnIndex_ < 0)
        return;
    try {
        if (!recSet_)
            throw ado::Error(91, QStringLiteral("Object variable or With block variable not set"),
                             QStringLiteral("frmGlobalSections"));
        const QString caption = DataGrid1->Columns(searchColumnIndex_).Caption();
        const int type = recSet_->Fields(searchColumnIndex_).Type();
        const library::FilterOutcome r =
            library::buildSearchFilter(caption, type, txtSearch->Text());
        switch (r.kind) {
        case library::FilterOutcome::Silent:
            return;
        case library::FilterOutcome::Reject:
            ui::MsgBox(r.message);
            txtSearch->setSelStart(0);
            txtSearch->setSelLength(txtSearch->Text().size());
            SetFocusTo(txtSearch);
            return;
        case library::FilterOutcome::Apply:
            if (!r.filter.isEmpty()) {
                recSet_->setFilter(r.filter);
                DataGrid1->Refresh();
            } else {
                recSet_->setFilterNone();
                LoadGridData();
            }
            break;
        }
        ChangeSelection();
    } catch (const ado::Error& e) {
        showTrappedError(QStringLiteral("FilterRecErr "), e, QStringLiteral("Grid exceptional case 4"));
    }
}

// ---- layout, column sizing, row height ----------------------------------------------------

void frmGlobalSections::Form_Resize()
{
    const int designGridLeft = 1035, designGridTop = 1830;
    // Each numbered move is one statement: a size it cannot take leaves the whole move undone.
    vb::skip([this] {
        ui::moveTwips(frameContent, 800, 800, checkedSize(ScaleWidth() - 1600),
                      checkedSize(ScaleHeight() - 1600));
    });
    const int frameW = ui::widthTwips(frameContent), frameH = ui::heightTwips(frameContent);
    vb::skip([&] {
        cmdGO->Move(frameW - (cmdGO->Width() + 30), 150);
    });
    vb::skip([&] {
        cmdBack->Move(frameW - (cmdBack->Width() + 30), frameH - (cmdBack->Height() + 30));
    });
    vb::skip([&] {
        ui::moveTwips(DataGrid1, designGridLeft, designGridTop,
                      checkedSize(frameW - 2 * designGridLeft),
                      checkedSize(frameH - (designGridTop + 30 + cmdBack->Height())));
    });
    const int gridW = ui::widthTwips(DataGrid1);
    vb::skip([&] {
        ui::moveTwips(txtDetail, designGridLeft, ui::topTwips(txtDetail), gridW,
                      ui::heightTwips(txtDetail));
    });
    vb::skip([&] { ui::setLeftTwips(lblWordSearch, designGridLeft); });
    vb::skip([&] {
        const int labelW = ui::widthTwips(lblWordSearch);
        ui::moveTwips(txtSearch, labelW + designGridLeft, ui::topTwips(txtSearch),
                      checkedSize(gridW - labelW), ui::heightTwips(txtSearch));
    });
    vb::skip([this] { AutoSizeColumn(); });
}

void frmGlobalSections::AutoSizeColumn()
{
    vb::skip([this] {
        const int count = DataGrid1->Columns().Count();
        if (autoSizeColumnIndex_ <= 0 || autoSizeColumnIndex_ >= count)
            return;
        int others = 0;
        for (int i = 0; i < count; ++i)
            if (i != autoSizeColumnIndex_)
                others += DataGrid1->Columns(i).Width();
        const int s = others + 273;
        const int gridW = ui::widthTwips(DataGrid1);
        if (gridW > s)
            DataGrid1->Columns(autoSizeColumnIndex_).setWidth(gridW - s);
    });
}

void frmGlobalSections::applyRowHeightBounds()
{
    vb::skip([this] {
        const int h = DataGrid1->RowHeight();
        if (h > maximumRowHeight_)
            DataGrid1->setRowHeight(maximumRowHeight_);
        else if (h < minimumRowHeight_)
            DataGrid1->setRowHeight(minimumRowHeight_);
    });
}

// ---- keys and focus -----------------------------------------------------------------------

// Enter and Escape are not characters here: they belong to the default and cancel buttons.
// Every other character, Backspace included, goes to the search box.
void frmGlobalSections::routeCharacterToSearch(int& keyAscii)
{
    if (ctrlDown() || keyAscii <= 0 || keyAscii == ui::vbKeyReturn || keyAscii == ui::vbKeyEscape)
        return;
    keyAscii = 0;
    SetFocusTo(txtSearch);
}

void frmGlobalSections::txtSearch_KeyDown(int& keyCode, int shift)
{
    (void)shift;
    if (keyCode != ui::vbKeyUp && keyCode != ui::vbKeyDown)
        return;
    const int step = keyCode == ui::vbKeyUp ? -1 : 1;
    keyCode = 0;
    vb::skip([&] { DataGrid1->setBookmark(DataGrid1->GetBookmark(step)); });
    ChangeSelection();
}

void frmGlobalSections::txtSearch_KeyPress(int& keyAscii)
{
    if (keyAscii == 127 && ctrlDown()) {
        keyAscii = 0;
        txtSearch->setText(QString());
    }
}

void frmGlobalSections::Form_Activate() { SetFocusTo(txtSearch); }

void frmGlobalSections::SetFocusTo(QWidget* control)
{
    vb::skip([control] { control->setFocus(Qt::OtherFocusReason); });
}

void frmGlobalSections::FocusForm()
{
    vb::skip([this] {
        if (isVisible())
            activateWindow();
    });
}

bool frmGlobalSections::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblWordSearch && event->type() == QEvent::MouseButtonRelease) {
        SetFocusTo(txtSearch);
        return false;
    }
    if (watched == txtDetail || watched == txtDetail->viewport()) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            int ascii = ui::keyPressAsciiOf(key);
            if (ascii != 0 && !(key->modifiers() & Qt::ControlModifier)) {
                routeCharacterToSearch(ascii);
                if (ascii == 0)
                    return true;
            }
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            doubleClickGo();
            return true;
        }
    }
    return ui::Form::eventFilter(watched, event);
}

// ---- appearance ---------------------------------------------------------------------------

namespace {

template <class Get, class Set>
qint32 getSetColour(const QString& tag, qint32& colour, Get get, Set set)
{
    try {
        if (colour >= 0)
            set(colour);
        return static_cast<qint32>(get());
    } catch (const ado::Error& e) {
        showTrappedError(tag, e, QStringLiteral("Grid exceptional case 3"));
        return 0;
    }
}

} // namespace

qint32 frmGlobalSections::GetSetBackColor(qint32& colour)
{
    return getSetColour(QStringLiteral("Error on GetSetBackColor() "), colour,
                        [this] { return ui::paletteColor(*this, QPalette::Window); },
                        [this](long c) { setBackground(this, c); });
}

qint32 frmGlobalSections::GetSetFrameBackColor(qint32& colour)
{
    return getSetColour(
        QStringLiteral("Error on GetSetFrameBackColor() "), colour,
        [this] { return ui::paletteColor(*frameContent, QPalette::Window); },
        [this](long c) {
            setBackground(frameContent, c);
            frameContent->setStyleSheet(
                QStringLiteral("QGroupBox#frameContent { color: #FFFF00; background-color: %1; }")
                    .arg(ui::colorOf(c).name()));
        });
}

qint32 frmGlobalSections::GetSetGridBackColor(qint32& colour)
{
    return getSetColour(QStringLiteral("Error on GetSetGridBackColor() "), colour,
                        [this] { return DataGrid1->BackColor(); },
                        [this](long c) { DataGrid1->setBackColor(c); });
}

qint32 frmGlobalSections::GetSetGridForeColor(qint32& colour)
{
    return getSetColour(QStringLiteral("Error on GetSetGridForeColor() "), colour,
                        [this] { return DataGrid1->ForeColor(); },
                        [this](long c) { DataGrid1->setForeColor(c); });
}

QFont frmGlobalSections::GetSetGridFont(const QFont* font)
{
    if (font) {
        QFont f = DataGrid1->Font();
        f.setFamily(font->family());
        DataGrid1->setFont(f);
    }
    return DataGrid1->Font();
}
