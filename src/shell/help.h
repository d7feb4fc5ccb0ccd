// The help window: one rich-text document at a time from the docs folder of the program
// folder, opened by the main window's toolbar through SHOW_DOCUMENT.
#pragma once

#include "RichTextWindows.h"

class help : public RichTextWindow {
    Q_OBJECT
public:
    help();

    // 1 help text, 3 acknowledgement, 5 dealers, 7 other products; any other number shows
    // the window with what it held. A failure is shown and leaves the window as it was.
    int SHOW_DOCUMENT(int number);

    QString DocsFolder;

protected:
    void Form_Load() override;
};
