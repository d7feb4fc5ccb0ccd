// The grid search screen driven as a user drives it, configured as the library configures
// it, on the sample law databases.
#include "TestProgramFolder.h"

#include "lawdb/LawDb.h"
#include "lawdb/MyMOD.h"
#include "library/ScreenCatalog.h"
#include "library/frmGlobalSections.h"
#include "library/frmkerala.h"
#include "library/keralaforms.h"
#include "platform/ui/CommandButton.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/OleView.h"
#include "platform/ui/RemoteData.h"
#include "platform/ui/TextBox.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "WaitFor.h"
#include <memory>

namespace {

class SearchScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        lawdb::resetState();
        lawdb::procConnectLawDBs();
    }
    void TearDown() override
    {
        screen.reset();
        ui::FormRegistry::unloadAll();
        lawdb::resetState();
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

    // Rows of the screen's grid query whose column `field` holds every word, counted
    // straight from the database.
    int rowsWithWords(const char* variable, int field, const QStringList& words)
    {
        auto rs = lawdb::getRecordSetByCn(library::findScreen(variable)->gridQuery(),
                                          lawdb::state().LawConnection1);
        int n = 0;
        for (; rs && !rs->Eof(); rs->MoveNext()) {
            const QString text = rs->Fields(field).Value().toDisplayString();
            bool all = true;
            for (const QString& w : words)
                all = all && text.contains(w, Qt::CaseInsensitive);
            n += all;
        }
        return n;
    }

    keralaforms& document() { return ui::form<keralaforms>(); }

    TestProgramFolder folder;
    ui::ScopedMsgBoxResponder answers;
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
    EXPECT_TRUE(go->isEnabled());

    QTest::keyClicks(box, "tax");
    const int withTax = rowsWithWords("ObjActGlobalSections", 0, {"tax"});
    ASSERT_GT(withTax, 1);
    ASSERT_LT(withTax, all);
    EXPECT_EQ(grid->rowCount(), withTax);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_TRUE(detail->toPlainText().contains("tax", Qt::CaseInsensitive));
    EXPECT_EQ(detail->toPlainText(), grid->Columns(0).Text());
    EXPECT_TRUE(grid->SelBookmarks().contains(grid->Bookmark()));
    EXPECT_EQ(grid->SelBookmarks().Count(), 1);

    QTest::keyClicks(box, "  input");
    EXPECT_EQ(grid->rowCount(), rowsWithWords("ObjActGlobalSections", 0, {"tax", "input"}));
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
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(SearchScreenTest, QuotesAndBracketsInTheBoxNeverBreakTheFilter)
{
    open("ObjActGlobalSections");
    QTest::keyClicks(box, "dealer's [x]");
    EXPECT_TRUE(answers.messages().empty());
    EXPECT_EQ(grid->rowCount(), 0);
    box->setText(QString());
    EXPECT_GT(grid->rowCount(), 5);
}

TEST_F(SearchScreenTest, NumericSearchColumnRefusesTextAndKeepsTheFilter)
{
    open("ObjCAMenuItemGlobalSection");
    screen->setSearchColumnIndex(0);   // the ID column
    QTest::keyClicks(box, "2");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->Columns(0).Value().toLongLong(), 2);

    QTest::keyClicks(box, "x");
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].prompt, "Not a valid numeric.\r\nPlease enter a numeric value.");
    EXPECT_EQ(answers.messages()[0].title, ui::kDefaultTitle);
    EXPECT_EQ(grid->rowCount(), 1);              // the filter in force stays
    EXPECT_EQ(box->SelText(), "2x");             // the next key replaces the text
}

