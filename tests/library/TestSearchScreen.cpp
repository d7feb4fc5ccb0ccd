// The grid search screen driven as a user drives it, configured as the library configures
// it, on the sample law databases.
#include "LibraryFixture.h"
#include "TextFit.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <memory>

namespace {

class SearchScreenTest : public LibraryFixture {
protected:
    void TearDown() override
    {
        screen.reset();
        LibraryFixture::TearDown();
    }

    frmGlobalSections& open(const char* variable)
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
        return *screen;
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
    ASSERT_TRUE(grid && box && detail && go && back);
    const int all = grid->rowCount();
    ASSERT_GT(all, 5);

    QTest::keyClicks(box, "tax");
    const int withTax = rowsWithWords("ObjActGlobalSections", {"tax"});
    ASSERT_GT(withTax, 1);
    ASSERT_LT(withTax, all);
    EXPECT_EQ(grid->rowCount(), withTax);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_EQ(detail->toPlainText(), grid->Columns(0).Text());
    EXPECT_TRUE(detail->toPlainText().contains("tax", Qt::CaseInsensitive));
    EXPECT_EQ(grid->SelBookmarks().Count(), 1);
    EXPECT_TRUE(grid->SelBookmarks().contains(grid->Bookmark()));

    QTest::keyClicks(box, "  input");
    EXPECT_EQ(grid->rowCount(), rowsWithWords("ObjActGlobalSections", {"tax", "input"}));
    EXPECT_TRUE(detail->toPlainText().contains("Input tax", Qt::CaseInsensitive));

    QTest::keyClicks(box, "zzz");
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_FALSE(go->isEnabled());
    EXPECT_TRUE(detail->toPlainText().isEmpty());

    // Ctrl+Backspace empties the box, and an empty box brings every row back
    QTest::keyClick(box, Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_TRUE(box->Text().isEmpty());
    EXPECT_EQ(grid->rowCount(), all);
    EXPECT_TRUE(go->isEnabled());

    QTest::keyClicks(box, "dealer's [x]");   // quotes and brackets never break the filter
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(SearchScreenTest, ASearchColumnThatCannotTakeTheTextRefusesItAndKeepsTheFilter)
{
    open("ObjCAMenuItemGlobalSection");
    screen->setSearchColumnIndex(0);   // the ID column
    QTest::keyClicks(box, "2");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->Columns(0).Value().toLongLong(), 2);

    QTest::keyClicks(box, "x");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, "Not a valid numeric.\r\nPlease enter a numeric value.");
    EXPECT_EQ(messages()[0].title, ui::kDefaultTitle);
    EXPECT_EQ(grid->rowCount(), 1);              // the filter in force stays
    EXPECT_EQ(box->SelText(), "2x");             // the next key replaces the text

    ui::clearShownMessages();
    screen->setSearchColumnIndex(5);   // beyond the grid: reported, and the filter stays
    QTest::keyClicks(box, "3");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("FilterRecErr ")) << messages()[0].prompt.toStdString();
    EXPECT_EQ(messages()[0].title, ui::kDefaultTitle);
    EXPECT_EQ(grid->rowCount(), 1);
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

    keralaforms& doc = document();
    EXPECT_TRUE(messages().empty()) << messages()[0].prompt.toStdString();
    EXPECT_TRUE(doc.isVisible());
    EXPECT_EQ(doc.MSRDC1->SQL(), "select fname from Kerala where name='Section 6''A' and type='Act'");
    EXPECT_EQ(doc.OLE1->DataField(), "fname");
    EXPECT_TRUE(doc.OLE1->hasDocument());
    EXPECT_TRUE(screen->QueryString().isEmpty());   // only a GoClicked Go stores it
}

