// The start-up window: never on screen. Its load step undoes a backup or restore that a crash
// interrupted, connects the law databases, shows the main window and registers the data-grid
// control file; it then stays loaded and hidden.
#pragma once

#include "platform/ui/forms/Form.h"

class frmLaunch : public ui::Form {
    Q_OBJECT
public:
    frmLaunch();

    // Mode 0 registers, mode 1 unregisters the control file at the path less its leading and
    // trailing blanks; any other mode does nothing and returns 0.
    static short fnRegisterOcx(const QString& path, short mode);

protected:
    void Form_Load() override;
};
