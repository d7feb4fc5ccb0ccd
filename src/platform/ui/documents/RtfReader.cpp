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
// gathered as they are read and follow the body under a short rule, the endnotes after the
// footnotes, numbered as the source numbers them, section by section where it restarts them.
//
// Revisions show as the reader of a marked-up text sees them: deleted text struck through,
// inserted text as text; hidden text is left out. A table inside a cell stays a table there.
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
#include <compare>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
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
// Tables in cells of tables, as deep as forms go. Qt lays a table out twice over for each table
// it sits in (once to measure its cells), so each level doubles the work: a table deeper than
// this is kept as lines in its cell.
constexpr int kMaxNesting = 4;
constexpr int kEdgeTolerance = 30;    // twips: cell edges this close are one column's edge
constexpr int kMaxEdge = 1 << 20;     // twips: some 18 metres
constexpr std::size_t kMaxTabStops = 32;
constexpr std::size_t kMaxTabSets = 4096;
// Qt finds the place of a right, centre or decimal tab by walking the rest of its paragraph: a
// paragraph whose tabs times characters pass this gets left stops only (see tabPositions).
constexpr qsizetype kTabWork = qsizetype(1) << 22;
constexpr QChar kDeletedMark = QChar(0x00B6);   // a deleted paragraph mark, shown struck through

// Bounds of what reaches the layout, in the units of RTF.
constexpr int kMinFontHalfPoints = 2;     // 1 pt
constexpr int kMaxFontHalfPoints = 96;    // 48 pt: above the largest title a law text prints
constexpr int kMaxIndent = 4320;          // twips: 3 inches left, right or first line
constexpr int kMaxSpacing = 1440;         // twips: an inch before or after a paragraph
constexpr int kMinColumnWidth = 180;      // twips: room for a digit; narrower columns break every letter

// What decides a run's character format; runs with equal keys share one format.
struct CharKey {
    bool bold = false, italic = false, underline = false, strike = false;
    bool hidden = false;     // \v: never shown
    bool deleted = false;    // a deleted revision: struck through
    std::uint8_t leader = 0; // a tab's leader (TabStop::leader)
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
    int itap = 0;            // the depth of nested tables the paragraph is in (0: as \intbl says),
                             // up to one past the deepest kept
    int tabs = 0;            // the paragraph's tab stops: an index into the reader's tab sets
    std::uint8_t tabKind = 0, tabLeader = 0;   // for the tab stop whose position comes next
    // reading
    int uc = 1;
    bool skip = false;       // nothing of this group is shown
    bool upr = false;        // a \upr group: its \ud part is shown instead of the rest
    enum Dest { Body, FontTable, ColorTable, Ignored, NestProps } dest = Body;
};

// A tab stop: position in twips, kind 0 left, 1 centre, 2 right, 3 decimal; leader 0 none,
// 1 dots, 2 hyphens, 3 a line, 4 a thick line, 5 an equals sign.
struct TabStop {
    int position = 0;
    std::uint8_t kind = 0, leader = 0;
    auto operator<=>(const TabStop&) const = default;
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

// How one kind of note (footnotes, or endnotes) is numbered: as the document says, or as its
// current section says where it says so. Numbering begins at the document's start and again
// at each section that restarts it; a section begins when the one before it has ended, so the
// restart of a section without notes still counts. Pages are not kept in the view: numbering
// that restarts on each page runs on through the document.
struct NoteNumbering {
    struct Settings {
        std::optional<Numbering> style;
        std::optional<int> start;
        std::optional<bool> restart;
    };
    Settings document, section;

    QString next()
    {
        settle();
        return noteLabel(first_ + count_++, section.style.value_or(document.style.value_or(Numbering::Arabic)));
    }
    void takeBack() { --count_; }
    // \sect: the section ends; the next one's settings follow.
    void endSection()
    {
        settle();
        fresh_ = true;
    }

private:
    void settle()
    {
        if (!fresh_)
            return;
        if (!started_ || section.restart.value_or(document.restart.value_or(false))) {
            first_ = section.start.value_or(document.start.value_or(1));
            count_ = 0;
        }
        started_ = true;
        fresh_ = false;
    }

