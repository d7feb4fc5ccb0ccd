// Search screen: keys that reach the window from any control, the focus on activation, colours
// as built, and failures inside the filter.
#include "LibraryFixture.h"

#include "library/SearchFilter.h"
#include "platform/db/RecordsetFilter.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <memory>

namespace {

class SearchScreenReview : public LibraryFixture {
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
        QObject::connect(screen.get(), &frmGlobalSections::GoClicked,
                         [this](frmGlobalSections*, ado::Variant& v) { values.push_back(v.toDisplayString()); });
    }

    std::unique_ptr<frmGlobalSections> screen;
    ui::DataGrid* grid = nullptr;
    ui::TextBox* box = nullptr;
    QPlainTextEdit* detail = nullptr;
    ui::CommandButton* go = nullptr;
    std::vector<QString> values;
};

} // namespace

TEST_F(SearchScreenReview, EnterInTheDetailBoxIsGoAndLeavesTheDetailAlone)
{
    open("gsCircularNumber");
    QTest::keyClicks(box, "21/2005");
    ASSERT_EQ(grid->rowCount(), 1);
    const QString shown = detail->toPlainText();
    detail->setFocus();
    EXPECT_EVENTUALLY(detail->hasFocus());
    QTest::keyClick(detail, Qt::Key_Return);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0], "21/2005 dated 18.07.2005-Circular No. 21/2005");
    EXPECT_EQ(detail->toPlainText(), shown);
}

TEST_F(SearchScreenReview, EscapeInTheDetailBoxIsBack)
{
    open("gsCircularNumber");
    int backs = 0;
    QObject::connect(screen.get(), &frmGlobalSections::BackClicked, [&](frmGlobalSections*) { ++backs; });
    detail->setFocus();
    EXPECT_EVENTUALLY(detail->hasFocus());
    QTest::keyClick(detail, Qt::Key_Escape);
    EXPECT_EQ(backs, 1);
    EXPECT_FALSE(screen->isVisible());
}

TEST_F(SearchScreenReview, BackspaceInTheGridOrTheDetailGoesToTheSearchBox)
{
    open("gsCircularNumber");
    QTest::keyClicks(box, "2005");
    const int rows = grid->rowCount();
    const QString shown = detail->toPlainText();
    grid->view()->setFocus();
    EXPECT_EVENTUALLY(grid->view()->hasFocus());
    QTest::keyClick(grid->view(), Qt::Key_Backspace);
    EXPECT_EVENTUALLY(box->hasFocus());
    EXPECT_EQ(box->Text(), "2005");   // the key itself is not passed on
    EXPECT_EQ(grid->rowCount(), rows);

    detail->setFocus();
    EXPECT_EVENTUALLY(detail->hasFocus());
    QTest::keyClick(detail, Qt::Key_Backspace);
    EXPECT_EVENTUALLY(box->hasFocus());
    EXPECT_EQ(detail->toPlainText(), shown);
}

TEST_F(SearchScreenReview, DoubleClickInTheSearchBoxIsGo)
{
    open("gsCircularNumber");
    QTest::keyClicks(box, "21/2005");
    QTest::mouseDClick(box, Qt::LeftButton);
    ASSERT_EQ(values.size(), 1u);
}

TEST_F(SearchScreenReview, ActivationAndTheLabelPutTheFocusInTheSearchBox)
{
    open("gsCircularNumber");
    EXPECT_EVENTUALLY(box->hasFocus());
    grid->view()->setFocus();
    EXPECT_EVENTUALLY(grid->view()->hasFocus());
    auto* label = screen->findChild<QLabel*>("lblWordSearch");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Word &Search");
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EVENTUALLY(box->hasFocus());
}

TEST_F(SearchScreenReview, ColoursReadBackAsBuilt)
{
    open("gsCircularNumber");
    qint32 none = -1;
    EXPECT_EQ(screen->GetSetFrameBackColor(none), 0x5A3412);
    auto* frame = screen->findChild<QGroupBox*>("frameContent");
    EXPECT_EQ(frame->title(), "Select the item you want and click GO");
    qint32 red = 0x0000FF;
    EXPECT_EQ(screen->GetSetFrameBackColor(red), red);
    EXPECT_EQ(screen->GetSetFrameBackColor(none), red);
    EXPECT_EQ(go->text(), "&GO");
}

