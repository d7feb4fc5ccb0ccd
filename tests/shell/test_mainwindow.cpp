// The main window driven offscreen: the state tree, the caption, the toolbar and each key's
// effect, Exit and the frame's close box, the shut-down picture, the resize rule.
#include "ShellFixture.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Banner.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/RichTextBox.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/TreeView.h"
#include "platform/ui/Twips.h"
#include "shell/help.h"
#include "shell/main.h"
#include "form10/registers/frmSelect.h"
#include "library/frmkerala.h"

#include <QDate>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>

namespace {

class MainWindowTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        lawdb::procConnectLawDBs();
        w = &ui::form<main>();
        w->Show();
    }
    void press(const QString& key)
    {
        ui::Button* b = w->Toolbar2->findButton(key);
        ASSERT_TRUE(b) << key.toStdString();
        w->Toolbar2->press(b);
    }
    QVariant flagOfRow(int row)
    {
        auto rs = form10("SELECT FrmFlg FROM tblMPage2");
        rs->Move(row);
        return rs->Eof() ? QVariant() : QVariant(rs->Fields(0).Value().toLongLong());
    }
    main* w = nullptr;
};

const QString kFailure = QStringLiteral("This feature is not working");

} // namespace

TEST_F(MainWindowTest, StateTreeHasItsNodesInOrderUnderTheirParents)
{
    const QStringList keys = QString("One Two And Aru Ass Bih Chat Del Go Guj Hay Hp Jha jk Kar Ker Mad Mah Man Meh "
                                     "Orissa Pudhu Punjab Raj Sik Tam Tri Utt Uta We Centr Glob").split(' ');
    ui::NodeCollection& nodes = w->Tvw->Nodes();
    ASSERT_EQ(nodes.Count(), 32);
    for (int i = 1; i <= 32; ++i) {
        ui::Node* n = nodes.Item(i);
        EXPECT_EQ(n->Key(), keys[i - 1]) << i;
        EXPECT_EQ(n->Image(), 1) << i;
        EXPECT_EQ(n->SelectedImage(), i == 1 ? 0 : 2) << i;
        const QString parent = n->Parent() ? n->Parent()->Key() : QString();
        const QString expected = i == 1 ? QString() : (i == 2 || i == 31) ? QStringLiteral("One") : QStringLiteral("Two");
        EXPECT_EQ(parent, expected) << n->Key().toStdString();
    }
    EXPECT_EQ(nodes.Item("One")->Text(), "Lumora on VAT laws");
    EXPECT_EQ(nodes.Item("Chat")->Text(), "chattisgarh");
    EXPECT_EQ(nodes.Item("jk")->Text(), "Jammu and kashmir");
    EXPECT_EQ(nodes.Item("Ker")->Text(), "Kerala");
    EXPECT_EQ(nodes.Item("We")->Text(), "West Bangal");
    EXPECT_EQ(nodes.Item("Centr")->Text(), "Central Sales Tax");
    EXPECT_EQ(nodes.Item("Glob")->Text(), "Global Subject,Citation ");
    EXPECT_TRUE(nodes.Item(1)->Expanded());
    EXPECT_TRUE(nodes.Item(2)->Expanded());
    EXPECT_EQ(w->Tvw->ToolTipText(), "choose state and double click on each state to get details");
}

TEST_F(MainWindowTest, CaptionCarriesTheDateAndBlanks)
{
    const QDate d = sys::today();
    const QString date = QStringLiteral("%1-%2-%3").arg(d.month(), 2, 10, QChar('0')).arg(d.day(), 2, 10, QChar('0')).arg(d.year());
    EXPECT_EQ(w->Caption(), "Lumora on VAT Laws DEMO  [" + date + "] ");
    EXPECT_TRUE(w->ShockwaveFlash1->Movie().endsWith("test.swf"));
}

TEST_F(MainWindowTest, ToolbarButtonsInOrderWithTheirCaptionsAndTips)
{
    const QStringList keys{"stat", "ack", "help", "dele", "not", "op", "bkp", "f10", "EXI"};
    const QStringList captions{"States", "Acknowledgement", "Help", "Dealers", "Notepad", "Other Products",
                               "BackUp/Restore", "Form 10", "Exit"};
    ASSERT_EQ(w->Toolbar2->ButtonCount(), keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(w->Toolbar2->Buttons(i + 1)->Key(), keys[i]);
        EXPECT_EQ(w->Toolbar2->Buttons(i + 1)->Caption(), captions[i]);
    }
    ui::Button* ack = w->Toolbar2->Buttons("ack");
    ASSERT_EQ(ack->ButtonMenuCount(), 2);
    EXPECT_EQ(ack->ButtonMenus(1)->Text(), "Cash Payment");
    EXPECT_EQ(ack->ButtonMenus(2)->Text(), "Bank Payment");
}

