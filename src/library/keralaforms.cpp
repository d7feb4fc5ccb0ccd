#include "keralaforms.h"

#include "LibrarySteps.h"
#include "frmkerala.h"

#include "lawdb/MyMOD.h"
#include "platform/db/Error.h"
#include "platform/ui/controls/Control.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/documents/OleView.h"
#include "platform/ui/forms/Readable.h"
#include "platform/ui/documents/RemoteData.h"
#include "platform/ui/controls/Timer.h"
#include "platform/ui/forms/Twips.h"
#include "platform/vb/Vb.h"
#include "shell/ShellState.h"

#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr long kBlue = ui::RGB(38, 112, 166);

void invalidValue()
{
    throw ado::Error(380, QStringLiteral("Invalid property value"), QStringLiteral("Lumora"));
}

// The open action failed: at once, or once the desktop had looked for the document's application.
void reportOpenFailure(const QString& why)
{
    ui::MsgBox(QStringLiteral("Exception Display Data \n") + why, ui::vbExclamation, QStringLiteral("IN_DEBUG"));
}

} // namespace

keralaforms::keralaforms() : ui::Form(QStringLiteral("keralaforms"))
{
    setCaption(QStringLiteral("Display  Window"));
    setAutoFillBackground(true);
    ui::setPaletteColor(*this, kBlue, {QPalette::Window});

    MSRDC1 = new ui::RemoteData(QStringLiteral("MSRDC1"), this);

    OLE1 = new ui::OleView(QStringLiteral("OLE1"), this);
    OLE1->setDataSource(MSRDC1);
    ui::moveTwips(OLE1, 0, 270, 10245, 7000);
    connect(OLE1, &ui::OleView::Click, this, &keralaforms::OLE1_Click);
    connect(OLE1, &ui::OleView::OpenFailed, this, &reportOpenFailure);

    Label1 = new QLabel(QStringLiteral("Double Click on the Displayed view to fully view the data."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(ui::readablePoints(9.75));
    f.setBold(true);
    Label1->setFont(f);
    Label1->setStyleSheet(QStringLiteral("color: white; background: rgb(38, 112, 166);"));
    ui::moveTwips(Label1, 2700, 15, 6600, 240);
    ui::widenToText(Label1);

    Picture4 = new QLabel(this);
    Picture4->setObjectName(QStringLiteral("Picture4"));
    Picture4->setToolTip(QStringLiteral("Back"));
    Picture4->setPixmap(style()->standardIcon(QStyle::SP_ArrowBack).pixmap(16, 16));
    Picture4->setAlignment(Qt::AlignCenter);
    Picture4->setCursor(Qt::PointingHandCursor);
    Picture4->installEventFilter(this);
    ui::moveTwips(Picture4, 9885, 0, 360, 270);

    // The window's cancel button: out of sight, so Escape closes the window.
    cmdCancelNonVisible = new QPushButton(this);
    cmdCancelNonVisible->setObjectName(QStringLiteral("cmdCancelNonVisible"));
    cmdCancelNonVisible->setShortcut(QKeySequence(Qt::Key_Escape));
    cmdCancelNonVisible->setFocusPolicy(Qt::NoFocus);
    cmdCancelNonVisible->setFlat(true);
    ui::moveTwips(cmdCancelNonVisible, 0, 0, 15, 135);
    connect(cmdCancelNonVisible, &QPushButton::clicked, this, &keralaforms::closeWindow);

    Timer1 = new ui::Timer(QStringLiteral("Timer1"), this, 100, true);
    Timer2 = new ui::Timer(QStringLiteral("Timer2"), this, 100, false);
    connect(Timer1, &ui::Timer::Tick, this, &keralaforms::Timer1_Timer);
    connect(Timer2, &ui::Timer::Tick, this, &keralaforms::Timer2_Timer);

    setWidth(12000);
    setHeight(9000);
}

void keralaforms::bindAndShow(QWidget* owner, const QString& sql, const QString& connectString,
                              bool checkPlaceholder)
{
    if (!checkPlaceholder || !lawdb::IsQueryReturnsNullCnStr(sql, connectString)) {
        MSRDC1->setConnect(connectString);
        MSRDC1->setSQL(sql);
    }
    MSRDC1->Refresh();
    OLE1->setDataField(QStringLiteral("fname"));
    Show(ui::vbModeless, owner);
}

void keralaforms::Form_Load()
{
    setWindowState(ui::vbMaximized);
    OLE1->Refresh();
    OLE1->setDataChanged(false);
    procLayoutDocument();
}

void keralaforms::Form_Resize()
{
    procLayoutDocument();
}

void keralaforms::procLayoutDocument()
{
    if (!OLE1)
        return;
    setUpdatesEnabled(false);
    vb::skip([this] { ui::setTopTwips(Label1, 15); });
    vb::skip([this] { ui::setTopTwips(OLE1, 270); });
    vb::skip([this] {
        qint16 left = library::toInteger((ScaleWidth() - ui::widthTwips(OLE1)) / 2.0);
        if (left < 0)
            left = 0;
        ui::setLeftTwips(OLE1, left);
    });
    vb::skip([this] {
        const int height = ScaleHeight() - 540;
        if (height < 0)
            invalidValue();
        ui::setHeightTwips(OLE1, height);
    });
    vb::skip([this] { ui::setTopTwips(Picture4, 0); });
    vb::skip([this] {
        ui::setLeftTwips(Picture4, ui::leftTwips(OLE1) + ui::widthTwips(OLE1) - ui::widthTwips(Picture4));
    });
    setUpdatesEnabled(true);
}

void keralaforms::OLE1_Click()
{
    try {
        OLE1->Refresh();
        // Nothing done in the document's application comes back through the binding.
        OLE1->setDataChanged(false);
        OLE1->DoVerb(ui::vbOLEOpen);
    } catch (const ado::Error& e) {
        reportOpenFailure(e.Description());
    } catch (const std::exception& e) {
        reportOpenFailure(QString::fromLocal8Bit(e.what()));
    }
}

void keralaforms::Timer1_Timer()
{
    ui::setLeftTwips(Label1, ui::leftTwips(Label1) + 100);
    if (ui::leftTwips(Label1) >= Width() - ui::widthTwips(Label1)) {
        Timer1->setEnabled(false);
        Timer2->setEnabled(true);
    }
}

void keralaforms::Timer2_Timer()
{
    OLE1->setUpdatesEnabled(false);
    ui::setLeftTwips(Label1, ui::leftTwips(Label1) - 100);
    if (ui::leftTwips(Label1) <= 0) {
        Timer1->setEnabled(true);
        Timer2->setEnabled(false);
    }
    OLE1->setUpdatesEnabled(true);
}

bool keralaforms::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Picture4 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Picture4_Click();
        return true;
    }
    return ui::Form::eventFilter(watched, event);
}

void keralaforms::keyPressEvent(QKeyEvent* event)
{
    // Escape presses the cancel button even where the shortcut does not reach it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdCancelNonVisible->click();
        return;
    }
    ui::Form::keyPressEvent(event);
}

void keralaforms::Form_QueryUnload(int& cancel, int unloadMode)
{
    // The close box never unloads the window: it closes it as the Back picture does.
    if (unloadMode == ui::vbFormControlMenu) {
        cancel = 1;
        closeWindow();
    }
}

// The window the document was opened from (a search screen, or the library window for its
// list) takes the keys back, as from a dialog. The library window comes up beneath its screen
// without taking the activation: shown the ordinary way, whether it or the screen ended active
// hung on the window manager's timing.
void keralaforms::closeWindow()
{
    QPointer<ui::Form> opener = qobject_cast<ui::Form*>(parentWidget());
    Hide();
    if (shell::state().CurrentStateCode == 14) {
        frmkerala& library = ui::form<frmkerala>();
        library.showWithoutActivating();
        if (!opener || !opener->isVisible())
            opener = &library;
    }
    if (opener && opener->isVisible())
        opener->activate();
}
