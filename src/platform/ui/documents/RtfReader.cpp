// A small RTF reader. One pass over the bytes with a stack of group states; text goes to a
// QTextCursor in runs that share one character format. Every loop is bounded by the input,
// numbers are clamped, and group depth is capped, so no input can make it fail.
//
// Law documents run to megabytes with tens of thousands of formatting runs and tables of
// thousands of rows, so the work stays linear in the input: control words are looked up
// without copying them, a run's character format is built once when the run is written, a
// table is inserted when its last row is read (a row appended to a table already in the
// document costs a walk over the whole table), in parts the layout takes a few at a time, and
// nothing is laid out until the document is complete (see replaceContent). A view gets a large
// document in two steps (see DocumentLoader). What a document asks of the layout is held to
// what a law text uses (font sizes, spacing, indents, column widths): Qt's layout of a document
// taller than some eight million pixels, its fixed-point limit, runs for minutes, and a handful
// of paragraphs at the largest sizes RTF allows gets there.
//
// Footnotes (and endnotes) keep their reference marks where they stand; their texts are
// gathered as they are read and follow the body under a short rule, numbered as the source
// numbers them.
#include "platform/ui/documents/RtfReader.h"

#include "platform/ui/forms/Twips.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QDeadlineTimer>
#include <QList>
#include <QPointer>
#include <QScrollBar>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextOption>
#include <QTextTable>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace ui {
namespace {

constexpr int kMaxDepth = 512;
constexpr std::size_t kMaxColumns = 63;   // the most cells a row can define
constexpr std::size_t kKeptFormats = 16;
constexpr int kCellsPerTable = 500;   // see insertTable
constexpr QChar kNoDelimiter = QChar::Null;   // never in the text (see textChar)

// Bounds of what reaches the layout, in the units of RTF.
constexpr int kMinFontHalfPoints = 2;     // 1 pt
constexpr int kMaxFontHalfPoints = 96;    // 48 pt: above the largest title a law text prints
constexpr int kMaxIndent = 4320;          // twips: 3 inches left, right or first line
constexpr int kMaxSpacing = 1440;         // twips: an inch before or after a paragraph
constexpr int kMinColumnWidth = 180;      // twips: room for a digit; narrower columns break every letter

// What decides a run's character format; runs with equal keys share one format.
struct CharKey {
    bool bold = false, italic = false, underline = false, strike = false;
    int fontSizeHalfPoints = 24;
    int verticalAlign = 0;   // 0 normal, 1 super, 2 sub
    int font = -1;           // index into the font table
    int color = 0;           // index into the colour table; 0 is the automatic colour
    bool operator==(const CharKey&) const = default;
};

struct State {
    CharKey chars;
    // paragraph
    int align = 0;           // 0 left, 1 centre, 2 right, 3 justify
    int leftIndent = 0, rightIndent = 0, firstIndent = 0, spaceBefore = 0, spaceAfter = 0;
    bool inTable = false;
    // reading
    int uc = 1;
    bool skip = false;       // nothing of this group is shown
    enum Dest { Body, FontTable, ColorTable, Ignored } dest = Body;
};

// RTF paragraph alignment (0 left, 1 centre, 2 right, 3 justify).
Qt::Alignment alignmentOf(int align)
{
    static const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
    return aligns[std::clamp(align, 0, 3)];
}

// How notes are numbered.
enum class Numbering { Arabic, LowerAlpha, UpperAlpha, LowerRoman, UpperRoman, Symbols };

QString roman(int n)
{
    static const std::pair<int, const char*> parts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"},
                                                        {100, "c"},  {90, "xc"},  {50, "l"},  {40, "xl"},
                                                        {10, "x"},   {9, "ix"},   {5, "v"},   {4, "iv"}, {1, "i"}};
    QString s;
    for (const auto& [value, letters] : parts)
        for (; n >= value; n -= value)
            s += QLatin1String(letters);
    return s;
}

// The label of the note numbered n (from 1) in a numbering.
QString noteLabel(int n, Numbering numbering)
{
    n = std::clamp(n, 1, 9999);
    switch (numbering) {
    case Numbering::Arabic: return QString::number(n);
    case Numbering::LowerAlpha:
    case Numbering::UpperAlpha: {
        // a..z, then aa..zz, and so on
        const QChar letter(char16_t((numbering == Numbering::LowerAlpha ? u'a' : u'A') + (n - 1) % 26));
        return QString((n - 1) / 26 + 1, letter);
    }
    case Numbering::LowerRoman: return roman(n);
    case Numbering::UpperRoman: return roman(n).toUpper();
    case Numbering::Symbols: {
        static const char16_t symbols[] = {u'*', 0x2020, 0x2021, 0x00A7};
        return QString((n - 1) / 4 + 1, QChar(symbols[(n - 1) % 4]));
    }
    }
    return QString::number(n);
}

// The control words the reader acts on.
enum class Kw {
    FontTable, ColorTable, SkipDestination, Red, Green, Blue,
    Par, Line, Tab, Cell, Row, Trowd, Cellx, Intbl, U, Uc,
    Bold, Italic, UlNone, Underline, Strike, Fs, Super, Sub, NoSuperSub, Font, Cf, Plain,
    Pard, Ql, Qc, Qr, Qj, Li, Ri, Fi, Sb, Sa, Char,
    Footnote, NoteMark, Endnote, FootNumbering, EndNumbering, FootStart, EndStart,
};

