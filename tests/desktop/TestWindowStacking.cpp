// Ownership and stacking as a window manager shows them: the search screens are transient for
// the library window, the document window for its search screen and a report preview for the
// window that ran the report, so none falls under its owner; presses on the library window's
// bars leave it where it is, and only a press on its own surface sends it to the back; a search
// screen closed and opened again is the same window with the same owner. Forms hidden and shown
// again come back where their frames stood, and a maximised one stays maximised. Closing the
// document window gives the keys back to the screen that opened it.
// LUMORA_SHOTS names a folder for screenshots.
#include "DesktopSession.h"

#include "../library/LibraryFixture.h"

#include "../support/TextFit.h"
#include "form10/registers/Module2.h"
#include "form10/registers/frmDealer.h"
#include "form10/registers/frmNormal.h"
#include "form10/registers/frmSelect.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/controls/OptionButton.h"
#include "platform/ui/reports/ReportPreview.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/ui/controls/StatusBar.h"
#include "platform/ui/controls/Toolbar.h"
#include "platform/ui/controls/TreeView.h"
#include "shell/ShellState.h"
#include "shell/main.h"

#include <QBackingStore>
#include <QGroupBox>
#include <QScreen>

#include <functional>

namespace {

class DesktopTest : public LibraryFixture {
protected:
    void SetUp() override
    {
        DesktopSession* session = DesktopSession::current();
        ASSERT_NE(session, nullptr);
        if (!session->skipReason().isEmpty())
            GTEST_SKIP() << "no X server for the window-manager tests (" << session->skipReason().toStdString() << ")";
        ASSERT_TRUE(session->failReason().isEmpty()) << session->failReason().toStdString();
        LibraryFixture::SetUp();
    }

    frmkerala& library() { return ui::form<frmkerala>(); }
    QWidget* toolbarButton(const QString& key)
    {
        return library().findChild<ui::Toolbar*>("Toolbar2")->Buttons(key)->widget();
    }
    // Opens a screen of the Act tree as a user does: the toolbar key, then a double click.
    frmGlobalSections* openActScreen(const char* key, const char* variable)
    {
        desktop::click(toolbarButton("Act"));
        settle();
        auto* act = library().findChild<ui::TreeView*>("Tvw");
        desktop::click(act->viewport()->mapToGlobal(act->visualItemRect(act->Nodes(key)->item()).center()), 2);
        settle();
        return library().screen(variable);
    }
    // The library window on view with its KGST index screen open, the screen standing clear of
    // the toolbar's first button and of the tree's first nodes.
    frmGlobalSections* libraryWithKgstScreen()
    {
        library().Show();
        settle();
        frmGlobalSections* kgst = openActScreen("KGST", "ObjSectionIndexKGSTGB");
        if (kgst)
            kgst->move(440, 420);
        return kgst;
    }
    void go(frmGlobalSections* screen)
    {
        desktop::click(screen->findChild<ui::CommandButton*>("cmdGO"));
        settle();
    }
    // The window manager works on its own time: give it that before reading the stack.
    static void settle() { QTest::qWait(500); }
    static bool above(const QWidget* upper, const QWidget* lower)
    {
        const int u = desktop::stackPosition(upper), l = desktop::stackPosition(lower);
        return u >= 0 && l >= 0 && u > l;
    }
    // Where a window's frame stands as the window manager has it, and what the form reads
    // where that differs.
    static QString stand(const ui::Form* f)
    {
        const QPoint at = desktop::framePosition(f);
        QString text = QStringLiteral("%1,%2").arg(at.x()).arg(at.y());
        if (f->frameGeometry().topLeft() != at || QPoint(f->Left(), f->Top()) != at * ui::kTwipsPerPixel)
            text += QStringLiteral(" (the form reads %1,%2 twips)").arg(f->Left()).arg(f->Top());
        return text;
    }
    // Where the frame stood after each of three rounds of hiding the form and showing it again.
    std::vector<QString> threeRounds(const ui::Form* f, const std::function<void()>& hide,
                                     const std::function<void()>& show)
    {
        std::vector<QString> stands;
        for (int round = 0; round < 3; ++round) {
            hide();
            settle();
            EXPECT_FALSE(f->isVisible());
            show();
            settle();
            stands.push_back(stand(f));
        }
        return stands;
    }
    static void shot(const char* name)
    {
        if (!qEnvironmentVariableIsEmpty("LUMORA_SHOTS")) {
            EXPECT_TRUE(desktop::screenshot(qEnvironmentVariable("LUMORA_SHOTS") + "/" + name));
        }
    }
};

} // namespace

