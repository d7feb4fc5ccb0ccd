#include "main.h"

#include "ShellState.h"
#include "form10/registers/Module2.h"
#include "form10/registers/frmBackUpRestore.h"
#include "form10/registers/frmDealer.h"
#include "form10/registers/frmNormal.h"
#include "help.h"
#include "library/central.h"
#include "library/frmkerala.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/sys/Clock.h"
#include "platform/sys/Desktop.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/controls/Banner.h"
#include "platform/ui/controls/ImageList.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/forms/StandardPictures.h"
#include "platform/ui/controls/Timer.h"
#include "platform/ui/controls/Toolbar.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/ui/forms/Twips.h"
#include "platform/vb/Vb.h"

#include <QDate>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <cmath>

namespace {

struct StateNode {
    const char* text;
    const char* key;
    const char* parent;   // nullptr: the root
};

// The state tree, in the order the nodes are added.
constexpr StateNode kStateNodes[] = {
    {"Lumora on VAT laws", "One", nullptr},
    {"States", "Two", "One"},
    {"Andhra Pradesh", "And", "Two"},
    {"Arunachal Pradesh", "Aru", "Two"},
    {"Assam", "Ass", "Two"},
    {"Bihar", "Bih", "Two"},
    {"chattisgarh", "Chat", "Two"},
    {"Delhi", "Del", "Two"},
    {"Goa", "Go", "Two"},
    {"Gujarat", "Guj", "Two"},
    {"Haryana", "Hay", "Two"},
    {"Himachal Pradesh", "Hp", "Two"},
    {"Jharkand", "Jha", "Two"},
    {"Jammu and kashmir", "jk", "Two"},
    {"Karnataka", "Kar", "Two"},
    {"Kerala", "Ker", "Two"},
    {"Madya Pradesh", "Mad", "Two"},
    {"Maharashtra", "Mah", "Two"},
    {"Manipur", "Man", "Two"},
    {"Meghalaya", "Meh", "Two"},
    {"Orissa", "Orissa", "Two"},
    {"Pudhucherry", "Pudhu", "Two"},
    {"Punjab", "Punjab", "Two"},
    {"Rajasthan", "Raj", "Two"},
    {"Sikkim", "Sik", "Two"},
    {"TamilNadu", "Tam", "Two"},
    {"Tripura", "Tri", "Two"},
    {"Uttar Pradesh", "Utt", "Two"},
    {"Utharanchal", "Uta", "Two"},
    {"West Bangal", "We", "Two"},
    {"Central Sales Tax", "Centr", "One"},
    {"Global Subject,Citation ", "Glob", "Two"},
};

struct ToolButton {
    const char* caption;
    const char* key;
    const char* toolTip;   // nullptr: none
    QStyle::StandardPixmap icon;
};

constexpr ToolButton kToolButtons[] = {
    {"States", "stat", "double click on statename to get details", QStyle::SP_DirHomeIcon},
    {"Acknowledgement", "ack", "Acknowledgement", QStyle::SP_DialogApplyButton},
    {"Help", "help", "Help", QStyle::SP_DialogHelpButton},
    {"Dealers", "dele", "Dealers", QStyle::SP_FileDialogContentsView},
    {"Notepad", "not", nullptr, QStyle::SP_FileIcon},
    {"Other Products", "op", nullptr, QStyle::SP_FileDialogListView},
    {"BackUp/Restore", "bkp", nullptr, QStyle::SP_DialogSaveButton},
    {"Form 10", "f10", nullptr, QStyle::SP_FileDialogDetailedView},
    {"Exit", "EXI", "Exit ", QStyle::SP_DialogCloseButton},
};

const QString kFailureText = QStringLiteral("This feature is not working");

void showLibrary()
{
    ui::form<frmkerala>().Show(ui::vbModeless);
}

void showBackup()
{
    ui::HourglassGuard hourglass;
    ui::form<frmBackUpRestore>().Show(ui::vbModeless);
}

// A picture box: an icon with a short caption under it.
QWidget* picture(const QString& name, QWidget* parent, const QString& text, QStyle::StandardPixmap icon)
{
    auto* box = new QWidget(parent);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    auto* image = new QLabel(box);
    image->setPixmap(ui::standardPicture(icon, 32).pixmap(32, 32));
    image->setAlignment(Qt::AlignCenter);
    layout->addWidget(image);
    if (!text.isEmpty()) {
        auto* caption = new QLabel(text, box);
        caption->setAlignment(Qt::AlignCenter);
        caption->setWordWrap(true);
        layout->addWidget(caption);
    }
    return box;
}

} // namespace

