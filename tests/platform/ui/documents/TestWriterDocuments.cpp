// Law documents that real writers made (tests/data/law-documents: LibreOffice Writer and pandoc,
// from sources written for the tests), read as the document window reads them: every word of
// each writer's own plain-text export but its hidden text, deleted text struck through, every
// note of the source (after the body, footnotes then endnotes, numbered as the source numbers
// them, the marks left where they stood), and the table with its merged and nested cells and the
// tab stops of its forms.
#include "platform/ui/documents/RtfReader.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QXmlStreamReader>
#include <array>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

const QString kFolder = QStringLiteral(LUMORA_TEST_DATA_DIR "/law-documents/");

// What a document must show besides the words of its writer's export (a source in Markdown
// gives its table's rows too).
struct Expected {
    const char* writer;
    const char* name;
    int rows = 0, columns = 0;    // of its table; 0: it has none
    QStringList spans = {};       // "row,column rowsxcolumns: text" of each cell spanning others;
                                  // "nested " before those of the table inside a cell
    QStringList nested = {};      // "row,column rowsxcolumns": the cells holding a table, its size
    QStringList hidden = {};      // in the export, never in a view
    QStringList deleted = {};     // in reading order, each struck through; nothing else is
    // Paragraphs beginning so: their tab stops ("twips" + L left, C centre, R right, D decimal)
    // and the leader of each tab (' ' none, '.' dots, '_' a line).
    std::vector<std::array<const char*, 3>> tabs = {};
};

// Lists compare as one text: that is how a failure shows them.
std::string joined(const QStringList& list)
{
    return list.join(" | ").toStdString();
}

QString readText(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(f.readAll());
}

// Words as a reader compares them: runs of letters and combining marks (Malayalam's vowel
// signs), runs of digits, and currency signs; punctuation and blanks part them. A footnote's
// number is a word of its own however a writer puts it beside the word it follows
// ("Amended2", "Amended[2]").
QStringList words(const QString& text)
{
    QStringList out;
    QString word;
    const auto kind = [](QChar c) {
        if (c.isDigit())
            return 1;
        if (c.isLetter() || c.isMark())
            return 2;
        return c.category() == QChar::Symbol_Currency ? 3 : 0;
    };
    int last = 0;
    for (QChar c : text) {
        const int k = kind(c);
        if (k != last || k == 3) {
            if (!word.isEmpty())
                out << word;
            word.clear();
        }
        if (k != 0)
            word += c;
        last = k;
    }
    if (!word.isEmpty())
        out << word;
    return out;
}

// What the source says: its notes' marks in reading order, its notes (each behind its mark)
// footnotes first, and the rows of a Markdown source's table, each mark in a cell written as the
// note's number. Markdown numbers its footnotes 1, 2, 3; an OpenDocument source gives each
// note's mark.
struct Source {
    QStringList marks, notes;
    QList<QStringList> rows;
};

Source markdownSource(const QString& md)
{
    std::map<QString, QString> bodies;
    static const QRegularExpression note(QStringLiteral("^\\[\\^(\\w+)\\]: (.*)$"), QRegularExpression::MultilineOption);
    for (auto it = note.globalMatch(md); it.hasNext();) {
        const auto m = it.next();
        bodies[m.captured(1)] = m.captured(2);
    }
    Source s;
    std::map<QString, QString> numbers;
    static const QRegularExpression mark(QStringLiteral("\\[\\^(\\w+)\\](?!:)"));
    for (auto it = mark.globalMatch(md); it.hasNext();) {
        const QString key = it.next().captured(1);
        numbers[key] = QString::number(s.marks.size() + 1);
        s.marks << numbers[key];
        s.notes << numbers[key] + ' ' + bodies[key];
    }
    for (const QString& line : md.split('\n')) {
        if (!line.startsWith('|') || line.startsWith("|-"))
            continue;
        QStringList cells = line.split('|').mid(1, line.count('|') - 1);
        for (QString& cell : cells) {
            cell = cell.trimmed();
            for (const auto& [key, number] : numbers)
                cell.replace("[^" + key + "]", number);
        }
        s.rows << cells;
    }
    return s;
}

