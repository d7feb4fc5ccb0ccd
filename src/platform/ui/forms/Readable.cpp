#include "platform/ui/forms/Readable.h"

#include "platform/ui/forms/Twips.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

namespace ui {

double readablePoints(double designPoints)
{
    const double system = QApplication::font().pointSizeF();   // -1 for a font set in pixels
    return std::max(designPoints, system);
}

void widenToText(QLabel* label)
{
    const QString text = label->text().remove(QLatin1Char('&'));
    const QMargins m = label->contentsMargins();
    const int needed = QFontMetrics(label->font()).horizontalAdvance(text) + m.left() + m.right()
                       + 2 * label->margin() + 4;
    if (needed > label->width())
        setWidthTwips(label, toTwips(needed));
}

} // namespace ui
