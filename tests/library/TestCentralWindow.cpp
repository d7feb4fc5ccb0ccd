// The Central Sales Tax window driven as a user would: the tree of states, the toolbar and
// the document it shows, opening a document through the desktop, Back to the main window and
// the unloading "back", the pointer, and the main window's "Centr" key that opens it.
#include "LibraryFixture.h"

#include "library/central.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/TreeView.h"
#include "shell/main.h"

#include <QFile>
#include <QLabel>
#include <QMenu>

namespace {

class CentralWindowTest : public LibraryFixture {
protected:
    void SetUp() override
    {
        LibraryFixture::SetUp();
        w = &ui::form<central>();
        w->Show();
    }
    void press(const char* key)
    {
        ui::Button* b = w->Toolbar2->findButton(QString::fromLatin1(key));
        ASSERT_TRUE(b) << key;
        QTest::mouseClick(b->widget(), Qt::LeftButton);
    }
    // Which of the three documents are on view, as "OLE1" ... joined by blanks.
    QString shownDocuments() const
    {
        QStringList shown;
        for (ui::OleView* v : {w->OLE1, w->OLE2, w->OLE3})
            if (!v->isHidden())
                shown << v->objectName();
        return shown.join(' ');
    }
    static QByteArray shippedFile(const QString& name)
    {
        QFile f(QStringLiteral(LUMORA_DATA_DIR "/central/") + name);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        return f.readAll();
    }

    central* w = nullptr;
};

} // namespace

TEST_F(CentralWindowTest, TreeListsTheStatesUnderOneRoot)
{
    EXPECT_EQ(w->Caption(), "Central sales Act");
    EXPECT_EQ(w->WindowState(), ui::vbMaximized);
    const QStringList keys = QString("One Two COM CAT DEP DES EMP Del Go Guj Hay Hp Jha jk Kar Ker Mad Mah Man Meh "
                                     "Orissa Punjab Raj Sik Tam Tri Utt Uta We").split(' ');
    const QStringList texts = QString("States|States|Andhra Pradesh|Arunachal Pradesh|Assam|Bihar|chattisgarh|Delhi|Goa|"
                                      "Gujarat|Haryana|Himachal Pradesh|Jharkand|Jammu and kashmir|Karnataka|Kerala|"
                                      "Madya Pradesh|Maharashtra|Manipur|Meghalaya|Orissa|Punjab|Rajasthan|Sikkim|"
                                      "TamilNadu|Tripura|Uttar Pradesh|Utharanchal|West Bangal").split('|');
    ui::NodeCollection& nodes = w->Tvw->Nodes();
    ASSERT_EQ(nodes.Count(), 29);
    for (int i = 1; i <= 29; ++i) {
        ui::Node* n = nodes.Item(i);
        EXPECT_EQ(n->Key(), keys[i - 1]) << i;
        EXPECT_EQ(n->Text(), texts[i - 1]) << i;
        EXPECT_EQ(n->Image(), 1) << i;
        EXPECT_EQ(n->SelectedImage(), i == 1 ? 0 : 2) << i;
        EXPECT_EQ(n->Parent() ? n->Parent()->Key() : QString(), i == 1 ? QString() : QStringLiteral("One")) << i;
    }
    EXPECT_TRUE(nodes.Item(1)->Expanded());
    EXPECT_EQ(w->Tvw->ToolTipText(), "double click on each state to get details");
}

TEST_F(CentralWindowTest, ToolbarCarriesTheElevenButtonsAndTheRulesMenu)
{
    const QStringList keys{"Act", "rul", "circu", "not", "sch", "jud", "forms", "Ali", "rec", "ca", "bac"};
    const QStringList captions{"Act", "Rules", "Circulars", "Notification", "Schedules", "Judgements", "Forms",
                               "Allied", "R.Judgement", "CA", "Back"};
    const QStringList tips{"Act", "Rules", "Circulars", "Notification", "Schedules", "Judgements", "Word Forms",
                           "Allied Act,Forms,Rules", "Recent Judgements", "Tools for Chartered Accountants",
                           "Back to Main Menu"};
    ASSERT_EQ(w->Toolbar2->ButtonCount(), 11);
    for (int i = 0; i < 11; ++i) {
        ui::Button* b = w->Toolbar2->Buttons(i + 1);
        EXPECT_EQ(b->Key(), keys[i]);
        EXPECT_EQ(b->Caption(), captions[i]);
        EXPECT_EQ(b->ToolTipText(), tips[i]);
        EXPECT_EQ(b->ButtonMenuCount(), i == 1 ? 2 : 0) << keys[i].toStdString();
    }
    ui::Button* rules = w->Toolbar2->Buttons("rul");
    EXPECT_EQ(rules->ButtonMenus(1)->Key(), "CP");
    EXPECT_EQ(rules->ButtonMenus(1)->Text(), "Cash Payment");
    EXPECT_EQ(rules->ButtonMenus(2)->Key(), "BP");
    EXPECT_EQ(rules->ButtonMenus(2)->Text(), "Bank Payment");
    rules->ButtonMenus(1)->action()->trigger();   // no handler answers the menu
    rules->ButtonMenus(2)->action()->trigger();
    EXPECT_EQ(shownDocuments(), "");
    EXPECT_TRUE(messages().empty());
}

