#include "platform/ui/grids/DataGrid.h"

#include "platform/db/Error.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace ui {

namespace {

constexpr int kDefaultColumnWidth = 1800;   // twips

[[noreturn]] void outOfRange()
{
    throw ado::Error(9, QStringLiteral("Subscript out of range"), QStringLiteral("DataGrid"));
}

QString displayOf(const ado::Variant& v)
{
    if (v.kind() == ado::Variant::Kind::Binary)
        return QString();
    try {
        return v.toDisplayString();
    } catch (const ado::Error&) {
        return QString();
    }
}

} // namespace

// ---- model: rows read on demand through a clone of the bound recordset --------------------

class DataGridModel : public QAbstractTableModel {
public:
    explicit DataGridModel(DataGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(grid_->bookmarks_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : grid_->columns_.Count();
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        switch (role) {
        case Qt::DisplayRole: {
            const DataGridColumn& col = *grid_->columns_.cols_[index.column()];
            return displayOf(grid_->cellValue(index.row(), col.field_));
        }
        case Qt::BackgroundRole:
            if (selected(index.row()))
                return grid_->view()->palette().brush(QPalette::Highlight);
            return {};
        case Qt::ForegroundRole:
            if (selected(index.row()))
                return grid_->view()->palette().brush(QPalette::HighlightedText);
            return {};
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o == Qt::Horizontal && role == Qt::DisplayRole && section < grid_->columns_.Count())
            return grid_->columns_.cols_[section]->caption_;
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }
    // The grid's own change of its rows or columns; the view's signals it causes are not
    // the user's moves.
    void reset(const std::function<void()>& change)
    {
        const QScopedValueRollback quiet(grid_->following_, true);
        beginResetModel();
        change();
        endResetModel();
    }

private:
    bool selected(int row) const
    {
        const auto& sel = grid_->selBookmarks_;
        return sel.Count() > 0 && sel.contains(grid_->bookmarks_[size_t(row)]);
    }
    DataGrid* grid_;
};

// ---- view: keys, mouse and focus become the grid's events ---------------------------------

class DataGridView : public QTableView {
public:
    explicit DataGridView(DataGrid* grid) : QTableView(grid), grid_(grid)
    {
        viewport()->setMouseTracking(true);
        viewport()->installEventFilter(this);
    }

protected:
    void keyboardSearch(const QString&) override {}   // typing is the program's own

    void keyPressEvent(QKeyEvent* e) override
    {
        grid_->sync();
        const KeyOutcome k = raiseKeyDownAndPress(*grid_, e);
        if (k.cancelled || k.typed >= 32) {
            e->accept();   // nothing is typed into a read-only grid
            return;
        }
        QTableView::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        raiseKeyUp(*grid_, e);
        QTableView::keyReleaseEvent(e);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        grid_->sync();
        QTableView::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QTableView::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton)
            emit grid_->Click();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        QTableView::mouseDoubleClickEvent(e);
        if (e->button() == Qt::LeftButton)
            emit grid_->DblClick();
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QTableView::focusInEvent(e);
        grid_->sync();
        raiseFocusChange(*grid_, e);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QTableView::focusOutEvent(e);
        raiseFocusChange(*grid_, e);
    }
    void paintEvent(QPaintEvent* e) override
    {
        // The recordset changed under the grid (a filter set by the code): catch up after
        // this paint rather than inside it.
        if (grid_->stale())
            QTimer::singleShot(0, grid_, [g = grid_] { g->sync(); });
        QTableView::paintEvent(e);
    }