TEST_F(DesktopTest, OwnedWindowsAreTransientForTheirOwnersAndStayAboveThemOnBothRoads)
{
    frmkerala& lib = library();
    frmGlobalSections* kgst = libraryWithKgstScreen();
    ASSERT_TRUE(kgst);
    frmGlobalSections* contents = openActScreen("VAT", "ObjActGlobalSections");
    ASSERT_TRUE(contents);
    contents->move(400, 380);
    desktop::key("Return");
    settle();
    ASSERT_TRUE(documentShown());

    EXPECT_EQ(desktop::transientFor(contents), lib.winId());
    EXPECT_EQ(desktop::transientFor(kgst), lib.winId());
    EXPECT_EQ(desktop::transientFor(&document()), contents->winId());
    EXPECT_EQ(desktop::transientFor(&lib), WId(0));

    // Road 1: closing the document window brings the library window back, under its screens.
    desktop::key("Escape");
    settle();
    ASSERT_FALSE(documentShown());
    EXPECT_EVENTUALLY(above(contents, &lib));
    EXPECT_EVENTUALLY(above(kgst, &lib));
    // ... and raising the library window, as a click on one of its buttons does, brings its
    // screens along.
    desktop::click(toolbarButton("Act"));
    settle();
    EXPECT_EVENTUALLY(above(contents, &lib));
    EXPECT_EVENTUALLY(above(kgst, &lib));

    // Road 2: a click on the search screen raises it, but not over the document window it owns.
    go(contents);
    ASSERT_TRUE(documentShown());
    document().showNormal();
    document().setGeometry(760, 560, 480, 400);
    settle();
    desktop::click(contents->mapToGlobal(QPoint(12, 12)));
    settle();
    EXPECT_EVENTUALLY(above(&document(), contents));
    EXPECT_EVENTUALLY(above(contents, &lib));
    shot("desktop-library-screen-document.png");
}

// However the document window is closed, the search screen that opened it is the active window
// again, above the library window that the close brings back (also when the library window had
// been sent back to the main window meanwhile), and typing goes on in its search box. Round after
// round: the window manager settles activation on its own time.
TEST_F(DesktopTest, ClosingTheDocumentWindowGivesTheKeysBackToTheScreenThatOpenedIt)
{
    shell::state().CurrentStateCode = 14;
    frmkerala& lib = library();
    lib.Show();
    settle();
    frmGlobalSections* contents = openActScreen("VAT", "ObjActGlobalSections");
    ASSERT_TRUE(contents);
    auto* box = contents->findChild<ui::TextBox*>("txtSearch");
    box->setText("levy");
    const std::pair<const char*, std::function<void()>> roads[] = {
        {"Escape", [] { desktop::key("Escape"); }},
        {"the Back arrow", [&] { desktop::click(document().Picture4); }},
        {"the frame's close", [] { desktop::key("alt+F4"); }},
    };
    QStringList wrong;
    for (int round = 0; round < 15; ++round) {
        const auto& [road, close] = roads[round % 3];
        const bool libraryAway = round % 5 == 4;
        if (libraryAway) {
            desktop::click(toolbarButton("bac"));
            settle();
            ASSERT_FALSE(lib.isVisible());
            // The screen stays on view, under the main window: its title bar brings it up.
            desktop::click(contents->frameGeometry().topLeft() + QPoint(contents->frameGeometry().width() / 2, 8));
            settle();
        }
        const QString at = QStringLiteral("round %1, closed by %2%3: ").arg(round).arg(road).arg(libraryAway ? ", library sent back" : "");
        desktop::click(box);
        settle();
        desktop::key("Return");
        settle();
        if (!documentShown()) {
            wrong << at + "Enter in the screen opened no document";
            continue;
        }
        close();
        settle();
        ASSERT_FALSE(documentShown()) << at.toStdString();
        if (desktop::activeWindow() != contents->winId())
            wrong << at + "the screen is not the active window";
        desktop::key("BackSpace");
        if (!QTest::qWaitFor([&] { return box->Text() == "lev"; }, 1000))
            wrong << at + "typing did not reach the search box";
        box->setText("levy");
        if (!lib.isVisible() || !above(contents, &lib) || (libraryAway && !above(&lib, &ui::form<main>())))
            wrong << at + "the library window is not on view beneath the screen";
    }
    EXPECT_EQ(wrong.join('\n'), "");
    shot("desktop-document-closed-screen-active.png");
}