TEST_F(MainWindowTest, DocumentKeysShowTheHelpWindowWithTheirDocument)
{
    const std::pair<const char*, const char*> cases[] = {
        {"help", "HELP VAT.rtf"}, {"ack", "ACK.rtf"}, {"dele", "DEALERS.rtf"}, {"op", "PRODUCTS.rtf"}};
    for (const auto& [key, file] : cases) {   // their texts are checked by the help window's tests
        press(key);
        help& h = ui::form<help>();
        EXPECT_TRUE(h.isVisible()) << key;
        EXPECT_TRUE(h.RichTextBox1->FileName().endsWith(file)) << key;
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowTest, NotepadStartsThroughTheDesktop)
{
    press("not");
    EXPECT_EQ(desktop->started, QStringList{"Notepad"});
    EXPECT_TRUE(messages().empty());
    desktop->startResult = false;
    press("not");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, kFailure);
    EXPECT_EQ(messages()[0].title, "Lumora");
    EXPECT_EQ(messages()[0].icon(), ui::vbInformation);
}

TEST_F(MainWindowTest, StatesShowsTheTreeAndUnusedKeysDoNothing)
{
    w->Tvw->setVisible(false);
    press("stat");
    EXPECT_TRUE(w->Tvw->isVisible());
    for (const char* key : {"CP", "BP", "wo", "rul", "circu", "zzz"})
        w->Toolbar2_ButtonClick(key);
    ui::Button* ack = w->Toolbar2->Buttons("ack");
    ack->ButtonMenus(1)->action()->trigger();
    ack->ButtonMenus(2)->action()->trigger();
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(ended.has_value());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(MainWindowTest, OtherWindowsOpenOrTheFailureIsShown)
{
    press("f10");
    EXPECT_TRUE(ui::form<frmSelect>().isVisible());
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(ended.has_value());
}

TEST_F(MainWindowTest, TreeClickSetsKeralaAndLeavesTheMainWindow)
{
    for (const char* key : {"Glob", "One", "Centr"}) {
        w->Show();
        w->Tvw->setSelectedItem(w->Tvw->Nodes(QString(key)));
        shell::state().CurrentStateCode = 0;
        if (QString(key) == "One")
            emit w->Tvw->DblClick();
        else
            emit w->Tvw->Click();
        EXPECT_EQ(shell::state().CurrentStateCode, 14) << key;
        EXPECT_FALSE(w->isVisible()) << key;
        EXPECT_TRUE(ui::form<frmkerala>().isVisible()) << key;
    }
    // a click of the mouse on a state reaches the handler too
    ui::form<frmkerala>().Hide();
    w->Show();
    w->Tvw->setVisible(true);
    ui::Node* kerala = w->Tvw->Nodes().Item("Ker");
    ASSERT_TRUE(kerala);
    w->Tvw->scrollToItem(kerala->item());
    const QRect at = w->Tvw->visualItemRect(kerala->item());
    ASSERT_FALSE(at.isEmpty());
    shell::state().CurrentStateCode = 0;
    QTest::mouseClick(w->Tvw->viewport(), Qt::LeftButton, {}, at.center());
    EXPECT_EQ(w->Tvw->SelectedItem(), kerala);
    EXPECT_EQ(shell::state().CurrentStateCode, 14);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(ui::form<frmkerala>().isVisible());
}

TEST_F(MainWindowTest, ExitWritesZeroIntoTheFirstRowOnlyAndEnds)
{
    form10("UPDATE tblMPage2 SET FrmFlg = 1");
    form10("INSERT INTO tblMPage2 (FrmFlg) VALUES (7)");
    press("EXI");
    ASSERT_TRUE(ended.has_value());
    EXPECT_EQ(*ended, 0);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(flagOfRow(0), QVariant(0LL));
    EXPECT_EQ(flagOfRow(1), QVariant(7LL));
    EXPECT_FALSE(ui::formLoaded<main>());
}

TEST_F(MainWindowTest, ExitWithAnEmptyFlagTableOrNoForm10DatabaseReportsAndStillEnds)
{
    form10("DELETE FROM tblMPage2");
    press("EXI");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, kFailure);
    ASSERT_TRUE(ended.has_value());
    EXPECT_EQ(form10("SELECT * FROM tblMPage2")->RecordCount(), 0);   // no row was made up
    EXPECT_FALSE(ui::formLoaded<main>());

    ui::clearShownMessages();
    ended.reset();
    ASSERT_TRUE(QFile::remove(folder.file("nwForm10DB.mdb")));
    ui::form<main>().Show();
    w = &ui::form<main>();
    press("EXI");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, kFailure);
    ASSERT_TRUE(ended.has_value());
    EXPECT_FALSE(QFile::exists(folder.file("nwForm10DB.mdb")));   // never created
}

