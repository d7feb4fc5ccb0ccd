// The primary screen's size in device pixels (what a resolution names), whatever scaling
// the desktop applies to the program's windows.
#include "platform/ui/forms/Screen.h"

#include "platform/ui/forms/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace ui {

namespace {

QSize& pretendSize()
{
    static QSize size;
    return size;
}

QSize screenPixels()
{
    if (!pretendSize().isEmpty())
        return pretendSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const double ratio = screen->devicePixelRatio();
    return {int(std::lround(screen->geometry().width() * ratio)), int(std::lround(screen->geometry().height() * ratio))};
}

} // namespace

int Screen::Width() { return screenPixels().width() * TwipsPerPixelX(); }
int Screen::Height() { return screenPixels().height() * TwipsPerPixelY(); }
int Screen::TwipsPerPixelX() { return kTwipsPerPixel; }
int Screen::TwipsPerPixelY() { return kTwipsPerPixel; }

void Screen::setSizeForTests(const QSize& pixels) { pretendSize() = pixels; }

} // namespace ui