main::main() : ui::Form(QStringLiteral("main"))
{
    setStyleSheet(QStringLiteral("QFrame#Frame1 { background: #f4f1e6; }"
                                 "QWidget#Picture3 { background: #265f8f; }"
                                 "#Picture2 QLabel, #Picture6 QLabel { color: white; font-weight: bold; }"
                                 "#Picture4 QLabel, #Picture5 QLabel { color: white; }"));

    ImageList1 = new ui::ImageList(QStringLiteral("ImageList1"), this);
    ImageList1->addStandardNodeImages();
    auto* toolImages = new ui::ImageList(QStringLiteral("ImageList2"), this);

    Toolbar2 = new ui::Toolbar(QStringLiteral("Toolbar2"), this);
    Toolbar2->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar2->setImageList(toolImages);
    for (const ToolButton& b : kToolButtons) {
        const int image = toolImages->Add(ui::standardPicture(b.icon, 32), QString::fromLatin1(b.key));
        const bool dropdown = QString::fromLatin1(b.key) == QLatin1String("ack");
        ui::Button* button = Toolbar2->addButton(QString::fromLatin1(b.key), QString::fromLatin1(b.caption),
                                                 dropdown ? ui::tbrDropdown : ui::tbrDefault, image);
        if (b.toolTip)
            button->setToolTipText(QString::fromLatin1(b.toolTip));
        if (dropdown) {
            button->addButtonMenu(QStringLiteral("CP"), QStringLiteral("Cash Payment"));
            button->addButtonMenu(QStringLiteral("BP"), QStringLiteral("Bank Payment"));
        }
    }
    connect(Toolbar2, &ui::Toolbar::ButtonClick, this, [this](ui::Button* b) { Toolbar2_ButtonClick(b->Key()); });
    // The menu entries "Cash Payment" and "Bank Payment" have no handler.

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ui::moveTwips(Frame1, 0, 1000, 15000, 8400);

    Tvw = new ui::TreeView(QStringLiteral("Tvw"), Frame1);
    Tvw->setImageList(ImageList1);
    ui::moveTwips(Tvw, 0, 0, 2570, 8400);
    // A narrow column: small indents and a horizontal scroll rather than cut-off names (in
    // the system font, like every text).
    Tvw->setIndentation(10);
    Tvw->setIconSize(QSize(14, 14));
    Tvw->setTextElideMode(Qt::ElideNone);
    Tvw->header()->setStretchLastSection(false);
    Tvw->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(Tvw, &ui::TreeView::Click, this, &main::Tvw_Click);
    connect(Tvw, &ui::TreeView::DblClick, this, &main::Tvw_DblClick);

    Picture3 = new QWidget(Frame1);
    Picture3->setAttribute(Qt::WA_StyledBackground);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    ui::moveTwips(Picture3, 2590, 6600, 12410, 1800);

    ShockwaveFlash1 = new ui::Banner(QStringLiteral("ShockwaveFlash1"), Frame1);
    ShockwaveFlash1->setAlignment(Qt::AlignCenter);
    ui::moveTwips(ShockwaveFlash1, 2590, 0, 12410, 6600);

    Picture4 = picture(QStringLiteral("Picture4"), Picture3, QString(), QStyle::SP_FileDialogInfoView);
    ui::moveTwips(Picture4, 240, 150, 3000, 1500);
    Picture5 = picture(QStringLiteral("Picture5"), Picture3, QString(), QStyle::SP_FileDialogContentsView);
    ui::moveTwips(Picture5, 3300, 150, 3000, 1500);
    Picture2 = picture(QStringLiteral("Picture2"), Picture3, QStringLiteral("BackUp / Restore"),
                       QStyle::SP_DialogSaveButton);
    ui::moveTwips(Picture2, 6360, 150, 2900, 1500);
    Picture2->installEventFilter(this);
    Picture6 = picture(QStringLiteral("Picture6"), Picture3, QStringLiteral("Shut Down"),
                       QStyle::SP_BrowserStop);
    ui::moveTwips(Picture6, 9320, 150, 2900, 1500);
    Picture6->installEventFilter(this);

    Timer1 = new ui::Timer(QStringLiteral("Timer1"), this, 1000, true);

    setWidth(15120);
    setHeight(11000);
}

