// The screen-resolution window. The two sizes it offers are the only ones it ever asks the
// changer for; a change that fails is reported once and the program goes on.
#include "frmResolution.h"

#include "library/frmkerala.h"
#include "platform/sys/ChangeRes.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/forms/Keys.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/controls/OptionButton.h"
#include "platform/ui/forms/Screen.h"
#include "platform/ui/forms/Twips.h"

#include <QGroupBox>

namespace {

constexpr long kFocusBack = 9720116;    // red 52, green 81, blue 148
constexpr long kBack = 10907686;        // red 38, green 112, blue 166
constexpr long kText = 0xFFFFFF;

struct Choice {
    const char* name;
    const char* caption;
    int width;
    int height;
    int top;   // in the frame
};

// The options, in the window's order; a resolution not listed here is never requested.
constexpr Choice kChoices[] = {
    {"Option1", "1024 x 768", 1024, 768, 360},
    {"Option2", "800 x 600", 800, 600, 960},
};

QFont boldFont(double points)
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(points);
    f.setBold(true);
    return f;
}

void showFocused(ui::OptionButton* option)
{
    option->setBackColor(kFocusBack);
    option->setToolTip(QStringLiteral("Press ENTER Key Or DOUBLE Click "));
}

} // namespace

frmResolution::frmResolution() : ui::Form(QStringLiteral("frmResolution"))
{
    setCaption(QStringLiteral("                   Screen Resolution"));
    setAutoFillBackground(true);
    ui::setPaletteColor(*this, kBack, {QPalette::Window});
    ui::setPaletteColor(*this, kText, {QPalette::WindowText});

    Frame1 = new QGroupBox(QStringLiteral("Select Your Option"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFont(boldFont(9.75));
    ui::moveTwips(Frame1, 240, 120, 4200, 1680);

    ui::OptionButton** targets[] = {&Option1, &Option2};
    for (int i = 0; i < 2; ++i) {
        const Choice& c = kChoices[i];
        auto* o = new ui::OptionButton(QString::fromLatin1(c.name), QString::fromLatin1(c.caption), Frame1);
        o->Move(480, c.top, 3240, 495);
        o->setFont(boldFont(12));
        o->setBackColor(kBack);
        o->setForeColor(kText);
        o->setToolTip(QStringLiteral(" Press  ENTER key or DOUBLE  click"));
        connect(o, &ui::OptionButton::GotFocus, this, [o] { showFocused(o); });
        connect(o, &ui::OptionButton::LostFocus, this, [o] { o->setBackColor(kBack); });
        *targets[i] = o;
    }
    connect(Option1, &ui::OptionButton::DblClick, this, &frmResolution::Option1_DblClick);
    connect(Option1, &ui::OptionButton::KeyPress, this, &frmResolution::Option1_KeyPress);
    connect(Option2, &ui::OptionButton::DblClick, this, &frmResolution::Option2_DblClick);
    connect(Option2, &ui::OptionButton::KeyPress, this, &frmResolution::Option2_KeyPress);

    Command2 = new ui::CommandButton(QStringLiteral("Command2"), QStringLiteral("&Cancel"), this);
    Command2->Move(3240, 1980, 1200, 375);
    connect(Command2, &ui::CommandButton::Click, this, &frmResolution::Command2_Click);

    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Command2);
    setWidth(4800);
    setHeight(2820);
}

void frmResolution::Form_Load()
{
    myResolution = &sys::changeRes();
    // Whole pixels: the twips are whole numbers, the division drops the remainder.
    const int width = ui::Screen::Width() / ui::Screen::TwipsPerPixelX();
    const int height = ui::Screen::Height() / ui::Screen::TwipsPerPixelY();
    if (width == 1024 && height == 768)
        Option1->setValue(true);
    else if (width == 800 && height == 600)
        Option2->setValue(true);
    // The keyboard starts on the selected option, so Enter keeps the screen as it is.
    (Option2->Value() ? Option2 : Option1)->setFocus(Qt::OtherFocusReason);
    Move((ui::Screen::Width() - Width()) / 2, (ui::Screen::Height() - Height()) / 2);
}

void frmResolution::Form_Activate()
{
    // The first focus comes with the window's activation, which raises no GotFocus.
    if (auto* o = qobject_cast<ui::OptionButton*>(focusWidget()))
        showFocused(o);
}

void frmResolution::Option1_DblClick() { chooseByDoubleClick(0); }
void frmResolution::Option2_DblClick() { chooseByDoubleClick(1); }

void frmResolution::Option1_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn)
        chooseByEnter(0);
}

void frmResolution::Option2_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn)
        chooseByEnter(1);
}

void frmResolution::Command2_Click() { Unload(); }

void frmResolution::chooseByDoubleClick(int choice)
{
    Unload();
    changeResolution(choice);
}

// The library window is made afresh, so that it lays itself out on the new screen.
void frmResolution::chooseByEnter(int choice)
{
    Unload();
    if (ui::formLoaded<frmkerala>())
        ui::form<frmkerala>().Unload();
    changeResolution(choice);
    ui::form<frmkerala>().Show(ui::vbModeless);
}

void frmResolution::changeResolution(int choice)
{
    const Choice& c = kChoices[choice];
    QString problem;
    bool changed = false;
    {
        ui::HourglassGuard hourglass;
        try {
            changed = myResolution->ChangeResolution(c.width, c.height, &problem);
        } catch (const std::exception& e) {
            problem = QString::fromLocal8Bit(e.what());
        }
    }
    if (!changed)
        ui::MsgBox(QStringLiteral("The screen resolution could not be changed to %1: %2.\n"
                                  "The screen keeps its present resolution.")
                       .arg(QString::fromLatin1(c.caption), problem),
                   ui::vbExclamation, QStringLiteral("Screen Resolution"));
}
