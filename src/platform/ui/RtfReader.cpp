// A small RTF reader. One pass over the bytes with a stack of group states; text goes to a
// QTextCursor in runs that share one character format. Every loop is bounded by the input,
// numbers are clamped, and group depth is capped, so no input can make it fail.
//
// Law documents run to megabytes with tens of thousands of formatting runs and tables of
// thousands of rows, so the work stays linear in the input: control words are looked up
// without copying them, a run's character format is built once when the run is written, a
// table is inserted whole when its last row is read (a row appended to a table already in the
// document costs a walk over the whole table), and nothing is laid out until the document is
// complete (see replaceContent).
#include "RtfReader.h"

#include "Twips.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>
#include <QTextTable>
#include <functional>
#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ui {
namespace {

constexpr int kMaxDepth = 512;
constexpr std::size_t kMaxColumns = 63;   // the most cells a row can define
constexpr qsizetype kGridCellBudget = 2000;   // table cells a document draws as grids
constexpr std::size_t kKeptFormats = 16;
constexpr QChar kNoDelimiter = QChar::Null;   // never in the text (see textChar)

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

// The control words the reader acts on.
enum class Kw {
    FontTable, ColorTable, SkipDestination, Red, Green, Blue,
    Par, Line, Tab, Cell, Row, Trowd, Cellx, Intbl, U, Uc,
    Bold, Italic, UlNone, Underline, Strike, Fs, Super, Sub, NoSuperSub, Font, Cf, Plain,
    Pard, Ql, Qc, Qr, Qj, Li, Ri, Fi, Sb, Sa, Char,
};

struct Keyword {
    Kw kw;
    char16_t ch = 0;   // Kw::Char: the character the word stands for
};

const std::unordered_map<std::string_view, Keyword>& keywords()
{
    static const std::unordered_map<std::string_view, Keyword> table = [] {
        std::unordered_map<std::string_view, Keyword> t;
        for (const char* w : {"stylesheet", "info", "pict", "header", "headerl", "headerr",
             "headerf", "footer", "footerl", "footerr", "footerf", "fldinst", "objdata", "listtable",
             "listoverridetable", "revtbl", "rsidtbl", "generator", "themedata", "colorschememapping",
             "datastore", "latentstyles", "pgdsctbl", "filetbl", "footnote", "annotation", "atnid",
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
            {"qj", Kw::Qj}, {"li", Kw::Li}, {"ri", Kw::Ri}, {"fi", Kw::Fi}, {"sb", Kw::Sb}, {"sa", Kw::Sa}};
        for (const auto& [w, kw] : words)
            t[w] = {kw};
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

class Reader {
public:
    Reader(const QByteArray& in, QTextDocument* doc) : in_(in), doc_(doc), cursor_(doc) {}

    void run()
    {
        const int n = in_.size();
        int i = 0;
        while (i < n) {
            const char c = in_.at(i);
            if (c == '{') {
                ++i;
                openGroup();
            } else if (c == '}') {
                ++i;
                closeGroup();
            } else if (c == '\\') {
                i = controlAt(i + 1);
            } else if (c == '\r' || c == '\n') {
                ++i;
            } else {
                ++i;
                if (c == '\t')
                    textChar(QLatin1Char('\t'));
                else
                    byteChar(static_cast<unsigned char>(c));
            }
        }
        finish();
    }

private:
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
        case Kw::Cell: endCell(); break;
        case Kw::Row: endRow(); break;
        case Kw::Trowd: cellEdges_.clear(); break;
        case Kw::Cellx:
            // More edges than a row can have cells give no widths, however many there are.
            if (cellEdges_.size() <= kMaxColumns)
                cellEdges_.push_back(value);
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
                ch.fontSizeHalfPoints = std::min(value, 3276);
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
        case Kw::Li: st_.leftIndent = value; break;
        case Kw::Ri: st_.rightIndent = value; break;
        case Kw::Fi: st_.firstIndent = value; break;
        case Kw::Sb: st_.spaceBefore = value; break;
        case Kw::Sa: st_.spaceAfter = value; break;
        case Kw::Char: textChar(QChar(k.ch)); break;
        default: break;   // table words outside their tables change nothing
        }
    }

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
        if (!run_.isEmpty() && (!(st_.chars == runKey_) || st_.inTable != runInCell_))
            flush();
        runKey_ = st_.chars;
        runInCell_ = st_.inTable;
        run_.append(ch);
        if (!runInCell_)
            blockHasText_ = true;
    }

    // Font names end with ';' in the font table; so do colour entries in the colour table.
    // Text read before a table entry keeps the format it had then.
    void tableText(QChar ch)
    {
        if (st_.dest == State::FontTable) {
            if (ch == QLatin1Char(';')) {
                if (fontNumber_ >= 0 && fonts_.size() < 4096) {
                    flush();
                    formats_.clear();
                    fonts_[fontNumber_] = fontName_.trimmed();
                }
                fontName_.clear();
            } else if (fontName_.size() < 256) {
                fontName_.append(ch);
            }
        } else if (ch == QLatin1Char(';') && colors_.size() < 4096) {
            flush();
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
            // A hanging indent: the first tab of the first line goes to the indent.
            f.setTabPositions({QTextOption::Tab(st_.leftIndent / double(kTwipsPerPixel), QTextOption::LeftTab)});
        }
        f.setTopMargin(std::max(0, st_.spaceBefore) / double(kTwipsPerPixel));
        f.setBottomMargin(std::max(0, st_.spaceAfter) / double(kTwipsPerPixel));
        return f;
    }

    // Text of table cells is kept until its table ends; other text goes to the document.
    void flush()
    {
        if (run_.isEmpty())
            return;
        if (runInCell_) {
            cell_.runs.emplace_back(run_, charFormat(runKey_));
            cellOpen_ = true;
        } else {
            insertTable();
            cursor_.insertText(run_, charFormat(runKey_));
            afterTable_ = afterInsertedTable_ = false;
        }
        run_.clear();
    }

    void paragraph()
    {
        if (st_.skip)
            return;
        flush();
        insertTable();
        cursor_.setBlockFormat(blockFormat());
        cursor_.insertBlock();
        blockHasText_ = false;
        afterTable_ = afterInsertedTable_ = false;
    }

    void endCell()
    {
        if (st_.skip)
            return;
        flush();
        cell_.align = st_.align;
        if (rowCells_.size() < kMaxColumns)
            rowCells_.push_back(std::move(cell_));
        cell_ = {};
        cellOpen_ = false;
    }

    // A row joins the table just above it when that table has as many columns; else it
    // starts a new table whose column widths come from the cell edges.
    void endRow()
    {
        if (st_.skip)
            return;
        flush();
        if (cellOpen_)
            endCell();
        if (rowCells_.empty())
            return;
        const int cols = static_cast<int>(rowCells_.size());
        if (!afterTable_ || table_.columns != cols) {
            insertTable();
            table_.columns = cols;
            table_.edges = cellEdges_;
        }
        table_.rows.push_back(std::move(rowCells_));
        rowCells_.clear();
        afterTable_ = true;
        blockHasText_ = false;
    }

    // Puts the table whose rows have been read into the document, in one piece. Laying out a
    // cell of a grid costs far more than a line of text (tens of microseconds each), so a
    // document draws grids only while its budget of grid cells lasts; a schedule of thousands
    // of rows beyond it shows its rows as lines whose tab stops sit on the cell edges, and the
    // window never stays busy for seconds.
    void insertTable()
    {
        if (table_.rows.empty())
            return;
        const qsizetype cells = qsizetype(table_.rows.size()) * table_.columns;
        if (cells <= gridCellsLeft_) {
            gridCellsLeft_ -= cells;
            insertGrid();
        } else {
            insertLines();
        }
        table_.rows.clear();
        cursor_.movePosition(QTextCursor::End);
        afterInsertedTable_ = true;
    }

    // Column widths from the cell edges, when the rows define one edge per cell.
    std::vector<double> columnWidths() const
    {
        std::vector<double> widths;
        if (static_cast<int>(table_.edges.size()) != table_.columns)
            return widths;
        int left = 0;
        for (int edge : table_.edges) {
            widths.push_back(std::max(10, edge - left) / double(kTwipsPerPixel));
            left = std::max(left, edge);
        }
        return widths;
    }

    void insertGrid()
    {
        const int cols = table_.columns;
        if (cursor_.block().text().isEmpty() && cursor_.block().previous().isValid() && !afterInsertedTable_)
            cursor_.deletePreviousChar();   // no empty line between a paragraph and its table
        QTextTableFormat tf;
        tf.setBorder(1);
        tf.setBorderBrush(QColor(160, 160, 160));
        tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        tf.setCellSpacing(0);
        tf.setCellPadding(3);
        QList<QTextLength> constraints;
        for (double w : columnWidths())
            constraints.append(QTextLength(QTextLength::FixedLength, w));
        if (!constraints.isEmpty())
            tf.setColumnWidthConstraints(constraints);
        const int rows = static_cast<int>(table_.rows.size());
        QTextTable* table = cursor_.insertTable(rows, cols, tf);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                const Cell& cell = table_.rows[r][c];
                QTextCursor cc = table->cellAt(r, c).firstCursorPosition();
                QTextBlockFormat bf;
                bf.setAlignment(alignmentOf(cell.align));
                cc.setBlockFormat(bf);
                for (const auto& [text, format] : cell.runs)
                    cc.insertText(text, format);
            }
        }
    }

    // One line per row, cells separated by tabs; a paragraph break inside a cell is a blank.
    void insertLines()
    {
        QTextBlockFormat row;
        row.setNonBreakableLines(true);
        QList<QTextOption::Tab> tabs;
        double x = 0;
        const std::vector<double> widths = columnWidths();
        // Left tabs would do, but the text engine measures all the rest of the line for each
        // left tab; a delimiter tab whose delimiter never occurs is a left tab without that.
        for (std::size_t c = 0; c + 1 < widths.size(); ++c)
            tabs.append(QTextOption::Tab(x += widths[c], QTextOption::DelimiterTab, kNoDelimiter));
        row.setTabPositions(tabs);
        if (!cursor_.block().text().isEmpty())
            cursor_.insertBlock();
        // A row's text goes in with one insert per change of format.
        QString text;
        QTextCharFormat format;
        const auto put = [&] {
            if (!text.isEmpty())
                cursor_.insertText(text.replace(QChar(QChar::LineSeparator), QLatin1Char(' ')), format);
            text.clear();
        };
        bool first = true;
        for (const std::vector<Cell>& cells : table_.rows) {
            if (!first)
                cursor_.insertBlock();
            first = false;
            cursor_.setBlockFormat(row);
            for (std::size_t c = 0; c < cells.size(); ++c) {
                if (c > 0)
                    text += QLatin1Char('\t');
                for (const auto& [runText, runFormat] : cells[c].runs) {
                    if (runFormat != format) {
                        put();
                        format = runFormat;
                    }
                    text += runText;
                }
            }
            put();
        }
        cursor_.insertBlock(QTextBlockFormat());
    }

    void finish()
    {
        flush();
        if (cellOpen_ || !rowCells_.empty())
            endRow();   // a row cut short still shows
        insertTable();
        if (afterTable_)
            return;
        if (blockHasText_)
            cursor_.setBlockFormat(blockFormat());
        else if (doc_->blockCount() > 1 && !cursor_.block().previous().text().isEmpty())
            cursor_.deletePreviousChar();   // the empty paragraph after the last \par
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
    QTextDocument* doc_;
    QTextCursor cursor_;
    State st_;
    std::vector<State> stack_;
    int ignoredOpens_ = 0;
    int pendingSkip_ = 0;
    bool blockHasText_ = false;
    QString run_;
    CharKey runKey_;
    std::vector<std::pair<CharKey, QTextCharFormat>> formats_;
    std::vector<int> cellEdges_;
    struct Cell {
        std::vector<std::pair<QString, QTextCharFormat>> runs;
        int align = 0;
    };
    bool runInCell_ = false;
    Cell cell_;
    bool cellOpen_ = false;
    std::vector<Cell> rowCells_;
    // The table being read: its rows wait here until something else follows it.
    struct PendingTable {
        int columns = 0;
        std::vector<int> edges;
        std::vector<std::vector<Cell>> rows;
    } table_;
    qsizetype gridCellsLeft_ = kGridCellBudget;
    bool afterTable_ = false;           // the last thing read was a table row
    bool afterInsertedTable_ = false;   // the cursor stands just after a table
    struct ColorEntry {
        int r = 0, g = 0, b = 0;
        bool set = false;
    };
    std::map<int, QString> fonts_;
    int fontNumber_ = -1;
    QString fontName_;
    std::vector<ColorEntry> colors_;
    ColorEntry colorEntry_;
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
        QTextOption option = document->defaultTextOption();
        option.setTabStopDistance(720.0 / kTwipsPerPixel);   // the half-inch tab stops of RTF
        document->setDefaultTextOption(option);
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

bool RtfReader::showDocument(const QByteArray& bytes, QTextEdit* view)
{
    const Kind kind = kindOf(bytes);
    replaceContent(bytes, kind, view->document(), [view] { view->moveCursor(QTextCursor::Start); });
    return kind != Kind::Binary;
}

} // namespace ui
