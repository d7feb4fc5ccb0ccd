// Pictures of the Central Sales Tax window with each of its documents, for a person to look
// at. Not part of the regular run: run under Xvfb with --gtest_also_run_disabled_tests
// (LUMORA_SHOTS names the folder; /tmp by default).
#include "LibraryFixture.h"

#include "library/central.h"
#include "platform/ui/Toolbar.h"

#include <QDir>
#include <QScreen>

TEST_F(LibraryFixture, DISABLED_ScreenshotsOfTheCentralSalesTaxWindow)
{
    const QString dir = qEnvironmentVariableIsEmpty("LUMORA_SHOTS") ? QDir::tempPath() : qEnvironmentVariable("LUMORA_SHOTS");
    central& w = ui::form<central>();
    w.Show();
    for (const char* key : {"Act", "forms", "rul"}) {
        QTest::mouseClick(w.Toolbar2->findButton(QString::fromLatin1(key))->widget(), Qt::LeftButton);
        QTest::qWait(400);
        QScreen* screen = QApplication::primaryScreen();
        ASSERT_TRUE(screen);
        EXPECT_TRUE(screen->grabWindow(0).save(dir + "/central-" + key + ".png"));
    }
}