    int first_ = 1, count_ = 0;
    bool started_ = false, fresh_ = true;
};

// The control words the reader acts on.
enum class Kw {
    FontTable, ColorTable, SkipDestination, Red, Green, Blue,
    Par, Sect, Sectd, Line, Tab, Cell, NestCell, Row, NestRow, NestProps, Trowd, Cellx, CellMerge,
    Intbl, Itap, U, Uc, Upr, Ud,
    Bold, Italic, UlNone, Underline, Strike, Hidden, Deleted, Fs, Super, Sub, NoSuperSub, Font, Cf, Plain,
    Pard, Ql, Qc, Qr, Qj, Li, Ri, Fi, Sb, Sa, TabKind, TabLeader, TabPosition, BarTab, Char,
    Footnote, NoteMark, Endnote, NoteSetting,
};

// Kw::NoteSetting: which setting a word gives, packed into Keyword::ch.
enum NoteBits : char16_t {
    NoteEnd = 1,         // of the endnotes, else of the footnotes
    NoteSection = 2,     // of the section, else of the document
    NoteStyle = 0 << 2, NoteStart = 1 << 2, NoteRestart = 2 << 2,
    NoteValueShift = 4,  // the style, or 1 for a restart and 0 for a continuation
};

struct Keyword {
    Kw kw;
    char16_t ch = 0;   // Kw::Char: the character the word stands for; others: the word's own value
};

enum Merge : std::uint8_t { MergeFirst = 1, MergeNext = 2, MergeDownFirst = 4, MergeDown = 8 };

const std::unordered_map<std::string_view, Keyword>& keywords()
{
    static std::deque<std::string> madeNames;   // the words put together below
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
             "buptim", "listpicture", "ftnsep", "ftnsepc", "aftnsep", "aftnsepc", "nonesttables"})
            t[w] = {Kw::SkipDestination};
        for (const char* w : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
                              "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
                              "ululdbwave", "ulw", "ulwave"})
            t[w] = {Kw::Underline};   // \ulc (underline colour) and the like change nothing
        const std::pair<const char*, Kw> words[] = {
            {"fonttbl", Kw::FontTable}, {"colortbl", Kw::ColorTable}, {"red", Kw::Red},
            {"green", Kw::Green}, {"blue", Kw::Blue}, {"par", Kw::Par}, {"sect", Kw::Sect},
            {"sectd", Kw::Sectd}, {"page", Kw::Par}, {"line", Kw::Line}, {"tab", Kw::Tab},
            {"cell", Kw::Cell}, {"nestcell", Kw::NestCell}, {"row", Kw::Row}, {"nestrow", Kw::NestRow},
            {"nesttableprops", Kw::NestProps}, {"trowd", Kw::Trowd}, {"cellx", Kw::Cellx},
            {"intbl", Kw::Intbl}, {"itap", Kw::Itap}, {"u", Kw::U}, {"uc", Kw::Uc}, {"upr", Kw::Upr},
            {"ud", Kw::Ud}, {"b", Kw::Bold}, {"i", Kw::Italic}, {"ulnone", Kw::UlNone},
            {"strike", Kw::Strike}, {"striked", Kw::Strike}, {"v", Kw::Hidden}, {"deleted", Kw::Deleted},
            {"fs", Kw::Fs}, {"super", Kw::Super}, {"sub", Kw::Sub}, {"nosupersub", Kw::NoSuperSub},
            {"f", Kw::Font}, {"deff", Kw::Font}, {"cf", Kw::Cf}, {"plain", Kw::Plain}, {"pard", Kw::Pard},
            {"ql", Kw::Ql}, {"qc", Kw::Qc}, {"qr", Kw::Qr}, {"qj", Kw::Qj}, {"li", Kw::Li}, {"ri", Kw::Ri},
            {"fi", Kw::Fi}, {"sb", Kw::Sb}, {"sa", Kw::Sa}, {"tx", Kw::TabPosition}, {"tb", Kw::BarTab},
            {"footnote", Kw::Footnote}, {"chftn", Kw::NoteMark}, {"ftnalt", Kw::Endnote}};
        for (const auto& [w, kw] : words)
            t[w] = {kw};
        const std::tuple<const char*, Kw, char16_t> valued[] = {
            {"tqc", Kw::TabKind, 1}, {"tqr", Kw::TabKind, 2}, {"tqdec", Kw::TabKind, 3},
            {"tldot", Kw::TabLeader, 1}, {"tlmdot", Kw::TabLeader, 1}, {"tlhyph", Kw::TabLeader, 2},
            {"tlul", Kw::TabLeader, 3}, {"tlth", Kw::TabLeader, 4}, {"tleq", Kw::TabLeader, 5},
            {"clmgf", Kw::CellMerge, MergeFirst}, {"clmrg", Kw::CellMerge, MergeNext},
            {"clvmgf", Kw::CellMerge, MergeDownFirst}, {"clvmrg", Kw::CellMerge, MergeDown}};
        for (const auto& [w, kw, value] : valued)
            t[w] = {kw, value};
        // Note numbering, of footnotes (ftn) and endnotes (aftn), for the document or, with an
        // "s" before, the section: 1 2 3, a b c, A B C, i ii iii, I II III, * † ‡; the first
        // number; restarting at each section, or running on.
        const std::pair<const char*, int> settings[] = {
            {"nar", NoteStyle | int(Numbering::Arabic) << NoteValueShift},
            {"nalc", NoteStyle | int(Numbering::LowerAlpha) << NoteValueShift},
            {"nauc", NoteStyle | int(Numbering::UpperAlpha) << NoteValueShift},
            {"nrlc", NoteStyle | int(Numbering::LowerRoman) << NoteValueShift},
            {"nruc", NoteStyle | int(Numbering::UpperRoman) << NoteValueShift},
            {"nchi", NoteStyle | int(Numbering::Symbols) << NoteValueShift},
            {"start", NoteStart}, {"restart", NoteRestart | 1 << NoteValueShift},
            {"rstcont", NoteRestart}, {"rstpg", NoteRestart}};
        for (const int scope : {0, NoteSection | 0, NoteEnd | 0, NoteSection | NoteEnd}) {
            for (const auto& [suffix, bits] : settings) {
                const std::string& name = madeNames.emplace_back(std::string(scope & NoteSection ? "s" : "")
                                                                 + (scope & NoteEnd ? "aftn" : "ftn") + suffix);
                t[name] = {Kw::NoteSetting, char16_t(scope | bits)};
            }
        }
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

// One cell of a row's definition: its right edge, and how it merges with its neighbours.
struct CellDef {
    int edge = 0;
    std::uint8_t merge = 0;
};

struct Nested;