    // Dragging a row line sizes every row (the grid has one row height).
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched != viewport() || !grid_->allowRowSizing_)
            return QTableView::eventFilter(watched, e);
        if (e->type() == QEvent::MouseButtonPress) {
            auto* m = static_cast<QMouseEvent*>(e);
            const int y = int(m->position().y());
            if (m->button() == Qt::LeftButton && onRowLine(y)) {
                dragStartY_ = y;
                dragStartPx_ = verticalHeader()->defaultSectionSize();
                dragging_ = true;
                return true;
            }
        } else if (e->type() == QEvent::MouseMove) {
            auto* m = static_cast<QMouseEvent*>(e);
            const int y = int(m->position().y());
            if (dragging_) {
                const int px = std::max(2, dragStartPx_ + y - dragStartY_);
                verticalHeader()->setDefaultSectionSize(px);
                return true;
            }
            if (onRowLine(y))
                viewport()->setCursor(Qt::SplitVCursor);
            else
                viewport()->unsetCursor();
        } else if (e->type() == QEvent::MouseButtonRelease && dragging_) {
            dragging_ = false;
            grid_->userResizedRows(verticalHeader()->defaultSectionSize());
            return true;
        }
        return QTableView::eventFilter(watched, e);
    }

private:
    bool onRowLine(int y) const
    {
        const int row = rowAt(y);
        if (row < 0)
            return false;
        const int bottom = rowViewportPosition(row) + rowHeight(row);
        return std::abs(bottom - y) <= 2 || (row > 0 && std::abs(rowViewportPosition(row) - y) <= 2);
    }

    DataGrid* grid_;
    bool dragging_ = false;
    int dragStartY_ = 0, dragStartPx_ = 0;
};

// ---- columns and selected rows ------------------------------------------------------------

DataGridColumn& DataGridColumns::Item(int index)
{
    if (index < 0 || index >= Count())
        outOfRange();
    return *cols_[size_t(index)];
}

void DataGridColumn::setCaption(const QString& caption)
{
    caption_ = caption;
    emit grid_->model_->headerDataChanged(Qt::Horizontal, index_, index_);
}

void DataGridColumn::setWidth(int twips)
{
    width_ = std::max(0, twips);
    grid_->applyColumns();
}

void DataGridColumn::setVisible(bool on)
{
    visible_ = on;
    grid_->applyColumns();
}

void DataGridColumn::setAllowSizing(bool on)
{
    allowSizing_ = on;
    grid_->applyColumns();
}

ado::Variant DataGridColumn::Value() const
{
    if (grid_->Bookmark().isNull())
        return ado::Variant::null();
    return grid_->rs_->Fields(field_).Value();
}

QString DataGridColumn::Text() const
{
    return displayOf(Value());
}

void SelBookmarksCollection::Add(const ado::Variant& bookmark)
{
    items_.push_back(bookmark);
    if (grid_)
        grid_->view()->viewport()->update();
}

void SelBookmarksCollection::Remove(int index)
{
    if (index < 0 || index >= Count())
        outOfRange();
    items_.erase(items_.begin() + index);
    if (grid_)
        grid_->view()->viewport()->update();
}

ado::Variant SelBookmarksCollection::Item(int index) const
{
    if (index < 0 || index >= Count())
        outOfRange();
    return items_[size_t(index)];
}

bool SelBookmarksCollection::contains(const ado::Variant& bookmark) const
{
    return std::find(items_.begin(), items_.end(), bookmark) != items_.end();
}

// ---- the grid ------------------------------------------------------------------------------

DataGrid::DataGrid(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    selBookmarks_.grid_ = this;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    captionLabel_ = new QLabel(this);
    captionLabel_->setObjectName(name + QStringLiteral("_caption"));
    captionLabel_->setAlignment(Qt::AlignCenter);
    captionLabel_->setAutoFillBackground(true);
    captionLabel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    captionLabel_->hide();
    layout->addWidget(captionLabel_);

    view_ = new DataGridView(this);
    view_->setObjectName(name + QStringLiteral("_view"));
    model_ = new DataGridModel(this);
    view_->setModel(model_);
    view_->setSelectionMode(QAbstractItemView::NoSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(true);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setMinimumSectionSize(1);
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setSectionsClickable(true);
    view_->horizontalHeader()->setHighlightSections(false);
    setFocusProxy(view_);
    layout->addWidget(view_);
    setRowHeight(rowHeight_);

    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& cur) {
                if (!following_ && cur.isValid())
                    userMovedTo(cur.row(), cur.column());
            });
    connect(view_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int col) { emit HeadClick(col); });
    connect(view_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int col, int, int px) {
                if (!following_)
                    userResizedColumn(col, px);
            });
}

