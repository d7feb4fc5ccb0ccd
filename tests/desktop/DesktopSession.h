// A desktop of its own for the tests that need a window manager: a fresh Xvfb display with
// openbox on it, started before the application and stopped after it. Window stacking and
// ownership only exist there, so these tests read them from the X server (xprop) and click
// through it (xdotool), as a person's mouse would.
#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>
#include <sys/types.h>
#include <vector>

class DesktopSession {
public:
    // Starts Xvfb and openbox and points DISPLAY at them. Without an X server the tests skip
    // (skipReason); an X server without the window manager or the X tools is a failure
    // (failReason): scripts/install-deps installs them.
    DesktopSession();
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    bool running() const { return skipReason_.isEmpty() && failReason_.isEmpty(); }
    QString skipReason() const { return skipReason_; }
    QString failReason() const { return failReason_; }

    static DesktopSession* current();

private:
    void start();
    pid_t xvfb_ = -1;
    pid_t openbox_ = -1;
    QString skipReason_;
    QString failReason_;
};

namespace desktop {

// The program's top-level windows as the window manager stacks them, bottom first.
std::vector<WId> stackingOrder();
// Where `window` stands in the stacking order, -1 when it is not there.
int stackPosition(const QWidget* window);
// The window `window` is transient for (WM_TRANSIENT_FOR), 0 when none.
WId transientFor(const QWidget* window);
// Where the window manager has put the top-left corner of a window's frame (the window's own
// corner less the frame's left and top extents), read from the X server.
QPoint framePosition(const QWidget* window);
// Whether the window manager holds the window maximised (_NET_WM_STATE).
bool maximised(const QWidget* window);
// A real left-button drag from one point of the screen to another.
void drag(const QPoint& from, const QPoint& to);
// Real left clicks (two for a double click) at a point of the screen, or on a widget's middle.
void click(const QPoint& global, int count = 1);
void click(const QWidget* widget, int count = 1);
// A real key press and release in the window that has the focus ("Escape", "Down"...).
void key(const QString& name);
// The window the window manager holds active (_NET_ACTIVE_WINDOW), 0 when none.
WId activeWindow();
// Saves the whole screen as a PNG (for a person to look at).
bool screenshot(const QString& path);

} // namespace desktop
