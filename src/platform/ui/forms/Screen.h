// The screen as the program measures it: its width and height in twips and the twips in one
// pixel across and down. Tests pretend a screen of a given size in pixels.
#pragma once

#include <QSize>

namespace ui {

class Screen {
public:
    static int Width();    // twips
    static int Height();   // twips
    static int TwipsPerPixelX();
    static int TwipsPerPixelY();

    // Tests: a screen of `pixels`; an empty size goes back to the real screen.
    static void setSizeForTests(const QSize& pixels);
};

} // namespace ui