DataGrid::~DataGrid() = default;

QTableView* DataGrid::view() const { return view_; }

bool DataGrid::isOpen() const
{
    return rs_ && rs_->State() != ado::adStateClosed;
}

DataGrid::Snapshot DataGrid::snapshot() const
{
    Snapshot s;
    s.rs = rs_.get();
    if (isOpen()) {
        s.state = rs_->State();
        s.filter = rs_->Filter();
        s.generation = rs_->generation();
    }
    return s;
}

void DataGrid::setDataSource(ado::RecordsetPtr rs)
{
    rs_ = std::move(rs);
    reader_.reset();
    selBookmarks_.items_.clear();
    buildColumns();
    reload();
}

void DataGrid::ClearFields()
{
    model_->reset([this] { columns_.cols_.clear(); });
}

void DataGrid::ReBind()
{
    if (columns_.Count() == 0)
        buildColumns();
    reload();
}

void DataGrid::Refresh()
{
    reload();
}

void DataGrid::buildColumns()
{
    model_->reset([this] {
        columns_.cols_.clear();
        if (!isOpen())
            return;
        const QStringList names = rs_->fieldNames();
        for (int i = 0; i < names.size(); ++i) {
            auto col = std::make_unique<DataGridColumn>();
            col->grid_ = this;
            col->index_ = i;
            col->field_ = i;
            col->caption_ = names[i];
            col->dataField_ = names[i];
            col->width_ = kDefaultColumnWidth;
            columns_.cols_.push_back(std::move(col));
        }
    });
    applyColumns();
}

void DataGrid::applyColumns()
{
    const QScopedValueRollback quiet(following_, true);
    QHeaderView* header = view_->horizontalHeader();
    for (int i = 0; i < columns_.Count(); ++i) {
        const DataGridColumn& c = *columns_.cols_[size_t(i)];
        header->setSectionResizeMode(i, c.allowSizing_ ? QHeaderView::Interactive : QHeaderView::Fixed);
        view_->setColumnHidden(i, !c.visible_ || c.width_ == 0);
        if (c.visible_ && c.width_ > 0)
            view_->setColumnWidth(i, toPixels(c.width_));
    }
}

void DataGrid::reload()
{
    model_->reset([this] {
        bookmarks_.clear();
        cachedCurrent_ = -1;
        cacheRow_ = -1;
        if (!isOpen())
            return;
        try {
            if (!reader_)
                reader_ = rs_->Clone(ado::adLockReadOnly);
            const bool eof = rs_->Eof(), bof = rs_->Bof();
            if (eof && bof)
                return;
            const ado::Variant saved = (eof || bof) ? ado::Variant::null() : rs_->Bookmark();
            bookmarks_.reserve(size_t(std::max(0L, rs_->RecordCount())));
            rs_->MoveFirst();
            while (!rs_->Eof()) {
                bookmarks_.push_back(rs_->Bookmark());
                rs_->MoveNext();
            }
            // Leave the recordset where it was: the grid only looked.
            if (!saved.isNull()) {
                rs_->setBookmark(saved);
            } else if (bof) {
                rs_->MoveFirst();
                rs_->MovePrevious();
            }
        } catch (const ado::Error&) {
            // A recordset that cannot be walked shows the rows read so far.
        }
    });
    seen_ = snapshot();
    applyColumns();
    followCurrent();
}

