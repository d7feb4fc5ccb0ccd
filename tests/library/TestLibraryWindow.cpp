// The library window: its trees and toolbar, the screens they open, the failures of their
// openers, and every screen's road from the main window to a document and back.
#include "LibraryFixture.h"
#include "TextFit.h"

#include "platform/ui/Toolbar.h"
#include "platform/ui/TreeView.h"
#include "shell/main.h"

#include <QGroupBox>

namespace {

class LibraryTest : public LibraryFixture {
protected:
    frmkerala& library() { return ui::form<frmkerala>(); }
    ui::TreeView* tree(const char* name) { return library().findChild<ui::TreeView*>(name); }
    QGroupBox* frame1() { return library().findChild<QGroupBox*>("Frame1"); }

    void press(const QString& key)
    {
        QTest::mouseClick(library().findChild<ui::Toolbar*>("Toolbar2")->Buttons(key)->widget(), Qt::LeftButton);
    }
    void activate(ui::TreeView* t, const QString& key, bool doubleClick = true)
    {
        const QPoint at = t->visualItemRect(t->Nodes(key)->item()).center();
        if (doubleClick)
            QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, at);
    }
    // Opens a screen the way a user does: its toolbar key, or its tree's key and then its node
    // (the allied tree reacts to a single click).
    frmGlobalSections* openScreen(const char* variable)
    {
        static const std::map<QString, const char*> category = {
            {"Tvw", "Act"}, {"tvw2", "rul"}, {"tvwc", "circu"}, {"tvwn", "not"},
            {"tvw3", "jud"}, {"tvwr", "rec"}, {"tvwali", "Ali"}};
        const library::ScreenSpec& spec = *library::findScreen(variable);
        const QString opener = spec.opener;
        if (opener == "Toolbar2") {
            press(spec.key);
        } else {
            press(category.at(opener));
            ui::TreeView* t = tree(spec.opener);
            if (!t->Nodes().find(spec.key))   // keys the opener answers but no built node carries
                t->Nodes().Add(t->Nodes(1)->Key(), ui::tvwChild, spec.key, spec.key, 1, 2);
            activate(t, spec.key, opener != "tvwali");
        }
        return library().screen(variable);
    }
};

} // namespace

TEST_F(LibraryTest, LoadBuildsTheToolbarAndSevenStackedTreesAndShowsNone)
{
    frmkerala& lib = library();
    EXPECT_FALSE(frame1()->isVisibleTo(&lib));

    struct B { const char* caption; const char* key; const char* tip; };
    const B buttons[] = {
        {"Act", "Act", "Act"}, {"Rules", "rul", "Rules"}, {"Circulars", "circu", "Circulars"},
        {"Notification", "not", "Notification"}, {"Schedules", "sch", "Schedules"},
        {"Judgements", "jud", "Judgements"}, {"Forms", "forms", "Word Forms"},
        {"Allied", "Ali", "Allied Act,Forms,Rules"}, {"R.Judgement", "rec", "Recent Judgements"},
        {"CA", "ca", "Tools for Chartered Accountants"}, {"Back", "bac", "Back to Main Menu"}};
    auto* bar = lib.findChild<ui::Toolbar*>("Toolbar2");
    ASSERT_EQ(bar->ButtonCount(), 11);
    for (int i = 0; i < 11; ++i) {
        ui::Button* b = bar->Buttons(i + 1);
        EXPECT_EQ(QStringList({b->Caption(), b->Key(), b->ToolTipText()}),
                  QStringList({buttons[i].caption, buttons[i].key, buttons[i].tip}));
    }

    struct Tree {
        const char* name;
        const char* rootKey;
        const char* rootText;
        std::vector<std::pair<const char*, const char*>> children;
    };
    const std::vector<Tree> expected = {
        {"Tvw", "One", "Kerala Value Added  Tax Act",
         {{"VAT", "Sectionwise & Subjectwise"}, {"KGST", "Section index KGST"},
          {"GENERAL", "THE KERALA GENERAL SALES TAX ACT"}, {"GST", "Papers & Reports On GST"}}},
        {"tvw2", "Oner", "Kerala Value Added  Tax Rules",
         {{"Sectionwise", "Sectionwise, Subjectwise & Rulewise"}, {"GENERAL", "KERALA GENERAL SALES TAX RULES"}}},
        {"tvwc", "Oner", "Kerala value Added  Tax Circulars",
         {{"Twor", "Sectionwise"}, {"cirsub", "Subjectwise"}, {"Gen", "Numberwise"}}},
        {"tvwn", "Oner", "Kerala Value Added  Tax Notifications",
         {{"Twon", "Sectionwise"}, {"Notsub", "Subjectwise"}, {"Sec2r", "Numberwise"}}},
        {"tvw3", "Oner", "Kerala Value Added  Tax Judgements",
         {{"Twor", "Section wise"}, {"Sec2r", "Subject wise"}, {"Sec1r", "Citation wise"}}},
        {"tvwr", "Oner", "Old and Recent Judgement on Sales Tax Laws",
         {{"Twor", "Section wise"}, {"Subr", "Subject wise"}, {"Sec1r", "Citation wise"}}},
        {"tvwali", "One", "Kerala Allied Acts, Rules & Forms",
         {{"Sec1al", "Allied Acts"}, {"Sec2al", "Allied Rules"}, {"Sec3al", "Allied Forms"}}},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        ui::TreeView* t = tree(e.name);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->parentWidget(), frame1());
        EXPECT_EQ(twipsRect(t), QRect(1380, 1080, 5445, 3735));
        ASSERT_EQ(t->Nodes().Count(), int(e.children.size()) + 1);
        ui::Node* root = t->Nodes(1);
        EXPECT_EQ(root->Key(), e.rootKey);
        EXPECT_EQ(root->Text(), e.rootText);
        EXPECT_EQ(root->Parent(), nullptr);
        EXPECT_TRUE(root->Expanded());
        EXPECT_EQ(root->SelectedImage(), QLatin1String(e.name) == "tvwali" ? 2 : 0);
        const bool tipless = QLatin1String(e.name) == "tvwc" || QLatin1String(e.name) == "tvwr";
        EXPECT_EQ(t->ToolTipText(), tipless ? "" : "double click on each item get details");
        for (size_t i = 0; i < e.children.size(); ++i) {
            ui::Node* child = t->Nodes(int(i) + 2);
            EXPECT_EQ(child->Key(), e.children[i].first);
            EXPECT_EQ(child->Text(), e.children[i].second);
            EXPECT_EQ(child->Parent(), root);
        }
    }
}