struct Keyword {
    Kw kw;
    char16_t ch = 0;   // Kw::Char: the character the word stands for; numbering words: the Numbering
};

const std::unordered_map<std::string_view, Keyword>& keywords()
{
    static const std::unordered_map<std::string_view, Keyword> table = [] {
        std::unordered_map<std::string_view, Keyword> t;
        for (const char* w : {"stylesheet", "info", "pict", "header", "headerl", "headerr",
             "headerf", "footer", "footerl", "footerr", "footerf", "fldinst", "objdata", "listtable",
             "listoverridetable", "revtbl", "rsidtbl", "generator", "themedata", "colorschememapping",
             "datastore", "latentstyles", "pgdsctbl", "filetbl", "annotation", "atnid",
             "atnauthor", "xe", "tc", "pn", "nonshppict", "shpinst", "sp", "sn", "sv", "xmlnstbl",
             "mmathPr", "docvar", "private", "bkmkstart", "bkmkend", "field_inst", "template",
             "userprops", "wgrffmtfilter", "blipuid", "picprop", "author", "operator", "title",
             "subject", "keywords", "comment", "doccomm", "company", "creatim", "revtim", "printim",
             "buptim", "listpicture", "ftnsep", "ftnsepc", "aftnsep", "aftnsepc"})
            t[w] = {Kw::SkipDestination};
        for (const char* w : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
                              "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
                              "ululdbwave", "ulw", "ulwave"})
            t[w] = {Kw::Underline};   // \ulc (underline colour) and the like change nothing
        const std::pair<const char*, Kw> words[] = {
            {"fonttbl", Kw::FontTable}, {"colortbl", Kw::ColorTable}, {"red", Kw::Red},
            {"green", Kw::Green}, {"blue", Kw::Blue}, {"par", Kw::Par}, {"sect", Kw::Par},
            {"page", Kw::Par}, {"line", Kw::Line}, {"nestrow", Kw::Line}, {"tab", Kw::Tab},
            {"nestcell", Kw::Tab}, {"cell", Kw::Cell}, {"row", Kw::Row}, {"trowd", Kw::Trowd},
            {"cellx", Kw::Cellx}, {"intbl", Kw::Intbl}, {"u", Kw::U}, {"uc", Kw::Uc},
            {"b", Kw::Bold}, {"i", Kw::Italic}, {"ulnone", Kw::UlNone}, {"strike", Kw::Strike},
            {"striked", Kw::Strike}, {"fs", Kw::Fs}, {"super", Kw::Super}, {"sub", Kw::Sub},
            {"nosupersub", Kw::NoSuperSub}, {"f", Kw::Font}, {"deff", Kw::Font}, {"cf", Kw::Cf},
            {"plain", Kw::Plain}, {"pard", Kw::Pard}, {"ql", Kw::Ql}, {"qc", Kw::Qc}, {"qr", Kw::Qr},
            {"qj", Kw::Qj}, {"li", Kw::Li}, {"ri", Kw::Ri}, {"fi", Kw::Fi}, {"sb", Kw::Sb}, {"sa", Kw::Sa},
            {"footnote", Kw::Footnote}, {"chftn", Kw::NoteMark}, {"ftnalt", Kw::Endnote},
            {"ftnstart", Kw::FootStart}, {"aftnstart", Kw::EndStart}};
        for (const auto& [w, kw] : words)
            t[w] = {kw};
        // Footnote (ftn) and endnote (aftn) numbering: 1 2 3, a b c, A B C, i ii iii, I II III, * † ‡.
        const std::tuple<const char*, Kw, Numbering> numberings[] = {
            {"ftnnar", Kw::FootNumbering, Numbering::Arabic},      {"aftnnar", Kw::EndNumbering, Numbering::Arabic},
            {"ftnnalc", Kw::FootNumbering, Numbering::LowerAlpha}, {"aftnnalc", Kw::EndNumbering, Numbering::LowerAlpha},
            {"ftnnauc", Kw::FootNumbering, Numbering::UpperAlpha}, {"aftnnauc", Kw::EndNumbering, Numbering::UpperAlpha},
            {"ftnnrlc", Kw::FootNumbering, Numbering::LowerRoman}, {"aftnnrlc", Kw::EndNumbering, Numbering::LowerRoman},
            {"ftnnruc", Kw::FootNumbering, Numbering::UpperRoman}, {"aftnnruc", Kw::EndNumbering, Numbering::UpperRoman},
            {"ftnnchi", Kw::FootNumbering, Numbering::Symbols},    {"aftnnchi", Kw::EndNumbering, Numbering::Symbols}};
        for (const auto& [w, kw, numbering] : numberings)
            t[w] = {kw, char16_t(numbering)};
        const std::pair<const char*, char16_t> chars[] = {
            {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022}, {"lquote", 0x2018},
            {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", u' '},
            {"enspace", u' '}, {"qmspace", u' '}};
        for (const auto& [w, ch] : chars)
            t[w] = {Kw::Char, ch};
        return t;
    }();
    return table;
}

struct Cell {
    std::vector<std::pair<QString, QTextCharFormat>> runs;
    int align = 0;
};

// Where text goes: the body of the document, or the notes gathered for its end. Each keeps its
// own paragraph and table in progress, so a footnote read inside a table cell leaves the cell whole.
struct Sink {
    explicit Sink(QTextDocument* document) : cursor(document) {}

