// The library window: trees, toolbar, the screens they open and their failures, and every
// screen's road from the main window to a document and back.
#include "LibraryFixture.h"
#include "TextFit.h"

#include "shell/main.h"

#include <QGroupBox>
#include <QPlainTextEdit>

namespace {

class LibraryTest : public LibraryFixture {
protected:
    void SetUp() override
    {
        LibraryFixture::SetUp();
        lib = &library();
    }
    QGroupBox* frame1() { return lib->findChild<QGroupBox*>("Frame1"); }
    // Its toolbar key, or its tree's key and then its node (the allied tree takes a single click).
    frmGlobalSections* openScreen(const char* variable)
    {
        static const std::map<QString, const char*> category = {
            {"Tvw", "Act"}, {"tvw2", "rul"}, {"tvwc", "circu"}, {"tvwn", "not"},
            {"tvw3", "jud"}, {"tvwr", "rec"}, {"tvwali", "Ali"}};
        const library::ScreenSpec& spec = *library::findScreen(variable);
        if (QLatin1String(spec.opener) == "Toolbar2") {
            press(spec.key);
        } else {
            press(category.at(spec.opener));
            clickNode(spec.opener, spec.key, QLatin1String(spec.opener) == "tvwali" ? 1 : 2);
        }
        return lib->screen(variable);
    }

    frmkerala* lib = nullptr;
};

} // namespace

TEST_F(LibraryTest, LoadBuildsSevenStackedTreesShowingNoneAndEveryTextReadsWhole)
{
    EXPECT_FALSE(frame1()->isVisibleTo(lib));

    const std::pair<const char*, QString> trees[] = {
        {"Tvw", "One VAT KGST GENERAL GST"}, {"tvw2", "Oner Sectionwise GENERAL"}, {"tvwc", "Oner Twor cirsub Gen"},
        {"tvwn", "Oner Twon Notsub Sec2r"},  {"tvw3", "Oner Twor Sec2r Sec1r"},    {"tvwr", "Oner Twor Subr Sec1r"},
        {"tvwali", "One Sec1al Sec2al Sec3al"}};
    for (const auto& [name, keys] : trees) {   // the root, expanded, and its children
        ui::TreeView* t = tree(name);
        ASSERT_TRUE(t) << name;
        EXPECT_TRUE(t->parentWidget() == frame1() && t->Nodes(1)->Expanded()) << name;
        EXPECT_EQ(treeOutline(t).join(' '), QString(keys).replace(" ", " " + keys.section(' ', 0, 0) + ">")) << name;
    }

    lib->Show();
    press("Act");
    EXPECT_EQ(unreadableTexts(lib), "");
}

