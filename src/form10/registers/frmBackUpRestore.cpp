// The backup window: drive list, search for the backup folder, Back Up, Restore, the blinking
// path label.
#include "form10/registers/frmBackUpRestore.h"

#include "form10/registers/BackUpCopies.h"
#include "form10/registers/Module2.h"
#include "platform/db/Error.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/forms/Keys.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/controls/Timer.h"
#include "platform/ui/forms/Twips.h"

#include <QLabel>
#include <QMouseEvent>
#include <QStyle>

namespace {

constexpr long kBack = ui::RGB(157, 79, 124);
constexpr long kButton = ui::RGB(0, 255, 0);
constexpr long kButtonFocus = ui::RGB(255, 255, 0);
constexpr long kLabelText = ui::RGB(255, 255, 255);

const QString kSuccessTitle = QStringLiteral("           Successfully      ");
// Every failure of Back Up and Restore: one title, the critical icon.
const QString kFailureTitle = QStringLiteral("Error");

// The drive box is wider than a drive letter needs: a root here is a path such as
// /media/<user>/<volume>/. One longer still shows its two ends, and whole in its tool tip.
constexpr int kDriveBoxWidth = 5400;

QFont sansSerif(double points)
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(points);
    return f;
}

void showFailure(const QString& text)
{
    ui::MsgBox(text, ui::vbCritical, kFailureTitle);
}

QString programFolderPath()
{
    return sys::localPath(sys::programFolder());
}

} // namespace

frmBackUpRestore::frmBackUpRestore() : ui::Form(QStringLiteral("frmBackUpRestore"))
{
    setCaption(QStringLiteral("    BackUp / Restore"));
    ui::setPaletteColor(*this, kBack, {QPalette::Window});
    setAutoFillBackground(true);

    Label2 = new QLabel(QStringLiteral(" "), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(sansSerif(9.75));
    ui::moveTwips(Label2, 360, 120, 1335, 255);

    cboDrive = new ui::ComboBox(QStringLiteral("cboDrive"), this);
    cboDrive->setFont(sansSerif(12));
    cboDrive->Move(1680, 0, kDriveBoxWidth, ui::toTwips(cboDrive->sizeHint().height()));
    // Disabled, the box shows the fixed backup path: it stays readable.
    QPalette fixed = cboDrive->palette();
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText})
        fixed.setColor(QPalette::Disabled, role, QColor(60, 60, 60));
    cboDrive->setPalette(fixed);

    struct Button { ui::CommandButton** target; const char* name; const char* caption; int left; };
    for (const Button& b : {Button{&Command7, "Command7", "BackUp", 600}, Button{&Command6, "Command6", "Restore", 1680}}) {
        auto* button = new ui::CommandButton(QString::fromLatin1(b.name), QString::fromLatin1(b.caption), this);
        button->Move(b.left, 480, 975, 375);
        button->setStyle(ui::vbButtonGraphical);
        button->setBackColor(kButton);
        connect(button, &ui::CommandButton::GotFocus, this, [this, button] { showFocusColour(button, true); });
        connect(button, &ui::CommandButton::LostFocus, this, [this, button] { showFocusColour(button, false); });
        *b.target = button;
    }

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_DialogCancelButton).pixmap(20, 20));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setToolTip(QStringLiteral("Click to Cancel"));
    Image1->setCursor(Qt::PointingHandCursor);
    ui::moveTwips(Image1, 120, 480, 360, 330);
    Image1->installEventFilter(this);

    Timer1 = new ui::Timer(QStringLiteral("Timer1"), this, 150, true);

    setTabOrder(Command7, Command6);
    setTabOrder(Command6, cboDrive);

    connect(cboDrive, &ui::ComboBox::Click, this, [this] { cboDrive_Click(); });
    connect(cboDrive, &ui::ComboBox::KeyPress, this, [this](int& k) { cboDrive_KeyPress(k); });
    connect(Command7, &ui::CommandButton::Click, this, [this] { Command7_Click(); });
    connect(Command6, &ui::CommandButton::Click, this, [this] { Command6_Click(); });
    connect(Timer1, &ui::Timer::Tick, this, [this] { Timer1_Timer(); });
}

frmBackUpRestore::~frmBackUpRestore() = default;

void frmBackUpRestore::Form_Load()
{
    procCloseForm10DBs();
    Move(8770, 970);
    setWidth(1680 + kDriveBoxWidth + 240);
    setHeight(1020);
    Command7->setFocus(Qt::OtherFocusReason);   // first in the Tab order
}