    QTextCursor cursor;
    bool blockHasText = false;
    QString run;
    CharKey runKey;
    bool runInCell = false;
    std::vector<int> cellEdges;
    Cell cell;
    bool cellOpen = false;
    std::vector<Cell> rowCells;
    // The table being read: its rows wait here until something else follows it.
    struct PendingTable {
        int columns = 0;
        std::vector<int> edges;
        std::vector<std::vector<Cell>> rows;
    } table;
    bool afterTable = false;           // the last thing read was a table row
    bool afterInsertedTable = false;   // the cursor stands just after a table
};

class Reader {
public:
    Reader(const QByteArray& in, QTextDocument* doc) : in_(in), body_(doc) {}

    void run()
    {
        advance(QDeadlineTimer(QDeadlineTimer::Forever));
        finish();
    }

    // Reads on until the input ends, or the deadline has passed; true when the input has ended.
    bool advance(const QDeadlineTimer& deadline)
    {
        const int n = in_.size();
        int sinceCheck = 0;
        while (pos_ < n) {
            step();
            if (++sinceCheck == 2048) {
                sinceCheck = 0;
                if (deadline.hasExpired())
                    return pos_ >= n;
            }
        }
        return true;
    }

    void finish()
    {
        if (inNote_)
            endNote();
        finishSink(body_);
        appendNotes();
    }

private:
    void step()
    {
        const char c = in_.at(pos_);
        if (c == '{') {
            ++pos_;
            openGroup();
        } else if (c == '}') {
            ++pos_;
            closeGroup();
        } else if (c == '\\') {
            pos_ = controlAt(pos_ + 1);
        } else if (c == '\r' || c == '\n') {
            ++pos_;
        } else {
            ++pos_;
            if (c == '\t')
                textChar(QLatin1Char('\t'));
            else
                byteChar(static_cast<unsigned char>(c));
        }
    }

    Sink& out() { return inNote_ ? *notes_ : body_; }

    void openGroup()
    {
        pendingSkip_ = 0;
        if (stack_.size() >= kMaxDepth) {
            ++ignoredOpens_;
            return;
        }
        stack_.push_back(st_);
    }

    void closeGroup()
    {
        pendingSkip_ = 0;
        if (ignoredOpens_ > 0) {
            --ignoredOpens_;
            return;
        }
        if (stack_.empty())
            return;   // an extra '}': nothing to close
        if (inNote_ && stack_.size() <= noteDepth_)
            endNote();   // the note's group ends, with the note's paragraph settings
        st_ = stack_.back();
        stack_.pop_back();
    }

    // Reads one control word or symbol starting after the backslash; returns the next index.
    int controlAt(int i)
    {
        const int n = in_.size();
        if (i >= n)
            return n;
        const char c = in_.at(i);
        if (isLetter(c)) {
            int j = i;
            while (j < n && j - i < 32 && isLetter(in_.at(j)))
                ++j;
            const std::string_view word(in_.constData() + i, std::size_t(j - i));
            while (j < n && isLetter(in_.at(j)))   // an absurdly long word: drop the rest
                ++j;
            bool hasParam = false;
            bool negative = false;
            long long param = 0;
            if (j < n && in_.at(j) == '-' && j + 1 < n && isDigit(in_.at(j + 1))) {
                negative = true;
                ++j;
            }
            int digits = 0;
            while (j < n && isDigit(in_.at(j))) {
                if (digits < 10)
                    param = param * 10 + (in_.at(j) - '0');
                ++digits;
                ++j;
                hasParam = true;
            }
            if (negative)
                param = -param;
            if (j < n && in_.at(j) == ' ')
                ++j;
            const int value = static_cast<int>(std::clamp<long long>(param, -2147483647LL, 2147483647LL));
            if (word == "bin") {
                // Raw bytes follow; they may hold braces, so step over them whatever we do.
                const long long skipBytes = std::clamp<long long>(value, 0, n - j);
                return j + static_cast<int>(skipBytes);
            }
            controlWord(word, hasParam, value);
            return j;
        }
        if (c == '\'') {
            int value = 0;
            int j = i + 1;
            int got = 0;
            while (j < n && got < 2 && isHex(in_.at(j))) {
                value = value * 16 + hexValue(in_.at(j));
                ++j;
                ++got;
            }
            if (got > 0)
                byteChar(static_cast<unsigned char>(value));
            return j;
        }
        switch (c) {
        case '\\': case '{': case '}': textChar(QLatin1Char(c)); break;
        case '~': textChar(QChar(0x00A0)); break;
        case '_': textChar(QLatin1Char('-')); break;
        case '*':                           // an optional destination we do not know
            st_.skip = true;
            st_.dest = State::Ignored;
            break;
        case '\r': case '\n': paragraph(); break;
        case '\t': textChar(QLatin1Char('\t')); break;
        default: break;                     // \- optional hyphen, \: and others: nothing
        }
        return i + 1;
    }

