#include "RichTextWindows.h"

#include "lawdb/LawDb.h"
#include "main.h"
#include "platform/db/Error.h"
#include "platform/ui/controls/Control.h"
#include "platform/ui/documents/RichTextBox.h"
#include "platform/ui/forms/Twips.h"
#include "platform/vb/Vb.h"

#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QTextBrowser>
#include <cmath>
#include <limits>

namespace {

constexpr long kLightYellow = ui::RGB(255, 255, 192);
constexpr long kBlue = ui::RGB(38, 112, 166);

QLabel* pictureButton(QWidget* parent, const QString& name, const QString& tip, QStyle::StandardPixmap icon)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setToolTip(tip);
    label->setPixmap(parent->style()->standardIcon(icon).pixmap(24, 24));
    label->setAlignment(Qt::AlignCenter);
    label->setCursor(Qt::PointingHandCursor);
    ui::moveTwips(label, 0, 0, 480, 480);
    return label;
}

void paint(QWidget* w, long bgr)
{
    w->setAutoFillBackground(true);
    ui::setPaletteColor(*w, bgr, {QPalette::Window});
}

bool isLeftRelease(QEvent* event)
{
    return event->type() == QEvent::MouseButtonRelease
           && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
}

} // namespace

RichTextWindow::RichTextWindow(const QString& objectName, const QString& caption, int documentWidth,
                               long backColor, CloseAction closeAction, PrintAction printAction)
    : ui::Form(objectName), documentWidth_(documentWidth), closeAction_(closeAction), printAction_(printAction)
{
    setCaption(caption);
    paint(this, backColor);
    RichTextBox1 = new ui::RichTextBox(QStringLiteral("RichTextBox1"), this);
    ui::moveTwips(RichTextBox1, 0, 540, documentWidth_, 6000);
    Picture1 = pictureButton(this, QStringLiteral("Picture1"), QStringLiteral("Print"), QStyle::SP_DialogSaveButton);
    Picture4 = pictureButton(this, QStringLiteral("Picture4"), QStringLiteral("Back"), QStyle::SP_ArrowBack);
    Picture1->installEventFilter(this);
    Picture4->installEventFilter(this);
    setWidth(12600);
    setHeight(9000);
}

void RichTextWindow::Form_Resize()
{
    procLayout();
}

void RichTextWindow::procLayout()
{
    if (!RichTextBox1)
        return;
    setUpdatesEnabled(false);
    vb::skip([this] { ui::setTopTwips(RichTextBox1, 540); });
    vb::skip([this] {
        const int height = ScaleHeight() - ui::topTwips(RichTextBox1);
        if (height < 0)
            throw ado::Error(380, QStringLiteral("Invalid property value"), QStringLiteral("Lumora"));
        ui::setHeightTwips(RichTextBox1, height);
    });
    vb::skip([this] {
        const double left = std::nearbyint((ScaleWidth() - ui::widthTwips(RichTextBox1)) / 2.0);
        if (left > std::numeric_limits<qint16>::max())
            ado::raiseOverflow();
        ui::setLeftTwips(RichTextBox1, left < 0 ? 0 : static_cast<int>(left));
    });
    vb::skip([this] {
        ui::setLeftTwips(Picture1, ui::leftTwips(RichTextBox1));
        ui::setTopTwips(Picture1, 0);
    });
    vb::skip([this] {
        int left = ui::leftTwips(RichTextBox1) + ui::widthTwips(RichTextBox1) - ui::widthTwips(Picture4);
        if (left > ScaleWidth())
            left = ScaleWidth() - ui::widthTwips(Picture4);
        ui::setLeftTwips(Picture4, left);
        ui::setTopTwips(Picture4, 0);
    });
    setUpdatesEnabled(true);
}

void RichTextWindow::Picture1_Click()
{
    if (printAction_ == PrintAction::WhenFileExists) {
        const QString file = RichTextBox1->FileName();
        if (file.isEmpty() || !lawdb::fnFileSystem()->FileExists(file))
            return;
    }
    vb::skip([this] { RichTextBox1->SelPrint(); });
}

void RichTextWindow::Picture4_Click()
{
    Hide();
    if (closeAction_ == CloseAction::HideAndShowMain)
        ui::form<main>().Show();
}

bool RichTextWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (isLeftRelease(event)) {
        if (watched == Picture1) {
            Picture1_Click();
            return true;
        }
        if (watched == Picture4) {
            Picture4_Click();
            return true;
        }
    }
    return ui::Form::eventFilter(watched, event);
}

bool RichTextWindow::loadFromMediaRoot(const QString& relative)
{
    return vb::skip([&] { RichTextBox1->LoadFile(lawdb::state().MediaRoot + relative); });
}

ack::ack()
    : RichTextWindow(QStringLiteral("ack"), QStringLiteral("Acknowledgement"), 11415, kLightYellow,
                     CloseAction::HideAndShowMain, PrintAction::WhenFileExists)
{
}

void ack::Form_Load()
{
    vb::skip([this] { setWindowState(ui::vbMaximized); });
    loadFromMediaRoot(QStringLiteral("Lumora1\\ack.rtf"));
}

Dealers::Dealers()
    : RichTextWindow(QStringLiteral("Dealers"), QStringLiteral("Dealers"), 11655, kLightYellow,
                     CloseAction::HideAndShowMain, PrintAction::WhenFileExists)
{
}

void Dealers::Form_Load()
{
    vb::skip([this] { setWindowState(ui::vbMaximized); });
    if (!loadFromMediaRoot(QStringLiteral("Lumora1\\dealers\\dealers.rtf")))
        Hide();
}

frmca::frmca()
    : RichTextWindow(QStringLiteral("frmca"), QString(), 11505, kBlue, CloseAction::HideOnly, PrintAction::Always)
{
}

void frmca::Form_Load()
{
    vb::skip([this] { setWindowState(ui::vbMaximized); });
    if (!loadFromMediaRoot(QStringLiteral("Lumora1\\ca tools.rtf")))
        Hide();
}

formsform::formsform() : ui::Form(QStringLiteral("formsform"))
{
    setCaption(QStringLiteral("Form1"));
    WebBrowser1 = new QTextBrowser(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    ui::moveTwips(WebBrowser1, 0, 0, 9000, 6000);
}

frmalied::frmalied() : ui::Form(QStringLiteral("frmalied"))
{
    setCaption(QStringLiteral("Tam ALieds"));
    WebBrowser1 = new QTextBrowser(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    ui::moveTwips(WebBrowser1, 0, 540, 9000, 6000);
    Picture1 = pictureButton(this, QStringLiteral("Picture1"), QStringLiteral("Print"), QStyle::SP_DialogSaveButton);
    Picture4 = pictureButton(this, QStringLiteral("Picture4"), QStringLiteral("Back"), QStyle::SP_ArrowBack);
    ui::setLeftTwips(Picture4, 8520);
    Picture4->installEventFilter(this);
}

bool frmalied::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Picture4 && isLeftRelease(event)) {
        Hide();
        return true;
    }
    return ui::Form::eventFilter(watched, event);
}
