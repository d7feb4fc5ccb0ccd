// What every stand-in control shares: geometry in twips, the Visible/Enabled/SetFocus the
// program's code reads and writes, colours written 0xBBGGRR, the program's reading of keys
// (Ctrl+letter types the control character 1..26; Ctrl+Backspace types 127), and the way the
// key and focus events reach the program's handlers. The event helpers take the control that
// declares the signals (KeyDown, KeyPress, KeyUp, GotFocus, LostFocus), which may be another
// object than the widget receiving the Qt event (the data grid's inner view).
#pragma once

#include "platform/ui/forms/Keys.h"
#include "platform/ui/forms/Twips.h"

#include <QColor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>
#include <initializer_list>

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

// A colour of the widget's palette, and setting one colour into several roles at once.
inline long paletteColor(const QWidget& w, QPalette::ColorRole role)
{
    return bgrOf(w.palette().color(role));
}
void setPaletteColor(QWidget& w, long bgr, std::initializer_list<QPalette::ColorRole> roles);

// The character code a key types for KeyPress; 0 when it types none.
int keyPressAsciiOf(const QKeyEvent* e);

// Focus moves the program's handlers see: a window losing or gaining activation (a message
// box opening, another program's window) is not a focus move between controls.
inline bool isControlFocusMove(const QFocusEvent* e)
{
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

// KeyDown(keyCode, shift) on `c` for a key that has a code; `code` is left as the handlers set
// it (0 for a key without one). True when a handler cancelled the key by setting keyCode to 0:
// the event is then accepted and goes no further.
template <class C>
bool keyDownCancels(C& c, QKeyEvent* e, int& code)
{
    code = keyCodeOf(e->key());
    if (code == 0)
        return false;
    emit c.KeyDown(code, shiftOf(e->modifiers()));
    if (code != 0)
        return false;
    e->accept();
    return true;
}

// What became of a key press after the KeyDown and KeyPress handlers.
struct KeyOutcome {
    bool cancelled = false;   // keyCode or keyAscii set to 0; the event is accepted
    int code = 0;             // as KeyDown left it
    int typed = 0;            // the character the key types, 0 for none (no KeyPress then)
    int ascii = 0;            // as KeyPress left it
};

// KeyDown, then KeyPress for a key that types a character.
template <class C>
KeyOutcome raiseKeyDownAndPress(C& c, QKeyEvent* e)
{
    KeyOutcome k;
    if (keyDownCancels(c, e, k.code)) {
        k.cancelled = true;
        return k;
    }
    k.typed = k.ascii = keyPressAsciiOf(e);
    if (k.typed != 0) {
        emit c.KeyPress(k.ascii);
        if (k.ascii == 0) {
            e->accept();
            k.cancelled = true;
        }
    }
    return k;
}

// KeyUp for a released key that has a code; an auto-repeat release raises none.
template <class C>
void raiseKeyUp(C& c, const QKeyEvent* e)
{
    int code = keyCodeOf(e->key());
    if (code != 0 && !e->isAutoRepeat())
        emit c.KeyUp(code, shiftOf(e->modifiers()));
}

// GotFocus or LostFocus, when the focus moved between controls.
template <class C>
void raiseFocusChange(C& c, const QFocusEvent* e)
{
    if (!isControlFocusMove(e))
        return;
    if (e->gotFocus())
        emit c.GotFocus();
    else
        emit c.LostFocus();
}

// Sits between a Qt widget `Base` and the control `Self` that declares the signals, and
// raises them: KeyDown and KeyPress before the widget sees a key (a cancelled key goes no
// further), KeyUp after, GotFocus and LostFocus after the widget's own focus handling. A
// control overrides only what it does differently.
template <class Base, class Self>
class ControlEvents : public Base {
public:
    using Base::Base;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (!raiseKeyDownAndPress(self(), e).cancelled)
            Base::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        raiseKeyUp(self(), e);
        Base::keyReleaseEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override
    {
        Base::focusInEvent(e);
        raiseFocusChange(self(), e);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        Base::focusOutEvent(e);
        raiseFocusChange(self(), e);
    }

private:
    Self& self() { return static_cast<Self&>(*this); }
};

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
