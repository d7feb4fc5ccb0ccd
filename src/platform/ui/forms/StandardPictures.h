// The style's standard pictures at the one size a control shows them. Asking the style for
// a picture searches the desktop's icon theme and decodes every size it has; at start-up
// that was a third of the program's own work before its main window could show. The same
// pictures are read here straight from the toolkit's built-in images, one size each, and can
// be decoded ahead, beside the user-interface thread.
#pragma once

#include <QIcon>
#include <QString>
#include <QStyle>

namespace ui {

// The picture `which` at about `pixels` (the smallest built-in size not below it, else the
// largest); the style's own icon where the toolkit has no built-in image for it.
QIcon standardPicture(QStyle::StandardPixmap which, int pixels);

// The built-in image standardPicture reads for `which` at `pixels`, or an empty text when it
// falls back to the style.
QString builtInPicturePath(QStyle::StandardPixmap which, int pixels);

// Decodes the built-in pictures at the sizes controls show (16 and 32 pixels), so that
// standardPicture only hands them over. Any thread may run it, once, also before the
// application object exists; standardPicture waits for it when it is under way.
void prepareStandardPictures();

} // namespace ui