void frmBackUpRestore::Form_Activate()
{
    procDriveList();
    recoverInterruptedChanges();
    if (cboDrive->ListCount() > 0)
        cboDrive->setListIndex(0);
    FileSystem = std::make_unique<sys::FileSystemObject>();
    {
        ui::HourglassGuard hourglass;
        // Searched afresh each time: a drive taken away since no longer counts.
        const int found = lastDriveWithBackUp(*cboDrive);
        BackUpRoot = found < 0 ? QString() : cboDrive->List(found);
        if (found >= 0) {
            cboDrive->setText(BackUpRoot);   // shown without a Click: the chosen drive stays
            cboDrive->setVisible(true);
            Label2->setVisible(true);
            Label2->setText(QStringLiteral("BackUp  Path "));
            cboDrive->setEnabled(false);
        } else {
            Label2->setText(QStringLiteral("Select  Path"));
            cboDrive->setEnabled(true);
        }
    }
    // The focus a window gets as it becomes active arrives without a focus move between
    // controls; the button that holds it shows so all the same.
    if (auto* button = qobject_cast<ui::CommandButton*>(focusWidget()))
        showFocusColour(button, true);
}

void frmBackUpRestore::recoverInterruptedChanges()
{
    QStringList roots;
    for (int i = 0; i < cboDrive->ListCount(); ++i)
        roots << cboDrive->List(i);
    QString problems;
    {
        ui::HourglassGuard hourglass;
        problems = recoverDataFiles(fileSystem(), programFolderPath(), roots);
    }
    if (!problems.isEmpty())
        showFailure(problems);
}

void frmBackUpRestore::procDriveList()
{
    // Emptied first: each activation lists the drives once.
    cboDrive->Clear();
    for (const QString& root : sys::logicalDrives())
        cboDrive->AddItem(root);
}

int frmBackUpRestore::lastDriveWithBackUp(const ui::ComboBox& drives)
{
    int found = -1;
    for (int i = 0; i < drives.ListCount(); ++i) {
        if (fileSystem().FolderExists(drives.List(i) + kBackUpFolderName))
            found = i;
    }
    return found;
}

QString frmBackUpRestore::fnBackUpExists(ui::ComboBox& drives)
{
    const int found = lastDriveWithBackUp(drives);
    if (found < 0)
        return QStringLiteral("NIL");
    drives.setListIndex(found);
    BackUpRoot = drives.List(found);
    return BackUpRoot;
}

void frmBackUpRestore::cboDrive_Click()
{
    ChosenDrive = cboDrive->Text();
}

void frmBackUpRestore::cboDrive_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn)
        Command7->SetFocus();
}

const sys::FileSystemObject& frmBackUpRestore::fileSystem()
{
    if (!FileSystem)
        FileSystem = std::make_unique<sys::FileSystemObject>();
    return *FileSystem;
}

QString frmBackUpRestore::backUpFolder() const
{
    const QString root = BackUpRoot.isEmpty() ? ChosenDrive : BackUpRoot;
    return root.isEmpty() ? QString() : sys::localPath(root + kBackUpFolderName);
}

void frmBackUpRestore::Command7_Click()
{
    const QString folder = backUpFolder();
    if (folder.isEmpty()) {
        showFailure(QStringLiteral("Choose the drive to back up to."));
        return;
    }
    try {
        ui::HourglassGuard hourglass;
        backUpDataFiles(fileSystem(), programFolderPath(), folder);
    } catch (const ado::Error& e) {
        showFailure(e.Description());
        return;
    }
    ui::MsgBox(QStringLiteral(" File  is Backed Up"), ui::vbInformation, kSuccessTitle);
}

void frmBackUpRestore::Command6_Click()
{
    const QString folder = backUpFolder();
    if (folder.isEmpty() || !fileSystem().FolderExists(folder)) {
        const QString where = folder.isEmpty() ? QStringLiteral("no drive is chosen")
                                               : QStringLiteral("the folder ") + folder + QStringLiteral(" does not exist");
        showFailure(QStringLiteral("No backup was found: ") + where + QStringLiteral(".\nNothing was restored."));
        return;
    }
    QString kept;
    try {
        ui::HourglassGuard hourglass;
        kept = restoreDataFiles(fileSystem(), folder, programFolderPath());
    } catch (const ado::Error& e) {
        showFailure(e.Description());
        return;
    }
    QString text = QStringLiteral("File is   Restored    ");
    if (!kept.isEmpty())
        text += QStringLiteral("\n\nThe data files it replaced are kept in\n") + kept;
    ui::MsgBox(text, ui::vbInformation, kSuccessTitle);
}

void frmBackUpRestore::Image1_Click()
{
    Unload();
}

void frmBackUpRestore::Timer1_Timer()
{
    if (BlinkCount > 2) {
        Label2->setVisible(false);
        BlinkCount = 0;
    } else {
        ui::setPaletteColor(*Label2, kLabelText, {QPalette::WindowText});
        Label2->setVisible(true);
        ++BlinkCount;
    }
}

void frmBackUpRestore::showFocusColour(ui::CommandButton* button, bool focused)
{
    button->setBackColor(focused ? kButtonFocus : kButton);
}

bool frmBackUpRestore::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Image1_Click();
        return true;
    }
    return ui::Form::eventFilter(watched, event);
}
