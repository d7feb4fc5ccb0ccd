// Law documents that real writers made (tests/data/law-documents: LibreOffice Writer and pandoc,
// from sources written for the tests), read as the document window reads them: every word of
// each writer's own plain-text export, every footnote of the source (after the body, with its
// number, its mark left where it stood) and every row of its table come through.
#include "platform/ui/documents/RtfReader.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>
#include <map>

namespace {

const QString kFolder = QStringLiteral(LUMORA_TEST_DATA_DIR "/law-documents/");

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

// What the source says: its footnotes in the order of their marks (the writers number them
// so) and the rows of its table, each mark in a cell written as the note's number.
struct Source {
    QStringList footnotes;
    QList<QStringList> rows;
};

Source source(const QString& name)
{
    const QString md = readText(kFolder + "source/" + name + ".md");
    std::map<QString, QString> bodies;
    static const QRegularExpression note(QStringLiteral("^\\[\\^(\\w+)\\]: (.*)$"), QRegularExpression::MultilineOption);
    for (auto it = note.globalMatch(md); it.hasNext();) {
        const auto m = it.next();
        bodies[m.captured(1)] = m.captured(2);
    }
    Source s;
    std::map<QString, int> numbers;
    static const QRegularExpression mark(QStringLiteral("\\[\\^(\\w+)\\](?!:)"));
    for (auto it = mark.globalMatch(md); it.hasNext();) {
        const QString key = it.next().captured(1);
        numbers[key] = int(s.footnotes.size()) + 1;
        s.footnotes << bodies[key];
    }
    for (const QString& line : md.split('\n')) {
        if (!line.startsWith('|') || line.startsWith("|-"))
            continue;
        QStringList cells = line.split('|').mid(1, line.count('|') - 1);
        for (QString& cell : cells) {
            cell = cell.trimmed();
            for (const auto& [key, number] : numbers)
                cell.replace("[^" + key + "]", QString::number(number));
        }
        s.rows << cells;
    }
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

struct WriterDocuments : ::testing::TestWithParam<std::pair<const char*, const char*>> {};

} // namespace

TEST_P(WriterDocuments, EveryWordFootnoteAndTableRowComesThrough)
{
    const auto [writer, name] = GetParam();
    QFile rtf(kFolder + writer + "/" + name + ".rtf");
    ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
    QTextDocument doc;
    ASSERT_TRUE(ui::RtfReader::readDocument(rtf.readAll(), &doc));
    const QString shown = doc.toPlainText();

    // Every word of the writer's own export, as often as it has it.
    std::map<QString, int> have;
    for (const QString& w : words(shown))
        ++have[w];
    QStringList missing;
    for (const QString& w : words(readText(kFolder + writer + "/" + name + ".txt")))
        if (--have[w] < 0)
            missing << w;
    EXPECT_TRUE(missing.isEmpty()) << missing.join(' ').toStdString();

    // Every footnote after the body, in order, each behind its number.
    const Source src = source(name);
    ASSERT_GE(src.footnotes.size(), 3);
    const QStringList shownNotes = notes(doc);
    ASSERT_EQ(shownNotes.size(), src.footnotes.size()) << shownNotes.join('|').toStdString();
    for (int i = 0; i < src.footnotes.size(); ++i) {
        const QStringList note = words(shownNotes[i]);
        ASSERT_FALSE(note.isEmpty());
        EXPECT_EQ(note.first(), QString::number(i + 1));
        EXPECT_EQ(note.mid(1), words(src.footnotes[i])) << shownNotes[i].toStdString();
    }
    // The first mark stays where it stands in the body, before the notes.
    const int firstMark = int(shown.indexOf(QRegularExpression("[a-z.,;)]1\\b")));
    EXPECT_TRUE(firstMark > 0 && firstMark < rule(doc).position()) << firstMark;

    // The table, row by row and cell by cell.
    QList<QTextTable*> tables;
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f))
            tables << t;
    ASSERT_EQ(tables.size(), 1);
    QTextTable* table = tables.first();
    ASSERT_EQ(table->rows(), src.rows.size());
    for (int r = 0; r < table->rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columns(); ++c)
            cells << cellText(table, r, c);
        EXPECT_EQ(cells, src.rows[r]) << writer << " row " << r;
    }

    // The Malayalam and the rupee sign, as written.
    const QString md = readText(kFolder + "source/" + name + ".md");
    static const QRegularExpression malayalam(QStringLiteral("[\\x{0D00}-\\x{0D7F}]+"));
    int malayalamWords = 0;
    for (auto it = malayalam.globalMatch(md); it.hasNext(); ++malayalamWords) {
        const QString w = it.next().captured();
        EXPECT_TRUE(shown.contains(w)) << w.toStdString();
    }
    EXPECT_GE(malayalamWords, 2);
    EXPECT_TRUE(shown.contains(QString::fromUtf8("₹ "))) << writer;
}

INSTANTIATE_TEST_SUITE_P(LawDocuments, WriterDocuments,
                         ::testing::Values(std::pair{"libreoffice", "levy-act"}, std::pair{"libreoffice", "rate-notification"},
                                           std::pair{"pandoc", "levy-act"}, std::pair{"pandoc", "rate-notification"}),
                         [](const auto& info) {
                             return QString("%1_%2").arg(info.param.first, info.param.second).remove('-').toStdString();
                         });