// A screen closed by Back holds no paint buffer; opened again it is the same window, still
// transient for the library window, with its words, painted whole above it.
TEST_F(DesktopTest, AScreenClosedAndOpenedAgainGaveBackItsBufferAndKeepsItsOwnerAndWords)
{
    frmkerala& lib = library();
    frmGlobalSections* kgst = libraryWithKgstScreen();
    ASSERT_TRUE(kgst);
    auto* box = kgst->findChild<ui::TextBox*>("txtSearch");
    QTest::keyClicks(box, "kgst");
    settle();
    const WId window = kgst->winId();
    ASSERT_EQ(desktop::transientFor(kgst), lib.winId());
    ASSERT_EQ(kgst->backingStore()->size(), kgst->size());
    // The frame's corner, the grid, the Back button: as they looked before.
    auto looks = [kgst] {
        const QImage shot = kgst->screen()->grabWindow(kgst->winId()).toImage();
        QList<QColor> colours;
        for (const char* name : {"frameContent", "DataGrid1", "cmdBack"}) {
            const QWidget* w = kgst->findChild<QWidget*>(name);
            colours << shot.pixelColor(w->mapTo(kgst, QPoint(4, w->height() - 4)));
        }
        return colours;
    };
    const QList<QColor> before = looks();

    desktop::click(kgst->findChild<ui::CommandButton*>("cmdBack"));
    settle();
    ASSERT_FALSE(kgst->isVisible());
    EXPECT_LE(kgst->backingStore()->size().width() * kgst->backingStore()->size().height(), 1);

    EXPECT_EQ(openActScreen("KGST", "ObjSectionIndexKGSTGB"), kgst);
    ASSERT_TRUE(kgst->isVisible());
    EXPECT_EQ(kgst->winId(), window);
    EXPECT_EQ(desktop::transientFor(kgst), lib.winId());
    EXPECT_EQ(box->Text(), "kgst");
    EXPECT_EVENTUALLY(above(kgst, &lib));
    EXPECT_EVENTUALLY(kgst->backingStore()->size() == kgst->size());
    EXPECT_EVENTUALLY(looks() == before);
    shot("desktop-screen-opened-again.png");
}

TEST_F(DesktopTest, PressesOnTheLibraryBarsAndFrameKeepItsPlaceAndOnlyItsSurfaceSendsItBack)
{
    frmkerala& lib = library();
    lib.Show();
    settle();
    desktop::click(toolbarButton("Act"));
    settle();
    ASSERT_TRUE(lib.findChild<QGroupBox*>("Frame1")->isVisible());
    QWidget other;
    other.setWindowTitle(QStringLiteral("another program"));
    other.setGeometry(900, 620, 300, 200);
    other.show();
    settle();
    lib.Show();   // back on top
    settle();
    ASSERT_TRUE(QTest::qWaitFor([&] { return above(&lib, &other); }, 3000));

    auto* bar = lib.findChild<ui::Toolbar*>("Toolbar2");
    auto* status = lib.findChild<ui::StatusBar*>("StatusBar1");
    auto* frame = lib.findChild<QGroupBox*>("Frame1");
    const QPoint presses[] = {
        bar->mapToGlobal(QPoint(bar->width() - 40, bar->height() / 2)),
        status->mapToGlobal(QPoint(60, status->height() / 2)),
        frame->mapToGlobal(QPoint(8, frame->height() - 8)),
    };
    for (const QPoint& at : presses) {
        desktop::click(at);
        settle();
        EXPECT_EVENTUALLY(above(&lib, &other)) << "a press at " << at.x() << "," << at.y() << " sent the library back";
    }

    desktop::click(lib.mapToGlobal(QPoint(40, lib.height() / 2)));
    settle();
    EXPECT_EVENTUALLY(above(&other, &lib));
}

TEST_F(DesktopTest, AReportPreviewStaysAboveTheWindowThatRanTheReport)
{
    QWidget owner;
    owner.setWindowTitle(QStringLiteral("register screen"));
    owner.setGeometry(100, 100, 700, 500);
    owner.show();
    settle();
    auto* preview = new ui::ReportPreview(&owner);   // deleted on close
    preview->setGeometry(300, 300, 600, 400);
    preview->show();
    settle();

    EXPECT_EQ(desktop::transientFor(preview), owner.winId());
    desktop::click(owner.mapToGlobal(QPoint(40, 40)));
    settle();
    EXPECT_EVENTUALLY(above(preview, &owner));
    preview->close();
}

