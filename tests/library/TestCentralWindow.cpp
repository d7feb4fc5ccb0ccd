// The Central Sales Tax window driven as a user would: its tree and toolbar, the documents it
// shows and opens through the desktop, Back and the unloading "back", and the main window's
// "Centr" key that opens it.
#include "LibraryFixture.h"

#include "library/central.h"
#include "platform/ui/forms/MousePointer.h"
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
    // The documents on view, by name, joined by blanks.
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

TEST_F(CentralWindowTest, NeitherTheStateTreeNorTheRulesMenuOpensAnything)
{
    EXPECT_EQ(w->Tvw->Nodes("Ker")->Parent(), w->Tvw->Nodes(1));
    ui::Button* rules = w->Toolbar2->Buttons("rul");
    ASSERT_EQ(rules->ButtonMenuCount(), 2);
    rules->ButtonMenus(1)->action()->trigger();
    rules->ButtonMenus(2)->action()->trigger();
    EXPECT_EQ(shownDocuments(), "");
    press("Act");
    w->Tvw->scrollToItem(w->Tvw->Nodes("Ker")->item());
    const QPoint at = w->Tvw->visualItemRect(w->Tvw->Nodes("Ker")->item()).center();
    QTest::mouseDClick(w->Tvw->viewport(), Qt::LeftButton, {}, at);
    QTest::keyClick(w->Tvw, Qt::Key_Return);
    EXPECT_EQ(shownDocuments(), "OLE1");
    EXPECT_FALSE(ui::formLoaded<frmkerala>() || ui::formLoaded<keralaforms>());
    EXPECT_TRUE(messages().empty());

    QTest::mouseMove(w->img1, QPoint(3, 50));
    EXPECT_EQ(w->img1->cursor().shape(), Qt::SizeHorCursor);
    ui::setMousePointer(ui::vbHourglass);
    QTest::mouseMove(w->Tvw->viewport(), at);   // moving over the tree restores the default pointer
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
}

// Each key shows its shipped page alone, with the hint; a click opens a copy through the
// desktop, and a refusal is reported.
TEST_F(CentralWindowTest, ToolbarShowsOneShippedDocumentAtATimeAndAClickOpensItThroughTheDesktop)
{
    EXPECT_TRUE(w->Label3->isHidden());
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Act", "OLE1", "cst-act-contents.rtf"}, {"forms", "OLE2", "cst-forms-contents.rtf"}, {"rul", "OLE3", "cst-test.rtf"}};
    for (const auto& [key, view, file] : cases) {
        SCOPED_TRACE(key);
        press(key);
        EXPECT_EQ(shownDocuments(), view);
        EXPECT_FALSE(w->Label3->isHidden());
        auto* shown = w->findChild<ui::OleView*>(view);
        QFile shipped(QStringLiteral(LUMORA_DATA_DIR "/central/") + file);
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        EXPECT_EQ(shown->data(), shipped.readAll());
        EXPECT_FALSE(shown->toPlainText().trimmed().isEmpty() || shown->toPlainText().contains("\\par"));

        QTest::mouseClick(shown->viewport(), Qt::LeftButton);
        ASSERT_FALSE(desktop->opened.isEmpty());
        QFile copy(desktop->opened.last());
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), shown->data());
    }
    EXPECT_EQ(desktop->opened.size(), 3);
    for (const char* key : {"circu", "not", "sch", "jud", "Ali", "rec", "ca", "print", "dele"})
        w->Toolbar2_ButtonClick(key);
    EXPECT_EQ(shownDocuments(), "OLE3");
    EXPECT_TRUE(messages().empty());

    desktop->openResult = false;
    QTest::mouseClick(w->OLE3->viewport(), Qt::LeftButton);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].icon(), ui::vbExclamation);
    EXPECT_TRUE(w->isVisible());
}

// The desktop starts its opener, which then finds no program for RTF: a double click tells
// the user, once the opener has ended, and the window goes on meanwhile.
TEST_F(CentralWindowTest, ADocumentNoProgramOpensIsReportedWhenTheDesktopGivesUp)
{
    press("Act");
    desktop->openFailure = "no program on this computer opens this kind of document";
    doubleClick(w->OLE1->viewport());
    EXPECT_EQ(desktop->opened.size(), 1);
    EXPECT_TRUE(messages().empty());   // not yet: the opener is still looking
    EXPECT_EVENTUALLY(!messages().empty());
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, "The document could not be opened in its own application (no program on this "
                                    "computer opens this kind of document).");
    EXPECT_EQ(messages()[0].icon(), ui::vbExclamation);
    EXPECT_EQ(messages()[0].title, "Sorry.........!");
    EXPECT_TRUE(w->isVisible());
}

TEST_F(CentralWindowTest, BackHidesAndKeepsTheDocumentWhileTheUnloadingBackStartsAfresh)
{
    press("forms");
    press("bac");
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(ui::form<main>().isVisible());
    w->Show();
    EXPECT_EQ(shownDocuments(), "OLE2");   // the same window, its document still chosen

    QPointer<central> before(w);
    w->Toolbar2_ButtonClick("back");   // no button carries it
    EXPECT_FALSE(ui::formLoaded<central>());
    EXPECT_TRUE(ui::form<frmkerala>().isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(before.isNull());

    ui::form<frmkerala>().Hide();
    main& m = ui::form<main>();
    m.Show();
    m.Toolbar2_ButtonClick("Centr");
    ASSERT_TRUE(ui::formLoaded<central>());
    w = &ui::form<central>();
    EXPECT_TRUE(w->isVisible() && m.isVisible());
    EXPECT_EQ(shownDocuments(), "");
    EXPECT_TRUE(messages().empty());
}
