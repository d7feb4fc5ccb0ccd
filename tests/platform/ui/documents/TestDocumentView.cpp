// The document view bound to a remote-data binding on a small law database made here, the
// temporary copy a click opens, large documents shown while the window answers, and the glyphs
// of Malayalam and the rupee sign. (The document and help windows' tests drive the opening
// through the desktop, the printing and the rich-text box.)
#include "../../db/DbFixture.h"
#include "platform/ui/documents/OleView.h"
#include "platform/ui/documents/RemoteData.h"
#include "platform/ui/documents/RichTextBox.h"
#include "platform/ui/documents/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QFile>
#include <QGlyphRun>
#include <QRawFont>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>

using namespace ui;
using uitest::errorNumber;

namespace {

const QByteArray kActDoc = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\b Section 6\\b0\\par Levy of tax.\\par}";
const QByteArray kRulesDoc = "{\\rtf1\\ansi\\pard Rule 10 \\endash  Returns.\\par}";
const QByteArray kWordDoc("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0binary", 16);

// The document window's pair, the binding and the view bound to its "fname", over a law
// database like the program's first one.
struct DocumentBinding : ::testing::Test {
    QTemporaryDir dir;
    QWidget window;
    RemoteData* data = new RemoteData("MSRDC1", &window);
    OleView* view = new OleView("OLE1", &window);

    void SetUp() override
    {
        dbtest::rawExec(dir.filePath("0909214SD01.mdb"),
                        "CREATE TABLE Kerala (name TEXT COLLATE NOCASE, type TEXT COLLATE NOCASE, fname BLOB);"
                        "INSERT INTO Kerala VALUES ('s6', 'act', X'" + kActDoc.toHex() + "'), ('r10', 'rule', X'" +
                            kRulesDoc.toHex() + "'), ('old', 'form', X'" + kWordDoc.toHex() + "'), ('nodoc', 'act', NULL);");
        // As the program builds it: the folder, a backslash, the file name.
        data->setConnect("Driver={Microsoft Access Driver (*.mdb)};Dbq=" + dir.path() + "\\0909214SD01.mdb;Uid=admin;Pwd=x;");
        select("name='s6'");
        view->setDataSource(data);
        view->setDataField("fname");
    }
    void select(const QString& where)
    {
        data->setSQL("select fname from Kerala where " + where);
        data->Refresh();
    }
};

TEST_F(DocumentBinding, ShowsTheFirstRowsDocumentFollowsRebindingAndShowsNothingWithoutOne)
{
    EXPECT_TRUE(data->hasRow());
    EXPECT_EQ(view->toPlainText(), "Section 6\nLevy of tax.");
    EXPECT_TRUE(view->isReadOnly());
    // Binding again while shown: the view follows the new row without new wiring.
    select("name='r10'");
    EXPECT_EQ(view->toPlainText(), QString::fromUtf8("Rule 10 \u2013 Returns."));
    EXPECT_EQ(view->data(), kRulesDoc);
    select("type='act' order by name desc");   // several rows: the first one
    EXPECT_EQ(view->data(), kActDoc);

    // No row, a Null document or a failure: nothing shown.
    select("name='nodoc'");
    EXPECT_TRUE(data->hasRow());
    EXPECT_TRUE(data->value("FNAME").isNull());
    EXPECT_FALSE(view->hasDocument());
    EXPECT_TRUE(view->toPlainText().isEmpty());
    select("name='none'");
    EXPECT_FALSE(data->hasRow());
    EXPECT_FALSE(view->hasDocument());
    select("name='s6'");
    data->setSQL("select fname from NoSuchTable");   // failures raise and leave no current row
    EXPECT_NE(errorNumber([&] { data->Refresh(); }), 0);
    EXPECT_FALSE(data->hasRow());
    EXPECT_FALSE(view->hasDocument());
    data->setConnect("Driver={Microsoft Access Driver (*.mdb)};Dbq=" + dir.path() + "\\missing.mdb");
    data->setSQL("select fname from Kerala");
    EXPECT_NE(errorNumber([&] { data->Refresh(); }), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.mdb")));   // never created by opening
}

TEST_F(DocumentBinding, TemporaryCopyKeepsTheBytesAndAFittingSuffix)
{
    const QString rtfCopy = view->writeTemporaryCopy();
    EXPECT_TRUE(rtfCopy.endsWith(".rtf"));
    QFile f(rtfCopy);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), kActDoc);
    // A second copy never overwrites the first (it may still be open elsewhere).
    EXPECT_NE(view->writeTemporaryCopy(), rtfCopy);
    select("name='old'");
    EXPECT_TRUE(view->writeTemporaryCopy().endsWith(".doc"));
    EXPECT_FALSE(view->toPlainText().isEmpty());   // shown as a hint, opened in full elsewhere
    select("name='nodoc'");
    EXPECT_NE(errorNumber([&] { view->writeTemporaryCopy(); }), 0);
}

} // namespace

