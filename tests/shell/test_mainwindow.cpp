// The main window driven offscreen: the state tree, the caption, the toolbar and each key's
// effect, Exit and the frame's close box, the shut-down picture.
#include "ShellFixture.h"
#include "form10/registers/frmDealer.h"
#include "form10/registers/frmSelect.h"
#include "library/frmkerala.h"
#include "platform/sys/Clock.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/documents/RichTextBox.h"
#include "platform/ui/controls/Toolbar.h"
#include "platform/ui/controls/TreeView.h"
#include "shell/help.h"
#include "shell/main.h"

#include <QFile>
#include <QLabel>
#include <QTest>

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

TEST_F(MainWindowTest, CaptionCarriesTheDateAndTheStatesHangUnderTwo)
{
    EXPECT_EQ(w->Caption(), "Lumora on VAT Laws DEMO  [" + sys::today().toString("MM-dd-yyyy") + "] ");
    EXPECT_EQ(w->Tvw->Nodes(1)->Key(), "One");
    for (auto [key, parent] : {std::pair{"Two", "One"}, {"Centr", "One"}, {"Ker", "Two"}, {"Glob", "Two"}})
        EXPECT_EQ(w->Tvw->Nodes(QString(key))->Parent()->Key(), parent) << key;
}

TEST_F(MainWindowTest, ToolbarKeysOpenTheirWindowsAndUnusedKeysDoNothing)
{
    // the document keys show the help window with their document
    for (auto [key, file] : {std::pair{"help", "HELP VAT.rtf"}, {"ack", "ACK.rtf"}, {"dele", "DEALERS.rtf"}, {"op", "PRODUCTS.rtf"}}) {
        press(key);
        EXPECT_TRUE(ui::form<help>().isVisible()) << key;
        EXPECT_TRUE(ui::form<help>().RichTextBox1->FileName().endsWith(file)) << key;
    }
    // The Form 10 tool begins with the choice of dealer, owned by the main window.
    press("f10");
    ASSERT_TRUE(ui::formLoaded<frmDealer>());
    EXPECT_TRUE(ui::form<frmDealer>().isVisible());
    EXPECT_EQ(ui::form<frmDealer>().parentWidget(), w);
    EXPECT_FALSE(ui::formLoaded<frmSelect>());
    w->Tvw->setVisible(false);
    press("stat");
    EXPECT_TRUE(w->Tvw->isVisible());
    for (const char* key : {"CP", "BP", "wo", "rul", "circu", "zzz"})
        w->Toolbar2_ButtonClick(key);
    for (int i = 1; i <= 2; ++i)
        w->Toolbar2->Buttons("ack")->ButtonMenus(i)->action()->trigger();
    press("not");
    EXPECT_EQ(desktop->started, QStringList{"Notepad"});
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(ended.has_value());
    EXPECT_TRUE(w->isVisible());

    desktop->startResult = false;   // Notepad refused by the desktop
    press("not");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, kFailure);
    EXPECT_EQ(messages()[0].title, "Lumora");
    EXPECT_EQ(messages()[0].icon(), ui::vbInformation);
}

TEST_F(MainWindowTest, TreeClickSetsKeralaAndLeavesTheMainWindow)
{
    // a click of the mouse on a node; "One" answers the double click too
    for (const char* key : {"Glob", "Centr", "Ker", "One"}) {
        ui::form<frmkerala>().Hide();
        w->Show();
        ui::Node* node = w->Tvw->Nodes(QString(key));
        w->Tvw->scrollToItem(node->item());
        shell::state().CurrentStateCode = 0;
        QTest::mouseClick(w->Tvw->viewport(), Qt::LeftButton, {}, w->Tvw->visualItemRect(node->item()).center());
        EXPECT_EQ(w->Tvw->SelectedItem(), node);
        if (QString(key) == "One") {
            ui::form<frmkerala>().Hide();
            w->Show();
            shell::state().CurrentStateCode = 0;
            emit w->Tvw->DblClick();
        }
        EXPECT_EQ(shell::state().CurrentStateCode, 14) << key;
        EXPECT_FALSE(w->isVisible()) << key;
        EXPECT_TRUE(ui::form<frmkerala>().isVisible()) << key;
    }
}

// Exit and the close box write 0 into the first flag row only and end; with no flag row or no
// Form 10 database the failure is reported, nothing is made up, and it still ends.
TEST_F(MainWindowTest, ExitAndTheFrameCloseWriteZeroIntoTheFirstRowOnlyAndEndWhateverTheDatabase)
{
    form10("INSERT INTO tblMPage2 (FrmFlg) VALUES (7)");
    for (const char* way : {"Exit", "frame", "no flag row", "no database"}) {
        SCOPED_TRACE(way);
        form10("UPDATE tblMPage2 SET FrmFlg = 1 WHERE FrmFlg <> 7 OR FrmFlg IS NULL");
        if (QLatin1String(way) == "no flag row") {
            form10("DELETE FROM tblMPage2");
        } else if (QLatin1String(way) == "no database") {
            ASSERT_TRUE(QFile::remove(folder.file("nwForm10DB.mdb")));
        }
        ended.reset();
        ui::clearShownMessages();
        w = &ui::form<main>();
        w->Show();
        QLatin1String(way) == "frame" ? (void)w->close() : press("EXI");
        ASSERT_TRUE(ended.has_value());
        EXPECT_FALSE(ui::formLoaded<main>());
        if (QLatin1String(way) == "Exit" || QLatin1String(way) == "frame") {
            EXPECT_EQ(*ended, 0);
            EXPECT_EQ(flagOfRow(0), QVariant(0LL));
            EXPECT_EQ(flagOfRow(1), QVariant(7LL));
            EXPECT_TRUE(messages().empty());
            continue;
        }
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].prompt, kFailure);
        if (QLatin1String(way) == "no flag row") {
            EXPECT_EQ(form10("SELECT * FROM tblMPage2")->RecordCount(), 0);   // no row was made up
        }
    }
    EXPECT_FALSE(QFile::exists(folder.file("nwForm10DB.mdb")));   // never created
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
    EXPECT_EQ(messages()[0].prompt + "|" + messages()[0].title, "Are  you Sure?|Exit Windows");
    EXPECT_EQ(messages()[0].buttonSet(), ui::vbYesNo);
    EXPECT_EQ(messages()[1].prompt + "|" + messages()[1].title, "You  Cancelled  Shut Down| Sorry.....");
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