struct Cell {
    std::vector<std::pair<QString, QTextCharFormat>> runs;
    std::vector<Nested> tables;   // tables inside the cell, in the order read
    int align = 0;
    int tabs = 0;                 // the tab stops of its paragraphs (State::tabs)
    int edge = 0;                 // its right edge, twips, when its row defines the edges
    std::uint8_t merge = 0;       // Merge, as its row's definition says
    int anchorRow = -1;           // merged into the cell above: the row of the first of them
    // Its place in the grid, set as its table goes into the document.
    int column = 0, columns = 1, rows = 1;
    bool covered = false;         // part of a cell merged across rows above it
};

// A table read, waiting to go into the document.
struct Table {
    std::vector<std::vector<Cell>> rows;
    bool byEdges = false;   // every row gives its cells' right edges: the columns end at their union
    std::vector<int> edges; // byEdges: the columns' right edges, ascending
    int columns = 0;        // otherwise: the cells of each row
};

struct Nested {
    std::size_t at = 0;   // after this many of the cell's runs
    Table table;
};

// The cells being read at one depth of nested tables; a deeper table, when it ends, goes into
// the cell it was read in.
struct Level {
    std::vector<CellDef> defs;    // the row definition read last
    std::uint8_t nextMerge = 0;   // for the cell whose edge comes next
    Cell cell;
    bool cellOpen = false;
    std::vector<Cell> rowCells;
    Table table;                  // its rows wait here until something else follows them
};

// Where text goes: the body of the document, or the notes gathered for its end. Each keeps its
// own paragraph and table in progress, so a footnote read inside a table cell leaves the cell whole.
struct Sink {
    explicit Sink(QTextDocument* document) : cursor(document), levels(1) {}

    QTextCursor cursor;
    bool blockHasText = false;
    QString run;
    CharKey runKey;
    int runDepth = 0;                  // of nested tables: 0 outside tables
    int tabsInLine = 0;                // tabs read in the line so far, to know the stop each reaches
    bool paragraphShown = false, paragraphHidden = false;   // the paragraph so far holds text shown,
                                                            // text hidden (all hidden: it is left out)
    std::vector<Level> levels;         // the outermost table first; there is always one
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

    Sink& out() { return inNote_ ? *notes_[endnote_].sink : body_; }

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
        if (k.kw == Kw::Upr || k.kw == Kw::Ud || k.kw == Kw::NestProps) {
            destination(k.kw);
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
        const bool tableMark = !st_.skip || st_.dest == State::NestProps;
        switch (k.kw) {
        case Kw::Par:
        case Kw::Sect:
            if (!st_.skip) {
                Sink& s = out();
                if (s.paragraphHidden && !s.paragraphShown) {
                    s.paragraphHidden = false;   // every character hidden: the paragraph is, its mark too
                } else {
                    if (ch.deleted)
                        textChar(kDeletedMark);
                    if (depth() > 0 && w == "par") {
                        textChar(QChar(QChar::LineSeparator));   // a paragraph inside a cell
                        if (!ch.hidden)
                            s.paragraphShown = s.paragraphHidden = false;
                    } else {
                        paragraph();
                    }
                }
            }
            if (k.kw == Kw::Sect && !st_.skip) {
                footNumbering_.endSection();
                endNumbering_.endSection();
            }
            break;
        case Kw::Sectd:
            footNumbering_.section = {};
            endNumbering_.section = {};
            break;
        case Kw::Line: textChar(QChar(QChar::LineSeparator)); break;
        case Kw::Tab: textChar(QLatin1Char('\t')); break;
        case Kw::Cell:
        case Kw::NestCell:
            if (k.kw == Kw::NestCell && tooDeep()) {
                textChar(QLatin1Char('\t'));
            } else if (tableMark) {
                Sink& s = out();
                flush(s);
                endCell(s, levelAt(s, k.kw == Kw::Cell ? 1 : std::max(2, depth())));
            }
            break;
        case Kw::Row:
        case Kw::NestRow:
            if (k.kw == Kw::NestRow && tooDeep()) {
                if (tableMark) {
                    const bool skip = std::exchange(st_.skip, false);
                    textChar(QChar(QChar::LineSeparator));
                    st_.skip = skip;
                }
            } else if (tableMark) {
                Sink& s = out();
                flush(s);
                const int d = k.kw == Kw::Row ? 1 : std::max(2, depth());
                levelAt(s, d);
                endRow(s, d, ch);
            }
            break;
        case Kw::Trowd:
            defsLevel().defs.clear();
            defsLevel().nextMerge = 0;
            break;
        case Kw::CellMerge: defsLevel().nextMerge |= std::uint8_t(k.ch); break;
        case Kw::Cellx: {
            // More edges than a row can have cells give no more columns.
            Level& l = defsLevel();
            if (l.defs.size() < kMaxColumns)
                l.defs.push_back({std::clamp(value, -kMaxEdge, kMaxEdge), l.nextMerge});
            l.nextMerge = 0;
            break;
        }
        case Kw::Intbl: st_.inTable = true; break;
        case Kw::Itap: st_.itap = std::clamp(value, 0, kMaxNesting + 1); break;
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
        case Kw::Hidden: ch.hidden = on; break;
        case Kw::Deleted: ch.deleted = on; break;
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
            st_.itap = 0;
            st_.tabs = 0;
            st_.tabKind = st_.tabLeader = 0;
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
        case Kw::TabKind: st_.tabKind = std::uint8_t(k.ch); break;
        case Kw::TabLeader: st_.tabLeader = std::uint8_t(k.ch); break;
        case Kw::TabPosition: addTabStop(value); break;
        case Kw::BarTab: st_.tabKind = st_.tabLeader = 0; break;   // a rule drawn down the page, no stop
        case Kw::Char: textChar(QChar(k.ch)); break;
        case Kw::NoteMark: noteMark(); break;
        case Kw::Endnote: makeEndnote(); break;
        case Kw::NoteSetting: {
            NoteNumbering& numbering = k.ch & NoteEnd ? endNumbering_ : footNumbering_;
            NoteNumbering::Settings& settings = k.ch & NoteSection ? numbering.section : numbering.document;
            const int v = k.ch >> NoteValueShift;
            switch (k.ch & (3 << 2)) {
            case NoteStyle: settings.style = Numbering(v); break;
            case NoteStart: settings.start = std::clamp(value, 1, 9999); break;
            default: settings.restart = v != 0; break;
            }
            break;
        }
        default: break;
        }
    }