namespace {

// Some 4 MB of bold, italic and coloured runs, and a closing line.
QByteArray largeDocument()
{
    QByteArray rtf = "{\\rtf1\\ansi{\\colortbl ;\\red0\\green0\\blue160;}\\pard ";
    for (int n = 0; rtf.size() < 4 * 1024 * 1024; ++n) {
        rtf += (n % 3 == 0) ? "\\b section\\b0  " : (n % 3 == 1) ? "{\\i read with} " : "{\\cf1 rule 10} ";
        if (n % 2000 == 1999)
            rtf += "\\par\r\n";
    }
    return rtf + "\\par The end.\\par}";
}

} // namespace

// A document of megabytes: its start on screen at once, all of it moments later, and the
// window answers throughout (a timer's ticks never wait long); the view keeps its place.
TEST(DocumentLoading, ALargeDocumentShowsItsStartAtOnceAndAllOfItWhileTheWindowAnswers)
{
    const QByteArray rtf = largeDocument();
    QTextDocument whole;
    QElapsedTimer clock;
    clock.start();
    RtfReader::read(rtf, &whole);
    const qint64 readMs = clock.elapsed();

    OleView view("OLE1");
    view.resize(800, 600);
    view.show();
    QCoreApplication::processEvents();
    qint64 longestWait = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] { longestWait = std::max(longestWait, clock.restart()); });
    ticker.start();
    clock.restart();
    view.setData(rtf);
    EXPECT_TRUE(view.toPlainText().startsWith("section read with rule 10 section"));
    view.verticalScrollBar()->setValue(200);   // read on in what is there
    const int top = view.cursorForPosition(QPoint(4, 4)).position();

    EXPECT_TRUE(QTest::qWaitFor([&] { return view.toPlainText().endsWith("The end."); }, 60000));
    QTest::qWait(50);   // a tick after the last of it
    ticker.stop();
    EXPECT_EQ(view.toPlainText(), whole.toPlainText());
    EXPECT_EQ(view.verticalScrollBar()->value(), 200);
    EXPECT_EQ(view.cursorForPosition(QPoint(4, 4)).position(), top);
    EXPECT_LT(longestWait, readMs / 3) << "the window waited " << longestWait << " ms; reading takes " << readMs << " ms";
}

// Printing a help document prints all of it, however little of it has been read when asked.
TEST(DocumentLoading, PrintingALargeDocumentPrintsAllOfIt)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("HELP VAT.rtf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(largeDocument());
    file.close();
    auto recording = std::make_unique<RecordingPrinter>();
    RecordingPrinter* printed = recording.get();
    setDocumentPrinter(std::move(recording));
    RichTextBox box("RichTextBox1");
    box.LoadFile(file.fileName());
    EXPECT_TRUE(box.SelPrint());
    ASSERT_EQ(printed->printedTexts.size(), 1);
    EXPECT_TRUE(printed->printedTexts[0].endsWith("The end."));
    EXPECT_TRUE(box.Text().endsWith("The end."));
    setDocumentPrinter(nullptr);
}

// Malayalam and the rupee sign are drawn with real glyphs, never the empty box of a font that
// lacks them: the fonts the layout finds for them have them.
TEST(DocumentView, MalayalamAndTheRupeeSignGetRealGlyphs)
{
    QFile file(LUMORA_TEST_DATA_DIR "/law-documents/libreoffice/levy-act.rtf");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    OleView view("OLE1");
    view.resize(800, 600);
    view.show();
    view.setData(file.readAll());
    view.document()->documentLayout()->documentSize();   // laid out to its end
    int malayalam = 0, rupees = 0, runs = 0;
    for (QTextBlock b = view.document()->begin(); b.isValid(); b = b.next()) {
        for (QChar c : b.text()) {
            malayalam += c.unicode() >= 0x0D00 && c.unicode() <= 0x0D7F;
            rupees += c.unicode() == 0x20B9;
        }
        QTextLayout* layout = b.layout();
        QList<QRawFont> fonts;
        for (int i = 0; i < layout->lineCount(); ++i) {
            for (const QGlyphRun& run : layout->lineAt(i).glyphRuns()) {
                for (quint32 glyph : run.glyphIndexes())
                    ASSERT_NE(glyph, 0u) << "a missing glyph in: " << b.text().toStdString();
                fonts.append(run.rawFont());
                ++runs;
            }
        }
        // Characters no installed font has are drawn as boxes by a stand-in that maps no
        // character; every character shown must be one that a font of its line really has.
        // (Asked of the font itself, not of an OpenType table: a Type 1 font has none.)
        for (QChar c : b.text()) {
            if (c.isSpace() || c.category() == QChar::Other_Format)
                continue;
            const bool drawn = std::any_of(fonts.cbegin(), fonts.cend(),
                                           [c](const QRawFont& f) { return f.supportsCharacter(c); });
            ASSERT_TRUE(drawn) << "a box for U+" << std::hex << int(c.unicode()) << " in: " << b.text().toStdString();
        }
    }
    EXPECT_GT(runs, 20);
    EXPECT_GT(malayalam, 40);
    EXPECT_GE(rupees, 3);
}