Source openDocumentSource(const QString& fodt)
{
    Source s;
    QStringList endnotes;
    QXmlStreamReader x(fodt);
    while (!x.atEnd()) {
        if (x.readNext() != QXmlStreamReader::StartElement || x.qualifiedName() != u"text:note")
            continue;
        const bool endnote = x.attributes().value("text:note-class") == u"endnote";
        x.readNextStartElement();
        const QString mark = x.readElementText();
        x.readNextStartElement();
        s.marks << mark;
        (endnote ? endnotes : s.notes) << mark + ' ' + x.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    EXPECT_FALSE(x.hasError()) << x.errorString().toStdString();
    s.notes += endnotes;
    return s;
}

QString cellText(QTextTable* t, int row, int col)
{
    QTextCursor c = t->cellAt(row, col).firstCursorPosition();
    c.setPosition(t->cellAt(row, col).lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selectedText();
}

// The rule that ends the body.
QTextBlock rule(const QTextDocument& doc)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (b.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
            return b;
    return {};
}

// The notes: the paragraphs after the rule.
QStringList notes(const QTextDocument& doc)
{
    QStringList out;
    for (QTextBlock b = rule(doc).next(); b.isValid(); b = b.next())
        if (!b.text().isEmpty())
            out << b.text();
    return out;
}

// The runs of the paragraphs from `from` up to `to` whose format passes, in reading order (table
// cells among them); a run going on across fragments is one.
template <typename Pass>
QStringList runs(QTextBlock from, const QTextBlock& to, Pass pass)
{
    QStringList out;
    for (; from.isValid() && from != to; from = from.next()) {
        bool open = false;
        for (auto it = from.begin(); !it.atEnd(); ++it) {
            const bool passes = pass(it.fragment().charFormat());
            if (passes && open)
                out.last() += it.fragment().text();
            else if (passes)
                out << it.fragment().text();
            open = passes;
        }
    }
    return out;
}

// The cells spanning others ("row,column rowsxcolumns: text") and those holding a table
// ("row,column rowsxcolumns" of the table), of a table and the tables in its cells.
void describeCells(QTextTable* t, const QString& prefix, QStringList& spans, QStringList& nested)
{
    for (int r = 0; r < t->rows(); ++r) {
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            const QString at = QString("%1,%2 ").arg(r).arg(c);
            if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
                spans << prefix + at + QString("%1x%2: ").arg(cell.rowSpan()).arg(cell.columnSpan()) + cellText(t, r, c);
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (auto* table = qobject_cast<QTextTable*>(it.currentFrame())) {
                    nested << prefix + at + QString("%1x%2").arg(table->rows()).arg(table->columns());
                    describeCells(table, "nested ", spans, nested);
                }
            }
        }
    }
}

// A paragraph's tab stops and its tabs' leaders, written as Expected::tabs has them.
QStringList tabsOf(const QTextBlock& b)
{
    QStringList stops;
    for (const QTextOption::Tab& t : b.blockFormat().tabPositions()) {
        const char kind = t.type == QTextOption::RightTab    ? 'R'
                          : t.type == QTextOption::CenterTab ? 'C'
                          : t.delimiter == u'.'              ? 'D'
                                                             : 'L';
        stops << QString::number(qRound(t.position * 15)) + kind;
    }
    QString leaders;   // by underline style: none, a line, dashes, dots, others
    for (auto it = b.begin(); !it.atEnd(); ++it)
        leaders += QString(it.fragment().text().count('\t'),
                           QLatin1Char(" _-.?"[std::min<int>(it.fragment().charFormat().underlineStyle(), 4)]));
    return {stops.join(' '), leaders};
}

void PrintTo(const Expected& e, std::ostream* os) { *os << e.writer << '/' << e.name; }

struct WriterDocuments : ::testing::TestWithParam<Expected> {};

} // namespace