TEST_F(SearchScreenReview, AFilterColumnBeyondTheGridIsReportedAndChangesNothing)
{
    open("gsCircularNumber");
    QTest::keyClicks(box, "2005");
    const int rows = grid->rowCount();
    screen->setSearchColumnIndex(5);
    QTest::keyClicks(box, "x");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("FilterRecErr ")) << messages()[0].prompt.toStdString();
    EXPECT_EQ(messages()[0].title, ui::kDefaultTitle);
    EXPECT_EQ(grid->rowCount(), rows);
}

TEST_F(SearchScreenReview, BackRaisesBeforeHidingAndTheFrameCloseHidesFirst)
{
    open("gsCircularNumber");
    std::vector<bool> visibleAtEvent;
    QObject::connect(screen.get(), &frmGlobalSections::BackClicked,
                     [&](frmGlobalSections* s) { visibleAtEvent.push_back(s->isVisible()); });
    screen->cmdBack_Click();
    screen->Show();
    screen->close();
    ASSERT_EQ(visibleAtEvent.size(), 2u);
    EXPECT_TRUE(visibleAtEvent[0]);
    EXPECT_FALSE(visibleAtEvent[1]);
}

TEST_F(SearchScreenReview, DateTruthAndCurrencyColumnsFilterThroughTheRecordset)
{
    auto& cn = lawdb::state().LawConnection1;
    cn->Execute("CREATE TABLE Dated (Search TEXT, Label TEXT, Day DATE, Flag BOOLEAN, Amount CURRENCY)");
    cn->Execute("INSERT INTO Dated VALUES ('a', 'first', '1982-12-18', 1, 12.5)");
    cn->Execute("INSERT INTO Dated VALUES ('b', 'second', '1982-12-19', 0, 7)");
    cn->Execute("INSERT INTO Dated VALUES ('c', 'third', '1983-01-02', 1, 7)");
    open("gsCircularNumber");
    screen->setRecSet(lawdb::getRecordSetByCn("SELECT Search, Label, Day, Flag, Amount FROM Dated ORDER BY Search", cn));
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

TEST(SearchFilterReview, EveryStepOfTypingTheExampleDateIsSilentOrADate)
{
    const QString full = "18-Dec-1982";
    for (int n = 1; n <= full.size(); ++n) {
        const auto r = library::buildSearchFilter("Day", 133, full.left(n));
        EXPECT_NE(r.kind, library::FilterOutcome::Reject) << full.left(n).toStdString();
    }
    const QString named = "18 Dec 1982";
    for (int n = 1; n <= named.size(); ++n) {
        const auto r = library::buildSearchFilter("Day", 133, named.left(n));
        EXPECT_NE(r.kind, library::FilterOutcome::Reject) << named.left(n).toStdString();
    }
    EXPECT_EQ(library::parseSearchDate("18-Dec-198"), QDate(198, 12, 18));
    // the range of a short year is one the recordset's filter reads back
    EXPECT_EQ(ado::filter::parseDateLiteral(library::formatFilterDate(QDate(198, 12, 18))), QDate(198, 12, 18));
    EXPECT_EQ(library::parseSearchDate("18 Decem 1982"), QDate(1982, 12, 18));
    EXPECT_FALSE(library::parseSearchDate("18-De-1982").isValid());
    EXPECT_EQ(library::buildSearchFilter("Day", 133, "18-Dec-1982").filter,
              "Day>=#18/Dec/1982# AND Day<#19/Dec/1982# ");
}

TEST_F(SearchScreenReview, AFrameMoveThatCannotTakeItsSizeIsLeftWhole)
{
    open("gsCircularNumber");
    screen->resize(900, 640);
    auto* frame = screen->findChild<QGroupBox*>("frameContent");
    const QRect before = twipsRect(frame);
    const QRect gridBefore = twipsRect(grid);
    screen->resize(1000, 60);   // wide enough, too short for the frame and the grid
    ASSERT_LT(screen->ScaleHeight(), 1600);
    ASSERT_GT(screen->ScaleWidth() - 1600, before.width());
    EXPECT_EQ(twipsRect(frame), before);
    EXPECT_EQ(twipsRect(grid), gridBefore);
    screen->resize(60, 700);    // too narrow
    EXPECT_EQ(twipsRect(frame), before);
    EXPECT_TRUE(messages().empty());
}