TEST_F(LibraryTest, EveryTextReadsWholeAtTheSystemFontsSize)
{
    library().Show();
    press("Act");
    EXPECT_EQ(unreadableTexts(&library()), "");
}

TEST_F(LibraryTest, ControlFileRegistrationWrapperChoosesTheMode)
{
    const QString missing = folder.file("crystl32.ocx");
    EXPECT_EQ(frmkerala::fnRegisterOcx("  " + missing + "  ", 0), 1);   // load failed
    EXPECT_EQ(frmkerala::fnRegisterOcx(missing, 1), 1);
    EXPECT_EQ(frmkerala::fnRegisterOcx(missing, 2), 0);                 // no such mode
}

TEST_F(LibraryTest, ToolbarBringsTreesToTheFrontAndRemembersTheKey)
{
    frmkerala& lib = library();
    lib.Show();
    QApplication::setActiveWindow(&lib);
    EXPECT_TRUE(lib.CurrentToolbarKey().isEmpty());

    press("Act");
    EXPECT_EQ(lib.CurrentToolbarKey(), "Act");
    EXPECT_TRUE(frame1()->isVisible());
    EXPECT_EQ(frame1()->children().last(), tree("Tvw"));
    EXPECT_EVENTUALLY(tree("Tvw")->hasFocus());

    press("jud");   // to the front without the focus
    EXPECT_EQ(frame1()->children().last(), tree("tvw3"));
    EXPECT_TRUE(tree("Tvw")->hasFocus());

    press("Ali");
    EXPECT_EVENTUALLY(tree("tvwali")->hasFocus());

    press("sch");   // a screen, and the tree in front stays
    EXPECT_EQ(lib.CurrentToolbarKey(), "sch");
    EXPECT_EQ(frame1()->children().last(), tree("tvwali"));
    ASSERT_NE(lib.screen("ObjScheduleGlobalSection"), nullptr);
    EXPECT_TRUE(lib.screen("ObjScheduleGlobalSection")->isVisible());
    EXPECT_TRUE(messages().empty());
}

TEST_F(LibraryTest, FrameIsCentredWithEvenRounding)
{
    frmkerala& lib = library();
    lib.Show();
    lib.setWindowState(ui::vbNormal);
    auto leftFor = [&](int widthPx) {
        lib.resize(widthPx, 700);
        lib.Form_Resize();
        return ui::leftTwips(frame1());
    };
    EXPECT_EQ(leftFor(600), 352);    // (9000 - 8295) / 2 = 352.5: the even neighbour
    EXPECT_EQ(leftFor(601), 360);    // (9015 - 8295) / 2
    EXPECT_EQ(leftFor(686), 998);    // (10290 - 8295) / 2 = 997.5: the even neighbour
    EXPECT_EQ(leftFor(400), 0);      // narrower than the frame
    EXPECT_EQ(ui::topTwips(frame1()), 1740);
}

