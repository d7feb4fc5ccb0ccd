// The screen-resolution window: two options, 1024 x 768 and 800 x 600, and Cancel. Enter on an
// option switches the screen and opens the library window afresh; a double click only
// switches. At load the option that matches the screen is selected.
#pragma once

#include "platform/ui/forms/Form.h"

class QGroupBox;
namespace sys {
class ChangeRes;
}
namespace ui {
class CommandButton;
class OptionButton;
}

class frmResolution : public ui::Form {
    Q_OBJECT
public:
    frmResolution();

    void Option1_DblClick();
    void Option1_KeyPress(int& keyAscii);
    void Option2_DblClick();
    void Option2_KeyPress(int& keyAscii);
    void Command2_Click();

    sys::ChangeRes* myResolution = nullptr;

    QGroupBox* Frame1 = nullptr;
    ui::OptionButton* Option1 = nullptr;   // "1024 x 768"
    ui::OptionButton* Option2 = nullptr;   // "800 x 600"
    ui::CommandButton* Command2 = nullptr; // "&Cancel"

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    // `choice`: 0 for Option1, 1 for Option2.
    void chooseByDoubleClick(int choice);
    void chooseByEnter(int choice);
    void changeResolution(int choice);
};
