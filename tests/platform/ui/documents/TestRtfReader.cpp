// The RTF reader on law-shaped documents and on broken input (the text read so far, never a failure).
#include "platform/ui/documents/OleView.h"
#include "platform/ui/documents/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextCursor>
#include <QTextFragment>
#include <QTextTable>
#include <gtest/gtest.h>

using ui::RtfReader;

namespace {

const QByteArray kLawDocument =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
    "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "{\\stylesheet{ Normal;}{\\s1 heading 1;}}\r\n"
    "{\\info{\\title Secret Title}{\\author Someone}}\r\n"
    "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\qc\\b\\f0\\fs32 KERALA VALUE ADDED TAX ACT, 2003\\b0\\par\r\n"
    "\\pard\\fs24 Section 6 \\endash  Levy of tax on sale or purchase of goods.\\par\r\n"
    "\\i Rate\\i0  of \\ul 12.5\\ulnone  per cent\\tab (Schedule III)\\par\r\n"
    "Caf\\'e9 \\u8377?100 \\'93quoted\\'94\\par\r\n"
    "{\\pict\\wmetafile8\\picw100\\pich100 0102030405ff}\r\n"
    "{\\field{\\*\\fldinst HYPERLINK \"x.doc\"}{\\fldrslt See Rule 10}}\\par\r\n"
    "\\trowd\\cellx2000\\cellx5000\\pard\\intbl Item\\cell Rate\\cell\\row\r\n"
    "\\trowd\\cellx2000\\cellx5000\\pard\\intbl Rice\\cell 4\\cell\\row\r\n"
    "\\pard Last line\\par\r\n}";

QStringList lines(const QTextDocument& doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out << b.text();
    while (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

QString read(const QByteArray& rtf)
{
    QTextDocument doc;
    RtfReader::read(rtf, &doc);
    return lines(doc).join('\n');
}

// The character format of the first fragment whose text contains `text`.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat();
    ADD_FAILURE() << "no fragment with " << text.toStdString();
    return {};
}

QList<QTextTable*> tablesOf(const QTextDocument& doc)
{
    QList<QTextTable*> out;
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f))
            out << t;
    return out;
}

QString cellText(QTextTable* t, int row, int col)
{
    QTextCursor c = t->cellAt(row, col).firstCursorPosition();
    c.setPosition(t->cellAt(row, col).lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selectedText().replace(QChar::ParagraphSeparator, '\n');
}

} // namespace