TEST_F(SearchScreenTest, GoByEnterInEitherBoxOrADoubleClickHandsTheWholeIndexCellToTheOwner)
{
    open("gsCircularNumber");
    std::vector<QString> values;
    QObject::connect(screen.get(), &frmGlobalSections::GoClicked, [&](frmGlobalSections* sender, ado::Variant& value) {
        EXPECT_EQ(sender, screen.get());
        values.push_back(value.toString());
    });
    QTest::keyClicks(box, "21/2005");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(detail->toPlainText(), "21/2005 dated 18.07.2005");   // the label; Go hands over the whole cell

    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0], "21/2005 dated 18.07.2005-Circular No. 21/2005");
    EXPECT_EQ(screen->QueryString(),
              "select fname from Kerala where name='21/2005 dated 18.07.2005-Circular No. 21/2005' ");
    EXPECT_FALSE(documentShown());

    const QString shown = detail->toPlainText();
    detail->setFocus();
    EXPECT_EVENTUALLY(detail->hasFocus());
    QTest::keyClick(detail, Qt::Key_Return);   // Go, and the detail is left alone
    EXPECT_EQ(detail->toPlainText(), shown);
    QTest::mouseDClick(box, Qt::LeftButton);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[1], values[0]);
    EXPECT_EQ(values[2], values[0]);
}