TEST_F(LibraryTest, ToolbarBringsTreesToTheFrontAndRemembersTheKeyAndClosingOrBackKeepsTheLibrary)
{
    lib->Show();
    QApplication::setActiveWindow(lib);
    EXPECT_TRUE(lib->CurrentToolbarKey().isEmpty());

    // each tree key brings its tree to the front; some give it the focus, the rest leave it
    for (auto [key, name, focus] : {std::tuple{"Act", "Tvw", true}, {"jud", "tvw3", false}, {"rul", "tvw2", true},
                                    {"circu", "tvwc", false}, {"Ali", "tvwali", true}, {"rec", "tvwr", false}}) {
        press(key);
        EXPECT_EQ(lib->CurrentToolbarKey(), key);
        EXPECT_EQ(frame1()->children().last(), tree(name)) << key;
        if (focus) {
            EXPECT_EVENTUALLY(tree(name)->hasFocus());
        } else {
            EXPECT_FALSE(tree(name)->hasFocus()) << key;
        }
    }
    press("sch");   // a screen, and the tree in front stays
    EXPECT_EQ(lib->CurrentToolbarKey(), "sch");
    EXPECT_EQ(frame1()->children().last(), tree("tvwr"));
    ASSERT_NE(lib->screen("ObjScheduleGlobalSection"), nullptr);

    // closing the window, or Back, shows the main window and keeps the library as it was
    press("not");
    for (const std::function<void()>& leave : std::initializer_list<std::function<void()>>{[&] { lib->close(); }, [&] { press("bac"); }}) {
        ui::form<main>().Hide();
        lib->Show();
        EXPECT_EQ(frame1()->children().last(), tree("tvwn"));   // the same tree again
        leave();
        EXPECT_FALSE(lib->isVisible());
        EXPECT_TRUE(ui::form<main>().isVisible());
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(LibraryTest, EnterInTheActTreeOpensTheSelectedNodesScreenOnce)
{
    lib->Show();
    press("Act");
    ui::TreeView* t = tree("Tvw");
    clickNode("Tvw", "One", 0);
    QTest::keyClick(t, Qt::Key_Return);
    EXPECT_EQ(lib->screen("ObjActGlobalSections"), nullptr);   // the root opens nothing

    clickNode("Tvw", "VAT", 0);
    QTest::keyClick(t, Qt::Key_Return);
    frmGlobalSections* first = lib->screen("ObjActGlobalSections");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->parentWidget(), lib);

    QTest::keyClicks(first->findChild<ui::TextBox*>("txtSearch"), "tax");
    first->Hide();
    clickNode("Tvw", "VAT");
    EXPECT_EQ(lib->screen("ObjActGlobalSections"), first);   // shown again, not rebuilt
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(messages().empty());
}

TEST_F(LibraryTest, OpenerFailuresAreReportedAndAScreenThatFailedIsBuiltOnTheNextOpen)
{
    lib->Show();
    lib->tvwc_DblClick();   // no node selected: reported under the opener's tag
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("Exc on TvwC CIR : ")) << messages()[0].prompt.toStdString();
    EXPECT_TRUE(messages()[0].prompt.contains(" | No: 91 | Src: "));

    ui::clearShownMessages();
    lawdb::state().LawConnection1->Execute("ALTER TABLE Kerala RENAME TO KeralaAway");
    EXPECT_EQ(openScreen("ObjSectionIndexKGSTGB"), nullptr);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("MyMOD.getRecordSetByCn : "));
    EXPECT_TRUE(messages()[1].prompt.startsWith("Exc on Tvw Act : "));
    lawdb::state().LawConnection1->Execute("ALTER TABLE KeralaAway RENAME TO Kerala");
    frmGlobalSections* s = openScreen("ObjSectionIndexKGSTGB");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->findChild<ui::DataGrid*>("DataGrid1")->rowCount(), 1);
    EXPECT_EQ(messages().size(), 2u);

    // The C A Practice pair: its grid cannot load, and the key is still taken.
    ui::clearShownMessages();
    lawdb::state().LawConnection3->Execute("ALTER TABLE CAPractice RENAME TO CAPracticeAway");
    press("ca");
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("MyMOD.getRecordSetByCn : "));
    EXPECT_TRUE(messages()[1].prompt.startsWith("Error on LOAD_CA_MENU_GRID() \r\n")) << messages()[1].prompt.toStdString();
    EXPECT_EQ(lib->screen("ObjCAMenuItemGlobalSection"), nullptr);
    EXPECT_EQ(lib->CurrentToolbarKey(), "ca");
    lawdb::state().LawConnection3->Execute("ALTER TABLE CAPracticeAway RENAME TO CAPractice");
    press("ca");
    ASSERT_NE(lib->screen("ObjCAMenuItemGlobalSection"), nullptr);
    EXPECT_EQ(messages().size(), 2u);
}

// Values a screen hands over that name no document: the placeholder, never a broken statement.
TEST_F(LibraryTest, GoValuesWithoutADocumentShowThePlaceholderOrAreRefusedClearly)
{
    lib->Show();
    frmGlobalSections* ca = openScreen("ObjCAMenuItemGlobalSection");
    for (ado::Variant v : {ado::Variant::null(), ado::Variant("7 or 1=1")}) {   // numeric keys that are no numbers
        ui::clearShownMessages();
        emit ca->GoClicked(ca, v);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].prompt.contains("no valid number"));
        EXPECT_FALSE(documentShown());
    }
    ui::clearShownMessages();

    frmGlobalSections* s = openScreen("gsNotificationNumber");
    frmGlobalSections* j = openScreen("gsJudgmentCitation");
    frmGlobalSections* general = openScreen("ObjGenSaleTaxActGB");
    // an index cell without a dash, a quote in a judgment name, a Null on a whole-document screen
    ado::Variant noDash("AB"), quoted("x-O'Neil v State"), null = ado::Variant::null();
    for (auto [screen, value] : {std::pair{s, &noDash}, {j, &quoted}, {general, &null}}) {
        emit screen->GoClicked(screen, *value);
        EXPECT_TRUE(document().isVisible());
        EXPECT_EQ(document().parentWidget(), screen);
        EXPECT_EQ(document().MSRDC1->SQL(), lawdb::kPlaceholderQuery);
        EXPECT_TRUE(document().OLE1->hasDocument());
    }
    EXPECT_TRUE(messages().empty());

    // an index or a judgment cell that is Null: the handler's own message, no document
    document().Hide();
    for (auto [screen, handler] : {std::pair{s, "gsNotificationNumber"}, {j, "gsJudgmentCitation"}}) {
        ui::clearShownMessages();
        emit screen->GoClicked(screen, null);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].prompt,
                  QString("Error on %1_GoClicked() \r\nInvalid use of Null | No: 94 | Src: Lumora").arg(handler));
        EXPECT_FALSE(documentShown());
    }
}

