// The data grid over a recordset read from a scratch SQLite file: columns from the fields,
// rows through the recordset's filter, the current row shared with the recordset, bookmarks,
// the selected rows, and the events the search screen handles.
#include "GridsTestUtil.h"
#include "WaitFor.h"

#include "../../db/DbFixture.h"
#include "platform/ui/grids/DataGrid.h"
#include "platform/ui/forms/Twips.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

using gridtest::Host;
using gridtest::Log;
using ui::DataGrid;

namespace {

struct DataGridFixture : ::testing::Test {
    QTemporaryDir dir;
    Host host;
    DataGrid* grid = new DataGrid("DataGrid1", &host);
    QLineEdit* search = new QLineEdit(&host);
    ado::ConnectionPtr cn;
    ado::RecordsetPtr rs;
    Log log;

    void SetUp() override
    {
        dbtest::rawExec(dir.path() + "/law.mdb",
                        "CREATE TABLE Keralafields (id INTEGER PRIMARY KEY, Search TEXT COLLATE NOCASE,"
                        " Subject TEXT COLLATE NOCASE, Year INTEGER);"
                        "INSERT INTO Keralafields VALUES (1, 'S-1', 'Sales tax on cement', 2001),"
                        " (2, 'S-2', 'Value added tax act', 2003), (3, 'S-3', 'Works contract', 2005),"
                        " (4, 'S-4', 'Vat on gold', 2005), (5, 'S-5', 'Entry tax', 2008);");
        cn = ado::newConnection();
        cn->Open("Driver={Microsoft Access Driver (*.mdb)};Dbq=" + dir.path() + "\\law.mdb;Uid=admin;Pwd=;");
        rs = open("select Search, Subject, Year from Keralafields order by id");
        ui::moveTwips(grid, 1035, 1830, 9315, 2205);
        search->move(0, 0);
        QObject::connect(grid, &DataGrid::RowColChange, [this](const ado::Variant& last, int) {
            log.add("rowcol from " + (last.isNull() ? QString("null") : last.toDisplayString()));
        });
        QObject::connect(grid, &DataGrid::Click, [this] { log.add("click"); });
        QObject::connect(grid, &DataGrid::DblClick, [this] { log.add("dbl"); });
        host.showActive();
    }

    ado::RecordsetPtr base;   // the owner's recordset; the grid gets a read-only clone

    ado::RecordsetPtr open(const QString& sql)
    {
        base = ado::newRecordset();
        base->Open(sql, cn, ado::adOpenKeyset, ado::adLockOptimistic);
        return base->Clone(ado::adLockReadOnly);
    }

    QString shown(int row, int col) const
    {
        QTableView* v = grid->view();
        return v->model()->data(v->model()->index(row, col)).toString();
    }

    QString subject() const { return rs->Fields("Subject").Value().toDisplayString(); }
};

// One column per field; the rows are the recordset's through its filter, and the grid's current
// row is the recordset's.
TEST_F(DataGridFixture, ColumnsFromTheFieldsAndRowsThroughTheRecordsetsFilter)
{
    rs->MoveNext();
    rs->MoveNext();
    grid->setDataSource(rs);   // binding leaves the recordset on its row
    ASSERT_EQ(grid->Columns().Count(), 3);
    EXPECT_EQ(grid->Columns(0).Caption(), "Search");
    EXPECT_EQ(grid->Columns(1).DataField(), "Subject");
    EXPECT_THROW(grid->Columns(3), ado::Error);
    EXPECT_EQ(shown(4, 2), "2008");
    EXPECT_EQ(subject(), "Works contract");
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Bookmark(), rs->Bookmark());

    rs->setFilter("Subject LIKE '*tax*' AND Subject LIKE '*a*'");
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_EQ(grid->Columns(0).Text(), "S-1");
    EXPECT_EQ(shown(2, 1), "Entry tax");
    grid->setBookmark(grid->RowBookmark(2));
    EXPECT_EQ(subject(), "Entry tax");
    EXPECT_THROW(grid->RowBookmark(3), ado::Error);
    rs->setFilter("Subject LIKE '*nothing*'");
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(grid->Row(), -1);
    EXPECT_TRUE(grid->Bookmark().isNull());
    EXPECT_EQ(grid->Columns(1).Text(), "");
    EXPECT_TRUE(grid->GetBookmark(1).isNull());
    rs->setFilterNone();
    EXPECT_EQ(grid->rowCount(), 5);
    EXPECT_EQ(grid->Row(), 0);
    // The view catches up on its own once events run.
    rs->setFilter("Year =2003");
    EXPECT_EVENTUALLY(grid->view()->model()->rowCount() == 1);
}

