// Library window: the toolbar and window as built, failures in the openers and the C A
// Practice pair, and the document requests' answers to values they cannot use.
#include "LibraryFixture.h"

#include "platform/ui/StatusBar.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/TreeView.h"

#include <QGroupBox>
#include <QLabel>

namespace {

class LibraryWindowReview : public LibraryFixture {
protected:
    frmkerala& library() { return ui::form<frmkerala>(); }
    ui::Toolbar* toolbar() { return library().findChild<ui::Toolbar*>("Toolbar2"); }
    ui::TreeView* tree(const char* name) { return library().findChild<ui::TreeView*>(name); }
};

} // namespace

TEST_F(LibraryWindowReview, ToolbarButtonsInOrderWithTheirTips)
{
    library().Show();
    EXPECT_EQ(library().windowTitle(), "Kerala");
    struct B { const char* caption; const char* key; const char* tip; };
    const B expected[] = {
        {"Act", "Act", "Act"}, {"Rules", "rul", "Rules"}, {"Circulars", "circu", "Circulars"},
        {"Notification", "not", "Notification"}, {"Schedules", "sch", "Schedules"},
        {"Judgements", "jud", "Judgements"}, {"Forms", "forms", "Word Forms"},
        {"Allied", "Ali", "Allied Act,Forms,Rules"}, {"R.Judgement", "rec", "Recent Judgements"},
        {"CA", "ca", "Tools for Chartered Accountants"}, {"Back", "bac", "Back to Main Menu"}};
    ASSERT_EQ(toolbar()->ButtonCount(), 11);
    for (int i = 0; i < 11; ++i) {
        ui::Button* b = toolbar()->Buttons(i + 1);
        EXPECT_EQ(b->Caption(), expected[i].caption);
        EXPECT_EQ(b->Key(), expected[i].key);
        EXPECT_EQ(b->ToolTipText(), expected[i].tip);
    }
    ui::Button* rules = toolbar()->Buttons("rul");
    ASSERT_EQ(rules->ButtonMenuCount(), 2);
    EXPECT_EQ(rules->ButtonMenus(1)->Key(), "CP");
    EXPECT_EQ(rules->ButtonMenus(1)->Text(), "Cash Payment");
    EXPECT_EQ(rules->ButtonMenus(2)->Key(), "BP");
    EXPECT_EQ(rules->ButtonMenus(2)->Text(), "Bank Payment");

    auto* frame = library().findChild<QGroupBox*>("Frame1");
    EXPECT_EQ(frame->title(), "Click on the topic you need");
    EXPECT_EQ(ui::widthTwips(frame), 8295);
    EXPECT_EQ(ui::heightTwips(frame), 5775);
    for (const char* name : {"Tvw", "tvw2", "tvwn", "tvw3", "tvwali"})
        EXPECT_EQ(tree(name)->ToolTipText(), "double click on each item get details") << name;
    for (const char* name : {"tvwc", "tvwr"})
        EXPECT_TRUE(tree(name)->ToolTipText().isEmpty()) << name;
    EXPECT_EQ(twipsRect(library().findChild<QLabel*>("Picture1")), QRect(14160, 120, 480, 480));
}

TEST_F(LibraryWindowReview, AnOpenerWithNoSelectedNodeReportsUnderItsTag)
{
    library().Show();
    library().tvwc_DblClick();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("Exc on TvwC CIR : ")) << messages()[0].prompt.toStdString();
    EXPECT_TRUE(messages()[0].prompt.contains(" | No: 91 | Src: "));
    EXPECT_EQ(messages()[0].title, "_IN_DEBUG");
    EXPECT_TRUE(messages()[0].buttons & ui::vbExclamation);
}

TEST_F(LibraryWindowReview, APracticeScreenThatCannotLoadIsReportedAndTriedAgain)
{
    library().Show();
    lawdb::state().LawConnection3->Execute("ALTER TABLE CAPractice RENAME TO CAPracticeAway");
    library().Toolbar2_ButtonClick("ca");
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("MyMOD.getRecordSetByCn : "));
    EXPECT_TRUE(messages()[1].prompt.startsWith("Error on LOAD_CA_MENU_GRID() \r\n")) << messages()[1].prompt.toStdString();
    EXPECT_EQ(messages()[1].title, ui::kDefaultTitle);
    EXPECT_EQ(library().screen("ObjCAMenuItemGlobalSection"), nullptr);
    EXPECT_EQ(library().CurrentToolbarKey(), "ca");

    lawdb::state().LawConnection3->Execute("ALTER TABLE CAPracticeAway RENAME TO CAPractice");
    library().Toolbar2_ButtonClick("ca");
    ASSERT_NE(library().screen("ObjCAMenuItemGlobalSection"), nullptr);
    EXPECT_TRUE(library().screen("ObjCAMenuItemGlobalSection")->isVisible());
    EXPECT_EQ(messages().size(), 2u);
}

TEST_F(LibraryWindowReview, GoValuesThatAreNullFollowTheirShape)
{
    library().Show();
    library().Toolbar2_ButtonClick("jud");
    ui::TreeView* t = tree("tvw3");
    t->setSelectedItem(t->Nodes("Twor"));
    library().tvw3_DblClick();
    frmGlobalSections* judgments = library().screen("gsJudgmentSection");
    ASSERT_NE(judgments, nullptr);
    ado::Variant null = ado::Variant::null();
    emit judgments->GoClicked(judgments, null);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt,
              "Error on gsJudgmentSection_GoClicked() \r\nInvalid use of Null | No: 94 | Src: Lumora");
    EXPECT_FALSE(documentShown());

    // a whole-document screen puts nothing in place of a Null and finds the placeholder
    ui::clearShownMessages();
    library().Toolbar2_ButtonClick("Act");
    ui::TreeView* act = tree("Tvw");
    act->setSelectedItem(act->Nodes("GENERAL"));
    library().Tvw_DblClick();
    frmGlobalSections* general = library().screen("ObjGenSaleTaxActGB");
    ASSERT_NE(general, nullptr);
    emit general->GoClicked(general, null);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(document().isVisible());
    EXPECT_EQ(document().MSRDC1->SQL(), lawdb::kPlaceholderQuery);
}

TEST_F(LibraryWindowReview, BackOnAScreenWithoutAHandlerLeavesTheLibraryAsItWas)
{
    library().Show();
    library().Toolbar2_ButtonClick("sch");
    frmGlobalSections* schedules = library().screen("ObjScheduleGlobalSection");
    ASSERT_NE(schedules, nullptr);
    library().Hide();
    schedules->cmdBack_Click();
    EXPECT_FALSE(schedules->isVisible());
    EXPECT_FALSE(library().isVisible());

    library().Toolbar2_ButtonClick("Act");
    ui::TreeView* act = tree("Tvw");
    act->setSelectedItem(act->Nodes("KGST"));
    library().Tvw_DblClick();
    frmGlobalSections* kgst = library().screen("ObjSectionIndexKGSTGB");
    ASSERT_NE(kgst, nullptr);
    kgst->close();   // by the frame: hides, and its handler shows the library
    EXPECT_FALSE(kgst->isVisible());
    EXPECT_TRUE(library().isVisible());
}