TEST_F(CentralWindowTest, ToolbarShowsOneDocumentAtATimeWithTheHint)
{
    EXPECT_EQ(shownDocuments(), "");   // nothing on view after load
    EXPECT_TRUE(w->Label3->isHidden());
    EXPECT_EQ(w->Label3->text(), "click on contents ot see details");

    press("Act");
    EXPECT_EQ(shownDocuments(), "OLE1");
    EXPECT_FALSE(w->Label3->isHidden());
    press("Act");   // twice in a row changes nothing
    EXPECT_EQ(shownDocuments(), "OLE1");
    press("forms");
    EXPECT_EQ(shownDocuments(), "OLE2");
    press("rul");   // the test document, not a rules document
    EXPECT_EQ(shownDocuments(), "OLE3");
    for (const char* key : {"circu", "not", "sch", "jud", "Ali", "rec", "ca"})
        press(key);
    w->Toolbar2_ButtonClick("print");   // keys no button carries
    w->Toolbar2_ButtonClick("dele");
    EXPECT_EQ(shownDocuments(), "OLE3");
    EXPECT_FALSE(w->Label3->isHidden());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(messages().empty());
}

TEST_F(CentralWindowTest, DocumentsAreTheShippedSampleContentsPages)
{
    const std::tuple<ui::OleView*, const char*, QStringList> cases[] = {
        {w->OLE1, "cst-act-contents.rtf", {"CONTENTS", "CENTRAL SALES TAX ACT ,1956", "PRELIMINARY", "INTER-STATE SALES TAX",
                                           "LIABILITY IN SPECIAL CASES"}},
        {w->OLE2, "cst-forms-contents.rtf", {"CONTENTS", "CENTRAL SALES TAX FORMS ,1956",
                                             "DOUBLE CLICK ON EACH FORM NAME TO OPEN THE FORM", "Certificate of export"}},
        {w->OLE3, "cst-test.rtf", {"Short title extend and commencement"}},
    };
    for (const auto& [view, file, phrases] : cases) {
        SCOPED_TRACE(file);
        EXPECT_EQ(view->data(), shippedFile(file));
        const QString text = view->toPlainText();
        for (const QString& phrase : phrases)
            EXPECT_TRUE(text.contains(phrase)) << phrase.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8("Sample text \xE2\x80\x94 not the official text of the law")));
        EXPECT_FALSE(text.contains("\\par"));
    }
}

TEST_F(CentralWindowTest, AClickOpensTheShownDocumentThroughTheDesktopAndARefusalIsReported)
{
    const std::pair<const char*, ui::OleView*> cases[] = {{"Act", w->OLE1}, {"forms", w->OLE2}, {"rul", w->OLE3}};
    for (const auto& [key, view] : cases) {
        press(key);
        QTest::mouseClick(view->viewport(), Qt::LeftButton);
        ASSERT_FALSE(desktop->opened.isEmpty()) << key;
        QFile copy(desktop->opened.last());
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly)) << key;
        EXPECT_EQ(copy.readAll(), view->data()) << key;
    }
    EXPECT_EQ(desktop->opened.size(), 3);
    EXPECT_TRUE(messages().empty());

    desktop->openResult = false;
    QTest::mouseClick(w->OLE3->viewport(), Qt::LeftButton);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("The document could not be opened in its own application"));
    EXPECT_EQ(messages()[0].icon(), ui::vbExclamation);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(CentralWindowTest, BackHidesAndKeepsTheDocumentWhileTheUnloadingBackStartsAfresh)
{
    press("forms");
    press("bac");
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(ui::formLoaded<central>());
    EXPECT_TRUE(ui::form<main>().isVisible());
    w->Show();
    EXPECT_EQ(shownDocuments(), "OLE2");   // the same window, its document still chosen

    QPointer<central> before(w);
    w->Toolbar2_ButtonClick("back");   // no button carries it
    EXPECT_FALSE(ui::formLoaded<central>());
    EXPECT_TRUE(ui::form<frmkerala>().isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(before.isNull());
    w = &ui::form<central>();
    w->Show();
    EXPECT_EQ(shownDocuments(), "");
    EXPECT_TRUE(w->Label3->isHidden());
}

TEST_F(CentralWindowTest, TreeDoubleClickAndEnterDoNothingAndThePointerFollowsTheBar)
{
    press("Act");
    ui::Node* kerala = w->Tvw->Nodes("Ker");
    w->Tvw->setSelectedItem(kerala);
    w->Tvw->scrollToItem(kerala->item());
    const QPoint at = w->Tvw->visualItemRect(kerala->item()).center();
    QTest::mouseDClick(w->Tvw->viewport(), Qt::LeftButton, {}, at);
    QTest::keyClick(w->Tvw, Qt::Key_Return);
    EXPECT_EQ(shownDocuments(), "OLE1");
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(ui::formLoaded<frmkerala>());
    EXPECT_FALSE(ui::formLoaded<keralaforms>());
    EXPECT_TRUE(messages().empty());

    QTest::mouseMove(w->img1, QPoint(3, 50));
    EXPECT_EQ(w->img1->cursor().shape(), Qt::SizeHorCursor);
    ui::setMousePointer(ui::vbHourglass);
    QTest::mouseMove(w->Tvw->viewport(), at);   // moving over the tree restores the default pointer
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(CentralWindowTest, TheMainWindowsCentrKeyOpensIt)
{
    w->Toolbar2_ButtonClick("back");   // start with the window unloaded
    ui::form<frmkerala>().Hide();
    ui::clearShownMessages();
    main& m = ui::form<main>();
    m.Show();
    m.Toolbar2_ButtonClick("Centr");
    ASSERT_TRUE(ui::formLoaded<central>());
    EXPECT_TRUE(ui::form<central>().isVisible());
    EXPECT_TRUE(m.isVisible());   // the main window stays
    EXPECT_TRUE(messages().empty());
}
