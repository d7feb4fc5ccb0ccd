// The option screen and the two least windows it hands over to.
#include "form10/registers/frmSelect.h"

#include "form10/registers/Module2.h"
#include "form10/registers/frmNormal.h"
#include "platform/sys/Clock.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/forms/Keys.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/controls/OptionButton.h"
#include "platform/ui/forms/Readable.h"
#include "platform/ui/controls/TextBox.h"
#include "shell/main.h"

#include <QDate>
#include <QFont>
#include <QLabel>
#include <QPalette>

namespace {

constexpr long kBack = ui::RGB(52, 81, 148);
constexpr long kText = ui::RGB(128, 255, 128);
constexpr long kFocusBack = ui::RGB(38, 112, 166);
constexpr long kFocusText = ui::RGB(0, 255, 255);
constexpr long kCancelBack = ui::RGB(70, 162, 172);
constexpr long kCancelFocus = ui::RGB(255, 255, 192);

void paintBackground(QWidget* w, long bgr)
{
    ui::setPaletteColor(*w, bgr, {QPalette::Window});
    w->setAutoFillBackground(true);
}

QFont sansBold(double points)
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(ui::readablePoints(points));
    f.setBold(true);
    return f;
}

} // namespace

frmSelect::frmSelect() : ui::Form(QStringLiteral("frmSelect"))
{
    setCaption(QStringLiteral("                                    SELECT YOUR OPTION"));
    paintBackground(this, kBack);

    struct Option { ui::OptionButton** target; const char* name; const char* caption; int top; int height; };
    const Option options[3] = {
        {&Option1, "Option1", " &Form No. 52", 600, 615},
        {&Option2, "Option2", " &E - Filing", 1440, 615},
        {&Option3, "Option3", " &Direct To Form", 2280, 495},
    };
    for (const Option& o : options) {
        auto* b = new ui::OptionButton(QString::fromLatin1(o.name), QString::fromLatin1(o.caption), this);
        b->Move(1920, o.top, 2895, o.height);
        b->setFont(sansBold(13.5));
        b->setBackColor(kBack);
        b->setForeColor(kText);
        b->setToolTip(QStringLiteral("Select and Press Enter Key"));
        connect(b, &ui::OptionButton::GotFocus, this, [b] {
            b->setBackColor(kFocusBack);
            b->setForeColor(kFocusText);
        });
        connect(b, &ui::OptionButton::LostFocus, this, [b] {
            b->setBackColor(kBack);
            b->setForeColor(kText);
        });
        // Each option is its own Tab stop (an auto-exclusive group would be one stop);
        // choosing one still clears the others.
        b->setAutoExclusive(false);
        *o.target = b;
    }
    for (ui::OptionButton* b : {Option1, Option2, Option3}) {
        connect(b, &QAbstractButton::toggled, this, [this, b](bool on) {
            if (!on)
                return;
            for (ui::OptionButton* other : {Option1, Option2, Option3})
                if (other != b)
                    other->setChecked(false);
        });
    }
    cmdClose = new ui::CommandButton(QStringLiteral("cmdClose"), QStringLiteral("&Cancel"), this);
    cmdClose->Move(3000, 2880, 975, 375);
    cmdClose->setFont(sansBold(8.25));
    cmdClose->setStyle(ui::vbButtonGraphical);
    cmdClose->setBackColor(kCancelBack);

    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Option3);
    setTabOrder(Option3, cmdClose);

    connect(Option1, &ui::OptionButton::DblClick, this, [this] { Option1_DblClick(); });
    connect(Option1, &ui::OptionButton::KeyPress, this, [this](int& k) { Option1_KeyPress(k); });
    connect(Option2, &ui::OptionButton::DblClick, this, [this] { Option2_DblClick(); });
    connect(Option2, &ui::OptionButton::KeyPress, this, [this](int& k) { Option2_KeyPress(k); });
    connect(Option3, &ui::OptionButton::DblClick, this, [this] { Option3_DblClick(); });
    connect(Option3, &ui::OptionButton::KeyPress, this, [this](int& k) { Option3_KeyPress(k); });
    connect(cmdClose, &ui::CommandButton::Click, this, [this] { cmdClose_Click(); });
    connect(cmdClose, &ui::CommandButton::GotFocus, this, [this] { cmdClose->setBackColor(kCancelFocus); });
    connect(cmdClose, &ui::CommandButton::LostFocus, this, [this] { cmdClose->setBackColor(kCancelBack); });
}

