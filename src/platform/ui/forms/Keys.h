// Key codes and mouse values as the program's handlers receive them: key codes of the
// program's platform (13 Enter, 27 Escape, 37..40 arrows...), shift state 1 Shift, 2 Ctrl,
// 4 Alt; mouse buttons 1 left, 2 right, 4 middle.
#pragma once

#include <Qt>

class QKeyEvent;
class QMouseEvent;

namespace ui {

enum KeyCodes {
    vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyEscape = 27, vbKeySpace = 32,
    vbKeyPageUp = 33, vbKeyPageDown = 34, vbKeyEnd = 35, vbKeyHome = 36, vbKeyLeft = 37,
    vbKeyUp = 38, vbKeyRight = 39, vbKeyDown = 40, vbKeyInsert = 45, vbKeyDelete = 46,
    vbKeyF1 = 112
};
enum ShiftState { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };
enum MouseButtonCode { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };

int keyCodeOf(int qtKey);                       // 0 when the key has no code
int keyAsciiOf(const QKeyEvent* e);             // 0 when the key types no character
int shiftOf(Qt::KeyboardModifiers modifiers);
int buttonOf(Qt::MouseButton button);
int buttonsOf(Qt::MouseButtons buttons);

} // namespace ui