void DataGrid::sync()
{
    if (stale())
        reload();
    else
        followCurrent();
}

ado::Variant DataGrid::cellValue(int row, int field)
{
    if (row < 0 || size_t(row) >= bookmarks_.size() || !reader_)
        return ado::Variant::null();
    if (cacheRow_ != row) {
        cache_.clear();
        cacheRow_ = -1;
        try {
            reader_->setBookmark(bookmarks_[size_t(row)]);
            const int n = reader_->FieldCount();
            for (int i = 0; i < n; ++i)
                cache_.push_back(reader_->Fields(i).Value());
            cacheRow_ = row;
        } catch (const ado::Error&) {
            return ado::Variant::null();
        }
    }
    if (field < 0 || size_t(field) >= cache_.size())
        return ado::Variant::null();
    return cache_[size_t(field)];
}

int DataGrid::indexOfBookmark(const ado::Variant& bm)
{
    if (bm.isNull() || bm.isEmpty())
        return -1;
    if (cachedCurrent_ >= 0 && size_t(cachedCurrent_) < bookmarks_.size() &&
        bookmarks_[size_t(cachedCurrent_)] == bm)
        return cachedCurrent_;
    const auto it = std::find(bookmarks_.begin(), bookmarks_.end(), bm);
    cachedCurrent_ = it == bookmarks_.end() ? -1 : int(it - bookmarks_.begin());
    return cachedCurrent_;
}

void DataGrid::followCurrent()
{
    int row = -1;
    if (isOpen() && !rs_->Eof() && !rs_->Bof())
        row = indexOfBookmark(rs_->Bookmark());
    const QModelIndex cur = view_->currentIndex();
    const int col = std::clamp(col_, 0, std::max(0, columns_.Count() - 1));
    if (row < 0) {
        if (cur.isValid()) {
            const QScopedValueRollback quiet(following_, true);
            view_->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        }
        return;
    }
    if (cur.row() == row && cur.column() == col)
        return;
    const QScopedValueRollback quiet(following_, true);
    const QModelIndex target = model_->index(row, col);
    view_->selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    // The row comes into view through a column on view: the view scrolls to nothing in a
    // hidden column (the program keeps its key column there), and the leftmost column on
    // view keeps the grid from scrolling sideways.
    int shownCol = col;
    if (view_->isColumnHidden(shownCol) || view_->columnWidth(shownCol) == 0) {
        shownCol = view_->columnAt(0);
        for (int c = 0; shownCol < 0 && c < columns_.Count(); ++c)
            if (!view_->isColumnHidden(c) && view_->columnWidth(c) > 0)
                shownCol = c;
    }
    if (shownCol >= 0)
        view_->scrollTo(model_->index(row, shownCol));
}

void DataGrid::userMovedTo(int row, int col)
{
    const ado::Variant last = Bookmark();
    const int lastCol = col_;
    col_ = col;
    if (row >= 0 && size_t(row) < bookmarks_.size()) {
        try {
            rs_->setBookmark(bookmarks_[size_t(row)]);
            cachedCurrent_ = row;
        } catch (const ado::Error&) {
            return;
        }
    }
    emit RowColChange(last, lastCol);
}

void DataGrid::userResizedColumn(int col, int px)
{
    if (col < 0 || col >= columns_.Count())
        return;
    DataGridColumn& c = *columns_.cols_[size_t(col)];
    const int old = c.width_;
    c.width_ = toTwips(px);
    int cancel = 0;
    emit ColResize(col, cancel);
    if (cancel) {
        c.width_ = old;
        applyColumns();
    }
}

void DataGrid::userResizedRows(int px)
{
    const int old = rowHeight_;
    rowHeight_ = toTwips(px);
    int cancel = 0;
    emit RowResize(cancel);
    if (cancel)
        setRowHeight(old);
    else if (view_->verticalHeader()->defaultSectionSize() != toPixels(rowHeight_))
        setRowHeight(rowHeight_);
}

