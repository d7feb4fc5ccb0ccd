// The help window's close box: it unloads the window and nothing else; the next document
// request builds the window afresh.
#include "ShellFixture.h"
#include "platform/ui/RichTextBox.h"
#include "shell/help.h"
#include "shell/main.h"

TEST_F(ShellFixture, HelpCloseBoxUnloadsAndTheNextRequestLoadsAfresh)
{
    lawdb::procConnectLawDBs();
    ui::form<main>().Hide();
    help* first = &ui::form<help>();
    first->SHOW_DOCUMENT(5);
    ASSERT_TRUE(first->isVisible());
    first->close();
    EXPECT_FALSE(ui::formLoaded<help>());
    EXPECT_FALSE(ui::form<main>().isVisible());   // the close box does not bring the main window back

    ui::form<help>().SHOW_DOCUMENT(7);
    help& again = ui::form<help>();
    EXPECT_TRUE(again.isVisible());
    EXPECT_TRUE(again.RichTextBox1->FileName().endsWith("PRODUCTS.rtf"));
    EXPECT_EQ(again.DocsFolder, folder.path() + "\\docs");
    EXPECT_TRUE(messages().empty());
}