TEST_F(LibraryTest, ClosingOrBackShowsTheMainWindowAndKeepsTheLibrary)
{
    frmkerala& lib = library();
    lib.Show();
    press("not");
    lib.close();
    EXPECT_FALSE(lib.isVisible());
    EXPECT_TRUE(ui::formLoaded<frmkerala>());
    EXPECT_TRUE(ui::form<main>().isVisible());

    lib.Show();
    EXPECT_EQ(frame1()->children().last(), tree("tvwn"));   // the same tree again
    ui::form<main>().Hide();
    press("bac");
    EXPECT_FALSE(lib.isVisible());
    EXPECT_TRUE(ui::form<main>().isVisible());
}

TEST_F(LibraryTest, EnterInTheActTreeOpensTheSelectedNodesScreenOnce)
{
    frmkerala& lib = library();
    lib.Show();
    press("Act");
    ui::TreeView* t = tree("Tvw");
    t->setSelectedItem(t->Nodes("One"));
    QTest::keyClick(t, Qt::Key_Return);
    EXPECT_EQ(lib.screen("ObjActGlobalSections"), nullptr);   // the root opens nothing

    t->setSelectedItem(t->Nodes("VAT"));
    QTest::keyClick(t, Qt::Key_Return);
    frmGlobalSections* first = lib.screen("ObjActGlobalSections");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->parentWidget(), &lib);

    auto* box = first->findChild<ui::TextBox*>("txtSearch");
    QTest::keyClicks(box, "tax");
    first->Hide();
    activate(t, "VAT");
    EXPECT_EQ(lib.screen("ObjActGlobalSections"), first);   // shown again, not rebuilt
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(box->Text(), "tax");
    EXPECT_TRUE(messages().empty());
}

TEST_F(LibraryTest, OpenerFailuresAreReportedAndAScreenThatFailedIsBuiltOnTheNextOpen)
{
    library().Show();
    library().tvwc_DblClick();   // no node selected: reported under the opener's tag
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("Exc on TvwC CIR : ")) << messages()[0].prompt.toStdString();
    EXPECT_TRUE(messages()[0].prompt.contains(" | No: 91 | Src: "));
    EXPECT_EQ(messages()[0].title, "_IN_DEBUG");
    EXPECT_TRUE(messages()[0].buttons & ui::vbExclamation);

    ui::clearShownMessages();
    lawdb::state().LawConnection1->Execute("ALTER TABLE Kerala RENAME TO KeralaAway");
    EXPECT_EQ(openScreen("ObjSectionIndexKGSTGB"), nullptr);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("MyMOD.getRecordSetByCn : "));
    EXPECT_TRUE(messages()[1].prompt.startsWith("Exc on Tvw Act : "));
    EXPECT_EQ(messages()[1].title, "_IN_DEBUG");

    lawdb::state().LawConnection1->Execute("ALTER TABLE KeralaAway RENAME TO Kerala");
    frmGlobalSections* s = openScreen("ObjSectionIndexKGSTGB");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->findChild<ui::DataGrid*>("DataGrid1")->rowCount(), 1);
    EXPECT_EQ(s->PredicateColumnName(), "Search");
    EXPECT_EQ(messages().size(), 2u);

    // The C A Practice pair: its grid cannot load, and the key is still taken.
    ui::clearShownMessages();
    lawdb::state().LawConnection3->Execute("ALTER TABLE CAPractice RENAME TO CAPracticeAway");
    press("ca");
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("MyMOD.getRecordSetByCn : "));
    EXPECT_TRUE(messages()[1].prompt.startsWith("Error on LOAD_CA_MENU_GRID() \r\n")) << messages()[1].prompt.toStdString();
    EXPECT_EQ(messages()[1].title, ui::kDefaultTitle);
    EXPECT_EQ(library().screen("ObjCAMenuItemGlobalSection"), nullptr);
    EXPECT_EQ(library().CurrentToolbarKey(), "ca");
    lawdb::state().LawConnection3->Execute("ALTER TABLE CAPracticeAway RENAME TO CAPractice");
    press("ca");
    ASSERT_NE(library().screen("ObjCAMenuItemGlobalSection"), nullptr);
    EXPECT_TRUE(library().screen("ObjCAMenuItemGlobalSection")->isVisible());
    EXPECT_EQ(messages().size(), 2u);
}