TEST_F(SearchScreenTest, GoShowsTheChosenDocumentItself)
{
    open("ObjActGlobalSections");
    QTest::keyClicks(box, "levy");
    ASSERT_EQ(grid->rowCount(), 1);
    QTest::mouseClick(go, Qt::LeftButton);

    keralaforms& doc = document();
    EXPECT_TRUE(doc.isVisible());
    EXPECT_EQ(doc.parentWidget(), screen.get());   // owned by the screen
    EXPECT_EQ(doc.MSRDC1->SQL(), "select fname from Kerala where name='Section 6' and type='Act'");
    EXPECT_EQ(doc.MSRDC1->Connect(), lawdb::state().LawConnectString1);
    EXPECT_EQ(doc.OLE1->DataField(), "fname");
    EXPECT_TRUE(doc.OLE1->hasDocument());
    EXPECT_TRUE(screen->isVisible());
    EXPECT_TRUE(screen->QueryString().isEmpty());   // only a GoClicked Go stores it
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(SearchScreenTest, GoFindsADocumentWhoseNameHasAnApostrophe)
{
    lawdb::state().LawConnection1->Execute(
        "INSERT INTO Kerala (name, type, ChapterNo, SecDesc, fname) SELECT 'Section 6''A', 'Act', "
        "6, 'Dealer''s special levy', fname FROM Kerala WHERE name='Section 6'");
    open("ObjActGlobalSections");
    QTest::keyClicks(box, "dealer's");
    ASSERT_EQ(grid->rowCount(), 1);
    QTest::keyClick(box, Qt::Key_Return);

    keralaforms& doc = document();
    EXPECT_TRUE(answers.messages().empty()) << answers.messages()[0].prompt.toStdString();
    EXPECT_TRUE(doc.isVisible());
    EXPECT_EQ(doc.MSRDC1->SQL(), "select fname from Kerala where name='Section 6''A' and type='Act'");
    EXPECT_TRUE(doc.MSRDC1->hasRow());
    EXPECT_TRUE(doc.OLE1->hasDocument());
}

TEST_F(SearchScreenTest, GoHandsTheWholeIndexCellToTheOwner)
{
    open("gsCircularNumber");
    std::vector<QString> values;
    QObject::connect(screen.get(), &frmGlobalSections::GoClicked,
                     [&](frmGlobalSections* sender, ado::Variant& value) {
                         EXPECT_EQ(sender, screen.get());
                         values.push_back(value.toString());
                     });
    // the grid shows the label; the hidden first column holds the whole cell
    EXPECT_FALSE(grid->Columns(0).Visible());
    EXPECT_EQ(grid->Columns(0).Width(), 0);
    QTest::keyClicks(box, "21/2005");
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->Columns(1).Text(), "21/2005 dated 18.07.2005");
    EXPECT_EQ(detail->toPlainText(), "21/2005 dated 18.07.2005");

    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0], "21/2005 dated 18.07.2005-Circular No. 21/2005");
    EXPECT_EQ(screen->QueryString(),
              "select fname from Kerala where name='21/2005 dated 18.07.2005-Circular No. 21/2005' ");
    EXPECT_FALSE(ui::formLoaded<keralaforms>() && document().isVisible());
}

TEST_F(SearchScreenTest, UpAndDownInTheBoxMoveTheGridWithinItsRows)
{
    open("gsCircularNumber");
    const int rows = grid->rowCount();
    ASSERT_GT(rows, 2);
    EXPECT_EQ(grid->Row(), 0);
    QTest::keyClick(box, Qt::Key_Up);   // before the first row: stays
    EXPECT_EQ(grid->Row(), 0);
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(detail->toPlainText(), grid->Columns(1).Text());
    for (int i = 0; i < rows + 3; ++i)
        QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), rows - 1);
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(grid->Row(), rows - 2);
    EXPECT_TRUE(box->Text().isEmpty());   // the arrows are swallowed
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(SearchScreenTest, BackEscapeAndTheFrameCloseHideAndRaiseBackClicked)
{
    open("gsCircularNumber");
    int backs = 0;
    QObject::connect(screen.get(), &frmGlobalSections::BackClicked,
                     [&](frmGlobalSections* sender) { backs += sender == screen.get(); });
    QTest::keyClicks(box, "2006");
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(backs, 1);

    screen->Show();
    EXPECT_EQ(box->Text(), "2006");   // the filter and text survive the hide
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(backs, 2);

    screen->Show();
    screen->close();
    EXPECT_TRUE(screen->isFormLoaded());   // the close was turned into a hide
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(backs, 3);
}

