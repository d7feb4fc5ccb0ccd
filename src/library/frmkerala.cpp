// The library window. Trees, toolbar and screens are built here; which node or key opens
// which screen, and with what settings, is the screen catalogue's business (ScreenCatalog),
// and how a chosen value becomes a document statement is DocumentQueries'.
#include "frmkerala.h"

#include "CategoryButtons.h"
#include "DocumentQueries.h"
#include "LibrarySteps.h"
#include "ScreenCatalog.h"
#include "frmGlobalSections.h"
#include "keralaforms.h"

#include "lawdb/LawDb.h"
#include "lawdb/MyMOD.h"
#include "platform/db/Error.h"
#include "platform/db/StatementText.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/controls/ImageList.h"
#include "platform/ui/controls/StatusBar.h"
#include "platform/ui/controls/Toolbar.h"
#include "platform/ui/forms/Keys.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/forms/Twips.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/vb/Vb.h"
#include "shell/frmLaunch.h"
#include "shell/main.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QVBoxLayout>

using library::GoShape;
using library::GridRunner;
using library::kNotSet;
using library::ScreenSpec;
using library::toInteger;

namespace {

constexpr int kTreeLeft = 1380, kTreeTop = 1080, kTreeWidth = 5445, kTreeHeight = 3735;
const QString kTreeTip = QStringLiteral("double click on each item get details");

} // namespace

struct frmkerala::TreeDef {
    const char* rootKey;
    const char* rootText;
    bool rootSelectedImage;
    std::vector<std::pair<const char*, const char*>> children;
};

qint16 frmkerala::fnRegisterOcx(const QString& path, qint16 mode)
{
    return frmLaunch::fnRegisterOcx(path, mode);
}