    void controlWord(std::string_view w, bool hasParam, int value)
    {
        const auto found = keywords().find(w);
        if (found == keywords().end()) {
            // Every other word (fonts, colours, page setup...) does not change the text; in the
            // colour table it still marks the entry as given.
            if (st_.dest == State::ColorTable)
                colorEntry_.set = true;
            else if (st_.dest != State::FontTable && pendingSkip_ > 0)
                --pendingSkip_;   // a control word stands for one of the characters after \u
            return;
        }
        const Keyword k = found->second;
        if (k.kw == Kw::FontTable || k.kw == Kw::ColorTable) {
            st_.skip = true;
            st_.dest = k.kw == Kw::FontTable ? State::FontTable : State::ColorTable;
            if (st_.dest == State::ColorTable)
                colorEntry_ = {};
            return;
        }
        if (k.kw == Kw::SkipDestination) {
            st_.skip = true;
            st_.dest = State::Ignored;
            return;
        }
        if (k.kw == Kw::Footnote) {
            startNote();
            return;
        }
        if (st_.dest == State::FontTable) {
            if (k.kw == Kw::Font && w == "f") {
                fontNumber_ = value;
                fontName_.clear();
            }
            return;
        }
        if (st_.dest == State::ColorTable) {
            if (k.kw == Kw::Red) colorEntry_.r = value;
            else if (k.kw == Kw::Green) colorEntry_.g = value;
            else if (k.kw == Kw::Blue) colorEntry_.b = value;
            colorEntry_.set = true;
            return;
        }
        if (pendingSkip_ > 0) {
            // A control word stands for one of the characters after \u.
            --pendingSkip_;
            return;
        }
        const bool on = !hasParam || value != 0;
        CharKey& ch = st_.chars;
        switch (k.kw) {
        case Kw::Par:
            if (st_.inTable && w == "par")
                textChar(QChar(QChar::LineSeparator));   // a paragraph inside a cell
            else
                paragraph();
            break;
        case Kw::Line: textChar(QChar(QChar::LineSeparator)); break;
        case Kw::Tab: textChar(QLatin1Char('\t')); break;
        case Kw::Cell:
            if (!st_.skip)
                endCell(out());
            break;
        case Kw::Row:
            if (!st_.skip)
                endRow(out());
            break;
        case Kw::Trowd: out().cellEdges.clear(); break;
        case Kw::Cellx:
            // More edges than a row can have cells give no widths, however many there are.
            if (out().cellEdges.size() <= kMaxColumns)
                out().cellEdges.push_back(value);
            break;
        case Kw::Intbl: st_.inTable = true; break;
        case Kw::U: {
            int code = value;
            if (code < 0)
                code += 65536;
            if (code > 0 && code <= 0xFFFF)
                textChar(QChar(static_cast<char16_t>(code)));
            pendingSkip_ = st_.uc;
            break;
        }
        case Kw::Uc: st_.uc = std::clamp(value, 0, 16); break;
        case Kw::Bold: ch.bold = on; break;
        case Kw::Italic: ch.italic = on; break;
        case Kw::UlNone: ch.underline = false; break;
        case Kw::Underline: ch.underline = on; break;
        case Kw::Strike: ch.strike = on; break;
        case Kw::Fs:
            if (hasParam && value > 0)
                ch.fontSizeHalfPoints = std::clamp(value, kMinFontHalfPoints, kMaxFontHalfPoints);
            break;
        case Kw::Super: ch.verticalAlign = 1; break;
        case Kw::Sub: ch.verticalAlign = 2; break;
        case Kw::NoSuperSub: ch.verticalAlign = 0; break;
        case Kw::Font: ch.font = value; break;
        case Kw::Cf: ch.color = value; break;
        case Kw::Plain: {
            const int font = ch.font;
            ch = CharKey{};
            ch.font = font;   // \plain keeps the font
            break;
        }
        case Kw::Pard:
            st_.align = 0;
            st_.leftIndent = st_.rightIndent = st_.firstIndent = 0;
            st_.spaceBefore = st_.spaceAfter = 0;
            st_.inTable = false;
            break;
        case Kw::Ql: st_.align = 0; break;
        case Kw::Qc: st_.align = 1; break;
        case Kw::Qr: st_.align = 2; break;
        case Kw::Qj: st_.align = 3; break;
        case Kw::Li: st_.leftIndent = std::clamp(value, -kMaxIndent, kMaxIndent); break;
        case Kw::Ri: st_.rightIndent = std::clamp(value, -kMaxIndent, kMaxIndent); break;
        case Kw::Fi: st_.firstIndent = std::clamp(value, -kMaxIndent, kMaxIndent); break;
        case Kw::Sb: st_.spaceBefore = std::clamp(value, 0, kMaxSpacing); break;
        case Kw::Sa: st_.spaceAfter = std::clamp(value, 0, kMaxSpacing); break;
        case Kw::Char: textChar(QChar(k.ch)); break;
        case Kw::NoteMark: noteMark(); break;
        case Kw::Endnote: makeEndnote(); break;
        case Kw::FootNumbering: footNumbering_ = Numbering(k.ch); break;
        case Kw::EndNumbering: endNumbering_ = Numbering(k.ch); break;
        case Kw::FootStart: footStart_ = std::clamp(value, 1, 9999); break;
        case Kw::EndStart: endStart_ = std::clamp(value, 1, 9999); break;
        default: break;   // table words outside their tables change nothing
        }
    }

    // ---- notes ---------------------------------------------------------------------------------

    QString nextLabel(bool endnote)
    {
        return endnote ? noteLabel(endStart_ + endnotes_++, endNumbering_)
                       : noteLabel(footStart_ + footnotes_++, footNumbering_);
    }

