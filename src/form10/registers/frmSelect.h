// The option screen with which the Form 10 tool begins: "Form No. 52" opens the register
// screen; "E - Filing" and "Direct To Form" hand over to two windows outside this system,
// of which only the least is built here (a window that can be shown; the direct form
// window's four fields).
#pragma once

#include "platform/ui/forms/Form.h"

namespace ui {
class CommandButton;
class OptionButton;
class TextBox;
}

class frmSelect : public ui::Form {
    Q_OBJECT
public:
    frmSelect();

    ui::OptionButton* Option1 = nullptr;     // " &Form No. 52"
    ui::OptionButton* Option2 = nullptr;     // " &E - Filing"
    ui::OptionButton* Option3 = nullptr;     // " &Direct To Form"
    ui::CommandButton* cmdClose = nullptr;   // "&Cancel"

    void Option1_DblClick();
    void Option1_KeyPress(int& keyAscii);
    void Option2_DblClick();
    void Option2_KeyPress(int& keyAscii);
    void Option3_DblClick();
    void Option3_KeyPress(int& keyAscii);
    void cmdClose_Click();

    // Leaves the Form 10 tool: the register screen (asked first over bills not saved) and this
    // screen unload, and the main window comes back. False when the user keeps the bills:
    // then nothing changes.
    static bool leaveForm10Tool();

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void openRegisterScreen(bool hideSelf);
    void openEFiling();
    void openDirectForm(bool hourglassFirst);
};

// The e-filing window: outside the system; it can be shown.
class frmEFiling : public ui::Form {
    Q_OBJECT
public:
    frmEFiling();
};

// The direct form window: outside the system; the option screen fills its four fields.
class frmDirectForm : public ui::Form {
    Q_OBJECT
public:
    frmDirectForm();
    ui::TextBox* txtDealerName = nullptr;
    ui::TextBox* txtTIN = nullptr;
    ui::TextBox* txtCST = nullptr;
    ui::TextBox* txtYear = nullptr;
};