TEST_F(DataGridFixture, BookmarksAndRelativeMovesShareTheRecordsetsCurrentRow)
{
    grid->setDataSource(rs);
    const ado::Variant first = grid->Bookmark();
    grid->setBookmark(grid->GetBookmark(1));
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(subject(), "Value added tax act");
    EXPECT_EQ(log.joined(), "rowcol from " + first.toDisplayString().toStdString());
    EXPECT_TRUE(grid->GetBookmark(-2).isNull());   // before the first row
    EXPECT_TRUE(grid->GetBookmark(4).isNull());    // after the last
    EXPECT_EQ(grid->GetBookmark(3), grid->RowBookmark(4));
    EXPECT_THROW(grid->setBookmark(ado::Variant::null()), ado::Error);
    // A bookmark of a row the filter hides is not a row of the grid.
    const ado::Variant hidden = grid->RowBookmark(4);
    rs->setFilter("Year =2005");
    EXPECT_THROW(grid->setBookmark(hidden), ado::Error);
    // A move of the recordset by the code moves the grid, and the grid's the recordset.
    rs->MoveNext();
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Columns(1).Text(), "Vat on gold");
    grid->setRow(0);
    EXPECT_EQ(subject(), "Works contract");
}

// A click or an arrow key moves the recordset, then the events follow; a typed character is
// the program's and never moves the rows.
TEST_F(DataGridFixture, ClicksAndKeysMoveTheRecordsetThenRaiseTheirEvents)
{
    grid->setDataSource(rs);
    const ado::Variant first = grid->Bookmark();
    QTableView* v = grid->view();
    const QRect cell = v->visualRect(v->model()->index(3, 1));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(subject(), "Vat on gold");
    EXPECT_EQ(log.joined(), "rowcol from " + first.toDisplayString().toStdString() + " click");
    log.clear();
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_NE(log.joined().find("dbl"), std::string::npos);
    std::vector<int> downs;
    QObject::connect(grid, &DataGrid::KeyDown, [&](int& code, int) { downs.push_back(code); });
    QObject::connect(grid, &DataGrid::KeyPress, [this](int& ascii) {
        ascii = 0;
        search->setFocus();
    });
    log.clear();
    v->setFocus();
    QTest::keyClick(v, Qt::Key_Down);
    EXPECT_EQ(subject(), "Entry tax");
    EXPECT_EQ(log.joined().rfind("rowcol from", 0), 0u);
    EXPECT_EQ(downs, std::vector<int>{40});
    QTest::keyClick(v, Qt::Key_S);   // no jump to "S-1"
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_TRUE(search->hasFocus());
}

TEST_F(DataGridFixture, SelectedRowsAreTheBookmarksTheProgramAdds)
{
    grid->setDataSource(rs);
    auto& sel = grid->SelBookmarks();
    sel.Add(grid->RowBookmark(2));
    sel.Add(grid->RowBookmark(4));
    QAbstractItemModel* m = grid->view()->model();
    auto highlighted = [m](int row) { return m->data(m->index(row, 1), Qt::BackgroundRole).isValid(); };
    EXPECT_TRUE(highlighted(2));
    EXPECT_FALSE(highlighted(1));
    sel.Remove(1);
    sel.Remove(0);
    EXPECT_EQ(sel.Count(), 0);
    EXPECT_FALSE(highlighted(2));
    EXPECT_THROW(sel.Remove(0), ado::Error);
}

