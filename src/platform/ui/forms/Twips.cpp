// Twips geometry for any widget. The twips a control was given are kept beside the pixel
// value they produced; as long as the widget still has that pixel value, reads return the
// twips exactly as written, so code and tests see the numbers the program set.
#include "platform/ui/forms/Twips.h"

#include <QRect>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace ui {
namespace {

enum Edge { kLeft, kTop, kWidth, kHeight };

const char* twipsKey(Edge e)
{
    static const char* keys[] = {"_twips_left", "_twips_top", "_twips_width", "_twips_height"};
    return keys[e];
}

const char* pixelKey(Edge e)
{
    static const char* keys[] = {"_twpx_left", "_twpx_top", "_twpx_width", "_twpx_height"};
    return keys[e];
}

int pixelsOf(const QWidget* w, Edge e)
{
    const QRect g = w->geometry();
    switch (e) {
    case kLeft: return g.x();
    case kTop: return g.y();
    case kWidth: return g.width();
    case kHeight: return g.height();
    }
    return 0;
}

void remember(QWidget* w, Edge e, int twips)
{
    w->setProperty(twipsKey(e), twips);
    w->setProperty(pixelKey(e), pixelsOf(w, e));
}

int recall(const QWidget* w, Edge e)
{
    const int px = pixelsOf(w, e);
    const QVariant t = w->property(twipsKey(e));
    const QVariant p = w->property(pixelKey(e));
    if (t.isValid() && p.isValid() && p.toInt() == px)
        return t.toInt();
    return toTwips(px);
}

} // namespace

void moveTwips(QWidget* w, int left, int top, int width, int height)
{
    // Qt has no negative sizes; a negative size is left to the caller to refuse.
    w->setGeometry(toPixels(left), toPixels(top), std::max(0, toPixels(width)),
                   std::max(0, toPixels(height)));
    remember(w, kLeft, left);
    remember(w, kTop, top);
    remember(w, kWidth, width);
    remember(w, kHeight, height);
}

void setLeftTwips(QWidget* w, int left)
{
    w->move(toPixels(left), w->y());
    remember(w, kLeft, left);
}

void setTopTwips(QWidget* w, int top)
{
    w->move(w->x(), toPixels(top));
    remember(w, kTop, top);
}

void setWidthTwips(QWidget* w, int width)
{
    w->resize(std::max(0, toPixels(width)), w->height());
    remember(w, kWidth, width);
}

void setHeightTwips(QWidget* w, int height)
{
    w->resize(w->width(), std::max(0, toPixels(height)));
    remember(w, kHeight, height);
}

int leftTwips(const QWidget* w) { return recall(w, kLeft); }
int topTwips(const QWidget* w) { return recall(w, kTop); }
int widthTwips(const QWidget* w) { return recall(w, kWidth); }
int heightTwips(const QWidget* w) { return recall(w, kHeight); }

} // namespace ui
