// The grid search screen driven as a user drives it, configured as the library does.
#include "LibraryFixture.h"
#include "TextFit.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <memory>

namespace {

const QString kNotNumeric = "Not a valid numeric.\r\nPlease enter a numeric value.";

class SearchScreenTest : public LibraryFixture {
protected:
    void TearDown() override
    {
        screen.reset();
        LibraryFixture::TearDown();
    }

    void open(const char* variable)
    {
        screen = std::make_unique<frmGlobalSections>();
        library::configureScreen(*screen, *library::findScreen(variable));
        screen->Show();
        QApplication::setActiveWindow(screen.get());
        grid = screen->findChild<ui::DataGrid*>("DataGrid1");
        box = screen->findChild<ui::TextBox*>("txtSearch");
        detail = screen->findChild<QPlainTextEdit*>("txtDetail");
        go = screen->findChild<ui::CommandButton*>("cmdGO");
        back = screen->findChild<ui::CommandButton*>("cmdBack");
        ASSERT_TRUE(grid && box && detail && go && back);
    }
    ado::RecordsetPtr rows(const QString& sql) { return lawdb::getRecordSetByCn(sql, lawdb::state().LawConnection1); }
    // Rows of the screen's grid query whose first column holds every word, counted from the database.
    int rowsWithWords(const char* variable, const QStringList& words)
    {
        int n = 0;
        for (auto rs = rows(library::findScreen(variable)->gridQuery()); !rs->Eof(); rs->MoveNext()) {
            const QString text = rs->Fields(0).Value().toDisplayString();
            n += std::all_of(words.begin(), words.end(), [&](const QString& w) { return text.contains(w, Qt::CaseInsensitive); });
        }
        return n;
    }
    // Moves the focus to a widget and presses a key there.
    void keyIn(QWidget* w, int key, Qt::KeyboardModifiers mods = {})
    {
        w->setFocus();
        EXPECT_EVENTUALLY(w->hasFocus());
        QTest::keyClick(w, Qt::Key(key), mods);
    }
    void paste(const char* text)
    {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->Text(), text);
    }

    std::unique_ptr<frmGlobalSections> screen;
    ui::DataGrid* grid = nullptr;
    ui::TextBox* box = nullptr;
    QPlainTextEdit* detail = nullptr;
    ui::CommandButton* go = nullptr;
    ui::CommandButton* back = nullptr;
};

} // namespace

TEST_F(SearchScreenTest, TypingWordsNarrowsTheRowsAndTheSelectionFollows)
{
    open("ObjActGlobalSections");
    const int all = grid->rowCount();
    QTest::keyClicks(box, "tax");
    const int withTax = rowsWithWords("ObjActGlobalSections", {"tax"});
    ASSERT_GT(withTax, 1);
    ASSERT_LT(withTax, all);
    EXPECT_EQ(grid->rowCount(), withTax);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_EQ(detail->toPlainText(), grid->Columns(0).Text());
    EXPECT_TRUE(grid->SelBookmarks().Count() == 1 && grid->SelBookmarks().contains(grid->Bookmark()));

    QTest::keyClicks(box, "  input");
    EXPECT_EQ(grid->rowCount(), rowsWithWords("ObjActGlobalSections", {"tax", "input"}));
    EXPECT_TRUE(detail->toPlainText().contains("Input tax", Qt::CaseInsensitive));

    QTest::keyClicks(box, "zzz");
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_FALSE(go->isEnabled() || !detail->toPlainText().isEmpty());

    // Ctrl+Backspace empties the box, and an empty box brings every row back
    QTest::keyClick(box, Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_TRUE(box->Text().isEmpty() && go->isEnabled());
    EXPECT_EQ(grid->rowCount(), all);

    QTest::keyClicks(box, "dealer's [x]");   // quotes and brackets never break the filter
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_TRUE(messages().empty());
}

// Every number the box's check lets through is one the filter takes (pasted: typing passes
// through non-numbers); the rest is refused keeping the filter; a column beyond the grid is reported.
TEST_F(SearchScreenTest, ANumericColumnTakesWhatTheFilterReadsAndRefusesTheRestKeepingTheFilter)
{
    open("ObjCAMenuItemGlobalSection");
    screen->setSearchColumnIndex(0);   // the ID column
    for (const char* typed : {"2", "&H2", "2D0", "0.2e1", " +2. "}) {
        paste(typed);
        EXPECT_TRUE(messages().empty()) << typed << ": " << (messages().empty() ? "" : messages()[0].prompt.toStdString());
        ASSERT_EQ(grid->rowCount(), 1) << typed;
        EXPECT_EQ(grid->Columns(0).Value().toLongLong(), 2) << typed;
    }
    for (const char* refused : {"1e400", "2x"}) {
        paste(refused);
        ASSERT_EQ(messages().size(), 1u) << refused;
        EXPECT_EQ(messages()[0].prompt, kNotNumeric);
        EXPECT_EQ(grid->rowCount(), 1);
        EXPECT_EQ(box->SelText(), refused);   // the next key replaces the text
        ui::clearShownMessages();
    }
    screen->setSearchColumnIndex(5);
    QTest::keyClicks(box, "3");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("FilterRecErr ")) << messages()[0].prompt.toStdString();
    EXPECT_EQ(grid->rowCount(), 1);
}