TEST_F(SearchScreenTest, KeysInTheBoxMoveTheGridAndTypingAnywhereLandsInTheBox)
{
    open("gsCircularNumber");
    EXPECT_EVENTUALLY(box->hasFocus());   // on activation
    const int count = grid->rowCount();
    ASSERT_GT(count, 2);
    QTest::keyClick(box, Qt::Key_Up);   // before the first row: stays
    EXPECT_EQ(grid->Row(), 0);
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(detail->toPlainText(), grid->Columns(1).Text());
    for (int i = 0; i < count + 3; ++i)
        QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), count - 1);
    EXPECT_TRUE(box->Text().isEmpty());   // the arrows are swallowed

    grid->view()->setFocus();
    EXPECT_EVENTUALLY(grid->view()->hasFocus());
    QTest::keyClick(grid->view(), Qt::Key_S);
    EXPECT_EVENTUALLY(box->hasFocus());
    detail->setFocus();
    EXPECT_EVENTUALLY(detail->hasFocus());
    QTest::keyClick(detail, Qt::Key_A, Qt::ControlModifier);   // Ctrl keeps the focus
    EXPECT_TRUE(detail->hasFocus());
    QTest::keyClick(detail, Qt::Key_A);
    EXPECT_EVENTUALLY(box->hasFocus());

    // Backspace in the grid or the detail goes to the box, and is not passed on.
    QTest::keyClick(box, Qt::Key_Backspace, Qt::ControlModifier);
    QTest::keyClicks(box, "2005");
    const int narrowed = grid->rowCount();
    const QString shown = detail->toPlainText();
    ASSERT_FALSE(shown.isEmpty());
    for (QWidget* w : {static_cast<QWidget*>(grid->view()), static_cast<QWidget*>(detail)}) {
        w->setFocus();
        EXPECT_EVENTUALLY(w->hasFocus());
        QTest::keyClick(w, Qt::Key_Backspace);
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

TEST_F(SearchScreenTest, UpAndDownInTheBoxKeepTheCurrentRowInView)
{
    open("ObjActGlobalSections");
    QTableView* v = grid->view();
    auto onView = [&](int row) {
        return v->viewport()->rect().contains(v->visualRect(v->model()->index(row, 1)));
    };
    const int last = grid->rowCount() - 1;
    ASSERT_FALSE(onView(last));   // more rows than the grid shows
    for (int i = 0; i < last; ++i) {
        QTest::keyClick(box, Qt::Key_Down);
        ASSERT_TRUE(onView(grid->Row())) << "row " << grid->Row();
    }
    EXPECT_EQ(grid->Row(), last);
    for (int i = 0; i < last; ++i)
        QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_TRUE(onView(0));
}

TEST_F(SearchScreenTest, BackEscapeAndTheFrameCloseHideAndRaiseBackClicked)
{
    open("gsCircularNumber");
    std::vector<bool> visibleAtBack;   // Back raises the event before hiding; the frame's close hides first
    QObject::connect(screen.get(), &frmGlobalSections::BackClicked, [&](frmGlobalSections* sender) {
        if (sender == screen.get())
            visibleAtBack.push_back(sender->isVisible());
    });
    QTest::keyClicks(box, "2006");
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(visibleAtBack, std::vector<bool>({true}));

    screen->Show();
    EXPECT_EQ(box->Text(), "2006");   // the filter and text survive the hide
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
    screen->Show();
    detail->setFocus();
    EXPECT_EVENTUALLY(detail->hasFocus());
    QTest::keyClick(detail, Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(visibleAtBack.size(), 3u);

    screen->Show();
    screen->close();
    EXPECT_TRUE(screen->isFormLoaded());   // the close was turned into a hide
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(visibleAtBack, std::vector<bool>({true, true, true, false}));
}

TEST_F(SearchScreenTest, AnEmptyRecordsetDisablesGoAndTheOwnersRecordsetIsNeverFiltered)
{
    open("gsCircularNumber");
    int gos = 0;
    QObject::connect(screen.get(), &frmGlobalSections::GoClicked, [&](frmGlobalSections*, ado::Variant&) { ++gos; });
    screen->setRecSet(rows("SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala WHERE name='none'"));
    EXPECT_TRUE(screen->LoadGridData());
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_TRUE(grid->Bookmark().isNull());
    EXPECT_FALSE(go->isEnabled());
    EXPECT_TRUE(detail->toPlainText().isEmpty());
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

TEST_F(SearchScreenTest, ColumnsHideAndOneColumnFillsTheGrid)
{
    open("ObjCAMenuItemGlobalSection");
    ASSERT_EQ(grid->Columns().Count(), 3);
    EXPECT_FALSE(grid->Columns(0).Visible());
    EXPECT_FALSE(grid->Columns(1).Visible());   // the hidden-ID column
    EXPECT_EQ(grid->Columns(1).Width(), 0);
    EXPECT_TRUE(grid->Columns(2).Visible());
    EXPECT_TRUE(grid->Columns(2).Locked());
    EXPECT_EQ(grid->Columns(2).Width() + 273, ui::widthTwips(grid));
    screen->resize(screen->width() + 200, screen->height() + 100);
    EXPECT_EQ(grid->Columns(2).Width() + 273, ui::widthTwips(grid));
}

TEST_F(SearchScreenTest, EveryTextReadsWholeAtTheSystemFontsSizeAndTheBoxFollowsItsLabel)
{
    open("ObjActGlobalSections");
    EXPECT_EQ(unreadableTexts(screen.get()), "");
    auto* label = screen->findChild<QLabel*>("lblWordSearch");
    EXPECT_EQ(ui::leftTwips(label), 1035);
    EXPECT_GE(ui::widthTwips(label), 1125);
    EXPECT_EQ(box->Left(), ui::leftTwips(label) + ui::widthTwips(label));
    EXPECT_EQ(box->Left() + box->Width(), 1035 + ui::widthTwips(grid));
}

TEST_F(SearchScreenTest, LayoutFollowsTheWindowSize)
{
    open("gsCircularNumber");
    screen->resize(900, 640);
    auto* frame = screen->findChild<QGroupBox*>("frameContent");
    const int frameW = screen->ScaleWidth() - 1600, frameH = screen->ScaleHeight() - 1600;
    EXPECT_EQ(twipsRect(frame), QRect(800, 800, frameW, frameH));
    EXPECT_EQ(go->Left(), frameW - (go->Width() + 30));
    EXPECT_EQ(back->Top(), frameH - (back->Height() + 30));
    EXPECT_EQ(ui::widthTwips(grid), frameW - 2 * 1035);
    EXPECT_EQ(ui::heightTwips(grid), ui::heightTwips(frame) - (1830 + 30 + back->Height()));
    EXPECT_EQ(box->Left() + box->Width(), 1035 + ui::widthTwips(grid));

    // too short or too narrow for the frame: a move that cannot take its size is left whole
    const QRect before = twipsRect(frame), gridBefore = twipsRect(grid);
    screen->resize(1000, 60);
    ASSERT_LT(screen->ScaleHeight(), 1600);
    ASSERT_GT(screen->ScaleWidth() - 1600, before.width());
    EXPECT_EQ(twipsRect(frame), before);
    EXPECT_EQ(twipsRect(grid), gridBefore);
    screen->resize(60, 700);
    EXPECT_EQ(twipsRect(frame), before);
    EXPECT_TRUE(messages().empty());
}

TEST_F(SearchScreenTest, RowHeightStaysWithinItsBoundsAndColoursAreReadAndSet)
{
    open("gsCircularNumber");
    EXPECT_EQ(grid->RowHeight(), 320);
    for (auto [asked, max, kept] : {std::tuple{2000, 0, 1000}, {100, 0, 300}, {700, 500, 500}}) {
        if (max)
            screen->setMaximumRowHeight(max);
        int cancel = 0;
        grid->setRowHeight(asked);
        emit grid->RowResize(cancel);
        EXPECT_EQ(grid->RowHeight(), kept) << asked;
    }

    qint32 none = -1, green = 0x00FF00, navy = 0x800000;
    const qint32 original = screen->GetSetGridBackColor(none);
    EXPECT_EQ(screen->GetSetGridBackColor(none), original);
    EXPECT_EQ(screen->GetSetGridBackColor(green), green);
    EXPECT_EQ(grid->BackColor(), green);
    EXPECT_EQ(screen->GetSetFrameBackColor(none), 0x5A3412);   // as built
    EXPECT_EQ(screen->GetSetFrameBackColor(navy), navy);
    EXPECT_EQ(screen->GetSetFrameBackColor(none), navy);
    EXPECT_EQ(screen->GetSetGridForeColor(navy), navy);
    EXPECT_EQ(screen->GetSetBackColor(green), green);
    const QFont arial("Arial");
    const double size = grid->Font().pointSizeF();
    EXPECT_EQ(screen->GetSetGridFont(&arial).family(), "Arial");
    EXPECT_EQ(screen->GetSetGridFont(nullptr).pointSizeF(), size);
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

    screen->setSearchColumnIndex(2);
    QTest::keyClicks(box, "18-Dec");   // may still become a date: nothing happens
    EXPECT_EQ(grid->rowCount(), 3);
    QTest::keyClicks(box, "-1982");    // every keystroke of the year is a date, none is refused
    EXPECT_TRUE(messages().empty()) << messages()[0].prompt.toStdString();
    EXPECT_EQ(box->Text(), "18-Dec-1982");
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->Columns(1).Text(), "first");
    box->setText({});
    EXPECT_EQ(grid->rowCount(), 3);

    screen->setSearchColumnIndex(3);
    QTest::keyClicks(box, "tr");
    EXPECT_EQ(grid->rowCount(), 3);
    QTest::keyClicks(box, "ue");
    EXPECT_EQ(grid->rowCount(), 2);
    box->setText({});

    screen->setSearchColumnIndex(4);
    QTest::keyClicks(box, "7");
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->Columns(1).Text(), "second");
    EXPECT_TRUE(messages().empty()) << messages()[0].prompt.toStdString();
}

// The search box's numeric check and the filter read numbers alike: every number the check
// lets through is one the filter takes, and a number too large for a double is no number.
// (Pasted, since typing them passes through texts that are no numbers: "&", "2D".)
TEST_F(SearchScreenTest, NumbersTheBoxAcceptsAreNumbersTheFilterTakes)
{
    open("ObjCAMenuItemGlobalSection");
    screen->setSearchColumnIndex(0);   // the ID column
    const auto paste = [&](const char* text) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->Text(), text);
    };
    for (const char* typed : {"&H2", "2D0", "0.2e1", " +2. "}) {
        paste(typed);
        EXPECT_TRUE(messages().empty()) << typed << ": " << (messages().empty() ? "" : messages()[0].prompt.toStdString());
        ui::clearShownMessages();
        ASSERT_EQ(grid->rowCount(), 1) << typed;
        EXPECT_EQ(grid->Columns(0).Value().toLongLong(), 2) << typed;
    }
    paste("1e400");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt.toStdString(), "Not a valid numeric.\r\nPlease enter a numeric value.");
    EXPECT_EQ(grid->rowCount(), 1);   // the filter in force stays
}