    // \upr holds a text twice: first for readers of code pages, then in its \ud part for
    // readers of Unicode, which is what is shown. \nesttableprops holds the definition of a
    // nested table's row, marked optional for readers that keep nested tables flat.
    void destination(Kw kw)
    {
        if (kw == Kw::Upr) {
            st_.upr = true;
            st_.skip = true;
            st_.dest = State::Ignored;
        } else if (kw == Kw::Ud) {
            // Read as the group around the \upr group is (the font table, say, or a header).
            if (ignoredOpens_ == 0 && stack_.size() >= 2 && stack_.back().upr) {
                st_.skip = stack_[stack_.size() - 2].skip;
                st_.dest = stack_[stack_.size() - 2].dest;
            }
        } else if (ignoredOpens_ == 0 && !stack_.empty() && !stack_.back().skip) {
            st_.dest = State::NestProps;   // still skipped: only its table words count
        }
    }

    // The depth of nested tables the paragraph is in: 0 outside tables. The text of a table
    // deeper than those kept goes to the cell that holds it.
    int depth() const { return st_.itap > 0 ? std::min(st_.itap, kMaxNesting) : st_.inTable ? 1 : 0; }
    bool tooDeep() const { return st_.itap > kMaxNesting; }

    // The level a row definition belongs to: a nested table's is read in \nesttableprops.
    Level& defsLevel()
    {
        if (st_.dest == State::NestProps && tooDeep())
            return unkept_;
        Sink& s = out();
        const int d = st_.dest == State::NestProps ? std::max(2, depth()) : 1;
        while (int(s.levels.size()) < d)
            s.levels.emplace_back();
        return s.levels[d - 1];
    }

    // \txN: a tab stop at N twips, of the kind and leader given before it.
    void addTabStop(int position)
    {
        std::vector<TabStop> stops = tabSets_[st_.tabs];
        const TabStop stop{std::clamp(position, 0, kMaxEdge), st_.tabKind, st_.tabLeader};
        st_.tabKind = st_.tabLeader = 0;
        const auto at = std::lower_bound(stops.begin(), stops.end(), stop,
                                         [](const TabStop& a, const TabStop& b) { return a.position < b.position; });
        if (at != stops.end() && at->position == stop.position)
            *at = stop;
        else if (stops.size() < kMaxTabStops)
            stops.insert(at, stop);
        const auto known = tabSetIndex_.find(stops);
        if (known != tabSetIndex_.end()) {
            st_.tabs = known->second;
        } else if (tabSets_.size() < kMaxTabSets) {
            st_.tabs = int(tabSets_.size());
            tabSetIndex_.emplace(stops, st_.tabs);
            tabSets_.push_back(std::move(stops));
        }
    }

    // ---- notes ---------------------------------------------------------------------------------

