// The help window and the shipped help documents.
#include "ShellFixture.h"
#include "platform/ui/RichTextBox.h"
#include "platform/ui/Twips.h"
#include "shell/help.h"
#include "shell/main.h"

#include <QLabel>

#include <QFile>

namespace {

class HelpTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        auto p = std::make_unique<ui::RecordingPrinter>();
        printer = p.get();
        ui::setDocumentPrinter(std::move(p));
    }
    void TearDown() override
    {
        ui::setDocumentPrinter(nullptr);
        ShellFixture::TearDown();
    }
    ui::RecordingPrinter* printer = nullptr;
};

} // namespace

TEST_F(HelpTest, ShippedDocumentsReadAsPlainHelpText)
{
    const std::pair<int, const char*> docs[] = {
        {1, "The main window"}, {3, "Acknowledgement"}, {5, "Notes for Dealers"}, {7, "Other Products"}};
    help& h = ui::form<help>();
    for (const auto& [number, heading] : docs) {
        h.SHOW_DOCUMENT(number);
        const QString text = h.RichTextBox1->Text();
        EXPECT_TRUE(text.contains(heading)) << number;
        EXPECT_FALSE(text.contains("\\par")) << number;
        EXPECT_FALSE(text.contains("{\\")) << number;
        EXPECT_FALSE(text.contains("Times New Roman")) << number;   // the font table is not text
        EXPECT_GT(text.size(), 800) << number;
    }
    // The toolbar table of the help text comes out row by row.
    h.SHOW_DOCUMENT(1);
    EXPECT_TRUE(h.RichTextBox1->Text().contains("BackUp/Restore"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(HelpTest, DamagedDocumentStillShowsWhatCanBeRead)
{
    QFile f(folder.file("docs/ACK.rtf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    f.close();
    // Cut off half way and with a stray opening brace: no closing braces at all.
    bytes = bytes.left(bytes.size() / 2) + "{\\b unfinished";
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    help& h = ui::form<help>();
    h.SHOW_DOCUMENT(3);
    EXPECT_TRUE(h.isVisible());
    EXPECT_TRUE(h.RichTextBox1->Text().contains("Acknowledgement"));
    EXPECT_FALSE(h.RichTextBox1->Text().contains("\\rtf1"));
}

TEST_F(HelpTest, FirstShowingLoadsTheRequestedDocumentOtherNumbersKeepWhatWasShown)
{
    help& h = ui::form<help>();
    EXPECT_TRUE(h.RichTextBox1->FileName().endsWith("HELP VAT.rtf"));   // the load step
    EXPECT_EQ(h.DocsFolder, folder.path() + "\\docs");
    EXPECT_EQ(h.WindowState(), ui::vbMaximized);
    h.SHOW_DOCUMENT(3);
    EXPECT_TRUE(h.RichTextBox1->FileName().endsWith("ACK.rtf"));
    h.SHOW_DOCUMENT(4);
    EXPECT_TRUE(h.RichTextBox1->FileName().endsWith("ACK.rtf"));
    EXPECT_TRUE(h.isVisible());

    ui::FormRegistry::unloadAll();   // a fresh window with an unknown number shows the help text
    ui::form<help>().SHOW_DOCUMENT(2);
    EXPECT_TRUE(ui::form<help>().RichTextBox1->Text().contains("The main window"));
}

TEST_F(HelpTest, MissingDocumentIsReportedAndTheWindowStaysHidden)
{
    ASSERT_TRUE(QFile::remove(folder.file("docs/PRODUCTS.rtf")));
    help& h = ui::form<help>();
    h.SHOW_DOCUMENT(7);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("SHOW_DOCUMENT :"));
    EXPECT_EQ(messages()[0].title, ui::kDefaultTitle);
    EXPECT_EQ(messages()[0].buttons, ui::vbOKOnly);
    EXPECT_FALSE(h.isVisible());
}

TEST_F(HelpTest, PrintsTheSelectionOrEverythingButNothingWhenTheFileIsGone)
{
    help& h = ui::form<help>();
    h.SHOW_DOCUMENT(5);
    h.Picture1_Click();
    ASSERT_EQ(printer->printedTexts.size(), 1);
    EXPECT_EQ(printer->printedTexts[0].trimmed(), h.RichTextBox1->Text().trimmed());
    h.RichTextBox1->setSelection(0, 5);
    h.Picture1_Click();
    ASSERT_EQ(printer->printedTexts.size(), 2);
    EXPECT_EQ(printer->printedTexts[1], h.RichTextBox1->Text().left(5));
    ASSERT_TRUE(QFile::remove(folder.file("docs/DEALERS.rtf")));   // nothing is printed when the file is gone
    h.Picture1_Click();
    EXPECT_EQ(printer->printedTexts.size(), 2);
}

// The close picture hides the window and brings the main window back; the close box unloads
// the window and nothing else, and the next request builds it afresh.
TEST_F(HelpTest, ClosePictureHidesAndBringsTheMainWindowBackTheCloseBoxOnlyUnloads)
{
    lawdb::procConnectLawDBs();
    help& h = ui::form<help>();
    h.SHOW_DOCUMENT(1);
    h.Picture4_Click();
    EXPECT_FALSE(h.isVisible());
    EXPECT_TRUE(ui::form<main>().isVisible());

    ui::form<main>().Hide();
    h.SHOW_DOCUMENT(5);
    ASSERT_TRUE(h.isVisible());
    h.close();
    EXPECT_FALSE(ui::formLoaded<help>());
    EXPECT_FALSE(ui::form<main>().isVisible());
    ui::form<help>().SHOW_DOCUMENT(7);
    help& again = ui::form<help>();
    EXPECT_TRUE(again.isVisible());
    EXPECT_TRUE(again.RichTextBox1->FileName().endsWith("PRODUCTS.rtf"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(HelpTest, LayoutCentresTheDocumentOrPinsItLeft)
{
    help& h = ui::form<help>();
    h.SHOW_DOCUMENT(1);
    h.setWindowState(ui::vbNormal);
    h.setWidth(20000);
    h.setHeight(9000);
    const int docWidth = ui::widthTwips(h.RichTextBox1);
    EXPECT_EQ(docWidth, 11415);
    EXPECT_NEAR(ui::leftTwips(h.RichTextBox1), (h.ScaleWidth() - docWidth) / 2, 1);
    EXPECT_EQ(ui::topTwips(h.RichTextBox1), 540);
    EXPECT_EQ(ui::heightTwips(h.RichTextBox1), h.ScaleHeight() - 540);
    EXPECT_EQ(ui::leftTwips(h.Picture1), ui::leftTwips(h.RichTextBox1));
    EXPECT_EQ(ui::leftTwips(h.Picture4) + ui::widthTwips(h.Picture4),
              ui::leftTwips(h.RichTextBox1) + docWidth);

    h.setWidth(6000);
    EXPECT_EQ(ui::leftTwips(h.RichTextBox1), 0);
    // The close picture would lie beyond the client area: its right edge meets the client's.
    EXPECT_EQ(ui::leftTwips(h.Picture4), h.ScaleWidth() - ui::widthTwips(h.Picture4));
}