    // \chftn: in the body, the reference mark of the note that follows (written where it
    // stands, kept open until the note says whether it is an endnote); in a note, its number.
    void noteMark()
    {
        if (st_.skip)
            return;
        if (inNote_) {
            if (noteLabel_.isEmpty())
                noteLabel_ = nextLabel(endnote_);   // a note without a mark in the body
            writeText(noteLabel_);
            return;
        }
        Sink& s = body_;
        flush(s);
        markLabel_ = nextLabel(false);
        writeText(markLabel_);
        markOpen_ = true;
    }

    void startNote()
    {
        // A note inside a shown group of the body; one inside a skipped destination (a header,
        // say) stays skipped, and a note inside a note is part of it.
        const bool parentShown = stack_.empty() || !stack_.back().skip;
        if (inNote_ || !parentShown || ignoredOpens_ > 0) {
            st_.skip = true;
            st_.dest = State::Ignored;
            return;
        }
        st_.skip = false;
        st_.dest = State::Body;
        st_.inTable = false;   // a note written in a table cell is not part of the table
        if (!notes_) {
            notesDoc_ = std::make_unique<QTextDocument>();
            notes_ = std::make_unique<Sink>(notesDoc_.get());
        }
        inNote_ = true;
        noteDepth_ = stack_.size();
        endnote_ = false;
        noteLabel_ = markOpen_ ? markLabel_ : QString();
        markOpen_ = false;
        if (notes_->blockHasText)
            breakParagraph(*notes_);
    }

    // \ftnalt: the note is an endnote, numbered among the endnotes; its mark in the body, still
    // the last thing written there, takes that number.
    void makeEndnote()
    {
        if (!inNote_ || endnote_)
            return;
        endnote_ = true;
        if (noteLabel_.isEmpty() || noteLabel_ != markLabel_ || !body_.run.endsWith(markLabel_))
            return;
        --footnotes_;
        body_.run.chop(markLabel_.size());
        noteLabel_ = nextLabel(true);
        body_.run += noteLabel_;
    }

    void endNote()
    {
        Sink& s = *notes_;
        flush(s);
        if (s.cellOpen && s.rowCells.empty()) {
            // Text marked as in a table that no \cell ends (some writers mark so the paragraphs
            // of a note written in a table cell): the note's own paragraphs.
            trimClosingBreak(s.cell);
            for (const auto& [text, format] : s.cell.runs)
                s.cursor.insertText(text, format);
            s.blockHasText = s.blockHasText || !s.cell.runs.empty();
            s.cell = {};
            s.cellOpen = false;
        }
        if (s.cellOpen || !s.rowCells.empty())
            endRow(s);
        insertTable(s);
        if (s.blockHasText)
            breakParagraph(s);
        inNote_ = false;
    }