// ---- from the main window to every screen's document and back -----------------------------

namespace {

enum GoBy { Button, BoxEnter, DetailEnter, BoxDoubleClick };

struct Road {
    const char* variable;
    GoBy goBy;
    const char* word;
    const char* statement;   // %1: the row's ID where the key is numeric
    int connectString;
    const char* idQuery = "";   // finds the ID on database 3
};

const Road kRoads[] = {
    {"ObjActGlobalSections", Button, "levy", "select fname from Kerala where name='Section 6' and type='Act'", 1},
    {"ObjRuleGlobalSections", BoxEnter, "invoice", "select fname from Kerala where name='Rule 58' and type='Rules'", 1},
    {"ObjFormGlobalSections", DetailEnter, "monthly", "select fname from Kerala where name='Form 10' and type='Forms'", 1},
    {"ObjScheduleGlobalSection", BoxDoubleClick, "second", "select fname from Allshedule where ID=%1 ", 3,
     "SELECT ID FROM Allshedule WHERE Schname='SECOND SCHEDULE'"},
    {"gsCircularNumber", Button, "21/2005", "select fname from Kerala where name='Circular No. 21/2005'", 1},
    {"gsCircularSubject", BoxEnter, "bakeries", "select fname from Kerala where name='Circular No. 19/2006'", 1},
    {"gsCircularSection", DetailEnter, "Section 14", "select fname from Kerala where name='Circular No. 21/2005'", 1},
    {"gsJudgmentCitation", BoxDoubleClick, "302", "select fname from Globalvatse where name='Judgment 2007 KTR 302'", 2},
    {"gsJudgmentSection", Button, "250", "select fname from Globalvat where name='Judgment 2006 KTR 250'", 1},
    {"gsJudgmentSubject", BoxEnter, "presumptive", "select fname from Globalvat where name='Judgment 2007 KTR 88'", 1},
    {"gsArJudgmentCitation", DetailEnter, "KLT 412", "select fname from Globalvat where name='Judgment 1998 KLT 412'", 1},
    {"gsArJudgmentSection", BoxDoubleClick, "Section 19", "select fname from Globalvatse where name='Judgment 2001 STC 123'", 2},
    {"gsArJudgmentSubject", Button, "quarry", "select fname from Globalvatse where name='Judgment 2003 KLT 77'", 2},
    {"gsNotificationNumber", BoxEnter, "1021", "select fname from Kerala where name='SRO No. 1021/2006'", 1},
    {"gsNotificationSubject", DetailEnter, "rubber", "select fname from Kerala where name='SRO No. 82/2005'", 1},
    {"gsNotificationSection", BoxDoubleClick, "345", "select fname from Kerala where name='SRO No. 345/2007'", 1},
    {"ObjSectionIndexKGSTGB", Button, "KGST", "select fname from Kerala where name='Section index KGST'", 1},
    {"ObjGenSaleTaxActGB", BoxEnter, "general", "select fname from Kerala where name='THE KERALA GENERAL SALES TAX ACT' and type='Act'", 1},
    {"ObjGSTPaperReportGB", DetailEnter, "task", "select fname from Kerala where name='Report On GST Of Task Force' and type='Act'", 1},
    {"ObjGSTRuleGB", BoxDoubleClick, "rules", "select fname from Kerala where name='KERALA GENERAL SALES TAX RULES' and type='Rules'", 1},
    {"ObjAlliedActGB", Button, "money", "select fname from Kerala where name='THE KERALA MONEY-LENDERS ACT 1958 ' and type='Allied'", 1},
    {"ObjAlliedRuleGB", BoxEnter, "mangalya", "select fname from Kerala where name='MANGALYA NIDHI CESS RULES' and type='Allied'", 1},
    {"ObjAlliedFormsGB", DetailEnter, "Tri-FORM H", "select fname from Kerala where name='Tri-FORM H' and type='Allied'", 1},
    {"ObjAlliedCircularsGB", BoxDoubleClick, "currently", "select fname from Kerala where name='xxxx Currently No items' and type='Allied'", 1},
    {"ObjAlliedNotificationsGB", Button, "luxury", "select fname from Kerala where name='KERALA LUXURY TAX NOTIFICATIONS' and type='Allied'", 1},
    {"ObjCAMenuItemGlobalSection", BoxEnter, "audit vat", "select fname from CAPractice where ID=%1", 3,
     "SELECT ID FROM CAPractice WHERE name='Audit of VAT dealers'"},
};

class RoadTest : public LibraryTest, public ::testing::WithParamInterface<Road> {};

} // namespace