TEST_F(DataGridFixture, ColumnsHideAndSizeInTwipsAndRebindAfresh)
{
    grid->setDataSource(rs);
    QTableView* v = grid->view();
    auto& c0 = grid->Columns(0);
    c0.setWidth(0);
    c0.setAllowSizing(false);
    c0.setVisible(false);
    EXPECT_TRUE(v->isColumnHidden(0));
    EXPECT_EQ(v->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    grid->Columns(1).setWidth(4500);
    EXPECT_EQ(v->columnWidth(1), 300);
    // ClearFields + ReBind build the columns afresh from the fields.
    grid->ClearFields();
    EXPECT_EQ(grid->Columns().Count(), 0);
    grid->ReBind();
    EXPECT_EQ(grid->Columns().Count(), 3);
    EXPECT_FALSE(v->isColumnHidden(0));
}

// Up and Down in a search box move the current row by the code; the key column the search
// screens hide must not keep the grid from scrolling to it.
TEST_F(DataGridFixture, ARowMadeCurrentByTheCodeComesIntoViewAlsoWhenTheCurrentColumnIsHidden)
{
    rs = open("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200)"
              " SELECT 'S-' || i AS Search, 'Subject ' || i AS Subject FROM n");
    grid->setDataSource(rs);
    grid->Columns(0).setWidth(0);
    grid->Columns(0).setVisible(false);
    QTableView* v = grid->view();
    auto onView = [&](int row) {
        return v->viewport()->rect().contains(v->visualRect(v->model()->index(row, 1)));
    };
    ASSERT_TRUE(onView(0));
    ASSERT_FALSE(onView(150));
    for (int row : {150, 40, 199, 0}) {
        grid->setBookmark(grid->RowBookmark(row));
        EXPECT_TRUE(onView(row)) << "row " << row;
    }
    EXPECT_EQ(v->horizontalScrollBar()->value(), 0);
}

TEST_F(DataGridFixture, TheUserResizingAColumnOrTheRowsIsReported)
{
    grid->setDataSource(rs);
    grid->setRowHeight(320);
    EXPECT_EQ(grid->view()->verticalHeader()->defaultSectionSize(), 21);
    // The handler keeps the rows between the screen's bounds.
    QObject::connect(grid, &DataGrid::RowResize, [this](int&) {
        if (grid->RowHeight() > 1000)
            grid->setRowHeight(1000);
    });
    QTableView* v = grid->view();
    const int y = v->rowViewportPosition(0) + v->rowHeight(0) - 1;
    QTest::mousePress(v->viewport(), Qt::LeftButton, {}, QPoint(40, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, y + 150), v->viewport()->mapToGlobal(QPointF(40, y + 150)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(v->viewport(), &move);
    QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, QPoint(40, y + 150));
    EXPECT_EQ(grid->RowHeight(), 1000);
    EXPECT_EQ(v->verticalHeader()->defaultSectionSize(), ui::toPixels(1000));

    std::vector<int> resized;
    QObject::connect(grid, &DataGrid::ColResize, [&](int col, int&) { resized.push_back(col); });
    v->horizontalHeader()->resizeSection(2, 200);   // as a drag of the header line does
    EXPECT_EQ(resized, std::vector<int>{2});
    EXPECT_EQ(grid->Columns(2).Width(), ui::toTwips(200));
}

// Rows the owner adds or deletes appear in the grid's clone as its filter takes them.
TEST_F(DataGridFixture, RowsChangedThroughTheOwnersCursorAppearThroughTheFilter)
{
    rs = open("select * from Keralafields order by id");
    grid->setDataSource(rs);
    rs->setFilter("Subject LIKE '*tax*'");
    EXPECT_EQ(grid->rowCount(), 3);
    for (const auto& [id, subject] : {std::pair{6, "Tax on lottery"}, std::pair{7, "Works on roads"}}) {
        base->AddNew();
        base->Fields("id") = id;
        base->Fields("Subject") = subject;
        base->Update();
    }
    EXPECT_EQ(grid->rowCount(), 4);
    EXPECT_EQ(shown(3, 2), "Tax on lottery");
    base->MoveFirst();
    base->Delete();
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(shown(0, 2), "Value added tax act");
}

TEST_F(DataGridFixture, AClosedOrMissingRecordsetShowsNothing)
{
    grid->setDataSource(nullptr);
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(grid->Columns().Count(), 0);
    EXPECT_TRUE(grid->Bookmark().isNull());
    grid->setDataSource(rs);
    rs->Close();
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(grid->Row(), -1);
    EXPECT_TRUE(grid->Bookmark().isNull());
}

} // namespace