TEST_P(WriterDocuments, EveryWordNoteAndTableComesThrough)
{
    const Expected& e = GetParam();
    QFile rtf(kFolder + e.writer + "/" + e.name + ".rtf");
    ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
    QTextDocument doc;
    ASSERT_TRUE(ui::RtfReader::readDocument(rtf.readAll(), &doc));
    const QString shown = doc.toPlainText();

    // Every word of the writer's own export but its hidden text, as often as it has it.
    QString exported = readText(kFolder + e.writer + "/" + e.name + ".txt");
    for (const QString& hidden : e.hidden) {
        EXPECT_FALSE(shown.contains(hidden)) << hidden.toStdString();
        exported.remove(hidden);
    }
    std::map<QString, int> have;
    for (const QString& w : words(shown))
        ++have[w];
    QStringList missing;
    for (const QString& w : words(exported))
        if (--have[w] < 0)
            missing << w;
    EXPECT_TRUE(missing.isEmpty()) << missing.join(' ').toStdString();
    const QTextBlock notesRule = rule(doc);
    EXPECT_EQ(joined(runs(doc.begin(), notesRule, [](const QTextCharFormat& f) { return f.fontStrikeOut(); })),
              joined(e.deleted));

    // Every note after the body, in order, each behind its number; the marks stay where they stand.
    const QString md = kFolder + "source/" + e.name + ".md";
    const Source src = QFile::exists(md) ? markdownSource(readText(md))
                                         : openDocumentSource(readText(kFolder + "source/" + e.name + ".fodt"));
    ASSERT_GE(src.notes.size(), 3);
    const QStringList shownNotes = notes(doc);
    ASSERT_EQ(shownNotes.size(), src.notes.size()) << shownNotes.join('|').toStdString();
    for (int i = 0; i < src.notes.size(); ++i)
        EXPECT_EQ(joined(words(shownNotes[i])), joined(words(src.notes[i])));
    EXPECT_EQ(joined(runs(doc.begin(), notesRule,
                          [](const QTextCharFormat& f) { return f.verticalAlignment() == QTextCharFormat::AlignSuperScript; })),
              joined(src.marks));

    // The table right after the paragraph before it, row by row, its merged and nested cells.
    QList<QTextTable*> tables;
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f))
            tables << t;
    ASSERT_EQ(tables.size(), e.rows > 0 ? 1 : 0);
    if (e.rows > 0) {
        QTextTable* table = tables.first();
        ASSERT_EQ(table->rows(), e.rows);
        ASSERT_EQ(table->columns(), e.columns);
        EXPECT_FALSE(table->firstCursorPosition().block().previous().text().isEmpty());
        for (int r = 0; r < src.rows.size(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columns(); ++c)
                cells << cellText(table, r, c);
            EXPECT_EQ(joined(cells), joined(src.rows[r])) << e.writer << " row " << r;
        }
        QStringList spans, nested;
        describeCells(table, "", spans, nested);
        EXPECT_EQ(joined(spans), joined(e.spans));
        EXPECT_EQ(joined(nested), joined(e.nested));
    }

    // Tab stops where they stand, of their kind, their leaders drawn.
    for (const auto& [begins, stops, leaders] : e.tabs) {
        QTextBlock b = doc.begin();
        while (b.isValid() && !b.text().startsWith(QString::fromUtf8(begins)))
            b = b.next();
        ASSERT_TRUE(b.isValid()) << begins;
        EXPECT_EQ(joined(tabsOf(b)), joined({stops, leaders})) << begins;
    }

    // The Malayalam and the rupee sign, as written.
    static const QRegularExpression malayalam(QStringLiteral("[\\x{0D00}-\\x{0D7F}]+"));
    int malayalamWords = 0;
    for (auto it = malayalam.globalMatch(exported); it.hasNext(); ++malayalamWords) {
        const QString w = it.next().captured();
        EXPECT_TRUE(shown.contains(w)) << w.toStdString();
    }
    EXPECT_GE(malayalamWords, 2);
    EXPECT_TRUE(shown.contains(QString::fromUtf8("₹ "))) << e.writer;
}

INSTANTIATE_TEST_SUITE_P(
    LawDocuments, WriterDocuments,
    ::testing::Values(
        Expected{.writer = "libreoffice", .name = "levy-act", .rows = 5, .columns = 3},
        Expected{.writer = "libreoffice", .name = "rate-notification", .rows = 13, .columns = 4},
        Expected{.writer = "pandoc", .name = "levy-act", .rows = 5, .columns = 3},
        Expected{.writer = "pandoc", .name = "rate-notification", .rows = 13, .columns = 4},
        // tracked changes, hidden text, cells merged across (rows of fewer cells) and down
        Expected{.writer = "libreoffice", .name = "rate-amendment", .rows = 9, .columns = 4,
                 .spans = {"1,0 1x4: PART A: goods taxed at one per cent",
                           "2,3 3x1: Entries 1 to 3 substituted by this notification",
                           "5,0 1x4: PART B: goods taxed at five per cent",
                           QString::fromUtf8("7,2 1x2: 5 per cent, or exempt when sold below ₹ 1003")},
                 .hidden = {" [check with Finance before signing]",
                            "Internal reference: File No. TX-C/1234/2033, not for publication."},
                 .deleted = {"March", "four", "Entries in the Schedule that this notification does not amend shall",
                             "Entry 9 relating to kerosene shall stand omitted.", "4 per cent", "6",
                             "Kerosene sold through ration shops", "5 per cent", "Omitted"}},
        // a table in a cell, merged cells, fill-in lines of tab stops with leaders
        Expected{.writer = "libreoffice", .name = "award-form", .rows = 6, .columns = 2,
                 .spans = {"0,0 1x2: PART I: PARTICULARS OF THE OFFICE", "3,0 2x1: 3. Rewards sanctioned",
                           "nested 4,0 1x2: Total"},
                 .nested = {"3,1 5x3"},
                 .tabs = {{"Total amount of rewards", "7937D 9638R", "."},
                          {"Name of the officer", "9638R", "."},
                          {"Designation", "9638R", "."},
                          {"Place", "4535R 9638R", ".."},
                          {"Seal of the office", "5102L 9638R", " _"},
                          {"\t(", "7370C", " "}}},
        // a contents page, footnotes numbered per chapter, endnotes
        Expected{.writer = "libreoffice", .name = "assessment-order",
                 .tabs = {{"1. Facts of the case", "9638R", "."},
                          {"2. Points for decision", "9638R", "."},
                          {"3. Findings", "9638R", "."},
                          {"4. Order", "9638R", "."}}}),
    [](const auto& info) { return QString("%1_%2").arg(info.param.writer, info.param.name).remove('-').toStdString(); });
