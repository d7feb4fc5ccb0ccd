// The Central Sales Tax window. Its documents are files of the program folder (central\),
// read when the window is made; the tree of states is built at load.
#include "central.h"

#include "CategoryButtons.h"
#include "frmkerala.h"

#include "platform/db/Error.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/controls/ImageList.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/documents/OleView.h"
#include "platform/ui/controls/Toolbar.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/ui/forms/Twips.h"
#include "platform/vb/Vb.h"
#include "shell/main.h"

#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

struct Document {
    ui::OleView* central::* view;
    const char* name;
    const char* file;   // in the program folder's central\ folder
};

constexpr Document kDocuments[] = {
    {&central::OLE1, "OLE1", "cst-act-contents.rtf"},
    {&central::OLE2, "OLE2", "cst-forms-contents.rtf"},
    {&central::OLE3, "OLE3", "cst-test.rtf"},
};

// The states, in the order they are added under the root.
constexpr std::pair<const char*, const char*> kStates[] = {
    {"Two", "States"},
    {"COM", "Andhra Pradesh"},
    {"CAT", "Arunachal Pradesh"},
    {"DEP", "Assam"},
    {"DES", "Bihar"},
    {"EMP", "chattisgarh"},
    {"Del", "Delhi"},
    {"Go", "Goa"},
    {"Guj", "Gujarat"},
    {"Hay", "Haryana"},
    {"Hp", "Himachal Pradesh"},
    {"Jha", "Jharkand"},
    {"jk", "Jammu and kashmir"},
    {"Kar", "Karnataka"},
    {"Ker", "Kerala"},
    {"Mad", "Madya Pradesh"},
    {"Mah", "Maharashtra"},
    {"Man", "Manipur"},
    {"Meh", "Meghalaya"},
    {"Orissa", "Orissa"},
    {"Punjab", "Punjab"},
    {"Raj", "Rajasthan"},
    {"Sik", "Sikkim"},
    {"Tam", "TamilNadu"},
    {"Tri", "Tripura"},
    {"Utt", "Uttar Pradesh"},
    {"Uta", "Utharanchal"},
    {"We", "West Bangal"},
};

