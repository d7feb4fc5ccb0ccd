// What every stand-in control shares: geometry in twips, the Visible/Enabled/SetFocus the
// program's code reads and writes, colours written 0xBBGGRR, and the program's reading of
// keys (Ctrl+letter types the control character 1..26; Ctrl+Backspace types 127).
#pragma once

#include "Twips.h"

#include <QColor>
#include <QFocusEvent>
#include <QWidget>

class QKeyEvent;

namespace ui {

// 0xBBGGRR <-> QColor.
inline QColor colorOf(long bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
inline long bgrOf(const QColor& c)
{
    return long(c.red()) | (long(c.green()) << 8) | (long(c.blue()) << 16);
}
// RGB(r, g, b) of the program: the same 0xBBGGRR value.
constexpr long RGB(int r, int g, int b) { return long(r) | (long(g) << 8) | (long(b) << 16); }

// The character code a key types for KeyPress; 0 when it types none.
int keyPressAsciiOf(const QKeyEvent* e);

// Focus moves the program's handlers see: a window losing or gaining activation (a message
// box opening, another program's window) is not a focus move between controls.
inline bool isControlFocusMove(const QFocusEvent* e)
{
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

// Twips geometry and the common properties, mixed into each control.
template <class W>
class ControlGeometry {
public:
    int Left() const { return leftTwips(self()); }
    int Top() const { return topTwips(self()); }
    int Width() const { return widthTwips(self()); }
    int Height() const { return heightTwips(self()); }
    void setLeft(int twips) { setLeftTwips(self(), twips); }
    void setTop(int twips) { setTopTwips(self(), twips); }
    void setWidth(int twips) { setWidthTwips(self(), twips); }
    void setHeight(int twips) { setHeightTwips(self(), twips); }
    // Move(left, top[, width[, height]]); a size of -1 keeps the current one.
    void Move(int left, int top, int width = -1, int height = -1)
    {
        moveTwips(self(), left, top, width < 0 ? Width() : width, height < 0 ? Height() : height);
    }
    // The control's own setting, also while its window is hidden.
    bool Visible() const { return !self()->isHidden(); }
    bool Enabled() const { return self()->isEnabled(); }
    void SetFocus() { self()->setFocus(Qt::OtherFocusReason); }

private:
    W* self() { return static_cast<W*>(this); }
    const W* self() const { return static_cast<const W*>(this); }
};

} // namespace ui
