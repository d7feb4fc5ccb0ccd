// The main window under the user's own mouse: a click on a state in the tree and a click on the
// caption of a picture reach their handlers, not only a signal raised by hand.
#include "ShellFixture.h"
#include "library/frmkerala.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/TreeView.h"
#include "shell/main.h"

#include <QLabel>
#include <QTest>

namespace {

class MainWindowReview : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        lawdb::procConnectLawDBs();
        w = &ui::form<main>();
        w->Show();
        w->Tvw->setVisible(true);
    }
    main* w = nullptr;
};

} // namespace

TEST_F(MainWindowReview, MouseClickOnAStateOpensTheLibrary)
{
    ui::Node* kerala = w->Tvw->Nodes().Item("Ker");
    ASSERT_TRUE(kerala);
    w->Tvw->scrollToItem(kerala->item());
    const QRect at = w->Tvw->visualItemRect(kerala->item());
    ASSERT_FALSE(at.isEmpty());
    QTest::mouseClick(w->Tvw->viewport(), Qt::LeftButton, {}, at.center());
    EXPECT_EQ(w->Tvw->SelectedItem(), kerala);
    EXPECT_EQ(shell::state().CurrentStateCode, 14);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(ui::formLoaded<frmkerala>() && ui::form<frmkerala>().isVisible());
}

TEST_F(MainWindowReview, ClickOnTheShutDownCaptionAsksTheQuestion)
{
    nextYesNo = ui::vbNo;
    QLabel* caption = nullptr;
    for (QLabel* l : w->Picture6->findChildren<QLabel*>())
        if (!l->text().isEmpty())
            caption = l;
    ASSERT_TRUE(caption);
    QTest::mouseClick(caption, Qt::LeftButton);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].prompt, "Are  you Sure?");
    EXPECT_EQ(messages()[1].prompt, "You  Cancelled  Shut Down");
    EXPECT_EQ(desktop->shutDownRequests, 0);
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
}
