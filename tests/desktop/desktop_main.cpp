// Main of the desktop tests: a display with a window manager first, then the application on
// it (the xcb platform, not the offscreen one). Where no X server can be started every test
// skips and says why.
#include "DesktopSession.h"

#include "platform/sys/Clock.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    DesktopSession session;
    if (session.running())
        qputenv("QT_QPA_PLATFORM", "xcb");
    else
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    sys::setClock(QDateTime(QDate(2026, 6, 15), QTime(10, 30)));
    return RUN_ALL_TESTS();
}