frmkerala::frmkerala() : ui::Form(QStringLiteral("frmkerala"))
{
    setCaption(QStringLiteral("Kerala"));
    screens_.resize(library::screenCatalog().size());

    for (int i = 0; i < 3; ++i)
        ImageList1[i] = new ui::ImageList(QStringLiteral("ImageList1"), this);
    ImageList1[1]->addStandardNodeImages();

    buildToolbar();

    Frame1 = new QGroupBox(QStringLiteral("Click on the topic you need"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ui::moveTwips(Frame1, 180, 1740, 8295, 5775);

    buildListPanel();

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(ImageList1[1]->Item(1).pixmap(32, 32));
    ui::moveTwips(Picture1, 14160, 120, 480, 480);

    auto makeTree = [this](const char* name, bool tip) {
        auto* t = new ui::TreeView(QString::fromLatin1(name), Frame1);
        ui::moveTwips(t, kTreeLeft, kTreeTop, kTreeWidth, kTreeHeight);
        if (tip)
            t->setToolTipText(kTreeTip);
        return t;
    };
    Tvw = makeTree("Tvw", true);
    tvw2 = makeTree("tvw2", true);
    tvwc = makeTree("tvwc", false);
    tvwn = makeTree("tvwn", true);
    tvw3 = makeTree("tvw3", true);
    tvwr = makeTree("tvwr", false);
    tvwali = makeTree("tvwali", true);

    connect(Tvw, &ui::TreeView::DblClick, this, &frmkerala::Tvw_DblClick);
    connect(tvw2, &ui::TreeView::DblClick, this, &frmkerala::tvw2_DblClick);
    connect(tvwc, &ui::TreeView::DblClick, this, &frmkerala::tvwc_DblClick);
    connect(tvwn, &ui::TreeView::DblClick, this, &frmkerala::tvwn_DblClick);
    connect(tvw3, &ui::TreeView::DblClick, this, &frmkerala::tvw3_DblClick);
    connect(tvwr, &ui::TreeView::DblClick, this, &frmkerala::tvwr_DblClick);
    connect(tvwali, &ui::TreeView::Click, this, &frmkerala::tvwali_Click);
    connect(Tvw, &ui::TreeView::KeyDown, this, &frmkerala::Tvw_KeyDown);
    connect(Tvw, &ui::TreeView::MouseDown, this, [this] { Tvw_MouseDown(); });
    connect(Tvw, &ui::TreeView::MouseMove, this, [this] { Tvw_MouseMove(); });
}

frmkerala::~frmkerala() = default;

void frmkerala::Form_Load()
{
    vb::skip([] { fnRegisterOcx(sys::programPath(QStringLiteral("crystl32.ocx")), 0); });
    vb::skip([this] {
        // Where no window manager maximises, the window still takes the whole screen.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            resize(screen->availableGeometry().size());
        setWindowState(ui::vbMaximized);
    });
    vb::skip([this] { Frame1->setVisible(false); });
    vb::skip([this] { Frame2->setVisible(false); });

    static const TreeDef defs[] = {
        {"One", "Kerala Value Added  Tax Act", false,
         {{"VAT", "Sectionwise & Subjectwise"}, {"KGST", "Section index KGST"},
          {"GENERAL", "THE KERALA GENERAL SALES TAX ACT"}, {"GST", "Papers & Reports On GST"}}},
        {"Oner", "Kerala Value Added  Tax Rules", false,
         {{"Sectionwise", "Sectionwise, Subjectwise & Rulewise"},
          {"GENERAL", "KERALA GENERAL SALES TAX RULES"}}},
        {"Oner", "Kerala value Added  Tax Circulars", false,
         {{"Twor", "Sectionwise"}, {"cirsub", "Subjectwise"}, {"Gen", "Numberwise"}}},
        {"Oner", "Kerala Value Added  Tax Notifications", false,
         {{"Twon", "Sectionwise"}, {"Notsub", "Subjectwise"}, {"Sec2r", "Numberwise"}}},
        {"Oner", "Kerala Value Added  Tax Judgements", false,
         {{"Twor", "Section wise"}, {"Sec2r", "Subject wise"}, {"Sec1r", "Citation wise"}}},
        {"Oner", "Old and Recent Judgement on Sales Tax Laws", false,
         {{"Twor", "Section wise"}, {"Subr", "Subject wise"}, {"Sec1r", "Citation wise"}}},
        {"One", "Kerala Allied Acts, Rules & Forms", true,
         {{"Sec1al", "Allied Acts"}, {"Sec2al", "Allied Rules"}, {"Sec3al", "Allied Forms"}}},
    };
    ui::TreeView* trees[] = {Tvw, tvw2, tvwc, tvwn, tvw3, tvwr, tvwali};
    for (int i = 0; i < 7; ++i)
        buildTree(trees[i], defs[i]);

    vb::skip([this] { Form_Resize(); });
}

void frmkerala::buildTree(ui::TreeView* tree, const TreeDef& def)
{
    vb::skip([&] { tree->setImageList(ImageList1[1]); });
    const QString root = QString::fromLatin1(def.rootKey);
    vb::skip([&] {
        tree->Nodes().Add({}, ui::tvwLast, root, QString::fromLatin1(def.rootText), 1,
                          def.rootSelectedImage ? 2 : 0);
    });
    for (const auto& [key, text] : def.children)
        vb::skip([&] {
            tree->Nodes().Add(root, ui::tvwChild, QString::fromLatin1(key),
                              QString::fromLatin1(text), 1, 2);
        });
    for (int i = 1; i <= tree->Nodes().Count(); ++i)
        vb::skip([&] { tree->Nodes(i)->setExpanded(true); });
}

void frmkerala::Form_Resize()
{
    setUpdatesEnabled(false);
    vb::skip([this] {
        const qint16 left = toInteger((ScaleWidth() - ui::widthTwips(Frame1)) / 2.0);
        ui::setLeftTwips(Frame1, left < 0 ? 0 : left);
    });
    vb::skip([this] {
        const int top = lawdb::fnLayoutRecord().first[1];
        ui::setTopTwips(Frame1, top < 0 ? 0 : top);
    });
    layoutListPanel();
    setUpdatesEnabled(true);
}

void frmkerala::Form_QueryUnload(int& cancel, int unloadMode)
{
    if (unloadMode != ui::vbFormControlMenu)
        return;
    ui::form<main>().Show();
    Hide();
    cancel = 1;
}

void frmkerala::Form_MouseDown(int button, int shift, int x, int y)
{
    (void)button; (void)shift; (void)x; (void)y;
    vb::skip([this] { ZOrder(1); });
    vb::skip([this] {
        if (QWidget* w = focusWidget())
            w->setFocus(Qt::MouseFocusReason);
    });
}

void frmkerala::Tvw_KeyDown(int& keyCode, int shift)
{
    (void)shift;
    if (keyCode == ui::vbKeyReturn)
        Tvw_DblClick();
}

void frmkerala::Tvw_MouseDown() { ZOrder(1); }

void frmkerala::Tvw_MouseMove()
{
    ui::setMousePointer(ui::vbDefault);
    ZOrder(1);
}

// ---- tree openers -------------------------------------------------------------------------

void frmkerala::runTreeOpener(ui::TreeView* tree, const QString& tag)
{
    lawdb::trapped(tag, [&] {
        ui::Node* node = tree->SelectedItem();
        if (!node)
            throw ado::Error(91, QStringLiteral("Object variable or With block variable not set"),
                             QStringLiteral("Lumora"));
        if (fillListPanel(tree, node->Key()))
            return;
        if (const ScreenSpec* spec = library::screenFor(tree->objectName(), node->Key()))
            openScreen(*spec);
    });
}

void frmkerala::Tvw_DblClick() { runTreeOpener(Tvw, QStringLiteral("Exc on Tvw Act : ")); }
void frmkerala::tvw2_DblClick() { runTreeOpener(tvw2, QStringLiteral("Exc on Tvw2 Act : ")); }
void frmkerala::tvwc_DblClick() { runTreeOpener(tvwc, QStringLiteral("Exc on TvwC CIR : ")); }
void frmkerala::tvwn_DblClick() { runTreeOpener(tvwn, QStringLiteral("Exc on TvwN NOT : ")); }
void frmkerala::tvw3_DblClick() { runTreeOpener(tvw3, QStringLiteral("Exc on Tvw jud : ")); }
void frmkerala::tvwr_DblClick() { runTreeOpener(tvwr, QStringLiteral("Exc on Tvw : ")); }
void frmkerala::tvwali_Click() { runTreeOpener(tvwali, QStringLiteral("Exc on Tvwali : ")); }

frmGlobalSections* frmkerala::screen(const QString& variable) const
{
    const auto& all = library::screenCatalog();
    for (size_t i = 0; i < all.size(); ++i)
        if (variable == QLatin1String(all[i].variable))
            return screens_[i];
    return nullptr;
}

int frmkerala::indexOfScreen(const frmGlobalSections* s) const
{
    for (size_t i = 0; i < screens_.size(); ++i)
        if (screens_[i] == s)
            return static_cast<int>(i);
    return -1;
}

void library::configureScreen(frmGlobalSections& s, const ScreenSpec& spec)
{
    s.setObjectName(QString::fromLatin1(spec.variable));
    s.Load();
    if (spec.dontShowOleForm)
        s.setDontShowOleForm(true);
    ado::RecordsetPtr rs;
    switch (spec.runner) {
    case GridRunner::ByTable:
        rs = lawdb::getRecordSet(spec.gridQuery(), QStringLiteral("Kerala"));
        break;
    case GridRunner::ByConnection1:
        rs = lawdb::getRecordSetByCn(spec.gridQuery(), lawdb::state().LawConnection1);
        break;
    case GridRunner::ByConnection3:
        rs = lawdb::getRecordSetByCn(spec.gridQuery(), lawdb::state().LawConnection3);
        break;
    }
    s.setRecSet(rs);
    s.setHeader(QString::fromUtf8(spec.header));
    s.setAutoSizeColumnIndex(static_cast<qint16>(spec.autoSizeColumnIndex));
    s.setSearchColumnIndex(static_cast<qint16>(spec.searchColumnIndex));
    s.setDetailIndex(static_cast<qint16>(spec.detailIndex));
    if (spec.hiddenIDIndex != kNotSet)
        s.setHiddenIDIndex(spec.hiddenIDIndex);
    s.setConnectionString(spec.connectString == 3 ? lawdb::state().LawConnectString3
                                                  : lawdb::state().LawConnectString1);
    s.setOleTableName(QString::fromLatin1(spec.oleTableName));
    s.setOleColumnName(QString::fromLatin1(spec.oleColumnName));
    s.setPredicateColumnName(QString::fromLatin1(spec.predicateColumnName));
    s.setPredicateValueColumnIndex(static_cast<qint16>(spec.predicateValueColumnIndex));
    s.setAdditionalSearchConditions(QString::fromLatin1(spec.additionalSearchConditions));
    s.LoadGridData();
}

// Creates and configures a screen. On a failure the half-configured screen is thrown away,
// so that the next open tries again, and the failure goes on to the caller's trap.
frmGlobalSections* frmkerala::createScreen(const ScreenSpec& spec)
{
    auto* s = new frmGlobalSections(this);
    try {
        library::configureScreen(*s, spec);
    } catch (...) {
        s->hide();
        s->deleteLater();
        throw;
    }
    if (spec.shape != GoShape::OwnDocument)
        connect(s, &frmGlobalSections::GoClicked, this, &frmkerala::screenGoClicked);
    if (spec.hasBackHandler)
        connect(s, &frmGlobalSections::BackClicked, this, &frmkerala::screenBackClicked);
    return s;
}

void frmkerala::openScreen(const ScreenSpec& spec)
{
    const int index = static_cast<int>(&spec - library::screenCatalog().data());
    if (!screens_[index])
        screens_[index] = createScreen(spec);
    screens_[index]->Show(ui::vbModeless, this);

    const QString variable = QString::fromLatin1(spec.variable);
    if (variable == QLatin1String("ObjActGlobalSections")
        || variable == QLatin1String("ObjRuleGlobalSections"))
        listHintAndResize();
}

// ---- the C A Practice pair ----------------------------------------------------------------

void frmkerala::LOAD_CA_MENU_GRID()
{
    const ScreenSpec* spec = library::findScreen(QStringLiteral("ObjCAMenuItemGlobalSection"));
    const int index = static_cast<int>(spec - library::screenCatalog().data());
    try {
        screens_[index] = createScreen(*spec);
    } catch (const ado::Error& e) {
        ui::MsgBox(ado::detailedText(QStringLiteral("Error on LOAD_CA_MENU_GRID() \r\n"), e));
    }
}

void frmkerala::SHOW_CA_MENU_GRID()
{
    const ScreenSpec* spec = library::findScreen(QStringLiteral("ObjCAMenuItemGlobalSection"));
    const int index = static_cast<int>(spec - library::screenCatalog().data());
    if (!screens_[index])
        LOAD_CA_MENU_GRID();
    // A screen that could not be configured is not kept, so there is nothing to show; the
    // load step has said why.
    if (screens_[index])
        screens_[index]->Show(ui::vbModeless, this);
}

// ---- toolbar --------------------------------------------------------------------------------

void frmkerala::buildToolbar()
{
    Toolbar2 = new ui::Toolbar(QStringLiteral("Toolbar2"), this);
    Toolbar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Toolbar2->setMinimumHeight(ui::toPixels(750));
    library::addCategoryButtons(*Toolbar2);
    connect(Toolbar2, &ui::Toolbar::ButtonClick, this,
            [this](ui::Button* b) { Toolbar2_ButtonClick(b->Key()); });

    StatusBar1 = new ui::StatusBar(QStringLiteral("StatusBar1"), this);
    StatusBar1->setMinimumHeight(ui::toPixels(375));
    StatusBar1->setSizeGripEnabled(false);

    // Toolbar across the top and status bar across the bottom; the frames below are placed
    // in twips by the resize step.
    auto* bars = new QVBoxLayout(this);
    bars->setContentsMargins(0, 0, 0, 0);
    bars->setSpacing(0);
    bars->addWidget(Toolbar2);
    bars->addStretch(1);
    bars->addWidget(StatusBar1);
}

void frmkerala::setStatusText(const QString& text)
{
    StatusBar1->Panels(1)->setText(text);
}

void frmkerala::treeSwitch(ui::TreeView* tree, bool withFocus)
{
    Frame2->setVisible(false);
    Frame1->setVisible(true);
    tree->setVisible(true);
    tree->raise();
    if (withFocus)
        lawdb::fnTrySetFocus(tree);
}

void frmkerala::Toolbar2_ButtonClick(const QString& key)
{
    lawdb::trapped(QStringLiteral("ToolBar2Click : "), [&] {
        currentToolbarKey_ = key;
        if (key == QLatin1String("Act"))
            treeSwitch(Tvw, true);
        else if (key == QLatin1String("rul"))
            treeSwitch(tvw2, true);
        else if (key == QLatin1String("circu"))
            treeSwitch(tvwc, false);
        else if (key == QLatin1String("not"))
            treeSwitch(tvwn, true);
        else if (key == QLatin1String("jud"))
            treeSwitch(tvw3, false);
        else if (key == QLatin1String("sch") || key == QLatin1String("forms"))
            openScreen(*library::screenFor(QStringLiteral("Toolbar2"), key));
        else if (key == QLatin1String("Ali"))
            treeSwitch(tvwali, true);
        else if (key == QLatin1String("rec"))
            treeSwitch(tvwr, false);
        else if (key == QLatin1String("ca"))
            SHOW_CA_MENU_GRID();
        else if (key == QLatin1String("bac")) {
            ui::form<main>().Show();
            Hide();
        }
    });
}

// ---- document requests --------------------------------------------------------------------

void frmkerala::screenGoClicked(frmGlobalSections* sender, ado::Variant& value)
{
    const int index = indexOfScreen(sender);
    if (index < 0)
        return;
    const ScreenSpec& spec = library::screenCatalog()[index];
    const QString handler = QString::fromLatin1(spec.variable) + QStringLiteral("_GoClicked");
    const lawdb::LawDbState& law = lawdb::state();
    auto showDocument = [sender](const QString& sql, const QString& connectString, bool check) {
        ui::form<keralaforms>().bindAndShow(sender, sql, connectString, check);
    };
    try {
        switch (spec.shape) {
        case GoShape::OwnDocument:
            break;
        case GoShape::Index: {
            const QString name = library::indexDocumentName(value.toString());
            showDocument(library::nameStatement(QStringLiteral("Kerala"), name), law.LawConnectString1, true);
            break;
        }
        case GoShape::Judgment: {
            const QString name = library::indexDocumentName(value.toString());
            if (lawdb::fnInGlobalvat(name))
                showDocument(library::nameStatement(QStringLiteral("Globalvat"), name), law.LawConnectString1, true);
            else
                showDocument(library::nameStatement(QStringLiteral("Globalvatse"), name), law.LawConnectString2,
                             true);
            break;
        }
        case GoShape::Name:
            showDocument(library::nameStatement(QStringLiteral("Kerala"), value.toDisplayString()),
                         law.LawConnectString1, true);
            break;
        case GoShape::NameWithCondition:
            showDocument(library::nameStatement(QStringLiteral("Kerala"), value.toDisplayString(),
                                                sender->AdditionalSearchConditions()),
                         law.LawConnectString1, true);
            break;
        case GoShape::ScreenQuery:
            showDocument(sender->QueryString(), sender->ConnectionString(), true);
            break;
        case GoShape::NumericKey:
        case GoShape::NumericKeyWithCondition: {
            const auto key = library::numericKeyText(value);
            if (!key) {
                ui::MsgBox(QStringLiteral("The selected item has no valid number (") +
                               sender->PredicateColumnName() +
                               QStringLiteral("), so its document cannot be shown."),
                           ui::vbOKOnly | ui::vbExclamation, QStringLiteral("Sorry.........!"));
                return;
            }
            if (spec.shape == GoShape::NumericKey)
                showDocument(library::numericKeyStatement(sender->OleTableName(), sender->PredicateColumnName(), *key),
                             sender->ConnectionString(), false);
            else
                showDocument(library::numericKeyStatementWithCondition(
                                 sender->OleColumnName(), sender->OleTableName(), sender->PredicateColumnName(),
                                 *key, sender->AdditionalSearchConditions()),
                             sender->ConnectionString(), true);
            break;
        }
        }
    } catch (const ado::Error& e) {
        ui::MsgBox(ado::detailedText(QStringLiteral("Error on ") + handler + QStringLiteral("() \r\n"), e));
    }
}

void frmkerala::screenBackClicked(frmGlobalSections* sender)
{
    (void)sender;
    Show();
}