TEST_F(LibraryTest, NumericKeysThatAreNoNumbersAreRefusedClearly)
{
    library().Show();
    frmGlobalSections* ca = openScreen("ObjCAMenuItemGlobalSection");
    ASSERT_NE(ca, nullptr);
    for (ado::Variant v : {ado::Variant::null(), ado::Variant("7 or 1=1")}) {
        ui::clearShownMessages();
        emit ca->GoClicked(ca, v);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].prompt.contains("no valid number"));
        EXPECT_FALSE(documentShown());
    }
}

TEST_F(LibraryTest, ValuesWithoutADocumentShowThePlaceholderAndANullFollowsTheScreensShape)
{
    library().Show();
    frmGlobalSections* s = openScreen("gsNotificationNumber");
    ASSERT_NE(s, nullptr);
    ado::Variant noDash("AB");
    emit s->GoClicked(s, noDash);
    EXPECT_TRUE(document().isVisible());
    EXPECT_EQ(document().parentWidget(), s);
    EXPECT_EQ(document().MSRDC1->SQL(), lawdb::kPlaceholderQuery);
    EXPECT_TRUE(document().OLE1->hasDocument());

    frmGlobalSections* j = openScreen("gsJudgmentCitation");   // a quote in a judgment name
    ado::Variant quoted("x-O'Neil v State");
    emit j->GoClicked(j, quoted);
    EXPECT_EQ(document().MSRDC1->SQL(), lawdb::kPlaceholderQuery);

    // a whole-document screen puts nothing in place of a Null and finds the placeholder
    frmGlobalSections* general = openScreen("ObjGenSaleTaxActGB");
    ASSERT_NE(general, nullptr);
    ado::Variant null = ado::Variant::null();
    emit general->GoClicked(general, null);
    EXPECT_EQ(document().parentWidget(), general);
    EXPECT_EQ(document().MSRDC1->SQL(), lawdb::kPlaceholderQuery);
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

struct Road {
    const char* variable;
    const char* word;
    const char* statement;   // %1: the row's ID where the key is numeric
    int connectString;
    const char* idQuery;     // finds the ID on database 3
};

const Road kRoads[] = {
    {"ObjActGlobalSections", "levy", "select fname from Kerala where name='Section 6' and type='Act'", 1, ""},
    {"ObjRuleGlobalSections", "invoice", "select fname from Kerala where name='Rule 58' and type='Rules'", 1, ""},
    {"ObjFormGlobalSections", "monthly", "select fname from Kerala where name='Form 10' and type='Forms'", 1, ""},
    {"ObjScheduleGlobalSection", "second", "select fname from Allshedule where ID=%1 ", 3,
     "SELECT ID FROM Allshedule WHERE Schname='SECOND SCHEDULE'"},
    {"gsCircularNumber", "21/2005", "select fname from Kerala where name='Circular No. 21/2005'", 1, ""},
    {"gsCircularSubject", "bakeries", "select fname from Kerala where name='Circular No. 19/2006'", 1, ""},
    {"gsCircularSection", "Section 14", "select fname from Kerala where name='Circular No. 21/2005'", 1, ""},
    {"gsJudgmentCitation", "302", "select fname from Globalvatse where name='Judgment 2007 KTR 302'", 2, ""},
    {"gsJudgmentSection", "250", "select fname from Globalvat where name='Judgment 2006 KTR 250'", 1, ""},
    {"gsJudgmentSubject", "presumptive", "select fname from Globalvat where name='Judgment 2007 KTR 88'", 1, ""},
    {"gsArJudgmentCitation", "KLT 412", "select fname from Globalvat where name='Judgment 1998 KLT 412'", 1, ""},
    {"gsArJudgmentSection", "Section 19", "select fname from Globalvatse where name='Judgment 2001 STC 123'", 2, ""},
    {"gsArJudgmentSubject", "quarry", "select fname from Globalvatse where name='Judgment 2003 KLT 77'", 2, ""},
    {"gsNotificationNumber", "1021", "select fname from Kerala where name='SRO No. 1021/2006'", 1, ""},
    {"gsNotificationSubject", "rubber", "select fname from Kerala where name='SRO No. 82/2005'", 1, ""},
    {"gsNotificationSection", "345", "select fname from Kerala where name='SRO No. 345/2007'", 1, ""},
    {"ObjSectionIndexKGSTGB", "KGST", "select fname from Kerala where name='Section index KGST'", 1, ""},
    {"ObjGenSaleTaxActGB", "general", "select fname from Kerala where name='THE KERALA GENERAL SALES TAX ACT' and type='Act'", 1, ""},
    {"ObjGSTPaperReportGB", "task", "select fname from Kerala where name='Report On GST Of Task Force' and type='Act'", 1, ""},
    {"ObjGSTRuleGB", "rules", "select fname from Kerala where name='KERALA GENERAL SALES TAX RULES' and type='Rules'", 1, ""},
    {"ObjAlliedActGB", "money", "select fname from Kerala where name='THE KERALA MONEY-LENDERS ACT 1958 ' and type='Allied'", 1, ""},
    {"ObjAlliedRuleGB", "mangalya", "select fname from Kerala where name='MANGALYA NIDHI CESS RULES' and type='Allied'", 1, ""},
    {"ObjAlliedFormsGB", "Tri-FORM H", "select fname from Kerala where name='Tri-FORM H' and type='Allied'", 1, ""},
    {"ObjAlliedCircularsGB", "currently", "select fname from Kerala where name='xxxx Currently No items' and type='Allied'", 1, ""},
    {"ObjAlliedNotificationsGB", "luxury", "select fname from Kerala where name='KERALA LUXURY TAX NOTIFICATIONS' and type='Allied'", 1, ""},
    {"ObjCAMenuItemGlobalSection", "audit vat", "select fname from CAPractice where ID=%1", 3,
     "SELECT ID FROM CAPractice WHERE name='Audit of VAT dealers'"},
};

class RoadTest : public LibraryTest, public ::testing::WithParamInterface<Road> {};

} // namespace