TEST_F(DesktopTest, TheDealerWindowIsTransientForTheMainWindowAndReadsWholeWithMalayalamNames)
{
    main& w = ui::form<main>();
    w.Show();
    settle();
    desktop::click(w.Toolbar2->findButton("f10")->widget());
    settle();
    ASSERT_TRUE(ui::formLoaded<frmDealer>());
    frmDealer& dealers = ui::form<frmDealer>();
    for (const auto& [code, name] : {std::pair{"K'01", "ശ്രീ O'Brien's Traders"}, {"MLB-02", "മലബാർ ട്രേഡേഴ്സ്, കോഴിക്കോട്"}}) {
        dealers.txtCode->setText(QString::fromUtf8(code));
        dealers.txtName->setText(QString::fromUtf8(name));
        desktop::click(dealers.cmdAdd);
        settle();
    }
    ASSERT_EQ(dealers.lstDealers->ListCount(), 2) << (answers.messages().empty() ? "" : answers.messages().back().prompt.toStdString());

    EXPECT_EQ(desktop::transientFor(&dealers), w.winId());
    desktop::click(w.mapToGlobal(QPoint(w.width() - 40, w.height() - 40)));
    settle();
    EXPECT_EVENTUALLY(above(&dealers, &w));
    EXPECT_EQ(unreadableTexts(&dealers), "");
    shot("desktop-dealer-window.png");
}

// However a form came to stand where it stands (its own code put it there, the window manager
// placed it, the user dragged it), hidden and shown again it comes back there, round after round.
TEST_F(DesktopTest, FormsHiddenAndShownAgainComeBackWhereTheirFramesStood)
{
    {
        SCOPED_TRACE("the option screen, placed by its code, hidden by the register screen and shown by its Close");
        Module2().DealerCode = QStringLiteral("D1");
        frmSelect& select = ui::form<frmSelect>();
        select.Show(ui::vbModeless);
        settle();
        const QString placed = stand(&select);
        EXPECT_EQ(placed, QStringLiteral("%1,%2").arg(ui::toPixels(4000)).arg(ui::toPixels(2500)));
        EXPECT_EQ(threeRounds(&select, [&] { desktop::click(select.Option1, 2); },
                              [] { desktop::click(ui::form<frmNormal>().cmdClose); }),
                  std::vector<QString>(3, placed));
        EXPECT_TRUE(messages().empty()) << messages().front().prompt.toStdString();
        select.Unload();
    }
    {
        SCOPED_TRACE("a search screen, placed over the library window, dragged by the user, closed by Back");
        library().Show();
        settle();
        frmGlobalSections* kgst = openActScreen("KGST", "ObjSectionIndexKGSTGB");
        ASSERT_TRUE(kgst);
        const QString placed = stand(kgst);
        const QPoint title = kgst->frameGeometry().topLeft() + QPoint(kgst->frameGeometry().width() / 2, 8);
        desktop::drag(title, title - QPoint(150, 120));
        settle();
        const QString dragged = stand(kgst);
        ASSERT_NE(dragged, placed);
        EXPECT_EQ(threeRounds(kgst, [&] { desktop::click(kgst->findChild<ui::CommandButton*>("cmdBack")); },
                              [&] { openActScreen("KGST", "ObjSectionIndexKGSTGB"); }),
                  std::vector<QString>(3, dragged));
        shot("desktop-screen-dragged-and-opened-again.png");
        library().Hide();
    }
    {
        SCOPED_TRACE("a form the window manager placed, another window come up over that place meanwhile");
        ui::Form placedByManager(QStringLiteral("frmPlaced"));
        placedByManager.resize(400, 200);
        placedByManager.Show();
        settle();
        const QString placed = stand(&placedByManager);
        QWidget other;   // the window manager places a window where no other stands
        other.setWindowTitle(QStringLiteral("another program"));
        other.move(placedByManager.frameGeometry().topLeft());
        other.resize(placedByManager.size());
        other.show();
        settle();
        EXPECT_EQ(threeRounds(&placedByManager, [&] { placedByManager.Hide(); }, [&] { placedByManager.Show(); }),
                  std::vector<QString>(3, placed));
    }
}

// The library window is maximised; sent back to the main window and opened again it is
// maximised still, over the whole screen.
TEST_F(DesktopTest, AMaximisedFormHiddenAndShownAgainStaysMaximised)
{
    frmkerala& lib = library();
    lib.Show();
    settle();
    ASSERT_EQ(lib.WindowState(), ui::vbMaximized);
    ASSERT_TRUE(desktop::maximised(&lib));
    const QRect whole = lib.frameGeometry();
    ASSERT_EQ(whole, QGuiApplication::primaryScreen()->availableGeometry());
    for (int round = 1; round <= 3; ++round) {
        desktop::click(toolbarButton("bac"));
        settle();
        ASSERT_FALSE(lib.isVisible()) << "round " << round;
        lib.Show();
        settle();
        EXPECT_EQ(lib.WindowState(), ui::vbMaximized) << "round " << round;
        EXPECT_TRUE(desktop::maximised(&lib)) << "round " << round;
        EXPECT_EQ(lib.frameGeometry(), whole) << "round " << round;
        EXPECT_EQ(desktop::framePosition(&lib), whole.topLeft()) << "round " << round;
    }
}
