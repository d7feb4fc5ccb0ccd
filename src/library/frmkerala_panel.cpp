// The library window's list panel (Frame2): one index shown as a plain list. The Act tree's
// "Sectionwise" and the Rules tree's "FullText" and "Index" fill it; words narrow it, typing
// jumps in it, a click binds the document window to the entry's document and Go shows that
// window. The category of the list is the last toolbar key pressed: it picks the document
// statement, the Go and Back pair on view and the tree Back returns to.
#include "frmkerala.h"

#include "DocumentQueries.h"
#include "LibrarySteps.h"
#include "keralaforms.h"

#include "lawdb/LawDb.h"
#include "lawdb/MyMOD.h"
#include "lawdb/WordSearch.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/documents/OleView.h"
#include "platform/ui/documents/RemoteData.h"
#include "platform/ui/controls/StatusBar.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/ui/forms/Twips.h"
#include "platform/vb/Vb.h"

#include <QGroupBox>
#include <QLabel>

using library::toInteger;

namespace {

// How a click on an entry finds its document.
enum class Binding {
    NameAndType,   // Kerala by the entry's text and the category's type
    Name,          // Kerala by the entry's text
    Index,         // Kerala by the document name in the entry's index cell
    Judgment       // Globalvat when the indexed name is there, else Globalvatse
};

struct Category {
    const char* key;        // CurrentToolbarKey
    const char* go;
    const char* back;
    const char* tree;       // the tree Back returns to; nullptr: both frames hidden
    bool focusTree;
    Binding binding;
    const char* type;       // NameAndType: the condition after the name
};

// One row per category, in the order the click step tests the keys.
const Category kCategories[] = {
    {"Act", "cmdactgo", "cmdactback", "Tvw", true, Binding::NameAndType, " and type='Act'"},
    {"rul", "cmdrulego", "cmdruleback", "tvw2", true, Binding::NameAndType, " and type='Rules'"},
    {"circu", "Command1", "Command4", "tvwc", false, Binding::Index, nullptr},
    {"not", "notGo", "notBack", "tvwn", true, Binding::Index, nullptr},
    {"jud", "judgo", "judback", "tvw3", false, Binding::Judgment, nullptr},
    {"forms", "formsgo", "formsback", nullptr, false, Binding::Name, nullptr},
    {"Ali", "aligo", "aliback", "tvwali", true, Binding::Name, nullptr},
    {"sch", "cmdshgo", "cmdshback", nullptr, false, Binding::Name, nullptr},
    {"rec", "rngo", "rnback", "tvwr", false, Binding::Judgment, nullptr},
};
constexpr int kAct = 0, kRules = 1, kForms = 5;

const QString kListHint = QStringLiteral(
    "Select the required item from list box by search or manual and press Go button to display the data");
const QString kWordsHint = QStringLiteral(
    "Type the required words with space on priority in the search box and click this Button.To restore the "
    "datas, delete the search words and again press the button.");

constexpr long kLightYellow = 0xC0FFFF;

} // namespace