bool main::eventFilter(QObject* watched, QEvent* event)
{
    // The hand pointer of the two clickable pictures is made when the pointer first comes over
    // one: making a pointer shape reads the desktop's pointer theme, which the window's first
    // showing need not wait for.
    if (event->type() == QEvent::Enter && (watched == Picture2 || watched == Picture6)) {
        auto* picture = static_cast<QWidget*>(watched);
        if (!picture->testAttribute(Qt::WA_SetCursor))
            picture->setCursor(Qt::PointingHandCursor);
    }
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Picture2) {
            Picture2_Click();
            return true;
        }
        if (watched == Picture6) {
            Picture6_Click();
            return true;
        }
    }
    return ui::Form::eventFilter(watched, event);
}

void main::Form_Load()
{
    for (const StateNode& n : kStateNodes) {
        const QString relative = n.parent ? QString::fromLatin1(n.parent) : QString();
        const int selectedImage = n.parent ? 2 : 0;
        Tvw->Nodes().Add(relative, n.parent ? ui::tvwChild : ui::tvwLast, QString::fromLatin1(n.key),
                         QString::fromLatin1(n.text), 1, selectedImage);
        if (QString::fromLatin1(n.key) == QLatin1String("Two"))
            Tvw->setToolTipText(QStringLiteral("choose state and double click on each state to get details"));
    }
    Tvw->Nodes(1)->setExpanded(true);
    Tvw->Nodes(2)->setExpanded(true);
    Tvw->Refresh();
    Tvw->setVisible(false);

    setCaption(QStringLiteral("Lumora on VAT Laws DEMO  [") + sys::today().toString(QStringLiteral("MM-dd-yyyy"))
               + QStringLiteral("] "));
    ShockwaveFlash1->setMovieFile(sys::programPath(QStringLiteral("test.swf")));
    if (!ShockwaveFlash1->isPlaying()) {
        // Without a movie the banner carries the program's title.
        ShockwaveFlash1->setTextFormat(Qt::RichText);
        ShockwaveFlash1->setText(QStringLiteral(
            "<div style='color:#265f8f'><p style='font-size:26pt; font-weight:bold'>Lumora on VAT Laws</p>"
            "<p style='font-size:13pt'>Kerala VAT law library &nbsp;&middot;&nbsp; Form 10 monthly returns</p>"
            "<p style='font-size:10pt; color:#555'>Click a state in the tree to open the law library.</p></div>"));
    }
}

void main::Form_Activate()
{
    Tvw->setVisible(true);
}

void main::Form_Resize()
{
    if (!Frame1)
        return;
    setUpdatesEnabled(false);
    vb::skip([this] {
        ui::setLeftTwips(Frame1, 0);
        // Rounded to the nearest twip, a half to the even neighbour.
        const double centred = std::nearbyint((ScaleHeight() - ui::heightTwips(Frame1)) / 2.0);
        ui::setTopTwips(Frame1, centred < 0 ? 0 : static_cast<int>(centred));
    });
    vb::skip([this] { ui::setLeftTwips(ShockwaveFlash1, 2590); });
    vb::skip([this] {
        const int width = ui::widthTwips(Frame1) - ui::leftTwips(ShockwaveFlash1);
        if (width < 0)
            throw ado::Error(380, QStringLiteral("Invalid property value"), QStringLiteral("Lumora"));
        ui::setWidthTwips(ShockwaveFlash1, width);
    });
    vb::skip([this] { ui::setTopTwips(ShockwaveFlash1, 0); });
    vb::skip([this] { ui::setHeightTwips(ShockwaveFlash1, ui::topTwips(Picture3)); });
    setUpdatesEnabled(true);
}

void main::Tvw_Click()
{
    if (!Tvw->SelectedItem())
        return;
    shell::state().CurrentStateCode = 14;
    Hide();
    try {
        showLibrary();
    } catch (const std::exception&) {
        // Until the library window exists the main window comes back with the failure.
        Show();
        ui::MsgBox(kFailureText, ui::vbInformation, QStringLiteral("Lumora"));
    }
}