    // The notes, after the body under a short rule.
    void appendNotes()
    {
        if (!notes_)
            return;
        finishSink(*notes_);
        if (notesDoc_->isEmpty())
            return;
        QTextCursor& c = body_.cursor;
        c.movePosition(QTextCursor::End);
        if (!c.block().text().isEmpty())
            c.insertBlock();   // else the empty paragraph after a closing table, or an empty body
        QTextBlockFormat rule;
        rule.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth, QTextLength(QTextLength::PercentageLength, 30));
        rule.setAlignment(Qt::AlignLeft);
        rule.setTopMargin(12);
        c.setBlockFormat(rule);
        // The first note's paragraph goes into the block made here, which keeps its own format.
        c.insertBlock(notesDoc_->begin().blockFormat(), QTextCharFormat());
        c.insertFragment(QTextDocumentFragment(notesDoc_.get()));
    }

    // ---- text ----------------------------------------------------------------------------------

    void byteChar(unsigned char b)
    {
        textChar(RtfReader::fromCp1252(b));
    }

    void textChar(QChar ch)
    {
        if (st_.dest == State::FontTable || st_.dest == State::ColorTable) {
            tableText(ch);
            return;
        }
        if (st_.skip)
            return;
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (ch == kNoDelimiter)
            return;   // a NUL shows nothing
        Sink& s = out();
        if (!s.run.isEmpty() && (!(st_.chars == s.runKey) || st_.inTable != s.runInCell))
            flush(s);
        if (!inNote_)
            markOpen_ = false;
        s.runKey = st_.chars;
        s.runInCell = st_.inTable;
        s.run.append(ch);
        if (!s.runInCell)
            s.blockHasText = true;
    }

    void writeText(const QString& text)
    {
        for (QChar ch : text)
            textChar(ch);
    }

    // Font names end with ';' in the font table; so do colour entries in the colour table.
    // Text read before a table entry keeps the format it had then.
    void tableText(QChar ch)
    {
        if (st_.dest == State::FontTable) {
            if (ch == QLatin1Char(';')) {
                if (fontNumber_ >= 0 && fonts_.size() < 4096) {
                    flushAll();
                    formats_.clear();
                    fonts_[fontNumber_] = fontName_.trimmed();
                }
                fontName_.clear();
            } else if (fontName_.size() < 256) {
                fontName_.append(ch);
            }
        } else if (ch == QLatin1Char(';') && colors_.size() < 4096) {
            flushAll();
            formats_.clear();
            colors_.push_back(colorEntry_);
            colorEntry_ = {};
        }
    }

    // The format of a run. Documents switch among a handful of formats, so the last few built
    // are kept.
    const QTextCharFormat& charFormat(const CharKey& k)
    {
        for (const auto& [key, format] : formats_)
            if (key == k)
                return format;
        QTextCharFormat f;
        if (auto it = fonts_.find(k.font); it != fonts_.end() && !it->second.isEmpty())
            f.setFontFamilies(QStringList{it->second});
        if (k.color > 0 && static_cast<std::size_t>(k.color) < colors_.size() && colors_[k.color].set) {
            const ColorEntry& c = colors_[k.color];
            f.setForeground(QColor(std::clamp(c.r, 0, 255), std::clamp(c.g, 0, 255), std::clamp(c.b, 0, 255)));
        }
        f.setFontWeight(k.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(k.italic);
        f.setFontUnderline(k.underline);
        f.setFontStrikeOut(k.strike);
        f.setFontPointSize(k.fontSizeHalfPoints / 2.0);
        if (k.verticalAlign == 1)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (k.verticalAlign == 2)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        if (formats_.size() >= kKeptFormats)
            formats_.erase(formats_.begin());
        formats_.emplace_back(k, f);
        return formats_.back().second;
    }

    QTextBlockFormat blockFormat() const
    {
        QTextBlockFormat f;
        f.setAlignment(alignmentOf(st_.align));
        f.setLeftMargin(std::max(0, st_.leftIndent) / double(kTwipsPerPixel));
        f.setRightMargin(std::max(0, st_.rightIndent) / double(kTwipsPerPixel));
        f.setTextIndent(st_.firstIndent / double(kTwipsPerPixel));
        if (st_.firstIndent < 0 && st_.leftIndent > 0) {
            // A hanging indent: the first tab of the first line goes to the indent. A left tab
            // would do, but the text engine measures all the rest of the line for each left tab
            // (a line of thousands of tabs takes seconds); a delimiter tab whose delimiter never
            // occurs is a left tab without that.
            f.setTabPositions({QTextOption::Tab(st_.leftIndent / double(kTwipsPerPixel), QTextOption::DelimiterTab,
                                                kNoDelimiter)});
        }
        f.setTopMargin(st_.spaceBefore / double(kTwipsPerPixel));
        f.setBottomMargin(st_.spaceAfter / double(kTwipsPerPixel));
        return f;
    }

    // Text of table cells is kept until its table ends; other text goes to the document.
    void flush(Sink& s)
    {
        if (s.run.isEmpty())
            return;
        if (s.runInCell) {
            s.cell.runs.emplace_back(s.run, charFormat(s.runKey));
            s.cellOpen = true;
        } else {
            insertTable(s);
            s.cursor.insertText(s.run, charFormat(s.runKey));
            s.afterTable = s.afterInsertedTable = false;
        }
        s.run.clear();
    }

    void flushAll()
    {
        flush(body_);
        if (notes_)
            flush(*notes_);
    }

    void paragraph()
    {
        if (st_.skip)
            return;
        Sink& s = out();
        flush(s);
        insertTable(s);
        breakParagraph(s);
    }

    void breakParagraph(Sink& s)
    {
        s.cursor.setBlockFormat(blockFormat());
        s.cursor.insertBlock();
        s.blockHasText = false;
        s.afterTable = s.afterInsertedTable = false;
    }

    void endCell(Sink& s)
    {
        flush(s);
        trimClosingBreak(s.cell);
        s.cell.align = st_.align;
        if (s.rowCells.size() < kMaxColumns)
            s.rowCells.push_back(std::move(s.cell));
        s.cell = {};
        s.cellOpen = false;
    }

    // A paragraph mark that closes a cell's text (some writers put one before every \cell)
    // opens no empty line.
    static void trimClosingBreak(Cell& cell)
    {
        if (cell.runs.empty() || !cell.runs.back().first.endsWith(QChar(QChar::LineSeparator)))
            return;
        cell.runs.back().first.chop(1);
        if (cell.runs.back().first.isEmpty())
            cell.runs.pop_back();
    }

    // A row joins the table just above it when that table has as many columns; else it
    // starts a new table whose column widths come from the cell edges.
    void endRow(Sink& s)
    {
        flush(s);
        if (s.cellOpen)
            endCell(s);
        if (s.rowCells.empty())
            return;
        const int cols = static_cast<int>(s.rowCells.size());
        if (!s.afterTable || s.table.columns != cols) {
            insertTable(s);
            s.table.columns = cols;
            s.table.edges = s.cellEdges;
        }
        s.table.rows.push_back(std::move(s.rowCells));
        s.rowCells.clear();
        s.afterTable = true;
        s.blockHasText = false;
    }

    // Column widths from the cell edges, when the rows define one edge per cell.
    static std::vector<double> columnWidths(const Sink::PendingTable& t)
    {
        std::vector<double> widths;
        if (static_cast<int>(t.edges.size()) != t.columns)
            return widths;
        int left = 0;
        for (int edge : t.edges) {
            widths.push_back(std::max(kMinColumnWidth, edge - left) / double(kTwipsPerPixel));
            left = std::max(left, edge);
        }
        return widths;
    }

    // Puts the table whose rows have been read into the document. Qt lays a table out whole,
    // some 30 microseconds a cell, so a schedule of thousands of rows goes in as a stack of
    // tables of a few hundred cells each, one on the next with no seam, and is laid out in
    // steps like paragraphs are: the part on screen first, the rest while the window answers.
    void insertTable(Sink& s)
    {
        Sink::PendingTable& t = s.table;
        if (t.rows.empty())
            return;
        QTextCursor& cursor = s.cursor;
        const int cols = t.columns;
        if (cursor.block().text().isEmpty() && cursor.block().previous().isValid() && !s.afterInsertedTable)
            cursor.deletePreviousChar();   // no empty line between a paragraph and its table
        QTextTableFormat tf;
        tf.setBorder(1);
        tf.setBorderBrush(QColor(160, 160, 160));
        tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        tf.setCellSpacing(0);
        tf.setCellPadding(3);
        const int rows = static_cast<int>(t.rows.size());
        const int rowsPerPart = std::max(1, kCellsPerTable / cols);
        QList<QTextLength> constraints;
        for (double w : columnWidths(t))
            constraints.append(QTextLength(QTextLength::FixedLength, w));
        if (constraints.isEmpty() && rows > rowsPerPart) {
            // The parts of a table must share their columns: no widths of its own, equal ones.
            for (int c = 0; c < cols; ++c)
                constraints.append(QTextLength(QTextLength::PercentageLength, 100.0 / cols));
        }
        if (!constraints.isEmpty())
            tf.setColumnWidthConstraints(constraints);
        for (int first = 0; first < rows; first += rowsPerPart) {
            const int count = std::min(rowsPerPart, rows - first);
            QTextTableFormat part = tf;
            if (first > 0)   // its top borders on the bottom ones above: the line between two rows
                part.setTopMargin(-2 * tf.border());
            if (first + count < rows)
                part.setBottomMargin(0);
            QTextTable* table = cursor.insertTable(count, cols, part);
            for (int r = 0; r < count; ++r) {
                for (int c = 0; c < cols; ++c) {
                    const Cell& cell = t.rows[first + r][c];
                    QTextCursor cc = table->cellAt(r, c).firstCursorPosition();
                    if (cell.align != 0) {   // a cell is left-aligned as made
                        QTextBlockFormat bf;
                        bf.setAlignment(alignmentOf(cell.align));
                        cc.setBlockFormat(bf);
                    }
                    for (const auto& [text, format] : cell.runs)
                        cc.insertText(text, format);
                }
            }
            cursor.movePosition(QTextCursor::End);
        }
        t.rows.clear();
        s.afterInsertedTable = true;
    }

    void finishSink(Sink& s)
    {
        flush(s);
        if (s.cellOpen || !s.rowCells.empty())
            endRow(s);   // a row cut short still shows
        insertTable(s);
        if (s.afterTable)
            return;
        QTextDocument* d = s.cursor.document();
        if (s.blockHasText)
            s.cursor.setBlockFormat(blockFormat());
        else if (d->blockCount() > 1 && !s.cursor.block().previous().text().isEmpty())
            s.cursor.deletePreviousChar();   // the empty paragraph after the last \par
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static bool isHex(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
    static int hexValue(char c)
    {
        if (isDigit(c)) return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return c - 'A' + 10;
    }

    const QByteArray& in_;
    int pos_ = 0;
    Sink body_;
    State st_;
    std::vector<State> stack_;
    int ignoredOpens_ = 0;
    int pendingSkip_ = 0;
    std::vector<std::pair<CharKey, QTextCharFormat>> formats_;
    struct ColorEntry {
        int r = 0, g = 0, b = 0;
        bool set = false;
    };
    std::map<int, QString> fonts_;
    int fontNumber_ = -1;
    QString fontName_;
    std::vector<ColorEntry> colors_;
    ColorEntry colorEntry_;
    // notes
    std::unique_ptr<QTextDocument> notesDoc_;
    std::unique_ptr<Sink> notes_;
    bool inNote_ = false;
    std::size_t noteDepth_ = 0;   // the stack's depth inside the note's group
    bool endnote_ = false;
    QString noteLabel_;           // the number of the note being read
    QString markLabel_;           // the last reference mark written in the body
    bool markOpen_ = false;       // ... and nothing has been written there since
    int footnotes_ = 0, endnotes_ = 0;
    int footStart_ = 1, endStart_ = 1;
    Numbering footNumbering_ = Numbering::Arabic, endNumbering_ = Numbering::Arabic;
};

int bomLength(const QByteArray& b)
{
    return b.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

} // namespace

QChar RtfReader::fromCp1252(unsigned char b)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (b >= 0x80 && b <= 0x9F)
        return QChar(high[b - 0x80]);
    return QChar(static_cast<char16_t>(b));
}

bool RtfReader::looksLikeRtf(const QByteArray& bytes)
{
    int i = bomLength(bytes);
    while (i < bytes.size() && (bytes.at(i) == ' ' || bytes.at(i) == '\r' || bytes.at(i) == '\n' || bytes.at(i) == '\t'))
        ++i;
    return bytes.mid(i, 5) == "{\\rtf";
}

bool RtfReader::looksLikeText(const QByteArray& bytes)
{
    return !bytes.left(4096).contains('\0');
}

namespace {

enum class Kind { Rtf, Text, Binary };

Kind kindOf(const QByteArray& bytes)
{
    if (RtfReader::looksLikeRtf(bytes))
        return Kind::Rtf;
    return RtfReader::looksLikeText(bytes) ? Kind::Text : Kind::Binary;
}

// The half-inch default tab stops of RTF.
void useRtfTabs(QTextDocument* document)
{
    QTextOption option = document->defaultTextOption();
    option.setTabStopDistance(720.0 / kTwipsPerPixel);
    document->setDefaultTextOption(option);
}

// Replaces the document's content with nothing laid out meanwhile: an edit block on a document
// without a page size. Giving the page size back lays the document out from its start, and
// lazily, as a text view's document is: the part on screen first, the rest in steps while the
// program goes on. `beforeLayout` runs while nothing is laid out yet (a view's cursor moved
// then costs nothing). Undo records of a document nobody edits would only take memory.
void replaceContent(const QByteArray& bytes, Kind kind, QTextDocument* document,
                    const std::function<void()>& beforeLayout = {})
{
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    const QSizeF page = document->pageSize();
    document->setPageSize(QSizeF(0, 0));   // a null size: the layout waits
    QTextCursor block(document);
    block.beginEditBlock();
    document->clear();
    if (kind == Kind::Rtf) {
        useRtfTabs(document);
        Reader(bytes, document).run();
    } else if (kind == Kind::Text) {
        const QByteArray body = bytes.mid(bomLength(bytes));
        QString text = QString::fromUtf8(body);
        if (text.contains(QChar::ReplacementCharacter)) {
            text.clear();
            text.reserve(body.size());
            for (char c : body)
                text.append(RtfReader::fromCp1252(static_cast<unsigned char>(c)));
        }
        QTextCursor(document).insertText(text);
    }
    block.endEditBlock();
    if (beforeLayout)
        beforeLayout();
    document->setPageSize(page);
    document->setUndoRedoEnabled(undo);
}

// The first part of a large RTF document, cut at a line end where there is one near the
// size (writers end their lines between words and control words).
QByteArray firstPart(const QByteArray& bytes)
{
    const qsizetype lineEnd = bytes.lastIndexOf('\n', DocumentLoader::kFirstPart);
    return bytes.left(lineEnd >= DocumentLoader::kFirstPart / 2 ? lineEnd : DocumentLoader::kFirstPart);
}

constexpr int kSliceMs = 15;   // one slice of background reading: the window answers between

} // namespace

void RtfReader::read(const QByteArray& rtf, QTextDocument* document)
{
    replaceContent(rtf, Kind::Rtf, document);
}

bool RtfReader::readDocument(const QByteArray& bytes, QTextDocument* document)
{
    const Kind kind = kindOf(bytes);
    replaceContent(bytes, kind, document);
    return kind != Kind::Binary;
}

// The whole document being read while the view shows its first part: a document of its own
// that nothing lays out, in one edit block (outside one, every insert would lay its paragraph
// out to place the cursor), so that its slices cost only the reading.
struct DocumentLoader::Background {
    explicit Background(const QByteArray& rtf)
        : bytes(rtf), document(std::make_unique<QTextDocument>()), edit(document.get())
    {
        document->setUndoRedoEnabled(false);
        useRtfTabs(document.get());
        edit.beginEditBlock();
        reader = std::make_unique<Reader>(bytes, document.get());
    }

    // The document read to its end, for the view.
    QTextDocument* take()
    {
        reader->finish();
        edit.endEditBlock();
        return document.release();
    }

    const QByteArray bytes;
    std::unique_ptr<QTextDocument> document;
    QTextCursor edit;
    std::unique_ptr<Reader> reader;
};

DocumentLoader::DocumentLoader(QTextEdit* view) : QObject(view), view_(view) {}

DocumentLoader::~DocumentLoader() = default;

bool DocumentLoader::show(const QByteArray& bytes)
{
    background_.reset();
    ++generation_;
    const Kind kind = kindOf(bytes);
    const auto toStart = [this] { view_->moveCursor(QTextCursor::Start); };
    if (kind != Kind::Rtf || bytes.size() <= kReadAtOnce) {
        replaceContent(bytes, kind, view_->document(), toStart);
        return kind != Kind::Binary;
    }
    replaceContent(firstPart(bytes), kind, view_->document(), toStart);
    background_ = std::make_unique<Background>(bytes);
    QTimer::singleShot(0, this, [this, generation = generation_] { readSlice(generation); });
    return true;
}

void DocumentLoader::readSlice(int generation)
{
    if (!background_ || generation != generation_)
        return;   // the view has been given another document since
    if (!background_->reader->advance(QDeadlineTimer(kSliceMs))) {
        QTimer::singleShot(0, this, [this, generation] { readSlice(generation); });
        return;
    }
    handOver();
}

void DocumentLoader::finish()
{
    if (!background_)
        return;
    background_->reader->advance(QDeadlineTimer(QDeadlineTimer::Forever));
    handOver();
}

// The whole document replaces the first part in the view, which stays where it was: the layout
// runs to the place shown (the first part lays out as the whole document's start does).
void DocumentLoader::handOver()
{
    QTextDocument* next = background_->take();
    background_.reset();
    QPointer<QTextDocument> old = view_->document();
    next->setDocumentMargin(old->documentMargin());
    next->setDefaultFont(old->defaultFont());
    next->setParent(view_);
    // Laid out once, lazily, when the view gives it its width; a layout made before that
    // would lay the first screens out at no width at all.
    next->setPageSize(QSizeF(0, 0));
    QScrollBar* bar = view_->verticalScrollBar();
    const int top = bar->value();
    view_->setDocument(next);
    if (old && old->parent() == view_)
        delete old;   // a document this loader gave before
    else if (old)
        old->clear();   // the view's own, kept by it
    view_->moveCursor(QTextCursor::Start);
    if (top > 0) {
        next->documentLayout()->hitTest(QPointF(0, top + view_->viewport()->height()), Qt::FuzzyHit);
        bar->setMaximum(std::max(bar->maximum(), top));
        bar->setValue(top);
    }
}

} // namespace ui