    QString nextLabel(bool endnote) { return endnote ? endNumbering_.next() : footNumbering_.next(); }

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
        st_.itap = 0;
        inNote_ = true;
        noteDepth_ = stack_.size();
        endnote_ = false;
        noteLabel_ = markOpen_ ? markLabel_ : QString();
        markOpen_ = false;
        notes(false);   // the note before ended its paragraph (see closeNote)
    }

    // The notes of a kind, footnotes or endnotes, made when the first is read.
    Sink& notes(bool endnote)
    {
        Notes& n = notes_[endnote];
        if (!n.sink) {
            n.document = std::make_unique<QTextDocument>();
            n.sink = std::make_unique<Sink>(n.document.get());
        }
        return *n.sink;
    }

    // \ftnalt: the note is an endnote, numbered among the endnotes; its mark in the body, still
    // the last thing written there, takes that number.
    void makeEndnote()
    {
        if (!inNote_ || endnote_)
            return;
        closeNote(out());   // what the note wrote before it said so stays among the footnotes
        endnote_ = true;
        notes(true);        // the note's text goes among the endnotes from here
        if (noteLabel_.isEmpty() || noteLabel_ != markLabel_ || !body_.run.endsWith(markLabel_))
            return;
        footNumbering_.takeBack();
        body_.run.chop(markLabel_.size());
        noteLabel_ = nextLabel(true);
        body_.run += noteLabel_;
    }

    void endNote()
    {
        closeNote(out());
        inNote_ = false;
    }

    void closeNote(Sink& s)
    {
        flush(s);
        closeLevels(s, 1);
        Level& top = s.levels.front();
        if (top.cellOpen && top.rowCells.empty() && top.cell.tables.empty()) {
            // Text marked as in a table that no \cell ends (some writers mark so the paragraphs
            // of a note written in a table cell): the note's own paragraphs.
            trimClosingBreak(top.cell);
            for (const auto& [text, format] : top.cell.runs)
                s.cursor.insertText(text, format);
            s.blockHasText = s.blockHasText || !top.cell.runs.empty();
            top.cell = {};
            top.cellOpen = false;
        }
        endTable(s, 1);
        if (s.blockHasText)
            breakParagraph(s);
    }

    // The notes, after the body under a short rule: the footnotes, then the endnotes.
    void appendNotes()
    {
        QTextCursor& c = body_.cursor;
        bool ruled = false;
        for (Notes& n : notes_) {
            if (!n.sink)
                continue;
            finishSink(*n.sink);
            if (n.document->isEmpty())
                continue;
            c.movePosition(QTextCursor::End);
            if (!std::exchange(ruled, true)) {
                if (!c.block().text().isEmpty())
                    c.insertBlock();   // else the empty paragraph after a closing table, or an empty body
                QTextBlockFormat rule;
                rule.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                                 QTextLength(QTextLength::PercentageLength, 30));
                rule.setAlignment(Qt::AlignLeft);
                rule.setTopMargin(12);
                c.setBlockFormat(rule);
            }
            // The first note's paragraph goes into a block made here, which keeps its own format.
            c.insertBlock(n.document->begin().blockFormat(), QTextCharFormat());
            c.insertFragment(QTextDocumentFragment(n.document.get()));
        }
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
        if (st_.chars.hidden) {
            s.paragraphHidden = true;   // nor does hidden text
            return;
        }
        s.paragraphShown = true;
        const CharKey* key = &st_.chars;
        CharKey tab;
        if (ch == QLatin1Char('\t')) {
            tab = st_.chars;
            tab.leader = leaderOfTab(s.tabsInLine++);
            key = &tab;
        } else if (ch == QChar::LineSeparator) {
            s.tabsInLine = 0;
        }
        const int d = depth();
        if (!s.run.isEmpty() && (!(*key == s.runKey) || d != s.runDepth))
            flush(s);
        if (!inNote_)
            markOpen_ = false;
        s.runKey = *key;
        s.runDepth = d;
        s.run.append(ch);
        if (d == 0)
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
        if (k.leader != 0) {
            static const QTextCharFormat::UnderlineStyle leaders[] = {
                QTextCharFormat::DotLine, QTextCharFormat::DashUnderline, QTextCharFormat::SingleUnderline};
            f.setUnderlineStyle(leaders[std::min(k.leader - 1, 2)]);   // a thick or double line: a line
        }
        f.setFontStrikeOut(k.strike || k.deleted);
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

    // The tab stops of a paragraph as the layout takes them: from the start of its first line,
    // the hanging indent's own stop among them. (A paragraph in a cell has no indents here.)
    std::vector<TabStop> lineStops(int tabs, int leftIndent, int firstIndent) const
    {
        const int lineStart = std::max(0, leftIndent) + firstIndent;
        bool hanging = firstIndent < 0 && leftIndent > 0;
        std::vector<TabStop> stops;
        for (const TabStop& t : tabSets_[tabs]) {
            if (hanging && t.position >= leftIndent) {
                if (t.position > leftIndent)
                    stops.push_back({leftIndent - lineStart});
                hanging = false;
            }
            if (t.position > lineStart)
                stops.push_back({t.position - lineStart, t.kind, t.leader});
        }
        if (hanging)
            stops.push_back({leftIndent - lineStart});
        return stops;
    }

    // The leader of the tab that is the i-th of its line: the i-th stop's, as a line whose text
    // passes none of its stops has it. Qt's layout draws no leaders; a tab's own underline, in
    // the leader's style, takes their place.
    std::uint8_t leaderOfTab(int i) const
    {
        if (st_.tabs == 0)
            return 0;
        const bool inCell = depth() > 0;
        const std::vector<TabStop> stops = lineStops(st_.tabs, inCell ? 0 : st_.leftIndent, inCell ? 0 : st_.firstIndent);
        return std::size_t(i) < stops.size() ? stops[i].leader : 0;
    }

    // A left stop would do for a left tab, but the text engine measures all the rest of the
    // line for each left tab (a line of thousands of tabs takes seconds); a delimiter tab whose
    // delimiter never occurs is a left tab without that. Right, centre and decimal stops are
    // measured to the next tab or decimal point, through the rest of the paragraph when none
    // follows: a paragraph where that work is too much (`leftOnly`) gets left stops.
    static QList<QTextOption::Tab> tabPositions(const std::vector<TabStop>& stops, bool leftOnly)
    {
        QList<QTextOption::Tab> tabs;
        for (const TabStop& t : stops) {
            const qreal x = t.position / double(kTwipsPerPixel);
            if (leftOnly || t.kind == 0)
                tabs.append(QTextOption::Tab(x, QTextOption::DelimiterTab, kNoDelimiter));
            else if (t.kind == 3)
                tabs.append(QTextOption::Tab(x, QTextOption::DelimiterTab, QLatin1Char('.')));
            else
                tabs.append(QTextOption::Tab(x, t.kind == 1 ? QTextOption::CenterTab : QTextOption::RightTab));
        }
        return tabs;
    }

    static bool tooMuchTabWork(const std::vector<TabStop>& stops, qsizetype tabs, qsizetype length)
    {
        return tabs * length > kTabWork
               && std::any_of(stops.begin(), stops.end(), [](const TabStop& t) { return t.kind != 0; });
    }

    QTextBlockFormat blockFormat(const Sink& s) const
    {
        QTextBlockFormat f;
        f.setAlignment(alignmentOf(st_.align));
        f.setLeftMargin(std::max(0, st_.leftIndent) / double(kTwipsPerPixel));
        f.setRightMargin(std::max(0, st_.rightIndent) / double(kTwipsPerPixel));
        f.setTextIndent(st_.firstIndent / double(kTwipsPerPixel));
        const std::vector<TabStop> stops = lineStops(st_.tabs, st_.leftIndent, st_.firstIndent);
        if (!stops.empty()) {
            const QString text = st_.tabs != 0 ? s.cursor.block().text() : QString();
            f.setTabPositions(tabPositions(stops, tooMuchTabWork(stops, text.count(QLatin1Char('\t')), text.size())));
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
        if (s.runDepth > 0) {
            Level& l = levelAt(s, s.runDepth);
            l.cell.runs.emplace_back(s.run, charFormat(s.runKey));
            l.cellOpen = true;
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
        for (Notes& n : notes_)
            if (n.sink)
                flush(*n.sink);
    }

    // A hidden paragraph mark joins its paragraph to the next.
    void paragraph()
    {
        if (st_.skip || st_.chars.hidden)
            return;
        Sink& s = out();
        flush(s);
        insertTable(s);
        breakParagraph(s);
    }

    void breakParagraph(Sink& s)
    {
        s.cursor.setBlockFormat(blockFormat(s));
        s.cursor.insertBlock();
        s.blockHasText = false;
        s.afterTable = s.afterInsertedTable = false;
        s.tabsInLine = 0;
        s.paragraphShown = s.paragraphHidden = false;
    }

    // ---- tables --------------------------------------------------------------------------------

    // The cells at a depth (from 1) of nested tables. Deeper tables end there, each going into
    // the cell it was read in; a depth not yet open opens.
    Level& levelAt(Sink& s, int depth)
    {
        closeLevels(s, depth);
        while (int(s.levels.size()) < depth)
            s.levels.emplace_back();
        return s.levels[depth - 1];
    }

    void closeLevels(Sink& s, int depth)
    {
        while (int(s.levels.size()) > std::max(depth, 1)) {
            endTable(s, int(s.levels.size()));
            s.levels.pop_back();
        }
    }

    // Ends the table read at a depth, and those inside it.
    void endTable(Sink& s, int depth)
    {
        closeLevels(s, depth);
        const Level& l = s.levels[depth - 1];
        if (l.cellOpen || !l.rowCells.empty())
            endRow(s, depth, CharKey{});   // a row cut short still shows
        completeTable(s, depth);
    }

    // The table read at a depth is complete: the outermost goes into the document, a nested one
    // into the cell that holds it.
    void completeTable(Sink& s, int depth)
    {
        if (depth <= 1) {
            insertTable(s);
            return;
        }
        Table& t = s.levels[depth - 1].table;
        if (t.rows.empty())
            return;
        Level& outer = s.levels[depth - 2];
        trimClosingBreak(outer.cell);   // the table begins a line of its own
        outer.cell.tables.push_back({outer.cell.runs.size(), std::move(t)});
        outer.cellOpen = true;
        t = {};
    }

    void endCell(Sink& s, Level& l)
    {
        trimClosingBreak(l.cell);
        l.cell.align = st_.align;
        l.cell.tabs = st_.tabs;
        if (l.rowCells.size() < kMaxColumns)
            l.rowCells.push_back(std::move(l.cell));
        l.cell = {};
        l.cellOpen = false;
        s.tabsInLine = 0;
        s.paragraphShown = s.paragraphHidden = false;
    }

    // A paragraph mark that closes a cell's text (some writers put one before every \cell)
    // opens no empty line.
    static void trimClosingBreak(Cell& cell)
    {
        if (cell.runs.empty() || !cell.runs.back().first.endsWith(QChar(QChar::LineSeparator)))
            return;
        if (!cell.tables.empty() && cell.tables.back().at == cell.runs.size())
            return;   // a table follows that text, and the mark before it went as it began
        cell.runs.back().first.chop(1);
        if (cell.runs.back().first.isEmpty())
            cell.runs.pop_back();
    }

    static bool isEmpty(const Cell& cell) { return cell.runs.empty() && cell.tables.empty(); }

    // A row joins the table read just before it at its depth when the two share their columns:
    // rows that give their cells' edges share the union of the edges (a row of fewer, wider
    // cells spans the columns its cells cover); others need as many cells. Otherwise the table
    // before it is complete, and the row begins another. The row's own mark may hide it (a row
    // of nothing shown is left out) or delete it (its text struck through).
    void endRow(Sink& s, int depth, const CharKey& mark)
    {
        Level& l = s.levels[depth - 1];
        if (l.cellOpen)
            endCell(s, l);
        std::vector<Cell> row = std::move(l.rowCells);
        l.rowCells.clear();
        if (row.empty() || (mark.hidden && std::all_of(row.begin(), row.end(), isEmpty)))
            return;
        if (mark.deleted)
            for (Cell& cell : row)
                for (auto& run : cell.runs)
                    run.second.setFontStrikeOut(true);
        const bool byEdges = giveEdges(row, l.defs);
        Table& t = l.table;
        const bool joins = !t.rows.empty() && t.byEdges == byEdges
                           && (byEdges ? fits(t.edges, row) : t.columns == int(row.size()));
        if (!joins) {
            completeTable(s, depth);
            t = {};
            t.byEdges = byEdges;
        }
        if (byEdges) {
            mergeRow(t, row);
            for (const Cell& cell : row)
                if (columnAt(t.edges, cell.edge) < 0)
                    t.edges.insert(std::upper_bound(t.edges.begin(), t.edges.end(), cell.edge), cell.edge);
        } else {
            t.columns = int(row.size());
        }
        t.rows.push_back(std::move(row));
        if (depth == 1) {
            s.afterTable = true;
            s.blockHasText = false;
        }
    }

    // Gives each cell of a row its right edge and merge from the row's definition; false when
    // the definition does not describe the cells (fewer edges, or edges not left to right).
    static bool giveEdges(std::vector<Cell>& row, const std::vector<CellDef>& defs)
    {
        if (defs.size() < row.size())
            return false;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0 && defs[i].edge <= defs[i - 1].edge + 2 * kEdgeTolerance)
                return false;
            row[i].edge = defs[i].edge;
            row[i].merge = defs[i].merge;
        }
        return true;
    }

    // The column whose right edge is within the tolerance of an edge (the nearer of two), or -1.
    // Column edges lie further apart than the tolerance, so at most two are that near.
    static int columnAt(const std::vector<int>& edges, int edge)
    {
        auto it = std::lower_bound(edges.begin(), edges.end(), edge - kEdgeTolerance);
        if (it == edges.end() || *it > edge + kEdgeTolerance)
            return -1;
        if (it + 1 != edges.end() && *(it + 1) - edge < edge - *it)
            ++it;
        return int(it - edges.begin());
    }

    static bool fits(const std::vector<int>& edges, const std::vector<Cell>& row)
    {
        const auto added = std::count_if(row.begin(), row.end(), [&](const Cell& c) { return columnAt(edges, c.edge) < 0; });
        return edges.size() + std::size_t(added) <= kMaxColumns;
    }

    // The content of a cell merged into another follows that cell's own.
    static void moveContent(Cell& from, Cell& into)
    {
        if (isEmpty(from))
            return;
        if (!isEmpty(into) && !from.runs.empty())
            into.runs.emplace_back(QString(QChar(QChar::LineSeparator)), from.runs.front().second);
        for (Nested& n : from.tables)
            into.tables.push_back({n.at + into.runs.size(), std::move(n.table)});
        std::move(from.runs.begin(), from.runs.end(), std::back_inserter(into.runs));
        from.runs.clear();
        from.tables.clear();
    }

    // The cell of a row whose edges are near these, or null.
    static Cell* cellWithEdges(std::vector<Cell>& row, int left, int right)
    {
        int cellLeft = 0;
        for (Cell& cell : row) {
            if (std::abs(cellLeft - left) <= kEdgeTolerance && std::abs(cell.edge - right) <= kEdgeTolerance)
                return &cell;
            cellLeft = cell.edge;
        }
        return nullptr;
    }

    // Merges a row's cells as its definition says: a cell merged with the one before it becomes
    // part of that one; a cell merged with the one above (of the same edges) is marked so, its
    // text going to the first cell of the merge.
    static void mergeRow(Table& t, std::vector<Cell>& row)
    {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if ((row[i].merge & MergeNext) && kept > 0) {
                Cell& into = row[kept - 1];
                into.edge = row[i].edge;
                moveContent(row[i], into);
            } else {
                if (kept != i)
                    row[kept] = std::move(row[i]);
                ++kept;
            }
        }
        row.resize(kept);
        if (t.rows.empty())
            return;
        int left = 0;
        for (Cell& cell : row) {
            const int cellLeft = std::exchange(left, cell.edge);
            if (!(cell.merge & MergeDown))
                continue;
            const Cell* above = cellWithEdges(t.rows.back(), cellLeft, cell.edge);
            if (!above)
                continue;
            cell.anchorRow = above->anchorRow >= 0 ? above->anchorRow : int(t.rows.size()) - 1;
            if (Cell* first = cellWithEdges(t.rows[cell.anchorRow], cellLeft, cell.edge))
                moveContent(cell, *first);
        }
    }

    // Gives each cell its place in the grid: a cell spans the columns its edges cover, and one
    // merged down spans the rows its merge covers. Returns the grid's columns; `reach` gets, for
    // each row, the last row that a cell of it or of a row above spans.
    static int place(Table& t, std::vector<int>& reach)
    {
        const int cols = t.byEdges ? int(t.edges.size()) : t.columns;
        const int rows = int(t.rows.size());
        for (int r = 0; r < rows; ++r) {
            int c = 0;
            for (Cell& cell : t.rows[r]) {
                cell.column = std::min(c, cols - 1);
                c = t.byEdges ? std::max(c + 1, columnAt(t.edges, cell.edge) + 1) : c + 1;
                cell.columns = std::max(1, std::min(c, cols) - cell.column);
                cell.rows = 1;
                cell.covered = false;
                if (cell.anchorRow < 0 || cell.anchorRow >= r)
                    continue;
                for (Cell& first : t.rows[cell.anchorRow]) {
                    if (first.column == cell.column && first.columns == cell.columns && !first.covered) {
                        first.rows = r - cell.anchorRow + 1;
                        cell.covered = true;
                    }
                }
            }
        }
        reach.assign(rows, 0);
        for (int r = 0; r < rows; ++r) {
            reach[r] = std::max(r, r > 0 ? reach[r - 1] : 0);
            for (const Cell& cell : t.rows[r])
                reach[r] = std::max(reach[r], r + cell.rows - 1);
        }
        return cols;
    }

    // Column widths from the cell edges: fixed, or for a table inside a cell shares of the
    // cell's width. A long table without them gets equal shares, so that its parts match.
    static QList<QTextLength> columnWidths(const Table& t, int cols, bool nested, bool parts)
    {
        QList<QTextLength> widths;
        if (t.byEdges) {
            int left = 0;
            double total = 0;
            for (int edge : t.edges) {
                const int width = std::max(kMinColumnWidth, edge - left);
                left = edge;
                total += width;
                widths.append(QTextLength(QTextLength::FixedLength, width / double(kTwipsPerPixel)));
            }
            if (nested)
                for (QTextLength& w : widths)
                    w = QTextLength(QTextLength::PercentageLength, 100.0 * w.rawValue() * kTwipsPerPixel / total);
        } else if (parts) {
            for (int c = 0; c < cols; ++c)
                widths.append(QTextLength(QTextLength::PercentageLength, 100.0 / cols));
        }
        return widths;
    }

    // Puts the table read at the outermost depth into the document.
    void insertTable(Sink& s)
    {
        closeLevels(s, 1);
        Table& t = s.levels.front().table;
        if (t.rows.empty())
            return;
        QTextCursor& cursor = s.cursor;
        if (cursor.block().text().isEmpty() && cursor.block().previous().isValid() && !s.afterInsertedTable)
            cursor.deletePreviousChar();   // no empty line between a paragraph and its table
        insertGrid(cursor, t, false);
        t = {};
        s.afterInsertedTable = true;
    }

    // Puts a table into the document at the cursor, which then stands after it. Qt lays a table
    // out whole, some 30 microseconds a cell, so a schedule of thousands of rows goes in as a
    // stack of tables of a few hundred cells each, one on the next with no seam, each ending
    // below a row that no merge reaches past; they are laid out in steps like paragraphs are:
    // the part on screen first, the rest while the window answers. A table inside a cell goes
    // in whole.
    void insertGrid(QTextCursor& cursor, Table& t, bool nested)
    {
        std::vector<int> reach;
        const int cols = place(t, reach);
        QTextTableFormat tf;
        tf.setBorder(1);
        tf.setBorderBrush(QColor(160, 160, 160));
        tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        tf.setCellSpacing(0);
        tf.setCellPadding(3);
        const int rows = static_cast<int>(t.rows.size());
        const int rowsPerPart = nested ? rows : std::max(1, kCellsPerTable / cols);
        const QList<QTextLength> constraints = columnWidths(t, cols, nested, rows > rowsPerPart);
        if (!constraints.isEmpty())
            tf.setColumnWidthConstraints(constraints);
        for (int first = 0; first < rows;) {
            int last = std::min(rows, first + rowsPerPart) - 1;
            while (reach[last] > last)
                ++last;
            const int count = last - first + 1;
            QTextTableFormat part = tf;
            if (first > 0)   // its top borders on the bottom ones above: the line between two rows
                part.setTopMargin(-2 * tf.border());
            if (last + 1 < rows)
                part.setBottomMargin(0);
            QTextTable* table = cursor.insertTable(count, cols, part);
            for (int r = first; r <= last; ++r)
                for (Cell& cell : t.rows[r])
                    if (!cell.covered)
                        fillCell(table->cellAt(r - first, cell.column).firstCursorPosition(), cell);
            for (int r = first; r <= last; ++r)
                for (const Cell& cell : t.rows[r])
                    if (!cell.covered && (cell.rows > 1 || cell.columns > 1))
                        table->mergeCells(r - first, cell.column, std::min(cell.rows, last - r + 1), cell.columns);
            cursor = table->lastCursorPosition();
            cursor.movePosition(QTextCursor::NextCharacter);
            first = last + 1;
        }
    }

    // A cell's text and the tables inside it. A cell is left-aligned, without tab stops, as made.
    void fillCell(QTextCursor cursor, Cell& cell)
    {
        QTextBlockFormat format;
        const bool formatted = cell.align != 0 || cell.tabs != 0;
        if (formatted) {
            format.setAlignment(alignmentOf(cell.align));
            const std::vector<TabStop> stops = lineStops(cell.tabs, 0, 0);
            if (!stops.empty()) {
                qsizetype tabs = 0, length = 0;
                for (const auto& [text, f] : cell.runs) {
                    tabs += text.count(QLatin1Char('\t'));
                    length += text.size();
                }
                format.setTabPositions(tabPositions(stops, tooMuchTabWork(stops, tabs, length)));
            }
            cursor.setBlockFormat(format);
        }
        std::size_t run = 0;
        for (Nested& n : cell.tables) {
            for (; run < n.at && run < cell.runs.size(); ++run)
                cursor.insertText(cell.runs[run].first, cell.runs[run].second);
            insertGrid(cursor, n.table, true);
            if (formatted)
                cursor.setBlockFormat(format);
        }
        for (; run < cell.runs.size(); ++run)
            cursor.insertText(cell.runs[run].first, cell.runs[run].second);
    }

    void finishSink(Sink& s)
    {
        flush(s);
        endTable(s, 1);
        if (s.afterTable)
            return;
        QTextDocument* d = s.cursor.document();
        if (s.blockHasText)
            s.cursor.setBlockFormat(blockFormat(s));
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
    struct Notes {
        std::unique_ptr<QTextDocument> document;
        std::unique_ptr<Sink> sink;
    };
    Notes notes_[2];              // the footnotes, the endnotes: each kind gathered apart
    bool inNote_ = false;
    std::size_t noteDepth_ = 0;   // the stack's depth inside the note's group
    bool endnote_ = false;
    QString noteLabel_;           // the number of the note being read
    QString markLabel_;           // the last reference mark written in the body
    bool markOpen_ = false;       // ... and nothing has been written there since
    NoteNumbering footNumbering_, endNumbering_;
    Level unkept_;   // the row definitions of tables nested deeper than those kept
    // tab stops: the sets paragraphs use, each once
    std::vector<std::vector<TabStop>> tabSets_ = std::vector<std::vector<TabStop>>(1);
    std::map<std::vector<TabStop>, int> tabSetIndex_;
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