TEST_F(MainWindowTest, ClosingByTheFrameEndsAsExitDoes)
{
    form10("UPDATE tblMPage2 SET FrmFlg = 1");
    w->close();
    ASSERT_TRUE(ended.has_value());
    EXPECT_EQ(*ended, 0);
    EXPECT_EQ(flagOfRow(0), QVariant(0LL));
}

TEST_F(MainWindowTest, ShutDownPictureAsksAndReports)
{
    form10("UPDATE tblMPage2 SET FrmFlg = 1");
    nextYesNo = ui::vbNo;
    QLabel* caption = nullptr;   // the mouse on the picture's caption reaches the handler
    for (QLabel* l : w->Picture6->findChildren<QLabel*>())
        if (!l->text().isEmpty())
            caption = l;
    ASSERT_TRUE(caption);
    QTest::mouseClick(caption, Qt::LeftButton);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].prompt, "Are  you Sure?");
    EXPECT_EQ(messages()[0].title, "Exit Windows");
    EXPECT_EQ(messages()[0].buttonSet(), ui::vbYesNo);
    EXPECT_EQ(messages()[1].prompt, "You  Cancelled  Shut Down");
    EXPECT_EQ(messages()[1].title, " Sorry.....");
    EXPECT_EQ(messages()[1].icon(), ui::vbExclamation);
    EXPECT_EQ(desktop->shutDownRequests, 0);

    ui::clearShownMessages();
    nextYesNo = ui::vbYes;
    w->Picture6_Click();
    EXPECT_EQ(desktop->shutDownRequests, 1);
    EXPECT_EQ(messages().size(), 1u);   // only the question
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);

    ui::clearShownMessages();
    desktop->shutDownResult = false;
    w->Picture6_Click();
    EXPECT_EQ(desktop->shutDownRequests, 2);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[1].prompt.contains("refused"));
    EXPECT_EQ(flagOfRow(0), QVariant(1LL));   // shutting down writes no flag
    EXPECT_FALSE(ended.has_value());
}

TEST_F(MainWindowTest, TheClickablePicturesShowTheHandPointerWhenThePointerComesOverThem)
{
    for (QWidget* picture : {w->Picture2, w->Picture6}) {
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(picture, &enter);
        EXPECT_TRUE(picture->testAttribute(Qt::WA_SetCursor));
        EXPECT_EQ(picture->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_FALSE(w->Picture4->testAttribute(Qt::WA_SetCursor));   // no behaviour, no hand
}

TEST_F(MainWindowTest, ResizeCentresTheFrameAndSizesTheBanner)
{
    w->setHeight(3000);
    EXPECT_EQ(ui::topTwips(w->Frame1), 0);
    w->setHeight(14000);
    w->setWidth(20000);
    const int expected = (w->ScaleHeight() - ui::heightTwips(w->Frame1)) / 2;
    ASSERT_GT(expected, 0);
    EXPECT_NEAR(ui::topTwips(w->Frame1), expected, 1);
    EXPECT_EQ(ui::leftTwips(w->Frame1), 0);
    EXPECT_EQ(ui::leftTwips(w->ShockwaveFlash1), 2590);
    EXPECT_EQ(ui::widthTwips(w->ShockwaveFlash1), ui::widthTwips(w->Frame1) - 2590);
    EXPECT_EQ(ui::heightTwips(w->ShockwaveFlash1), ui::topTwips(w->Picture3));
}

TEST_F(MainWindowTest, ConnectDbRenewsTheSharedForm10Connection)
{
    auto before = Module2().Form10Connection;
    w->procConnectDB();
    ASSERT_TRUE(Module2().Form10Connection);
    EXPECT_NE(Module2().Form10Connection, before);
    EXPECT_EQ(Module2().Form10Connection->State(), ado::adStateOpen);
    ASSERT_TRUE(Module2().ReadRecordset);
    EXPECT_EQ(Module2().ReadRecordset->State(), ado::adStateClosed);
}
