// Shared main of every test executable: a QApplication (widget tests need one; tests run
// offscreen unless told otherwise), a fixed clock, then all tests. No test depends on the
// real date: a test that needs another moment sets the clock itself.
#include "platform/sys/Clock.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    sys::setClock(QDateTime(QDate(2026, 6, 15), QTime(10, 30)));
    return RUN_ALL_TESTS();
}