TEST_F(SearchScreenTest, DateTruthAndCurrencyColumnsFilterThroughTheRecordset)
{
    auto& cn = lawdb::state().LawConnection1;
    cn->Execute("CREATE TABLE Dated (Search TEXT, Label TEXT, Day DATE, Flag BOOLEAN, Amount CURRENCY)");
    cn->Execute("INSERT INTO Dated VALUES ('a', 'first', '1982-12-18', 1, 12.5), ('b', 'second', '1982-12-19', 0, 7), "
                "('c', 'third', '1983-01-02', 1, 7)");
    open("gsCircularNumber");
    screen->setRecSet(rows("SELECT Search, Label, Day, Flag, Amount FROM Dated ORDER BY Search"));
    screen->LoadGridData();
    ASSERT_EQ(grid->rowCount(), 3);

    // column, keys typed in turn, rows after each (a date is never refused key by key)
    const std::tuple<int, QStringList, QList<int>> cases[] = {
        {2, {"18-Dec", "-1982"}, {3, 1}}, {3, {"tr", "ue"}, {3, 2}}, {4, {"7"}, {2}}};
    for (const auto& [column, keys, counts] : cases) {
        screen->setSearchColumnIndex(column);
        box->setText({});
        for (int i = 0; i < keys.size(); ++i) {
            QTest::keyClicks(box, keys[i]);
            EXPECT_EQ(grid->rowCount(), counts[i]) << column << " " << box->Text().toStdString();
        }
    }
    EXPECT_EQ(grid->Columns(1).Text(), "second");
    EXPECT_TRUE(messages().empty()) << messages()[0].prompt.toStdString();
}

TEST_F(SearchScreenTest, GoShowsTheChosenDocumentEvenWithAnApostropheInItsName)
{
    lawdb::state().LawConnection1->Execute(
        "INSERT INTO Kerala (name, type, ChapterNo, SecDesc, fname) SELECT 'Section 6''A', 'Act', "
        "6, 'Dealer''s special levy', fname FROM Kerala WHERE name='Section 6'");
    open("ObjActGlobalSections");
    QTest::keyClicks(box, "dealer's");
    ASSERT_EQ(grid->rowCount(), 1);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(messages().empty()) << messages()[0].prompt.toStdString();
    EXPECT_TRUE(document().isVisible() && document().OLE1->hasDocument());
    EXPECT_EQ(document().MSRDC1->SQL(), "select fname from Kerala where name='Section 6''A' and type='Act'");
    EXPECT_TRUE(screen->QueryString().isEmpty());   // only a GoClicked Go stores it
}

TEST_F(SearchScreenTest, UpAndDownInTheBoxMoveTheGridWithinItsRowsKeepingTheCurrentRowInView)
{
    open("ObjActGlobalSections");
    QTableView* v = grid->view();
    auto onView = [&](int row) { return v->viewport()->rect().contains(v->visualRect(v->model()->index(row, 1))); };
    const int last = grid->rowCount() - 1;
    ASSERT_FALSE(onView(last));   // more rows than the grid shows
    QTest::keyClick(box, Qt::Key_Up);   // before the first row: stays
    EXPECT_EQ(grid->Row(), 0);
    for (int i = 0; i < last + 3; ++i) {
        QTest::keyClick(box, Qt::Key_Down);
        ASSERT_TRUE(onView(grid->Row())) << "row " << grid->Row();
    }
    EXPECT_EQ(grid->Row(), last);
    EXPECT_TRUE(box->Text().isEmpty());   // the arrows are swallowed
    for (int i = 0; i < last; ++i)
        QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_TRUE(onView(0));
}