QByteArray readDocument(const char* file)
{
    QFile f(sys::localPath(sys::programPath(QStringLiteral("central\\") + QLatin1String(file))));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

central::central() : ui::Form(QStringLiteral("central"))
{
    setCaption(QStringLiteral("Central sales Act"));
    setMouseTracking(true);

    ImageList1 = new ui::ImageList(QStringLiteral("ImageList1"), this);
    ImageList1->addStandardNodeImages();
    ImageList2 = new ui::ImageList(QStringLiteral("ImageList2"), this);

    Toolbar2 = new ui::Toolbar(QStringLiteral("Toolbar2"), this);
    Toolbar2->setImageList(ImageList2);
    Toolbar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Toolbar2->setFixedHeight(ui::toPixels(720));
    library::addCategoryButtons(*Toolbar2);
    connect(Toolbar2, &ui::Toolbar::ButtonClick, this, [this](ui::Button* b) { Toolbar2_ButtonClick(b->Key()); });
    // The entries "Cash Payment" and "Bank Payment" of the Rules button have no handler.
    auto* bar = new QVBoxLayout(this);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addWidget(Toolbar2);
    bar->addStretch(1);

    Tvw = new ui::TreeView(QStringLiteral("Tvw"), this);
    Tvw->setImageList(ImageList1);
    Tvw->setToolTipText(QStringLiteral("double click on each state to get details"));
    ui::moveTwips(Tvw, 120, 720, 2715, 7455);
    // A narrow column: whole names and a horizontal scroll rather than names cut short.
    Tvw->setIndentation(12);
    Tvw->setTextElideMode(Qt::ElideNone);
    Tvw->header()->setStretchLastSection(false);
    Tvw->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(Tvw, &ui::TreeView::MouseDown, this, [this] { sendToBack(); });
    connect(Tvw, &ui::TreeView::MouseMove, this, [this] {
        ui::setMousePointer(ui::vbDefault);
        sendToBack();
    });
    // A double click on a state, or Enter in the tree, does nothing.

    // The documents lie on top of one another beside the tree. The hint goes below them: the
    // view shows the whole document, which the hint must not cover, and a strip short enough
    // to leave the hint room higher up would show only a document's headings.
    for (const Document& d : kDocuments) {
        auto* view = new ui::OleView(QString::fromLatin1(d.name), this);
        ui::moveTwips(view, 2880, 720, 9975, 7080);
        view->setData(readDocument(d.file));
        this->*d.view = view;
    }
    connect(OLE1, &ui::OleView::Click, this, &central::OLE1_Click);
    connect(OLE2, &ui::OleView::Click, this, &central::OLE2_Click);
    connect(OLE3, &ui::OleView::Click, this, &central::OLE3_Click);
    for (ui::OleView* view : {OLE1, OLE2, OLE3})
        connect(view, &ui::OleView::OpenFailed, this, &central::reportOpenFailure);

    Label3 = new QLabel(QStringLiteral("click on contents ot see details"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont hint = Label3->font();
    hint.setBold(true);
    Label3->setFont(hint);
    Label3->setStyleSheet(QStringLiteral("color: rgb(38, 112, 166);"));
    ui::moveTwips(Label3, 3000, 7860, 4200, 285);

    // A thin bar between the tree and the documents; it only changes the pointer.
    img1 = new QLabel(this);
    img1->setObjectName(QStringLiteral("img1"));
    img1->setStyleSheet(QStringLiteral("background: rgb(190, 200, 212);"));
    img1->setMouseTracking(true);
    img1->installEventFilter(this);
    ui::moveTwips(img1, 2820, 720, 105, 7455);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(style()->standardIcon(QStyle::SP_FileDialogInfoView).pixmap(32, 32));
    ui::moveTwips(Picture1, 120, 8280, 480, 480);

    // Only the window's own surface sends it back: a press or move over a control stays there.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setAttribute(Qt::WA_NoMousePropagation);

    setWidth(13200);
    setHeight(9600);
}

void central::Form_Load()
{
    vb::skip([this] {
        // Where no window manager maximises, the window still takes the whole screen.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            resize(screen->availableGeometry().size());
        setWindowState(ui::vbMaximized);
    });
    OLE1->setVisible(false);
    OLE2->setVisible(false);
    OLE3->setVisible(false);
    Label3->setVisible(false);

    Tvw->Nodes().Add({}, ui::tvwLast, QStringLiteral("One"), QStringLiteral("States"), 1);
    for (const auto& [key, text] : kStates)
        Tvw->Nodes().Add(QStringLiteral("One"), ui::tvwChild, QString::fromLatin1(key), QString::fromLatin1(text), 1, 2);
    Tvw->Nodes(1)->setExpanded(true);
}

void central::showDocument(ui::OleView* document)
{
    for (const Document& d : kDocuments)
        if (this->*d.view != document)
            (this->*d.view)->setVisible(false);
    document->setVisible(true);
    Label3->setVisible(true);
}

void central::Toolbar2_ButtonClick(const QString& key)
{
    if (key == QLatin1String("Act")) {
        showDocument(OLE1);
    } else if (key == QLatin1String("rul")) {
        showDocument(OLE3);
    } else if (key == QLatin1String("forms")) {
        showDocument(OLE2);
    } else if (key == QLatin1String("bac")) {
        Hide();
        ui::form<main>().Show();
    } else if (key == QLatin1String("back")) {
        Unload();
        ui::form<frmkerala>().Show();
    }
    // "print", "dele" and every other key: nothing.
}

// The document opens in the desktop's application for it; when it cannot, at once or once
// the desktop has looked for an application, the user is told rather than left with a click
// that does nothing.
void central::openDocument(ui::OleView* document)
{
    try {
        document->DoVerb(2);
    } catch (const ado::Error& e) {
        reportOpenFailure(e.Description());
    } catch (const std::exception& e) {
        reportOpenFailure(QString::fromLocal8Bit(e.what()));
    }
}

void central::reportOpenFailure(const QString& why)
{
    ui::MsgBox(QStringLiteral("The document could not be opened in its own application (") + why + QStringLiteral(")."),
               ui::vbExclamation, QStringLiteral("Sorry.........!"));
}

void central::OLE1_Click()
{
    OLE1->Refresh();
    openDocument(OLE1);
}

void central::OLE2_Click() { openDocument(OLE2); }
void central::OLE3_Click() { openDocument(OLE3); }

void central::sendToBack()
{
    vb::skip([this] { ZOrder(1); });
}

void central::mousePressEvent(QMouseEvent* event)
{
    ui::Form::mousePressEvent(event);
    sendToBack();
}

void central::mouseMoveEvent(QMouseEvent* event)
{
    ui::Form::mouseMoveEvent(event);
    sendToBack();
}

bool central::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == img1 && event->type() == QEvent::MouseMove) {
        img1->setCursor(Qt::SizeHorCursor);
        return true;
    }
    return ui::Form::eventFilter(watched, event);
}
