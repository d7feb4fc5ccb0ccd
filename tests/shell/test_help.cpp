// The help window and the shipped help documents.
#include "ShellFixture.h"
#include "platform/ui/documents/RichTextBox.h"
#include "platform/ui/forms/Twips.h"
#include "shell/help.h"
#include "shell/main.h"

#include <QFile>
#include <QLabel>

namespace {

class HelpTest : public ShellFixture {
protected:
    help& h() { return ui::form<help>(); }
    QString shown() { return h().RichTextBox1->Text(); }
};

} // namespace

TEST_F(HelpTest, ShippedDocumentsReadAsPlainHelpTextAndADamagedOneShowsWhatCanBeRead)
{
    for (auto [number, heading] : {std::pair{1, "The main window"}, {3, "Acknowledgement"}, {5, "Notes for Dealers"},
                                   {7, "Other Products"}}) {
        h().SHOW_DOCUMENT(number);
        EXPECT_TRUE(shown().contains(heading)) << number;
        EXPECT_FALSE(shown().contains("\\par") || shown().contains("{\\")) << number;
        EXPECT_FALSE(shown().contains("Times New Roman")) << number;   // the font table is not text
        EXPECT_GT(shown().size(), 800) << number;
    }
    h().SHOW_DOCUMENT(1);   // the toolbar table of the help text comes out row by row
    EXPECT_TRUE(shown().contains("BackUp/Restore"));

    // cut off half way and with a stray opening brace: no closing braces at all
    QFile f(folder.file("docs/ACK.rtf"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QByteArray bytes = f.readAll();
    f.resize(0);
    f.seek(0);
    f.write(bytes.left(bytes.size() / 2) + "{\\b unfinished");
    f.close();
    h().SHOW_DOCUMENT(3);
    EXPECT_TRUE(h().isVisible());
    EXPECT_TRUE(shown().contains("Acknowledgement"));
    EXPECT_FALSE(shown().contains("\\rtf1"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(HelpTest, FirstShowingLoadsTheRequestedDocumentOtherNumbersKeepWhatWasShown)
{
    EXPECT_TRUE(h().RichTextBox1->FileName().endsWith("HELP VAT.rtf"));   // the load step
    h().SHOW_DOCUMENT(3);
    h().SHOW_DOCUMENT(4);
    EXPECT_TRUE(h().RichTextBox1->FileName().endsWith("ACK.rtf"));
    EXPECT_TRUE(h().isVisible());

    ui::FormRegistry::unloadAll();   // a fresh window with an unknown number shows the help text
    h().SHOW_DOCUMENT(2);
    EXPECT_TRUE(shown().contains("The main window"));
}

TEST_F(HelpTest, MissingDocumentIsReportedAndTheWindowStaysHidden)
{
    ASSERT_TRUE(QFile::remove(folder.file("docs/PRODUCTS.rtf")));
    h().SHOW_DOCUMENT(7);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("SHOW_DOCUMENT :"));
    EXPECT_FALSE(h().isVisible());
}

TEST_F(HelpTest, PrintsTheSelectionOrEverythingButNothingWhenTheFileIsGone)
{
    auto p = std::make_unique<ui::RecordingPrinter>();
    ui::RecordingPrinter* printer = p.get();
    ui::setDocumentPrinter(std::move(p));
    h().SHOW_DOCUMENT(5);
    h().Picture1_Click();
    h().RichTextBox1->setSelection(0, 5);
    h().Picture1_Click();
    EXPECT_TRUE(QFile::remove(folder.file("docs/DEALERS.rtf")));
    h().Picture1_Click();
    const QStringList printed = printer->printedTexts;
    ui::setDocumentPrinter(nullptr);
    ASSERT_EQ(printed.size(), 2);
    EXPECT_EQ(printed[0].trimmed(), shown().trimmed());
    EXPECT_EQ(printed[1], shown().left(5));
}

// The close picture hides and brings the main window back; the close box only unloads.
TEST_F(HelpTest, ClosePictureHidesAndBringsTheMainWindowBackTheCloseBoxOnlyUnloads)
{
    lawdb::procConnectLawDBs();
    h().SHOW_DOCUMENT(1);
    h().Picture4_Click();
    EXPECT_FALSE(h().isVisible());
    EXPECT_TRUE(ui::form<main>().isVisible());

    ui::form<main>().Hide();
    h().SHOW_DOCUMENT(5);
    h().close();
    EXPECT_FALSE(ui::formLoaded<help>());
    EXPECT_FALSE(ui::form<main>().isVisible());
    h().SHOW_DOCUMENT(7);
    EXPECT_TRUE(h().isVisible());
    EXPECT_TRUE(h().RichTextBox1->FileName().endsWith("PRODUCTS.rtf"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(HelpTest, LayoutCentresTheDocumentOrPinsItLeft)
{
    h().SHOW_DOCUMENT(1);
    h().setWindowState(ui::vbNormal);
    h().setHeight(9000);
    const int docWidth = ui::widthTwips(h().RichTextBox1);
    for (int width : {20000, 6000}) {
        h().setWidth(width);
        EXPECT_EQ(ui::widthTwips(h().RichTextBox1), docWidth);
        EXPECT_NEAR(ui::leftTwips(h().RichTextBox1), std::max(0, (h().ScaleWidth() - docWidth) / 2), 1) << width;
        EXPECT_EQ(ui::heightTwips(h().RichTextBox1), h().ScaleHeight() - 540);
        EXPECT_EQ(ui::leftTwips(h().Picture1), ui::leftTwips(h().RichTextBox1));
        // the close picture keeps to the document's right edge, or to the client's when that is nearer
        EXPECT_EQ(ui::leftTwips(h().Picture4) + ui::widthTwips(h().Picture4),
                  std::min(ui::leftTwips(h().RichTextBox1) + docWidth, h().ScaleWidth()));
    }
}
