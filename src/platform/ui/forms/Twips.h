// Geometry is written in twips, as the program's code gives it: 15 twips per pixel at 96 dpi.
#pragma once

class QWidget;

namespace ui {

constexpr int kTwipsPerPixel = 15;
constexpr int toPixels(int twips) { return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                                                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel); }
constexpr int toTwips(int pixels) { return pixels * kTwipsPerPixel; }

// A control remembers the twips it was given, so code and tests read back the same numbers.
void moveTwips(QWidget* w, int left, int top, int width, int height);
void setLeftTwips(QWidget* w, int left);
void setTopTwips(QWidget* w, int top);
void setWidthTwips(QWidget* w, int width);
void setHeightTwips(QWidget* w, int height);
int leftTwips(const QWidget* w);
int topTwips(const QWidget* w);
int widthTwips(const QWidget* w);
int heightTwips(const QWidget* w);

} // namespace ui