void frmkerala::buildListPanel()
{
    Frame2 = new QGroupBox(QStringLiteral("Select the topic you want and click on Go"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    ui::moveTwips(Frame2, 0, 1740, 12735, 5535);

    Label1 = new QLabel(QStringLiteral("Search"), Frame2);
    Label1->setObjectName(QStringLiteral("Label1"));
    ui::moveTwips(Label1, 30, 750, 1245, 210);

    Text3 = new ui::TextBox(QStringLiteral("Text3"), Frame2);
    ui::moveTwips(Text3, 1320, 720, 10095, 285);
    Cmdwordsearch = new ui::CommandButton(QStringLiteral("Cmdwordsearch"), QStringLiteral("Words Search"), Frame2);
    ui::moveTwips(Cmdwordsearch, 9960, 720, 1455, 285);
    // The button covers the right end of the word box; typed words stop short of it.
    Text3->setTextMargins(0, 0, ui::toPixels(1455), 0);

    Text1 = new ui::TextBox(QStringLiteral("Text1"), Frame2);
    ui::moveTwips(Text1, 1320, 1020, 10095, 600);
    List1 = new ui::ListBox(QStringLiteral("List1"), Frame2);
    ui::moveTwips(List1, 1320, 1650, 10095, 3180);

    // All pairs share one place; the filling step shows its category's pair in front.
    for (size_t i = 0; i < std::size(kCategories); ++i) {
        auto* go = new ui::CommandButton(QString::fromLatin1(kCategories[i].go), QStringLiteral("Go"), Frame2);
        ui::moveTwips(go, 11640, 270, 735, 400);
        auto* back = new ui::CommandButton(QString::fromLatin1(kCategories[i].back), QStringLiteral("Back"), Frame2);
        ui::moveTwips(back, 11640, 4740, 735, 420);
        for (ui::CommandButton* b : {go, back}) {
            b->setStyle(ui::vbButtonGraphical);
            b->setBackColor(kLightYellow);
            b->setVisible(false);
        }
        const int category = static_cast<int>(i);
        connect(go, &ui::CommandButton::Click, this, [this, category] { panelGo(category); });
        connect(back, &ui::CommandButton::Click, this, [this, category] { panelBack(category); });
        goButtons_[i] = go;
        backButtons_[i] = back;
    }

    connect(List1, &ui::ListBox::Click, this, &frmkerala::List1_Click);
    connect(Cmdwordsearch, &ui::CommandButton::Click, this, &frmkerala::Cmdwordsearch_Click);
    connect(Text3, &ui::TextBox::KeyPress, this, &frmkerala::Text3_KeyPress);
    connect(Text3, &ui::TextBox::Change, this, &frmkerala::Text3_Change);
    connect(Text3, &ui::TextBox::GotFocus, this, &frmkerala::Text3_GotFocus);
    connect(Text3, &ui::TextBox::LostFocus, this, &frmkerala::Text3_LostFocus);
}

// ---- filling --------------------------------------------------------------------------------

bool frmkerala::fillListPanel(ui::TreeView* tree, const QString& key)
{
    if (tree == Tvw && key == QLatin1String("Sectionwise"))
        fillActSections();
    else if (tree == tvw2 && (key == QLatin1String("FullText") || key == QLatin1String("Index")))
        fillRulesEntry(key);
    else
        return false;
    listHintAndResize();
    return true;
}

void frmkerala::fillActSections()
{
    List1->Clear();
    ado::Recordset& rs = *lawdb::state().WordSearchRecordset;
    if (rs.State() == ado::adStateOpen)
        rs.Close();
    rs.Open(QStringLiteral("SELECT Keralafields.ID, Keralafields.ActSection FROM Keralafields WHERE "
                           "(((Keralafields.ActSection) Is Not Null)) ORDER BY Keralafields.ID;"),
            lawdb::fnLawConnection(), ado::adOpenDynamic, ado::adLockOptimistic);
    lawdb::fillWordSearchList(*List1, rs, QStringLiteral("ActSection"), QStringLiteral("ID"));

    lawdb::LawDbState& law = lawdb::state();
    law.WordSearchTable = QStringLiteral("Keralafields");
    law.WordSearchColumn = QStringLiteral("ActSection");
    law.WordSearchOrder = QStringLiteral("ActSection");
    showPanelCategory(kAct, true);
}

void frmkerala::fillRulesEntry(const QString& key)
{
    List1->Clear();
    List1->AddItem(key == QLatin1String("FullText") ? QStringLiteral("Full Text of Rules")
                                                    : QStringLiteral("Index to Rules"));
    lawdb::LawDbState& law = lawdb::state();
    law.WordSearchTable.clear();
    law.WordSearchColumn.clear();
    law.WordSearchOrder.clear();
    showPanelCategory(kRules, false);
}

// Puts the panel in front of the trees with the category's Go and Back pair.
void frmkerala::showPanelCategory(int category, bool withWordSearch)
{
    Frame1->setVisible(false);
    Frame2->setVisible(true);
    for (ui::CommandButton* b : {goButtons_[category], backButtons_[category]}) {
        b->setVisible(true);
        b->raise();
    }
    List1->setVisible(true);
    Text1->setVisible(true);
    Text1->setText(QString());
    Text3->setVisible(true);
    Cmdwordsearch->setVisible(withWordSearch);
    lawdb::fnTrySetFocus(Text3);
}

void frmkerala::listHintAndResize()
{
    if (!lawdb::state().WordSearchColumn.isEmpty())
        setStatusText(kListHint);
    Form_Resize();
}

// ---- a click on an entry --------------------------------------------------------------------

void frmkerala::List1_Click()
{
    library::SkippedFailures failures;
    failures.run([this] { Text1->setText(QString()); });
    failures.run([this] { Text1->setText(List1->Text()); });

    const Category* category = nullptr;
    for (const Category& c : kCategories)
        if (currentToolbarKey_ == QLatin1String(c.key)) {
            category = &c;
            break;
        }

    if (category) {
        const lawdb::LawDbState& law = lawdb::state();
        QString connectString = law.LawConnectString1;
        QString sql;
        switch (category->binding) {
        case Binding::NameAndType:
            sql = library::nameStatement(QStringLiteral("KERALA"), Text1->Text(), QLatin1String(category->type));
            break;
        case Binding::Name:
            sql = library::nameStatement(QStringLiteral("KERALA"), List1->Text());
            break;
        case Binding::Index:
        case Binding::Judgment: {
            // The entry's index cell, read again by its id; the document is named after its "-".
            QString name;
            if (List1->ListIndex() != -1) {
                ado::Recordset& rs = *law.WordSearchRecordset;
                failures.run([&] {
                    if (rs.State() != ado::adStateClosed)
                        rs.Close();
                });
                failures.run([&] {
                    rs.Open(QStringLiteral("select ") + law.WordSearchColumn + QStringLiteral(" from ")
                            + law.WordSearchTable + QStringLiteral(" where id =")
                            + QString::number(List1->ItemData(List1->ListIndex())));
                });
                failures.run([&] {
                    if (!(rs.Bof() && rs.Eof()))
                        name = library::indexDocumentName(rs.Fields(law.WordSearchColumn).Value().toString());
                });
            }
            if (category->binding == Binding::Index) {
                sql = library::nameStatement(QStringLiteral("Kerala"), name);
                break;
            }
            bool inGlobalvat = false;
            failures.run([&] { inGlobalvat = lawdb::fnInGlobalvat(name); });
            if (inGlobalvat) {
                sql = library::nameStatement(QStringLiteral("Globalvat"), name);
            } else {
                connectString = law.LawConnectString2;
                sql = library::nameStatement(QStringLiteral("Globalvatse"), name);
            }
            break;
        }
        }
        // No placeholder check: a name with no row leaves the window without a document.
        keralaforms& kf = ui::form<keralaforms>();
        failures.run([&] { kf.MSRDC1->setConnect(connectString); });
        failures.run([&] { kf.MSRDC1->setSQL(sql); });
        failures.run([&] { kf.MSRDC1->Refresh(); });
        failures.run([&] { kf.OLE1->setDataField(QStringLiteral("fname")); });
    }
    failures.report(QStringLiteral("Exc on L1C : "));
}

// ---- word search and type-ahead -------------------------------------------------------------

void frmkerala::Cmdwordsearch_Click()
{
    const lawdb::LawDbState& law = lawdb::state();
    if (Cmdwordsearch->Visible())
        lawdb::procWordSearch(*List1, law.WordSearchTable, law.WordSearchColumn, Text3->Text(), law.WordSearchOrder);
    if (Text3->Visible())
        lawdb::fnTrySetFocus(Text3);
}

void frmkerala::Text3_KeyPress(int& keyAscii)
{
    if (keyAscii == 13)
        Cmdwordsearch_Click();
}

void frmkerala::Text3_Change()
{
    if (!Text3->Visible())
        return;
    lawdb::trapped(QStringLiteral("Exc on T3 : "), [this] {
        lawdb::state().Service.ListBoxTypingSearch(*List1, Text3->Text());
        Text1->setText(List1->Text());
        List1_Click();
        lawdb::fnTrySetFocus(Text3);
    });
}

void frmkerala::Text3_GotFocus()
{
    if (!lawdb::state().WordSearchColumn.isEmpty())
        setStatusText(kWordsHint);
    if (vb::Trim(Text3->Text()).isEmpty() && !Text3->Text().isEmpty())
        Text3->setText(QString());
}

void frmkerala::Text3_LostFocus()
{
    setStatusText(QStringLiteral(" "));
}

// ---- Go and Back ----------------------------------------------------------------------------

void frmkerala::panelGo(int category)
{
    // The Form 10 tool has its own window; its entry in the forms list opens no document.
    if (category == kForms && vb::Trim(Text1->Text()) == QLatin1String("FORM10-AUTOCOMPUTATION"))
        return;
    ui::form<keralaforms>().Show(ui::vbModal, this);
}

void frmkerala::panelBack(int category)
{
    const Category& c = kCategories[category];
    if (!c.tree) {
        Frame1->setVisible(false);
        Frame2->setVisible(false);
        return;
    }
    treeSwitch(findChild<ui::TreeView*>(QString::fromLatin1(c.tree)), c.focusTree);
}

// ---- layout ---------------------------------------------------------------------------------

// The panel's part of the resize step: centred like Frame1, as tall as the window allows
// (never shorter than its design height), the list and the Back buttons following its height.
void frmkerala::layoutListPanel()
{
    const lawdb::LayoutRecord rects = lawdb::fnLayoutRecord();
    vb::skip([this] {
        const qint16 left = toInteger((ScaleWidth() - ui::widthTwips(Frame2)) / 2.0);
        ui::setLeftTwips(Frame2, left < 0 ? 0 : left);
    });
    vb::skip([&] { ui::setTopTwips(Frame2, rects.second[1] < 0 ? 0 : rects.second[1]); });
    vb::skip([&] {
        const int top = ui::topTwips(Frame2);
        const int h = (ScaleHeight() - top) - (top - 750);
        if (h > rects.second[3])
            ui::setHeightTwips(Frame2, h);
    });
    vb::skip([this] {
        const int h = ui::heightTwips(Frame2) - (ui::topTwips(Text1) + ui::heightTwips(Text1) + ui::topTwips(Text3));
        if (h < 0)
            throw ado::Error(380, QStringLiteral("Invalid property value"), QStringLiteral("Lumora"));
        ui::setHeightTwips(List1, h);
    });
    vb::skip([this] {
        const qint16 t = toInteger(ui::heightTwips(Frame2) - ui::topTwips(Text1)
                                   + ui::heightTwips(backButtons_[kRules]) / 2.0);
        for (ui::CommandButton* b : backButtons_)
            ui::setTopTwips(b, t);
    });
}