TEST(RtfReader, LawDocumentTextFormatsAndTable)
{
    QTextDocument doc;
    RtfReader::read(kLawDocument, &doc);
    const QStringList expected = {
        "KERALA VALUE ADDED TAX ACT, 2003",
        QString::fromUtf8("Section 6 \u2013 Levy of tax on sale or purchase of goods."),
        "Rate of 12.5 per cent\t(Schedule III)",
        QString::fromUtf8("Caf\u00e9 \u20b9100 \u201cquoted\u201d"),
        "See Rule 10",
        "Item", "Rate",                 // the table's cells, row by row
        "Rice", "4",
        "Last line",
    };
    EXPECT_EQ(lines(doc), expected);
    const QString all = doc.toPlainText();
    for (const char* hidden : {"Arial", "Times", "Secret", "Someone", "Msftedit", "heading", "0102", "HYPERLINK", "red255"})
        EXPECT_FALSE(all.contains(hidden)) << hidden;

    const QTextCharFormat title = formatOf(doc, "KERALA");
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(title.fontPointSize(), 16.0);
    EXPECT_EQ(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    // \pard ends the centring, \b0 the bold.
    EXPECT_EQ(doc.begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_NE(formatOf(doc, "Section 6").fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(formatOf(doc, "Section 6").fontPointSize(), 12.0);
    EXPECT_TRUE(formatOf(doc, "Rate").fontItalic() && !formatOf(doc, " of ").fontItalic());
    EXPECT_TRUE(formatOf(doc, "12.5").fontUnderline() && !formatOf(doc, " per cent").fontUnderline());

    // The two rows make one table whose columns end at the cell edges (2000, 5000 twips).
    const QList<QTextTable*> tables = tablesOf(doc);
    ASSERT_EQ(tables.size(), 1);
    const auto widths = tables.first()->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_NEAR(widths[0].rawValue(), 2000 / 15.0, 0.01);
    EXPECT_NEAR(widths[1].rawValue(), 3000 / 15.0, 0.01);
}

TEST(RtfReader, TablesFollowTheirRows)
{
    QTextDocument doc;
    // Two rows of two cells, a paragraph, then a row of three cells: two tables.
    RtfReader::read("{\\rtf1 \\trowd\\cellx1000\\cellx2000\\intbl a\\cell {\\b b}\\par c\\cell\\row"
                    "\\intbl d\\cell e\\cell\\row\\pard between\\par"
                    "\\trowd\\cellx900\\intbl\\qc x\\cell y\\cell z\\cell\\row\\pard after}",
                    &doc);
    const QList<QTextTable*> tables = tablesOf(doc);
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(tables[0]->rows(), 2);
    EXPECT_EQ(cellText(tables[0], 0, 1), QString("b") + QChar(QChar::LineSeparator) + "c");
    EXPECT_EQ(cellText(tables[0], 1, 0), "d");
    EXPECT_EQ(tables[1]->rows(), 1);
    EXPECT_EQ(tables[1]->columns(), 3);
    EXPECT_EQ(cellText(tables[1], 0, 2), "z");
    EXPECT_EQ(tables[1]->cellAt(0, 0).firstCursorPosition().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    // Edges that do not match the cells: no fixed widths.
    EXPECT_TRUE(tables[1]->format().columnWidthConstraints().isEmpty());
    EXPECT_EQ(formatOf(doc, "b").fontWeight(), QFont::Bold);
    EXPECT_TRUE(doc.toPlainText().contains("between"));
    EXPECT_TRUE(doc.toPlainText().endsWith("after"));

    // A row cut short still shows what it had.
    RtfReader::read("{\\rtf1 \\trowd\\cellx1000\\intbl one\\cell tw", &doc);
    ASSERT_EQ(tablesOf(doc).size(), 1);
    EXPECT_EQ(cellText(tablesOf(doc).first(), 0, 1), "tw");
}

// A table inside a cell stays a table there, at any depth, between the cell's own lines.
TEST(RtfReader, ATableInACellStaysATableThere)
{
    QTextDocument doc;
    const QByteArray nestRow = "{\\*\\nesttableprops\\trowd\\cellx1500\\cellx2500\\nestrow}{\\nonesttables\\par}";
    RtfReader::read("{\\rtf1 \\trowd\\cellx3000\\cellx6000\\pard\\intbl Awardees:\\par"
                    "\\pard\\intbl\\itap2 Ravi Kumar of Kottayam\\nestcell 1,000\\nestcell" + nestRow +
                    "\\pard\\intbl\\itap2 Sita\\par\\pard\\intbl\\itap3 deep\\nestcell{\\*\\nesttableprops\\trowd\\cellx500\\nestrow}"
                    "\\pard\\intbl\\itap2\\nestcell 20,000\\nestcell" + nestRow +
                    "\\pard\\intbl\\itap1 Total\\cell Amounts\\cell\\trowd\\cellx3000\\cellx6000\\row\\pard After\\par}",
                    &doc);
    ASSERT_EQ(tablesOf(doc).size(), 1);
    QTextTable* outer = tablesOf(doc).first();
    EXPECT_EQ(outer->rows(), 1);
    EXPECT_EQ(cellText(outer, 0, 1), "Amounts");
    ASSERT_EQ(outer->childFrames().size(), 1);
    auto* inner = qobject_cast<QTextTable*>(outer->childFrames().first());
    ASSERT_TRUE(inner);
    EXPECT_EQ(outer->cellAt(inner->firstPosition()).column(), 0);
    ASSERT_EQ(inner->rows(), 2);
    ASSERT_EQ(inner->columns(), 2);
    EXPECT_EQ(cellText(inner, 0, 0), "Ravi Kumar of Kottayam");
    EXPECT_EQ(cellText(inner, 1, 1), "20,000");
    const auto widths = inner->format().columnWidthConstraints();   // shares of the cell, as the edges give
    ASSERT_EQ(widths.size(), 2);
    EXPECT_NEAR(widths[0].rawValue(), 60.0, 0.01);
    ASSERT_EQ(inner->childFrames().size(), 1);
    auto* deep = qobject_cast<QTextTable*>(inner->childFrames().first());
    ASSERT_TRUE(deep);
    EXPECT_EQ(inner->cellAt(deep->firstPosition()).row(), 1);
    EXPECT_EQ(cellText(deep, 0, 0), "deep");
    // The outer cell's lines stand before and after the table in it.
    EXPECT_EQ(doc.findBlock(inner->firstPosition() - 1).text(), "Awardees:");
    EXPECT_EQ(doc.findBlock(inner->lastPosition() + 1).text(), "Total");
    EXPECT_TRUE(doc.toPlainText().endsWith("After"));
}

// Merged cells span their columns and rows; a row of fewer, wider cells stays in its table,
// its cells spanning the columns whose edges they cover.
TEST(RtfReader, MergedCellsAndWiderCellsSpanTheColumnsTheyCover)
{
    QTextDocument doc;
    RtfReader::read("{\\rtf1 \\trowd\\clmgf\\cellx2000\\clmrg\\cellx4000\\clmrg\\cellx6000\\pard\\intbl Schedule\\cell\\cell\\cell\\row"
                    "\\trowd\\clvmgf\\cellx2000\\cellx4000\\cellx6000\\pard\\intbl Cereals\\cell Rice\\cell 4\\cell\\row"
                    "\\trowd\\clvmrg\\cellx2000\\cellx4000\\cellx6000\\pard\\intbl\\cell Wheat\\cell 5\\cell\\row"
                    "\\trowd\\cellx6000\\pard\\intbl Note across the table\\cell\\row"
                    "\\trowd\\cellx2010\\cellx6000\\pard\\intbl Pulses\\cell 2\\cell\\row\\pard After}",
                    &doc);
    const QList<QTextTable*> tables = tablesOf(doc);
    ASSERT_EQ(tables.size(), 1);
    QTextTable* t = tables.first();
    ASSERT_EQ(t->rows(), 5);
    ASSERT_EQ(t->columns(), 3);
    EXPECT_EQ(t->cellAt(0, 0).columnSpan(), 3);
    EXPECT_EQ(cellText(t, 0, 0), "Schedule");
    EXPECT_EQ(t->cellAt(1, 0).rowSpan(), 2);
    EXPECT_EQ(cellText(t, 2, 0), "Cereals");
    EXPECT_EQ(cellText(t, 2, 1), "Wheat");
    EXPECT_EQ(t->cellAt(3, 0).columnSpan(), 3);
    EXPECT_EQ(cellText(t, 4, 0), "Pulses");
    EXPECT_EQ(t->cellAt(4, 1).columnSpan(), 2);
    const auto widths = t->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 3);
    for (const QTextLength& w : widths)
        EXPECT_NEAR(w.rawValue(), 2000 / 15.0, 0.01);
}

TEST(RtfReader, FontAndColourTablesAndGroupsGiveFamiliesColoursAndScopes)
{
    QTextDocument doc;
    RtfReader::read("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\fswiss{\\*\\panose 020b0604}{\\upr{Ari;}{\\*\\ud{Arial;}}}}"
                    "{\\f1\\froman Times New Roman;}{\\f2 Caf\\'e9 Sans;}}"
                    "{\\colortbl;\\red38\\green112\\blue166;\\red0\\green0\\blue0;}"
                    "\\pard default {\\f0\\cf1 heading} {\\f2 accented}\\cf9  unknown colour\\f7  unknown font\\par}",
                    &doc);
    EXPECT_EQ(doc.toPlainText(), "default heading accented unknown colour unknown font");
    EXPECT_EQ(formatOf(doc, "default").fontFamilies().toStringList(), QStringList{"Times New Roman"});
    const QTextCharFormat heading = formatOf(doc, "heading");
    EXPECT_EQ(heading.fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(heading.foreground().color(), QColor(38, 112, 166));
    EXPECT_EQ(formatOf(doc, "accented").fontFamilies().toStringList(), QStringList{QString::fromUtf8("Caf\u00e9 Sans")});
    EXPECT_FALSE(formatOf(doc, "unknown colour").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(formatOf(doc, "default").hasProperty(QTextFormat::ForegroundBrush));

    // Groups scope the formatting; \plain resets it.
    RtfReader::read("{\\rtf1 {\\b bold {\\i both}} after \\b x\\plain  y}", &doc);
    EXPECT_EQ(doc.toPlainText(), "bold both after x y");
    EXPECT_EQ(formatOf(doc, "both").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(doc, "both").fontItalic());
    EXPECT_NE(formatOf(doc, "after").fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(doc, "x").fontWeight(), QFont::Bold);
    EXPECT_NE(formatOf(doc, " y").fontWeight(), QFont::Bold);
}

// Revisions as a marked-up text shows them: the deleted struck through, the inserted as text;
// hidden text, paragraph marks, paragraphs and rows are left out.
TEST(RtfReader, DeletedRevisionsAreStruckThroughAndHiddenTextLeftOut)
{
    QTextDocument doc;
    RtfReader::read("{\\rtf1 The rate is {\\deleted\\revauthdel1 four}{\\revised\\revauth1 five} per cent{\\v  hidden note}.\\par "
                    "Joined{\\v\\par} on.{\\v\\par Note}\\par{\\v Not for publication.}\\par"
                    "{\\deleted\\revauthdel1 Old clause.\\par}New clause.\\par\\trowd\\cellx2000\\pard\\intbl Kept\\par{\\v Note}\\par"
                    "\\cell\\row{\\v\\intbl Hidden\\cell\\row}\\intbl Struck\\cell{\\deleted\\row}"
                    "\\pard End}",
                    &doc);
    EXPECT_EQ(lines(doc), QStringList({"The rate is fourfive per cent.", "Joined on.", QString::fromUtf8("Old clause.\u00b6"),
                                       "New clause.", "Kept", "Struck", "End"}));
    EXPECT_TRUE(formatOf(doc, "four").fontStrikeOut());
    EXPECT_FALSE(formatOf(doc, "five").fontStrikeOut());
    EXPECT_TRUE(formatOf(doc, QString::fromUtf8("\u00b6")).fontStrikeOut());
    EXPECT_FALSE(formatOf(doc, "New").fontStrikeOut());
    ASSERT_EQ(tablesOf(doc).size(), 1);
    EXPECT_EQ(tablesOf(doc).first()->rows(), 2);
    EXPECT_TRUE(formatOf(doc, "Struck").fontStrikeOut());
    EXPECT_FALSE(formatOf(doc, "Kept").fontStrikeOut());
}

// Tab stops keep their places and kinds (from the start of the paragraph's first line, the
// hanging indent a stop of its own); a leader is the tab's underline in its style.
TEST(RtfReader, TabStopsKeepTheirPlacesKindsAndLeaders)
{
    QTextDocument doc;
    doc.setDocumentMargin(0);
    RtfReader::read("{\\rtf1 \\pard\\tqr\\tldot\\tx9000 1. Facts\\tab 2\\par"
                    "\\pard\\tx1440\\tqc\\tx4320\\tqdec\\tlhyph\\tx7200 a\\tab b\\tab c\\tab 12.50\\par"
                    "\\pard\\li1440\\fi-720\\tx2880 (a)\\tab Goods\\tab x\\par}",
                    &doc);
    doc.setTextWidth(800);
    doc.documentLayout()->documentSize();
    const QTextBlock contents = doc.begin(), kinds = contents.next(), hanging = kinds.next();
    const auto stops = [](const QTextBlock& b) {
        QList<std::pair<qreal, QTextOption::TabType>> out;
        for (const QTextOption::Tab& t : b.blockFormat().tabPositions())
            out.append({t.position, t.type == QTextOption::DelimiterTab && t.delimiter == QChar::Null ? QTextOption::LeftTab : t.type});
        return out;
    };
    using Stops = QList<std::pair<qreal, QTextOption::TabType>>;
    ASSERT_EQ(stops(kinds), (Stops{{96, QTextOption::LeftTab}, {288, QTextOption::CenterTab}, {480, QTextOption::DelimiterTab}}));
    EXPECT_EQ(kinds.blockFormat().tabPositions().last().delimiter, QLatin1Char('.'));
    // Laid out: the page number ends at the right stop; the clause's text starts at the indent,
    // the next at its stop.
    const auto xAfter = [](const QTextBlock& b, const QString& text) {
        const int at = int(b.text().indexOf(text) + text.size());
        return b.layout()->lineForTextPosition(at).cursorToX(at);
    };
    EXPECT_NEAR(xAfter(contents, "2"), 600, 1);
    EXPECT_NEAR(xAfter(hanging, "(a)\t"), 96, 1);
    EXPECT_NEAR(xAfter(hanging, "Goods\t"), 192, 1);
    // Leaders: dots, hyphens; none where the stop has none.
    EXPECT_EQ(formatOf(doc, "\t").underlineStyle(), QTextCharFormat::DotLine);
    QList<QTextCharFormat::UnderlineStyle> leaders;
    for (auto it = kinds.begin(); !it.atEnd(); ++it)
        leaders += QList<QTextCharFormat::UnderlineStyle>(it.fragment().text().count('\t'), it.fragment().charFormat().underlineStyle());
    EXPECT_EQ(leaders, QList({QTextCharFormat::NoUnderline, QTextCharFormat::NoUnderline, QTextCharFormat::DashUnderline}));

    // A paragraph of thousands of tabs gets left stops: for each tab that reaches a right stop,
    // Qt walks the rest of the paragraph, seconds for a paragraph of 64 KB.
    RtfReader::read("{\\rtf1 \\pard\\tqr\\tx9000 " + QByteArray(60000, '\t') + "x\\par}", &doc);
    ASSERT_EQ(doc.begin().blockFormat().tabPositions().size(), 1);
    EXPECT_EQ(doc.begin().blockFormat().tabPositions().first().type, QTextOption::DelimiterTab);   // a left stop (see the reader)
}

// Escapes, skipped destinations and broken input: the text read, and never a failure.
TEST(RtfReader, EscapesSkippedDestinationsAndMalformedInput)
{
    const QChar ls(QChar::LineSeparator);
    const std::pair<QByteArray, QString> cases[] = {
        // \uc1 skips one fallback character, \uc2 two (a \'hh counts as one), \uc0 none.
        {"{\\rtf1 a\\u8364?b}", QString::fromUtf8("a\u20acb")},
        {"{\\rtf1\\uc2 a\\u8364\\'80\\'80b}", QString::fromUtf8("a\u20acb")},
        {"{\\rtf1\\uc0 a\\u8364 b}", QString::fromUtf8("a\u20acb")},
        {"{\\rtf1 \\u-3913?}", QString(QChar(0xF0B7))},   // the upper half of the 16-bit range
        {"{\\rtf1\\uc3 {x\\u8364}yz}", QString::fromUtf8("x\u20acyz")},   // a group end stops the skipping
        // Windows-1252 bytes, not Latin-1, for 0x80..0x9f.
        {"{\\rtf1 \\'80\\'85\\'96\\'e0}", QString::fromUtf8("\u20ac\u2026\u2013\u00e0")},
        {"{\\rtf1 a\\\\b\\{c\\}d\\~e}", QString::fromUtf8("a\\b{c}d\u00a0e")},
        {"{\\rtf1 A{\\*\\unknowndest secret {nested} text}B}", "AB"},
        {"{\\rtf1 A{\\pict\\bin3 }}{}B}", "AB"},   // raw bytes after \bin may hold braces
        {"{\\rtf1 {\\header Page 1}{\\footer Footer}Body}", "Body"},
        // \upr: the Unicode part, not the fallback; none where the group around is not shown
        {"{\\rtf1 {\\upr{Rs.}{\\*\\ud{\\u8377\\'3f}}} 100}", QString::fromUtf8("\u20b9 100")},
        {"{\\rtf1 {\\header {\\upr{a}{\\*\\ud{b}}}}Body}", "Body"},
        {"{\\rtf1 \\line-less\\line next}", ls + QString("-less") + ls + "next"},
        // Extra closing braces, unclosed groups.
        {"{\\rtf1 Hello}}} world{{{", "Hello world"},
        {"{\\rtf1 {\\b unclosed", "unclosed"},
        // A backslash, a \' or a control word at the very end.
        {"{\\rtf1 end\\", "end"},
        {"{\\rtf1 end\\'", "end"},
        {"{\\rtf1 end\\par", "end"},
        // Absurd numbers are clamped.
        {"{\\rtf1\\fs99999999999999999999 big\\u99999999999999? x\\bin99999999999}", "big x"},
    };
    for (const auto& [rtf, text] : cases)
        EXPECT_EQ(read(rtf), text) << rtf.constData();
    EXPECT_TRUE(read("{\\rtf1 end\\'4").startsWith("end"));
    // Very deep nesting.
    const QByteArray deep = "{\\rtf1 " + QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "}";
    EXPECT_EQ(read(deep), "x");
}

TEST(RtfReader, DocumentKindsAreToldApart)
{
    EXPECT_TRUE(RtfReader::looksLikeRtf("\xEF\xBB\xBF \r\n{\\rtf1 x}"));
    EXPECT_FALSE(RtfReader::looksLikeRtf("plain {\\rtf1 x}"));
    EXPECT_FALSE(RtfReader::looksLikeRtf(""));
    // RTF, UTF-8 text, other text read as Windows-1252; a binary file (say, an old
    // word-processor file) is not drawn.
    const std::pair<QByteArray, QString> shown[] = {
        {"{\\rtf1 \\b Rich}", "Rich"},
        {QString::fromUtf8("plain \u20b9 text\nline 2").toUtf8(), QString::fromUtf8("plain \u20b9 text\nline 2")},
        {"caf\xe9 \x93q\x94", QString::fromUtf8("caf\u00e9 \u201cq\u201d")},
    };
    QTextDocument doc;
    for (const auto& [bytes, text] : shown) {
        EXPECT_TRUE(RtfReader::readDocument(bytes, &doc));
        EXPECT_EQ(doc.toPlainText(), text);
    }
    EXPECT_FALSE(RtfReader::readDocument(QByteArray("\xD0\xCF\x11\xE0\0\0\0\0binary", 14), &doc));
    EXPECT_TRUE(doc.isEmpty());
}

// A law paragraph with 12,500 formatting changes, in a document view that is on screen and lays
// it out. Reading used to lay the paragraph out again after every run: over 20 seconds.
TEST(RtfReader, AParagraphOfManyFormattingRunsLoadsInOnePass)
{
    constexpr int kToggles = 12500;
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\f0 ";
    QString expected;
    for (int k = 0; k < kToggles; ++k) {
        rtf += k % 2 ? "\\b0 s" + QByteArray::number(k) + " " : "\\b s" + QByteArray::number(k) + " ";
        expected += "s" + QString::number(k) + " ";
    }
    rtf += "\\par}";

    ui::OleView view("OLE1");
    view.resize(800, 600);
    view.show();
    QElapsedTimer clock;
    clock.start();
    view.setData(rtf);
    view.document()->documentLayout()->documentSize();   // laid out to its end
    EXPECT_LT(clock.elapsed(), 5000) << "a paragraph of many runs must load in one pass";

    QTextDocument& doc = *view.document();
    EXPECT_EQ(doc.blockCount(), 1);
    EXPECT_EQ(doc.toPlainText(), expected);
    // Every word keeps its own weight: even words bold, odd ones not.
    int runs = 0;
    for (auto it = doc.begin().begin(); !it.atEnd(); ++it, ++runs) {
        const QTextFragment f = it.fragment();
        const int word = f.text().mid(1).section(' ', 0, 0).toInt();
        ASSERT_EQ(f.charFormat().fontWeight() == QFont::Bold, word % 2 == 0) << f.text().left(20).toStdString();
        ASSERT_EQ(f.charFormat().fontFamilies().toStringList(), QStringList{"Arial"});
    }
    EXPECT_EQ(runs, kToggles);
    // The view shows the document from its start.
    EXPECT_EQ(view.textCursor().position(), 0);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
}

// A schedule of thousands of rows stays a grid: parts of a few hundred cells (Qt lays a table
// out whole), one on the next without a seam, sharing the columns the cell edges give.
TEST(RtfReader, ALongScheduleStaysAGridOfSeamlessParts)
{
    QByteArray rtf = "{\\rtf1\\ansi\\pard Schedule\\par"
                     "\\trowd\\cellx1500\\cellx4500\\pard\\intbl Item\\cell Rate\\cell\\row\\pard Goods:\\par";
    const int kRows = 3000;
    for (int r = 0; r < kRows; ++r) {
        // rows 165 and 166, across the first parts' seam, share their first cell
        const QByteArray merge = r == 165 ? "\\clvmgf" : r == 166 ? "\\clvmrg" : "";
        rtf += "\\trowd" + merge + "\\cellx1500\\cellx4500\\cellx6000\\pard\\intbl "
               + (r == 166 ? QByteArray() : QByteArray::number(r)) + "\\cell {\\b Rice} and\\par wheat\\cell 4\\cell\\row\r\n";
    }
    rtf += "\\pard After\\par}";
    QTextDocument doc;
    QElapsedTimer clock;
    clock.start();
    RtfReader::read(rtf, &doc);
    EXPECT_LT(clock.elapsed(), 5000);

    const QList<QTextTable*> tables = tablesOf(doc);
    ASSERT_GE(tables.size(), 2);
    EXPECT_EQ(cellText(tables.first(), 0, 1), "Rate");   // the small table before it, apart
    const QList<QTextTable*> parts = tables.mid(1);
    int row = 0;
    for (QTextTable* part : parts) {
        ASSERT_EQ(part->columns(), 3);
        EXPECT_LE(part->rows(), 167);   // 500 cells, and a row where a merge reaches past them
        const auto widths = part->format().columnWidthConstraints();
        ASSERT_EQ(widths.size(), 3);
        EXPECT_NEAR(widths[1].rawValue(), 3000 / 15.0, 0.01);
        for (int r = 0; r < part->rows(); ++r, ++row) {
            ASSERT_EQ(cellText(part, r, 0), QString::number(row == 166 ? 165 : row));
            if (row == 165) {
                EXPECT_EQ(part->cellAt(r, 0).rowSpan(), 2);
            }
            ASSERT_EQ(cellText(part, r, 1), QString("Rice and") + QChar(QChar::LineSeparator) + "wheat");
            ASSERT_EQ(cellText(part, r, 2), "4");
        }
    }
    EXPECT_EQ(row, kRows);
    EXPECT_EQ(doc.findBlock(parts.first()->firstPosition() - 1).text(), "Goods:");
    EXPECT_EQ(doc.findBlock(parts.last()->lastPosition() + 1).text(), "After");
    EXPECT_EQ(formatOf(doc, "Rice").fontWeight(), QFont::Bold);
    EXPECT_NE(formatOf(doc, " and").fontWeight(), QFont::Bold);

    // Drawn, the line where two parts meet is the line between two rows of one part: one grid
    // to the eye, the parts as wide as one another.
    doc.setTextWidth(683);
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    const qreal x = layout->frameBoundingRect(parts.first()).left() + 50;   // blank inside the first column
    const auto lineNear = [&](qreal y) {   // the rows of drawn pixels within 12 px of y
        QImage image(8, 24, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(-x, -(y - 12));
        doc.drawContents(&painter, QRectF(x, y - 12, 8, 24));
        painter.end();
        int rows = 0;
        for (int i = 0; i < image.height(); ++i)
            rows += qGray(image.pixel(4, i)) < 220;
        return rows;
    };
    const qreal betweenRows = layout->blockBoundingRect(parts.first()->cellAt(10, 0).firstCursorPosition().block()).top();
    const int rowLine = lineNear(betweenRows - 4);
    EXPECT_GE(rowLine, 1);
    for (int k = 1; k < parts.size(); ++k) {
        ASSERT_EQ(lineNear(layout->frameBoundingRect(parts[k]).top()), rowLine) << k;
        ASSERT_EQ(layout->frameBoundingRect(parts[k]).width(), layout->frameBoundingRect(parts[0]).width()) << k;
    }
}

// Footnotes and endnotes: the mark stays where it stands, the note follows the body under a
// rule (the endnotes after the footnotes), numbered as the source numbers it.
TEST(RtfReader, NotesKeepTheirMarksAndFollowTheBodyNumberedAsInTheSource)
{
    const struct {
        QByteArray rtf;
        QString body;
        QStringList notes;
    } cases[] = {
        // as one word processor writes them: a styled mark, the note's own mark inside it
        {"{\\rtf1 under section 5{\\cs15\\super \\chftn}{\\footnote \\pard\\plain {\\cs15\\super \\chftn} Substituted by "
         "Act 10 of 2008.} and 6{\\super\\chftn}{\\*\\footnote {\\super\\chftn} Omitted.}.\\par}",
         "under section 51 and 62.", {"1 Substituted by Act 10 of 2008.", "2 Omitted."}},
        // numbered as the document says: lower-case roman from 3
        {"{\\rtf1\\ftnnrlc\\ftnstart3 a{\\super\\chftn}{\\footnote\\chftn x} b{\\super\\chftn}{\\footnote\\chftn y}\\par}",
         "aiii biv", {"iiix", "ivy"}},
        // an endnote among the endnotes (a, b...), then a footnote among the footnotes, before it
        {"{\\rtf1\\aftnnalc a{\\super\\chftn}{\\footnote\\ftnalt\\chftn  end} b{\\super\\chftn}{\\footnote\\chftn  foot}\\par}",
         "aa b1", {"1 foot", "a end"}},
        // a mark of the writer's own takes no number
        {"{\\rtf1 a*{\\footnote * starred} b{\\super\\chftn}{\\footnote\\chftn  numbered}\\par}", "a* b1",
         {"* starred", "1 numbered"}},
        // a note of two paragraphs
        {"{\\rtf1 a{\\super\\chftn}{\\footnote\\chftn  one\\par two}\\par}", "a1", {"1 one", "two"}},
        // numbering restarted at each section, in the section's own style
        {"{\\rtf1\\ansi\\ftnrestart\\sectd\\sftnrestart A{\\super\\chftn{\\footnote\\pard\\plain{\\super\\chftn} one}}\\par\\sect"
         "\\sectd\\sftnrestart\\sftnnrlc B{\\super\\chftn{\\footnote\\pard\\plain{\\super\\chftn} two}}\\par\\sect"
         "\\sectd\\sftnrestart C{\\super\\chftn{\\footnote\\pard\\plain{\\super\\chftn} three}}\\par}",
         "A1\n\nBi\n\nC1", {"1 one", "i two", "1 three"}},
        // endnotes restarted at each section by the document, footnotes numbered per page run on
        {"{\\rtf1\\aftnrestart\\aftnnauc\\ftnrstpg a{\\super\\chftn}{\\footnote\\ftnalt\\chftn  x}b{\\super\\chftn}"
         "{\\footnote\\chftn  y}\\sect c{\\super\\chftn}{\\footnote\\ftnalt\\chftn  z}d{\\super\\chftn}{\\footnote\\chftn  w}\\par}",
         "aAb1\ncAd2", {"1 y", "2 w", "A x", "A z"}},
        // a note in a header is not shown; no notes, no rule
        {"{\\rtf1 {\\header h{\\footnote hidden}}body\\par}", "body", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rtf.constData());
        QTextDocument doc;
        RtfReader::read(c.rtf, &doc);
        QStringList body, notes;
        bool afterRule = false;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            if (b.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
                afterRule = true;
            else
                (afterRule ? notes : body) << b.text();
        }
        EXPECT_EQ(body.join('\n'), c.body);
        EXPECT_EQ(notes, c.notes);
    }

    // The marks are superscript where the source makes them so, the text around them is not.
    QTextDocument doc;
    RtfReader::read(cases[0].rtf, &doc);
    EXPECT_EQ(formatOf(doc, "1").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(doc, " and 6").verticalAlignment(), QTextCharFormat::AlignNormal);
    EXPECT_EQ(formatOf(doc, " Substituted").verticalAlignment(), QTextCharFormat::AlignNormal);

    // A note written in a table cell: the cell keeps its text and mark, the note follows the body.
    RtfReader::read("{\\rtf1 \\trowd\\cellx2000\\cellx4000\\pard\\intbl Rubber{\\super\\chftn}{\\footnote\\pard\\plain"
                    "\\chftn  Entry 10 amended.}\\cell 5\\cell\\row\\pard After\\par}",
                    &doc);
    ASSERT_EQ(tablesOf(doc).size(), 1);
    EXPECT_EQ(tablesOf(doc).first()->columns(), 2);
    EXPECT_EQ(cellText(tablesOf(doc).first(), 0, 0), "Rubber1");
    EXPECT_EQ(cellText(tablesOf(doc).first(), 0, 1), "5");
    EXPECT_TRUE(doc.toPlainText().endsWith("After\n\n1 Entry 10 amended.")) << doc.toPlainText().toStdString();
}

// What reaches the layout stays within what a law text uses: Qt's layout of a document taller
// than its fixed-point limit (some 8.4 million pixels) never comes back, and thirty paragraphs
// at RTF's largest size get there (the layout fuzz target's corpus holds such documents).
TEST(RtfReader, SizesSpacingIndentsAndColumnsAreHeldToWhatALawTextUses)
{
    QTextDocument doc;
    RtfReader::read("{\\rtf1 \\pard\\fs3276 huge\\fs1  tiny\\par"
                    "\\pard\\sb30000\\sa99999\\li99999\\ri99999\\fi-99999 spaced\\par"
                    "\\trowd\\cellx10\\cellx3000\\pard\\intbl a\\cell b\\cell\\row}",
                    &doc);
    EXPECT_DOUBLE_EQ(formatOf(doc, "huge").fontPointSize(), 48.0);
    EXPECT_DOUBLE_EQ(formatOf(doc, " tiny").fontPointSize(), 1.0);
    const QTextBlockFormat spaced = doc.findBlock(doc.toPlainText().indexOf("spaced")).blockFormat();
    EXPECT_DOUBLE_EQ(spaced.topMargin(), 1440 / 15.0);
    EXPECT_DOUBLE_EQ(spaced.bottomMargin(), 1440 / 15.0);
    EXPECT_DOUBLE_EQ(spaced.leftMargin(), 4320 / 15.0);
    EXPECT_DOUBLE_EQ(spaced.rightMargin(), 4320 / 15.0);
    EXPECT_DOUBLE_EQ(spaced.textIndent(), -4320 / 15.0);
    const auto widths = tablesOf(doc).first()->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_DOUBLE_EQ(widths[0].rawValue(), 180 / 15.0);   // a column a digit fits in

}
