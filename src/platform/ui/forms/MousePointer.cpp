// The screen-wide pointer is one override cursor owned by this file: setting the hourglass
// twice pushes it once, and the default pops whatever we pushed.
#include "platform/ui/forms/MousePointer.h"

#include <QApplication>
#include <QCursor>

namespace ui {
namespace {
int g_pointer = vbDefault;
bool g_pushed = false;
} // namespace

void setMousePointer(int kind)
{
    g_pointer = kind;
    if (!qApp)
        return;
    if (kind == vbHourglass) {
        if (g_pushed)
            QApplication::changeOverrideCursor(Qt::WaitCursor);
        else
            QApplication::setOverrideCursor(Qt::WaitCursor);
        g_pushed = true;
    } else if (g_pushed) {
        QApplication::restoreOverrideCursor();
        g_pushed = false;
    }
}

int mousePointer() { return g_pointer; }

} // namespace ui