int DataGrid::rowCount()
{
    sync();
    return int(bookmarks_.size());
}

int DataGrid::Row()
{
    return indexOfBookmark(Bookmark());
}

void DataGrid::setRow(int row)
{
    setBookmark(RowBookmark(row));
}

void DataGrid::setCol(int col)
{
    if (col < 0 || col >= columns_.Count())
        outOfRange();
    const ado::Variant last = Bookmark();
    const int lastCol = col_;
    col_ = col;
    followCurrent();
    if (lastCol != col)
        emit RowColChange(last, lastCol);
}

ado::Variant DataGrid::Bookmark()
{
    sync();
    if (!isOpen() || rs_->Eof() || rs_->Bof())
        return ado::Variant::null();
    return rs_->Bookmark();
}

void DataGrid::setBookmark(const ado::Variant& bookmark)
{
    sync();
    const int row = indexOfBookmark(bookmark);
    if (row < 0)
        throw ado::Error(ado::err::NoCurrentRecord,
                         QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."),
                         QStringLiteral("DataGrid"));
    const ado::Variant last = Bookmark();
    rs_->setBookmark(bookmark);
    cachedCurrent_ = row;
    followCurrent();
    emit RowColChange(last, col_);
}

ado::Variant DataGrid::RowBookmark(int row)
{
    sync();
    if (row < 0 || size_t(row) >= bookmarks_.size())
        outOfRange();
    return bookmarks_[size_t(row)];
}

ado::Variant DataGrid::GetBookmark(long relative)
{
    const int cur = Row();
    if (cur < 0)
        return ado::Variant::null();
    const long target = cur + relative;
    if (target < 0 || size_t(target) >= bookmarks_.size())
        return ado::Variant::null();
    return bookmarks_[size_t(target)];
}

QString DataGrid::Text()
{
    if (columns_.Count() == 0)
        return QString();
    return columns_.Item(std::clamp(col_, 0, columns_.Count() - 1)).Text();
}

void DataGrid::setCaption(const QString& caption)
{
    caption_ = caption;
    captionLabel_->setText(caption);
    captionLabel_->setVisible(!caption.isEmpty());
}

void DataGrid::setRowHeight(int twips)
{
    rowHeight_ = std::max(0, twips);
    view_->verticalHeader()->setDefaultSectionSize(std::max(1, toPixels(rowHeight_)));
}

QFont DataGrid::Font() const { return view_->font(); }

void DataGrid::setFont(const QFont& font)
{
    const QFont head = HeadFont();
    view_->setFont(font);
    view_->horizontalHeader()->setFont(head);   // the head keeps its own font
    setRowHeight(rowHeight_);
}

QFont DataGrid::HeadFont() const { return view_->horizontalHeader()->font(); }

void DataGrid::setHeadFont(const QFont& font)
{
    view_->horizontalHeader()->setFont(font);
    captionLabel_->setFont(font);
}

void DataGrid::setBackColor(long bgr)
{
    backColor_ = bgr;
    setPaletteColor(*view_, bgr, {QPalette::Base});
}

void DataGrid::setForeColor(long bgr)
{
    foreColor_ = bgr;
    setPaletteColor(*view_, bgr, {QPalette::Text});
}

void DataGrid::setRecordSelectors(bool on)
{
    recordSelectors_ = on;
    view_->verticalHeader()->setVisible(on);
    view_->verticalHeader()->setFixedWidth(on ? 16 : 0);
}

void DataGrid::setAppearance(int a)
{
    appearance_ = a;
    view_->setFrameShadow(a == 1 ? QFrame::Sunken : QFrame::Plain);
}

void DataGrid::setBorderStyle(int b)
{
    borderStyle_ = b;
    view_->setFrameShape(b == 0 ? QFrame::NoFrame : QFrame::StyledPanel);
}

} // namespace ui