TEST_P(RoadTest, FromTheMainWindowToTheDocumentAndBack)
{
    const Road& road = GetParam();
    main& m = ui::form<main>();   // a click on a node of the main window's tree opens the library
    m.Show();
    QTest::mouseClick(m.Tvw->viewport(), Qt::LeftButton, {}, m.Tvw->visualItemRect(m.Tvw->Nodes(1)->item()).center());
    ASSERT_TRUE(lib->isVisible());
    EXPECT_EQ(shell::state().CurrentStateCode, 14);

    frmGlobalSections* s = openScreen(road.variable);
    ASSERT_TRUE(s && s->isVisible());
    EXPECT_TRUE(lib->isVisible());   // opening a screen never hides the library
    auto* box = s->findChild<ui::TextBox*>("txtSearch");
    auto* detail = s->findChild<QPlainTextEdit*>("txtDetail");
    QTest::keyClicks(box, road.word);
    ASSERT_GE(s->findChild<ui::DataGrid*>("DataGrid1")->rowCount(), 1);
    const QString shown = detail->toPlainText();
    switch (road.goBy) {
    case Button: QTest::mouseClick(s->findChild<ui::CommandButton*>("cmdGO"), Qt::LeftButton); break;
    case BoxEnter: QTest::keyClick(box, Qt::Key_Return); break;
    case DetailEnter: detail->setFocus(), QTest::keyClick(detail, Qt::Key_Return); break;
    case BoxDoubleClick: QTest::mouseDClick(box, Qt::LeftButton); break;
    }
    EXPECT_EQ(detail->toPlainText(), shown);   // Enter there asks for Go and changes nothing

    QString expected = QString::fromUtf8(road.statement);
    if (*road.idQuery)
        expected = expected.arg(QString(lawColumn(road.idQuery, "1509214SD03.mdb").value(0)));
    const auto& st = lawdb::state();
    keralaforms& doc = document();
    EXPECT_TRUE(doc.isVisible());
    EXPECT_EQ(doc.parentWidget(), s);
    EXPECT_EQ(doc.MSRDC1->SQL(), expected);
    EXPECT_EQ(doc.MSRDC1->Connect(), QStringList({st.LawConnectString1, st.LawConnectString2, st.LawConnectString3})
                                         .at(road.connectString - 1));
    EXPECT_TRUE(doc.MSRDC1->hasRow() && doc.OLE1->hasDocument());
    EXPECT_TRUE(messages().empty()) << messages()[0].prompt.toStdString();

    // Back, Escape in either box and the close box hide the screen, which keeps its words;
    // ten screens bring the library window back themselves
    doc.Hide();
    const std::function<void()> backs[] = {
        [&] { QTest::mouseClick(s->findChild<ui::CommandButton*>("cmdBack"), Qt::LeftButton); },
        [&] { QTest::keyClick(box, Qt::Key_Escape); },
        [&] { detail->setFocus(), QTest::keyClick(detail, Qt::Key_Escape); }, [&] { s->close(); }};
    for (const auto& back : backs) {
        s->Show();
        lib->Hide();
        back();
        EXPECT_FALSE(s->isVisible());
        EXPECT_TRUE(s->isFormLoaded());
        EXPECT_EQ(box->Text(), road.word);
        EXPECT_EQ(lib->isVisible(), library::findScreen(road.variable)->hasBackHandler);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryScreen, RoadTest, ::testing::ValuesIn(kRoads),
                         [](const ::testing::TestParamInfo<Road>& info) { return std::string(info.param.variable); });