TEST_F(SearchScreenTest, TypingAnywhereLandsInTheBoxAndBackspaceIsNotPassedOn)
{
    open("gsCircularNumber");
    EXPECT_EVENTUALLY(box->hasFocus());   // on activation
    keyIn(grid->view(), Qt::Key_S);
    EXPECT_EVENTUALLY(box->hasFocus());
    keyIn(detail, Qt::Key_A, Qt::ControlModifier);   // Ctrl keeps the focus
    EXPECT_TRUE(detail->hasFocus());
    QTest::keyClick(detail, Qt::Key_A);
    EXPECT_EVENTUALLY(box->hasFocus());

    QTest::keyClick(box, Qt::Key_Backspace, Qt::ControlModifier);
    QTest::keyClicks(box, "2005");
    const int narrowed = grid->rowCount();
    const QString shown = detail->toPlainText();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown, grid->Columns(0).Text().section('-', 0, 0));   // the label; Go hands over the whole cell
    for (QWidget* w : std::initializer_list<QWidget*>{grid->view(), detail}) {
        keyIn(w, Qt::Key_Backspace);
        EXPECT_EVENTUALLY(box->hasFocus());
    }
    EXPECT_EQ(box->Text(), "2005");
    EXPECT_EQ(grid->rowCount(), narrowed);
    EXPECT_EQ(detail->toPlainText(), shown);

    grid->view()->setFocus();   // and a click on the box's label
    EXPECT_EVENTUALLY(grid->view()->hasFocus());
    QTest::mouseClick(screen->findChild<QLabel*>("lblWordSearch"), Qt::LeftButton);
    EXPECT_EVENTUALLY(box->hasFocus());
    EXPECT_TRUE(messages().empty());
}

TEST_F(SearchScreenTest, AnEmptyGridGivesNoGoAndTheOwnersRecordsetIsNeverFiltered)
{
    open("gsCircularNumber");
    int gos = 0;
    QObject::connect(screen.get(), &frmGlobalSections::GoClicked, [&](frmGlobalSections*, ado::Variant&) { ++gos; });
    screen->setRecSet(rows("SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala WHERE name='none'"));
    EXPECT_TRUE(screen->LoadGridData());
    EXPECT_TRUE(grid->rowCount() == 0 && grid->Bookmark().isNull());
    EXPECT_FALSE(go->isEnabled());
    QTest::mouseDClick(grid->view()->viewport(), Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(gos, 0);

    auto mine = rows(library::findScreen("gsCircularNumber")->gridQuery());
    screen->setRecSet(mine);
    screen->LoadGridData();
    QTest::keyClicks(box, "2006");
    EXPECT_LT(grid->rowCount(), mine->RecordCount());
    EXPECT_TRUE(mine->Filter().isEmpty());
    EXPECT_NE(screen->RecSet(), mine);
}

// Every text reads whole, the box follows its grown label, and a move that cannot take its
// size is left whole; a row the user resizes stays within its bounds.
TEST_F(SearchScreenTest, LayoutFollowsTheWindowAndEveryTextReadsWholeAndRowsKeepTheirBounds)
{
    open("ObjActGlobalSections");
    EXPECT_EQ(unreadableTexts(screen.get()), "");
    open("ObjCAMenuItemGlobalSection");
    auto* label = screen->findChild<QLabel*>("lblWordSearch");
    auto* frame = screen->findChild<QGroupBox*>("frameContent");
    ASSERT_EQ(grid->Columns().Count(), 3);   // the ID, the hidden-ID column, and one on view
    EXPECT_FALSE(grid->Columns(0).Visible() || grid->Columns(1).Visible());
    for (QSize size : {QSize(700, 500), QSize(900, 640)}) {
        screen->resize(size);
        EXPECT_EQ(box->Left(), ui::leftTwips(label) + ui::widthTwips(label));
        EXPECT_EQ(box->Left() + box->Width(), ui::leftTwips(grid) + ui::widthTwips(grid));
        EXPECT_LE(back->Top() + back->Height(), ui::heightTwips(frame));
        EXPECT_LT(grid->Columns(2).Width(), ui::widthTwips(grid));
        EXPECT_GT(grid->Columns(2).Width(), ui::widthTwips(grid) - 600);   // the one column fills the grid
    }

    const QRect before = twipsRect(frame), gridBefore = twipsRect(grid);
    for (QSize tooSmall : {QSize(1000, 60), QSize(60, 700)}) {
        screen->resize(tooSmall);
        EXPECT_EQ(twipsRect(frame), before);
        EXPECT_EQ(twipsRect(grid), gridBefore);
    }

    for (auto [asked, max, kept] : {std::tuple{2000, 0, 1000}, {100, 0, 300}, {700, 500, 500}}) {
        if (max)
            screen->setMaximumRowHeight(max);
        int cancel = 0;
        grid->setRowHeight(asked);
        emit grid->RowResize(cancel);
        EXPECT_EQ(grid->RowHeight(), kept) << asked;
    }
    EXPECT_TRUE(messages().empty());
}