void main::Toolbar2_ButtonClick(const QString& key)
{
    try {
        if (key == QLatin1String("not")) {
            if (!sys::desktop().startProgram(QStringLiteral("Notepad")))
                throw ado::Error(53, QStringLiteral("File not found"), QStringLiteral("Lumora"));
        } else if (key == QLatin1String("op")) {
            ui::form<help>().SHOW_DOCUMENT(7);
        } else if (key == QLatin1String("stat")) {
            Tvw->setVisible(true);
        } else if (key == QLatin1String("ack")) {
            ui::form<help>().SHOW_DOCUMENT(3);
        } else if (key == QLatin1String("help")) {
            ui::form<help>().SHOW_DOCUMENT(1);
        } else if (key == QLatin1String("dele")) {
            ui::form<help>().SHOW_DOCUMENT(5);
        } else if (key == QLatin1String("bkp")) {
            showBackup();
        } else if (key == QLatin1String("f10")) {
            frmDealer::openForm10Tool(this);
        } else if (key == QLatin1String("EXI")) {
            exitProgram(true);
        } else if (key == QLatin1String("Centr")) {
            ui::form<central>().Show(ui::vbModeless);
        }
    } catch (const std::exception&) {
        ui::MsgBox(kFailureText, ui::vbInformation, QStringLiteral("Lumora"));
    }
}

void main::Picture2_Click()
{
    try {
        showBackup();
    } catch (const std::exception&) {
        ui::MsgBox(kFailureText, ui::vbInformation, QStringLiteral("Lumora"));
    }
}

void main::Picture6_Click()
{
    if (ui::MsgBox(QStringLiteral("Are  you Sure?"), ui::vbYesNo, QStringLiteral("Exit Windows")) == ui::vbYes) {
        if (!frmNormal::fnConfirmDiscardIfOpen(QStringLiteral("shut the computer down")))
            return;
        bool accepted = false;
        {
            ui::HourglassGuard hourglass;
            accepted = sys::desktop().shutDown();
        }
        if (!accepted)
            ui::MsgBox(QStringLiteral("The system refused to shut down."), ui::vbExclamation,
                       QStringLiteral(" Sorry....."));
    } else {
        ui::MsgBox(QStringLiteral("You  Cancelled  Shut Down"), ui::vbExclamation, QStringLiteral(" Sorry....."));
    }
}

void main::writeFrmFlg(int value)
{
    const auto cn = openForm10Connection();
    auto rs = ado::newRecordset();
    rs->Open(QStringLiteral("SELECT * FROM tblMPage2"), cn, ado::adOpenKeyset, ado::adLockOptimistic);
    // Only an existing row takes the flag; an empty table is a failure, not a new row.
    if (rs->Eof())
        throw ado::Error(ado::err::NoCurrentRecord,
                         QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."),
                         QStringLiteral("ADODB.Field"));
    rs->Fields(QStringLiteral("FrmFlg")) = ado::Variant(static_cast<int>(static_cast<qint16>(value)));
    rs->Update();
    rs->Close();
}

void main::procFrmFlgSet(int value)
{
    writeFrmFlg(value);
    Unload();
}

void main::procFrmFlgSetZero() { procFrmFlgSet(0); }
void main::procFrmFlgSetOne() { procFrmFlgSet(1); }

void main::procConnectDB()
{
    auto& m = Module2();
    m.Form10Connection = openForm10Connection();
    m.ReadRecordset = ado::newRecordset();
}

bool main::exitProgram(bool unloadWindow)
{
    if (exiting_)
        return true;
    // Bills keyed on the register screen and not saved would end with the program. Let go,
    // they go at once: the windows closing as the program ends do not ask again.
    if (!frmNormal::fnConfirmDiscardIfOpen(QStringLiteral("exit Lumora")))
        return false;
    if (ui::formLoaded<frmNormal>())
        ui::form<frmNormal>().Unload();
    exiting_ = true;
    try {
        if (unloadWindow)
            procFrmFlgSetZero();
        else
            writeFrmFlg(0);
    } catch (const std::exception&) {
        ui::MsgBox(kFailureText, ui::vbInformation, QStringLiteral("Lumora"));
        if (unloadWindow)
            vb::skip([this] { Unload(); });
    }
    shell::endProgram(0);
    return true;
}

void main::Form_QueryUnload(int& cancel, int unloadMode)
{
    // Closing the main window by its frame ends the program, as Exit does (and is kept open
    // as Exit is).
    if (unloadMode == ui::vbFormControlMenu && !exitProgram(false))
        cancel = 1;
}
