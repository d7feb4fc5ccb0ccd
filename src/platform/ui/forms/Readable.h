// Text a person can read whole. The windows were drawn for a platform whose system font was
// 8.25 pt and whose typefaces ran narrower than the ones found here: a text is set at least at
// the system font's size, and a label whose text does not fit its design width grows to it
// (from its left edge, which stays where it was placed) instead of being cut off.
#pragma once

class QLabel;

namespace ui {

// The design's point size, or the system font's where that is larger.
double readablePoints(double designPoints);

// Widens the label to its whole text in its own font; a label that is wide enough keeps
// its width.
void widenToText(QLabel* label);

} // namespace ui