TEST_F(SearchScreenTest, AnEmptyRecordsetDisablesGo)
{
    open("gsCircularNumber");
    int gos = 0;
    QObject::connect(screen.get(), &frmGlobalSections::GoClicked,
                     [&](frmGlobalSections*, ado::Variant&) { ++gos; });
    screen->setRecSet(lawdb::getRecordSetByCn(
        "SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala WHERE name='none'",
        lawdb::state().LawConnection1));
    EXPECT_TRUE(screen->LoadGridData());
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_TRUE(grid->Bookmark().isNull());
    EXPECT_FALSE(go->isEnabled());
    EXPECT_TRUE(detail->toPlainText().isEmpty());
    QTest::mouseDClick(grid->view()->viewport(), Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(gos, 0);
}

TEST_F(SearchScreenTest, TheOwnersRecordsetIsNeverFiltered)
{
    open("gsCircularNumber");
    auto mine = lawdb::getRecordSetByCn(library::findScreen("gsCircularNumber")->gridQuery(),
                                        lawdb::state().LawConnection1);
    screen->setRecSet(mine);
    screen->LoadGridData();
    const long before = mine->RecordCount();
    QTest::keyClicks(box, "2006");
    EXPECT_LT(grid->rowCount(), before);
    EXPECT_EQ(mine->RecordCount(), before);
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
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(grid->Columns(i).Locked());
    EXPECT_EQ(grid->Columns(2).Width() + 273, ui::widthTwips(grid));

    screen->resize(screen->width() + 200, screen->height() + 100);
    EXPECT_EQ(grid->Columns(2).Width() + 273, ui::widthTwips(grid));
}

TEST_F(SearchScreenTest, LayoutFollowsTheWindowSize)
{
    open("gsCircularNumber");
    screen->resize(900, 640);
    auto* frame = screen->findChild<QGroupBox*>("frameContent");
    const int frameW = screen->ScaleWidth() - 1600, frameH = screen->ScaleHeight() - 1600;
    EXPECT_EQ(ui::leftTwips(frame), 800);
    EXPECT_EQ(ui::widthTwips(frame), frameW);
    EXPECT_EQ(ui::heightTwips(frame), frameH);
    EXPECT_EQ(go->Left(), frameW - (go->Width() + 30));
    EXPECT_EQ(back->Top(), frameH - (back->Height() + 30));
    EXPECT_EQ(ui::widthTwips(grid), frameW - 2 * 1035);
    EXPECT_EQ(ui::heightTwips(grid), ui::heightTwips(frame) - (1830 + 30 + back->Height()));
    EXPECT_EQ(box->Left() + box->Width(), 1035 + ui::widthTwips(grid));

    // too narrow for the frame: the failing sizes are kept, nothing breaks
    const int before = ui::widthTwips(frame);
    screen->resize(60, 640);
    EXPECT_EQ(ui::widthTwips(frame), before);
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(SearchScreenTest, RowHeightStaysWithinItsBounds)
{
    open("gsCircularNumber");
    EXPECT_EQ(grid->RowHeight(), 320);
    int cancel = 0;
    grid->setRowHeight(2000);
    emit grid->RowResize(cancel);
    EXPECT_EQ(grid->RowHeight(), 1000);
    grid->setRowHeight(100);
    emit grid->RowResize(cancel);
    EXPECT_EQ(grid->RowHeight(), 300);
    screen->setMaximumRowHeight(500);
    grid->setRowHeight(700);
    emit grid->RowResize(cancel);
    EXPECT_EQ(grid->RowHeight(), 500);
}

TEST_F(SearchScreenTest, TypingAnywhereLandsInTheSearchBox)
{
    open("gsCircularNumber");
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
}

TEST_F(SearchScreenTest, AppearanceOperationsReadAndSetColours)
{
    open("gsCircularNumber");
    qint32 none = -1;
    const qint32 original = screen->GetSetGridBackColor(none);
    EXPECT_EQ(screen->GetSetGridBackColor(none), original);
    qint32 green = 0x00FF00;
    EXPECT_EQ(screen->GetSetGridBackColor(green), 0x00FF00);
    EXPECT_EQ(grid->BackColor(), 0x00FF00);
    qint32 navy = 0x800000;
    EXPECT_EQ(screen->GetSetFrameBackColor(navy), 0x800000);
    EXPECT_EQ(screen->GetSetGridForeColor(navy), 0x800000);
    EXPECT_EQ(screen->GetSetBackColor(green), 0x00FF00);
    const QFont arial("Arial");
    const double size = grid->Font().pointSizeF();
    EXPECT_EQ(screen->GetSetGridFont(&arial).family(), "Arial");
    EXPECT_EQ(screen->GetSetGridFont(nullptr).pointSizeF(), size);
}
