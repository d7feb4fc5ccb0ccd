// Pictures of the library window and a filtered index screen, for a person to look at.
// Not part of the regular run: run under Xvfb with --gtest_also_run_disabled_tests
// (LUMORA_SHOTS names the folder; /tmp by default).
#include "LibraryFixture.h"

#include "platform/ui/Toolbar.h"
#include <QLabel>
#include "platform/ui/TreeView.h"

#include <QDir>
#include <QScreen>
#include <QTimer>

TEST_F(LibraryFixture, DISABLED_ScreenshotsOfTheLibraryWindowAndAFilteredIndexScreen)
{
    const QString dir = qEnvironmentVariableIsEmpty("LUMORA_SHOTS") ? QDir::tempPath() : qEnvironmentVariable("LUMORA_SHOTS");
    frmkerala& lib = ui::form<frmkerala>();
    lib.Show();
    auto* bar = lib.findChild<ui::Toolbar*>("Toolbar2");
    QTest::mouseClick(bar->Buttons("Act")->widget(), Qt::LeftButton);
    QTest::qWait(300);
    EXPECT_TRUE(lib.grab().save(dir + "/library-act.png"));

    auto* act = lib.findChild<ui::TreeView*>("Tvw");
    act->setSelectedItem(act->Nodes("VAT"));
    lib.Tvw_DblClick();
    ASSERT_NE(lib.screen("ObjActGlobalSections"), nullptr);
    QTest::qWait(300);
    EXPECT_TRUE(lib.screen("ObjActGlobalSections")->grab().save(dir + "/library-contents.png"));
    lib.screen("ObjActGlobalSections")->Hide();

    auto* circulars = lib.findChild<ui::TreeView*>("tvwc");
    QTest::mouseClick(bar->Buttons("circu")->widget(), Qt::LeftButton);
    circulars->setSelectedItem(circulars->Nodes("cirsub"));
    lib.tvwc_DblClick();
    frmGlobalSections* s = lib.screen("gsCircularSubject");
    ASSERT_NE(s, nullptr);
    QTest::keyClicks(s->findChild<ui::TextBox*>("txtSearch"), "tax credit");
    QTest::qWait(300);
    EXPECT_TRUE(s->grab().save(dir + "/library-index.png"));
    if (QScreen* screen = QApplication::primaryScreen()) {
        EXPECT_TRUE(screen->grabWindow(0).save(dir + "/library-desktop.png"));
    }
}

TEST_F(LibraryFixture, DISABLED_ScreenshotOfTheFilledListPanel)
{
    const QString dir = qEnvironmentVariableIsEmpty("LUMORA_SHOTS") ? QDir::tempPath() : qEnvironmentVariable("LUMORA_SHOTS");
    frmkerala& lib = ui::form<frmkerala>();
    lib.Show();
    QTest::mouseClick(lib.findChild<ui::Toolbar*>("Toolbar2")->Buttons("Act")->widget(), Qt::LeftButton);
    // No built node carries the panel's key: the node a later Act tree would have.
    auto* act = lib.findChild<ui::TreeView*>("Tvw");
    act->Nodes().Add("One", ui::tvwChild, "Sectionwise", "Sectionwise", 1, 2);
    act->setSelectedItem(act->Nodes("Sectionwise"));
    lib.Tvw_DblClick();
    auto* words = lib.findChild<ui::TextBox*>("Text3");
    QTest::keyClicks(words, "section 1");
    QTest::keyClick(words, Qt::Key_Return);
    QTest::keyClicks(words, "2");
    QTest::qWait(300);
    EXPECT_TRUE(lib.grab().save(dir + "/library-panel.png"));

    // Go: the document window, modal over the library, until its Back picture closes it.
    QTimer::singleShot(800, &lib, [&] {
        if (QScreen* screen = QApplication::primaryScreen()) {
            EXPECT_TRUE(screen->grabWindow(0).save(dir + "/library-panel-go.png"));
        }
        QTest::mouseClick(ui::form<keralaforms>().Picture4, Qt::LeftButton);
    });
    QTest::mouseClick(lib.findChild<ui::CommandButton*>("cmdactgo"), Qt::LeftButton);
    EXPECT_FALSE(ui::form<keralaforms>().isVisible());
}
