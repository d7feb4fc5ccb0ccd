#include "platform/ui/controls/Control.h"

namespace ui {

void setPaletteColor(QWidget& w, long bgr, std::initializer_list<QPalette::ColorRole> roles)
{
    QPalette p = w.palette();
    for (const QPalette::ColorRole role : roles)
        p.setColor(role, colorOf(bgr));
    w.setPalette(p);
}

int keyPressAsciiOf(const QKeyEvent* e)
{
    const Qt::KeyboardModifiers m = e->modifiers();
    if (m & Qt::AltModifier)
        return 0;   // Alt+key is an access key, not a character
    if (m & Qt::ControlModifier) {
        const int key = e->key();
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return key - Qt::Key_A + 1;
        if (key == Qt::Key_Backspace)
            return 127;
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return 10;
        return 0;
    }
    if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab)
        return 0;   // Tab moves the focus
    return keyAsciiOf(e);
}

} // namespace ui
