// The Central Sales Tax window driven as a user would: the tree of states, the toolbar and
// the document it shows, opening a document through the desktop, Back to the main window and
// the unloading "back", the pointer, and the main window's "Centr" key that opens it.
#include "LibraryFixture.h"

#include "library/central.h"
#include "platform/ui/MousePointer.h"
#include "shell/main.h"

#include <QFile>
#include <QLabel>

namespace {

class CentralWindowTest : public LibraryFixture {
protected:
    void SetUp() override
    {
        LibraryFixture::SetUp();
        w = &ui::form<central>();
        w->Show();
    }
    void press(const char* key) { pressKey(w->Toolbar2, key); }
    // Which of the three documents are on view, as "OLE1" ... joined by blanks.
    QString shownDocuments() const
    {
        QStringList shown;
        for (ui::OleView* v : {w->OLE1, w->OLE2, w->OLE3})
            if (!v->isHidden())
                shown << v->objectName();
        return shown.join(' ');
    }

    central* w = nullptr;
};

} // namespace

TEST_F(CentralWindowTest, TreeListsTheStatesUnderOneRootAndNeitherItNorTheRulesMenuOpensAnything)
{
    QString states = "Two COM CAT DEP DES EMP Del Go Guj Hay Hp Jha jk Kar Ker Mad Mah Man Meh Orissa Punjab Raj Sik Tam "
                     "Tri Utt Uta We";
    EXPECT_EQ(treeOutline(w->Tvw).join(' '), "One One>" + states.replace(" ", " One>"));
    EXPECT_TRUE(w->Tvw->Nodes(1)->Expanded());

    ui::Button* rules = w->Toolbar2->Buttons("rul");
    ASSERT_EQ(rules->ButtonMenuCount(), 2);
    rules->ButtonMenus(1)->action()->trigger();   // no handler answers the menu
    rules->ButtonMenus(2)->action()->trigger();
    EXPECT_EQ(shownDocuments(), "");
    press("Act");
    w->Tvw->scrollToItem(w->Tvw->Nodes("Ker")->item());
    const QPoint at = w->Tvw->visualItemRect(w->Tvw->Nodes("Ker")->item()).center();
    QTest::mouseDClick(w->Tvw->viewport(), Qt::LeftButton, {}, at);
    QTest::keyClick(w->Tvw, Qt::Key_Return);
    EXPECT_EQ(shownDocuments(), "OLE1");
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(ui::formLoaded<frmkerala>() || ui::formLoaded<keralaforms>());
    EXPECT_TRUE(messages().empty());

    QTest::mouseMove(w->img1, QPoint(3, 50));
    EXPECT_EQ(w->img1->cursor().shape(), Qt::SizeHorCursor);
    ui::setMousePointer(ui::vbHourglass);
    QTest::mouseMove(w->Tvw->viewport(), at);   // moving over the tree restores the default pointer
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
}

// Each key shows its shipped sample contents page alone, with the hint; a click opens a copy of
// it in the desktop's own application, and a refusal is reported.
TEST_F(CentralWindowTest, ToolbarShowsOneShippedDocumentAtATimeAndAClickOpensItThroughTheDesktop)
{
    EXPECT_EQ(shownDocuments(), "");   // nothing on view after load
    EXPECT_TRUE(w->Label3->isHidden());
    // key, document shown, its shipped file, a phrase of its text
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {"Act", "OLE1", "cst-act-contents.rtf", "INTER-STATE SALES TAX"},
        {"Act", "OLE1", "cst-act-contents.rtf", "CENTRAL SALES TAX ACT ,1956"},   // twice in a row changes nothing
        {"forms", "OLE2", "cst-forms-contents.rtf", "DOUBLE CLICK ON EACH FORM NAME TO OPEN THE FORM"},
        {"rul", "OLE3", "cst-test.rtf", "Short title extend and commencement"},   // the test document
    };
    for (const auto& [key, view, file, phrase] : cases) {
        SCOPED_TRACE(key);
        press(key);
        EXPECT_EQ(shownDocuments(), view);
        EXPECT_FALSE(w->Label3->isHidden());
        auto* shown = w->findChild<ui::OleView*>(view);
        QFile shipped(QStringLiteral(LUMORA_DATA_DIR "/central/") + file);
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        EXPECT_EQ(shown->data(), shipped.readAll());
        const QString text = shown->toPlainText();
        EXPECT_TRUE(text.contains(phrase)) << phrase;
        EXPECT_TRUE(text.contains(QString::fromUtf8("Sample text \xE2\x80\x94 not the official text of the law")));
        EXPECT_FALSE(text.contains("\\par"));

        QTest::mouseClick(shown->viewport(), Qt::LeftButton);
        ASSERT_FALSE(desktop->opened.isEmpty());
        QFile copy(desktop->opened.last());
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), shown->data());
    }
    EXPECT_EQ(desktop->opened.size(), 4);
    for (const char* key : {"circu", "not", "sch", "jud", "Ali", "rec", "ca"})
        press(key);
    w->Toolbar2_ButtonClick("print");   // keys no button carries
    w->Toolbar2_ButtonClick("dele");
    EXPECT_EQ(shownDocuments(), "OLE3");
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

    // the main window's "Centr" key builds it again, with nothing chosen
    ui::form<frmkerala>().Hide();
    main& m = ui::form<main>();
    m.Show();
    m.Toolbar2_ButtonClick("Centr");
    ASSERT_TRUE(ui::formLoaded<central>());
    w = &ui::form<central>();
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(m.isVisible());   // the main window stays
    EXPECT_EQ(shownDocuments(), "");
    EXPECT_TRUE(w->Label3->isHidden());
    EXPECT_TRUE(messages().empty());
}
