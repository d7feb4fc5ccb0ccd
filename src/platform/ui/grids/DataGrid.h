// The program's data grid: a read-only grid bound to a recordset. It shows the recordset's
// rows as they stand through its Filter, one column per field, and its current row is the
// recordset's current record: a row chosen in the grid moves the recordset, and a move of
// the recordset (a filter, a bookmark set by the code) moves the grid. Rows are read on
// demand from a clone of the bound recordset, so a grid over 20,000 rows refreshes quickly.
// Row indexes (Row, RowBookmark) count the rows through the filter from 0.
// Bookmarks are the recordset's; Bookmark is Null when there is no current record.
// Column widths and the one row height of all rows are in twips.
#pragma once

#include "platform/ui/controls/Control.h"
#include "platform/db/Recordset.h"

#include <QFont>
#include <QWidget>
#include <memory>
#include <vector>

class QLabel;
class QTableView;

namespace ui {

class DataGrid;
class DataGridModel;
class DataGridView;

class DataGridColumn {
public:
    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    QString DataField() const { return dataField_; }
    int ColIndex() const { return index_; }
    int Width() const { return width_; }                  // twips
    void setWidth(int twips);
    bool Locked() const { return locked_; }
    void setLocked(bool on) { locked_ = on; }
    bool Visible() const { return visible_; }
    void setVisible(bool on);
    bool AllowSizing() const { return allowSizing_; }
    void setAllowSizing(bool on);
    // The value and text of this column in the current row (Null / "" when there is none).
    ado::Variant Value() const;
    QString Text() const;

private:
    friend class DataGrid;
    friend class DataGridModel;
    DataGrid* grid_ = nullptr;
    int index_ = 0;
    int field_ = 0;
    QString caption_, dataField_;
    int width_ = 0;
    bool locked_ = false, visible_ = true, allowSizing_ = true;
};

class DataGridColumns {
public:
    int Count() const { return int(cols_.size()); }
    DataGridColumn& Item(int index);                      // raises 9 outside
    DataGridColumn& operator()(int index) { return Item(index); }

private:
    friend class DataGrid;
    friend class DataGridModel;
    std::vector<std::unique_ptr<DataGridColumn>> cols_;
};

// The rows shown selected: the program clears it and adds the current row's bookmark.
class SelBookmarksCollection {
public:
    int Count() const { return int(items_.size()); }
    void Add(const ado::Variant& bookmark);
    void Remove(int index);                               // raises 9 outside
    ado::Variant Item(int index) const;
    bool contains(const ado::Variant& bookmark) const;

private:
    friend class DataGrid;
    DataGrid* grid_ = nullptr;
    std::vector<ado::Variant> items_;
};

class DataGrid : public QWidget, public ControlGeometry<DataGrid> {
    Q_OBJECT
public:
    explicit DataGrid(const QString& name, QWidget* parent = nullptr);
    ~DataGrid() override;

    // Binding. Setting the source builds one column per field; ClearFields + ReBind rebuild
    // the columns from the fields again; Refresh re-reads the rows.
    ado::RecordsetPtr DataSource() const { return rs_; }
    void setDataSource(ado::RecordsetPtr rs);
    void ClearFields();
    void ReBind();
    void Refresh();

    DataGridColumns& Columns() { return columns_; }
    DataGridColumn& Columns(int index) { return columns_.Item(index); }
    SelBookmarksCollection& SelBookmarks() { return selBookmarks_; }

    int rowCount();                                        // rows through the filter
    int Row();                                             // current row, -1 when none
    void setRow(int row);
    int Col() const { return col_; }
    void setCol(int col);
    ado::Variant Bookmark();                               // Null when there is no current record
    void setBookmark(const ado::Variant& bookmark);        // raises 3021 for Null or a row not on view
    ado::Variant RowBookmark(int row);                     // raises 9 outside the rows
    ado::Variant GetBookmark(long relative);               // Null when it leaves the rows
    QString Text();                                        // current cell's text

    QString Caption() const { return caption_; }
    void setCaption(const QString& caption);
    int RowHeight() const { return rowHeight_; }
    void setRowHeight(int twips);
    QFont Font() const;
    void setFont(const QFont& font);
    QFont HeadFont() const;
    void setHeadFont(const QFont& font);
    long BackColor() const { return backColor_; }
    void setBackColor(long bgr);
    long ForeColor() const { return foreColor_; }
    void setForeColor(long bgr);

    bool AllowAddNew() const { return false; }             // the grid never edits
    void setAllowAddNew(bool) {}
    bool AllowDelete() const { return false; }
    void setAllowDelete(bool) {}
    bool AllowUpdate() const { return false; }
    void setAllowUpdate(bool) {}
    bool RecordSelectors() const { return recordSelectors_; }
    void setRecordSelectors(bool on);
    bool AllowRowSizing() const { return allowRowSizing_; }
    void setAllowRowSizing(bool on) { allowRowSizing_ = on; }
    int Appearance() const { return appearance_; }
    void setAppearance(int a);
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int b);

    QTableView* view() const;                              // tests find cells through it

signals:
    void RowColChange(const ado::Variant& lastRow, int lastCol);
    void Click();
    void DblClick();
    void KeyDown(int& keyCode, int shift);
    void KeyUp(int& keyCode, int shift);
    void KeyPress(int& keyAscii);
    void HeadClick(int colIndex);
    void ColResize(int colIndex, int& cancel);             // after the user resized a column
    void RowResize(int& cancel);                           // after the user resized the rows
    void GotFocus();
    void LostFocus();

private:
    friend class DataGridColumn;
    friend class DataGridModel;
    friend class DataGridView;
    friend class SelBookmarksCollection;

    struct Snapshot {
        const ado::Recordset* rs = nullptr;
        QString filter;
        int generation = -1;
        int state = 0;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const;
    bool stale() const { return snapshot() != seen_; }
    void sync();                                  // rows and current row follow the recordset
    void reload();
    void buildColumns();
    void applyColumns();
    void followCurrent();
    int indexOfBookmark(const ado::Variant& bm);
    void userMovedTo(int row, int col);
    void userResizedColumn(int col, int px);
    void userResizedRows(int px);
    bool isOpen() const;
    ado::Variant cellValue(int row, int field);

    ado::RecordsetPtr rs_;
    ado::RecordsetPtr reader_;
    std::vector<ado::Variant> bookmarks_;
    int cachedCurrent_ = -1;                      // row of the last bookmark looked up
    int cacheRow_ = -1;                           // the row whose values cache_ holds
    std::vector<ado::Variant> cache_;
    int col_ = 0;
    Snapshot seen_;
    DataGridColumns columns_;
    SelBookmarksCollection selBookmarks_;
    QString caption_;
    int rowHeight_ = 240;
    long backColor_ = 0xFFFFFF, foreColor_ = 0x000000;
    bool recordSelectors_ = false, allowRowSizing_ = true;
    int appearance_ = 1, borderStyle_ = 1;
    bool following_ = false;                      // the grid itself moves or resizes the view
    QLabel* captionLabel_ = nullptr;
    DataGridView* view_ = nullptr;
    DataGridModel* model_ = nullptr;
};

} // namespace ui
