// The application object that documents and fonts need, for the fuzz targets that lay text
// out: made once, offscreen.
#pragma once

#include <QGuiApplication>

namespace fuzz {

inline void guiApplication()
{
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

} // namespace fuzz