void frmSelect::Form_Load()
{
    Move(4000, 2500);
    setHeight(4000);
    setWidth(7000);
}

void frmSelect::Form_Activate()
{
    Option1->setFocus(Qt::OtherFocusReason);
    // While the window is still becoming active the focus is only recorded and arrives
    // without a focus move between controls, so its colours are set here too.
    if (focusWidget() == Option1) {
        Option1->setBackColor(kFocusBack);
        Option1->setForeColor(kFocusText);
    }
}

void frmSelect::openRegisterScreen(bool hideSelf)
{
    bool shown = false;
    {
        ui::HourglassGuard hourglass;
        // The load step reads the month's registers; a database that cannot be read is
        // reported and the half-made screen is dropped.
        shown = runReported(QStringLiteral("Form No. 52"), [] { ui::form<frmNormal>().Show(ui::vbModeless); });
    }
    if (!shown) {
        if (ui::formLoaded<frmNormal>())
            ui::form<frmNormal>().Unload();
        return;
    }
    if (hideSelf)
        Hide();
}

void frmSelect::openEFiling()
{
    ui::HourglassGuard hourglass;
    ui::form<frmEFiling>().Show(ui::vbModeless);
}

void frmSelect::openDirectForm(bool hourglassFirst)
{
    if (hourglassFirst)
        ui::setMousePointer(ui::vbHourglass);
    auto& m = Module2();
    m.DirectFormDealerCode = m.DealerCode;
    m.DirectFormFlag = true;
    frmDirectForm& direct = ui::form<frmDirectForm>();
    direct.txtDealerName->setText(m.DealerName);
    direct.txtTIN->setText(m.DealerTIN);
    direct.txtCST->setText(m.DealerCSTNo);
    direct.txtYear->setText(QString::number(sys::today().year()));
    m.ReturnYear = direct.txtYear->Text();
    ui::HourglassGuard hourglass;
    direct.Show(ui::vbModeless);
}

void frmSelect::Option1_DblClick() { openRegisterScreen(true); }
void frmSelect::Option2_DblClick() { openEFiling(); }
void frmSelect::Option3_DblClick() { openDirectForm(false); }

void frmSelect::Option1_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn)
        openRegisterScreen(false);
}

void frmSelect::Option2_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn)
        openEFiling();
}

void frmSelect::Option3_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn)
        openDirectForm(true);
}

void frmSelect::cmdClose_Click()
{
    leaveForm10Tool();
}

bool frmSelect::leaveForm10Tool()
{
    if (!frmNormal::fnConfirmDiscardIfOpen(QStringLiteral("leave the Form 10 tool")))
        return false;
    if (ui::formLoaded<frmNormal>())
        ui::form<frmNormal>().Unload();
    // The main window comes back; this screen goes last, as it may be running this handler
    // (the form base destroys it later, from the event loop).
    ui::form<main>().Show(ui::vbModeless);
    if (ui::formLoaded<frmSelect>())
        ui::form<frmSelect>().Unload();
    return true;
}

frmEFiling::frmEFiling() : ui::Form(QStringLiteral("frmEFiling"))
{
    setCaption(QStringLiteral("E - Filing"));
    Move(4000, 2500, 6000, 3000);
}

frmDirectForm::frmDirectForm() : ui::Form(QStringLiteral("frmDirectForm"))
{
    setCaption(QStringLiteral("Direct To Form"));
    Move(4000, 2500, 6000, 3600);
    struct Field { ui::TextBox** target; const char* name; const char* caption; int top; };
    const Field fields[4] = {
        {&txtDealerName, "txtDealerName", "Dealer", 360},
        {&txtTIN, "txtTIN", "TIN", 960},
        {&txtCST, "txtCST", "CST No", 1560},
        {&txtYear, "txtYear", "Year", 2160},
    };
    for (const Field& f : fields) {
        auto* l = new QLabel(QString::fromLatin1(f.caption), this);
        ui::moveTwips(l, 240, f.top, 1400, 330);
        auto* t = new ui::TextBox(QString::fromLatin1(f.name), this);
        t->Move(1800, f.top, 3600, 330);
        *f.target = t;
    }
}