TEST_P(RoadTest, FromTheMainWindowToTheDocumentAndBack)
{
    const Road& road = GetParam();

    // main window: a click on a node of its tree opens the library
    main& m = ui::form<main>();
    m.Show();
    QTest::mouseClick(m.Tvw->viewport(), Qt::LeftButton, {}, m.Tvw->visualItemRect(m.Tvw->Nodes(1)->item()).center());
    frmkerala& lib = library();
    ASSERT_TRUE(lib.isVisible());
    EXPECT_EQ(shell::state().CurrentStateCode, 14);

    frmGlobalSections* s = openScreen(road.variable);
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(s->isVisible());
    EXPECT_TRUE(lib.isVisible());   // opening a screen never hides the library
    auto* grid = s->findChild<ui::DataGrid*>("DataGrid1");
    ASSERT_GT(grid->rowCount(), 0);

    QTest::keyClicks(s->findChild<ui::TextBox*>("txtSearch"), road.word);
    ASSERT_GE(grid->rowCount(), 1);
    QTest::mouseClick(s->findChild<ui::CommandButton*>("cmdGO"), Qt::LeftButton);

    QString expected = QString::fromUtf8(road.statement);
    if (*road.idQuery)
        expected = expected.arg(lawdb::getRecordSetByCn(road.idQuery, lawdb::state().LawConnection3)
                                    ->Fields(0).Value().toLongLong());
    const auto& st = lawdb::state();
    const QString connect = road.connectString == 1   ? st.LawConnectString1
                            : road.connectString == 2 ? st.LawConnectString2
                                                      : st.LawConnectString3;
    keralaforms& doc = document();
    EXPECT_TRUE(doc.isVisible());
    EXPECT_EQ(doc.parentWidget(), s);
    EXPECT_EQ(doc.MSRDC1->SQL(), expected);
    EXPECT_EQ(doc.MSRDC1->Connect(), connect);
    EXPECT_TRUE(doc.MSRDC1->hasRow());
    EXPECT_TRUE(doc.OLE1->hasDocument());
    EXPECT_TRUE(messages().empty()) << messages()[0].prompt.toStdString();

    // Back: the screen hides; ten screens bring the library window back themselves
    doc.Hide();
    lib.Hide();
    QTest::mouseClick(s->findChild<ui::CommandButton*>("cmdBack"), Qt::LeftButton);
    EXPECT_FALSE(s->isVisible());
    EXPECT_EQ(lib.isVisible(), library::findScreen(road.variable)->hasBackHandler);
    // the frame's close box acts as Back
    s->Show();
    lib.Hide();
    s->close();
    EXPECT_FALSE(s->isVisible());
    EXPECT_EQ(lib.isVisible(), library::findScreen(road.variable)->hasBackHandler);
}

INSTANTIATE_TEST_SUITE_P(EveryScreen, RoadTest, ::testing::ValuesIn(kRoads),
                         [](const ::testing::TestParamInfo<Road>& info) { return std::string(info.param.variable); });
