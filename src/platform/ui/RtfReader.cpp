// A small RTF reader. One pass over the bytes with a stack of group states; text goes to a
// QTextCursor in runs that share one character format. Every loop is bounded by the input,
// numbers are clamped, and group depth is capped, so no input can make it fail.
#include "RtfReader.h"

#include "Twips.h"

#include <QColor>
#include <QList>
#include <QSet>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <QTextTable>
#include <map>
#include <vector>

namespace ui {
namespace {

constexpr int kMaxDepth = 512;
constexpr std::size_t kMaxColumns = 63;   // the most cells a row can define

struct State {
    // character
    bool bold = false, italic = false, underline = false, strike = false;
    int fontSizeHalfPoints = 24;
    int verticalAlign = 0;   // 0 normal, 1 super, 2 sub
    // paragraph
    int align = 0;           // 0 left, 1 centre, 2 right, 3 justify
    int leftIndent = 0, rightIndent = 0, firstIndent = 0, spaceBefore = 0, spaceAfter = 0;
    bool inTable = false;
    int font = -1;           // index into the font table
    int color = 0;           // index into the colour table; 0 is the automatic colour
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

const QSet<QByteArray>& skippedDestinations()
{
    static const QSet<QByteArray> names = {
        "stylesheet", "info", "pict", "header", "headerl", "headerr",
        "headerf", "footer", "footerl", "footerr", "footerf", "fldinst", "objdata", "listtable",
        "listoverridetable", "revtbl", "rsidtbl", "generator", "themedata", "colorschememapping",
        "datastore", "latentstyles", "pgdsctbl", "filetbl", "footnote", "annotation", "atnid",
        "atnauthor", "xe", "tc", "pn", "nonshppict", "shpinst", "sp", "sn", "sv", "xmlnstbl",
        "mmathPr", "docvar", "private", "bkmkstart", "bkmkend", "field_inst", "template",
        "userprops", "wgrffmtfilter", "blipuid", "picprop", "author", "operator", "title",
        "subject", "keywords", "comment", "doccomm", "company", "creatim", "revtim", "printim",
        "buptim", "listpicture", "ftnsep", "ftnsepc", "aftnsep", "aftnsepc"};
    return names;
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
            const QByteArray word = in_.mid(i, j - i);
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

    void controlWord(const QByteArray& w, bool hasParam, int value)
    {
        if (w == "fonttbl" || w == "colortbl") {
            st_.skip = true;
            st_.dest = w == "fonttbl" ? State::FontTable : State::ColorTable;
            if (st_.dest == State::ColorTable)
                colorEntry_ = {};
            return;
        }
        if (skippedDestinations().contains(w)) {
            st_.skip = true;
            st_.dest = State::Ignored;
            return;
        }
        if (st_.dest == State::FontTable) {
            if (w == "f") {
                fontNumber_ = value;
                fontName_.clear();
            }
            return;
        }
        if (st_.dest == State::ColorTable) {
            if (w == "red") colorEntry_.r = value;
            else if (w == "green") colorEntry_.g = value;
            else if (w == "blue") colorEntry_.b = value;
            colorEntry_.set = true;
            return;
        }
        if (pendingSkip_ > 0) {
            // A control word stands for one of the characters after \u.
            --pendingSkip_;
            return;
        }
        const bool on = !hasParam || value != 0;
        if (w == "par" || w == "sect" || w == "page") {
            if (st_.inTable && w == "par")
                textChar(QChar(QChar::LineSeparator));   // a paragraph inside a cell
            else
                paragraph();
        } else if (w == "line") {
            textChar(QChar(QChar::LineSeparator));
        } else if (w == "tab" || w == "nestcell") {
            textChar(QLatin1Char('\t'));
        } else if (w == "nestrow") {
            textChar(QChar(QChar::LineSeparator));
        } else if (w == "cell") {
            endCell();
        } else if (w == "row") {
            endRow();
        } else if (w == "trowd") {
            cellEdges_.clear();
        } else if (w == "cellx") {
            cellEdges_.push_back(value);
        } else if (w == "intbl") {
            st_.inTable = true;
        } else if (w == "u") {
            int code = value;
            if (code < 0)
                code += 65536;
            if (code > 0 && code <= 0xFFFF)
                textChar(QChar(static_cast<char16_t>(code)));
            pendingSkip_ = st_.uc;
        } else if (w == "uc") {
            st_.uc = std::clamp(value, 0, 16);
        } else if (w == "b") {
            st_.bold = on;
        } else if (w == "i") {
            st_.italic = on;
        } else if (w == "ulnone") {
            st_.underline = false;
        } else if (isUnderlineWord(w)) {
            st_.underline = on;   // \ulc (underline colour) and the like change nothing
        } else if (w == "strike" || w == "striked") {
            st_.strike = on;
        } else if (w == "fs") {
            if (hasParam && value > 0)
                st_.fontSizeHalfPoints = std::min(value, 3276);
        } else if (w == "super") {
            st_.verticalAlign = 1;
        } else if (w == "sub") {
            st_.verticalAlign = 2;
        } else if (w == "nosupersub") {
            st_.verticalAlign = 0;
        } else if (w == "f" || w == "deff") {
            st_.font = value;
        } else if (w == "cf") {
            st_.color = value;
        } else if (w == "plain") {
            st_.bold = st_.italic = st_.underline = st_.strike = false;
            st_.fontSizeHalfPoints = 24;
            st_.verticalAlign = 0;
            st_.color = 0;
        } else if (w == "pard") {
            st_.align = 0;
            st_.leftIndent = st_.rightIndent = st_.firstIndent = 0;
            st_.spaceBefore = st_.spaceAfter = 0;
            st_.inTable = false;
        } else if (w == "ql") {
            st_.align = 0;
        } else if (w == "qc") {
            st_.align = 1;
        } else if (w == "qr") {
            st_.align = 2;
        } else if (w == "qj") {
            st_.align = 3;
        } else if (w == "li") {
            st_.leftIndent = value;
        } else if (w == "ri") {
            st_.rightIndent = value;
        } else if (w == "fi") {
            st_.firstIndent = value;
        } else if (w == "sb") {
            st_.spaceBefore = value;
        } else if (w == "sa") {
            st_.spaceAfter = value;
        } else if (w == "emdash") {
            textChar(QChar(0x2014));
        } else if (w == "endash") {
            textChar(QChar(0x2013));
        } else if (w == "bullet") {
            textChar(QChar(0x2022));
        } else if (w == "lquote") {
            textChar(QChar(0x2018));
        } else if (w == "rquote") {
            textChar(QChar(0x2019));
        } else if (w == "ldblquote") {
            textChar(QChar(0x201C));
        } else if (w == "rdblquote") {
            textChar(QChar(0x201D));
        } else if (w == "emspace" || w == "enspace" || w == "qmspace") {
            textChar(QLatin1Char(' '));
        }
        // Every other word (fonts, colours, page setup...) does not change the text.
    }

    static bool isUnderlineWord(const QByteArray& w)
    {
        static const QSet<QByteArray> words = {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb",
                                               "ulhwave", "ulldash", "ulth", "ulthd", "ulthdash",
                                               "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave",
                                               "ulw", "ulwave"};
        return words.contains(w);
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
        const QTextCharFormat f = charFormat();
        if (!run_.isEmpty() && (f != runFormat_ || st_.inTable != runInCell_))
            flush();
        runFormat_ = f;
        runInCell_ = st_.inTable;
        run_.append(ch);
        if (!runInCell_)
            blockHasText_ = true;
    }

    // Font names end with ';' in the font table; so do colour entries in the colour table.
    void tableText(QChar ch)
    {
        if (st_.dest == State::FontTable) {
            if (ch == QLatin1Char(';')) {
                if (fontNumber_ >= 0 && fonts_.size() < 4096)
                    fonts_[fontNumber_] = fontName_.trimmed();
                fontName_.clear();
            } else if (fontName_.size() < 256) {
                fontName_.append(ch);
            }
        } else if (ch == QLatin1Char(';') && colors_.size() < 4096) {
            colors_.push_back(colorEntry_);
            colorEntry_ = {};
        }
    }

    QTextCharFormat charFormat() const
    {
        QTextCharFormat f;
        if (auto it = fonts_.find(st_.font); it != fonts_.end() && !it->second.isEmpty())
            f.setFontFamilies(QStringList{it->second});
        if (st_.color > 0 && static_cast<std::size_t>(st_.color) < colors_.size() && colors_[st_.color].set) {
            const ColorEntry& c = colors_[st_.color];
            f.setForeground(QColor(std::clamp(c.r, 0, 255), std::clamp(c.g, 0, 255), std::clamp(c.b, 0, 255)));
        }
        f.setFontWeight(st_.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(st_.italic);
        f.setFontUnderline(st_.underline);
        f.setFontStrikeOut(st_.strike);
        f.setFontPointSize(st_.fontSizeHalfPoints / 2.0);
        if (st_.verticalAlign == 1)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (st_.verticalAlign == 2)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        return f;
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

    // Text of table cells is kept until its row ends; other text goes to the document.
    void flush()
    {
        if (run_.isEmpty())
            return;
        if (runInCell_) {
            cell_.runs.emplace_back(run_, runFormat_);
            cellOpen_ = true;
        } else {
            cursor_.insertText(run_, runFormat_);
            afterTable_ = false;
        }
        run_.clear();
    }

    void paragraph()
    {
        if (st_.skip)
            return;
        flush();
        cursor_.setBlockFormat(blockFormat());
        cursor_.insertBlock();
        blockHasText_ = false;
        afterTable_ = false;
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

    // A row goes into the table just above it when that table has as many columns; else it
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
        if (!table_ || !afterTable_ || table_->columns() != cols) {
            if (cursor_.block().text().isEmpty() && cursor_.block().previous().isValid() && !afterTable_)
                cursor_.deletePreviousChar();   // no empty line between a paragraph and its table
            QTextTableFormat tf;
            tf.setBorder(1);
            tf.setBorderBrush(QColor(160, 160, 160));
            tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            tf.setBorderCollapse(true);
            tf.setCellSpacing(0);
            tf.setCellPadding(3);
            if (static_cast<int>(cellEdges_.size()) == cols) {
                QList<QTextLength> widths;
                int left = 0;
                for (int edge : cellEdges_) {
                    widths.append(QTextLength(QTextLength::FixedLength, std::max(10, edge - left) / double(kTwipsPerPixel)));
                    left = std::max(left, edge);
                }
                tf.setColumnWidthConstraints(widths);
            }
            table_ = cursor_.insertTable(1, cols, tf);
        } else {
            table_->appendRows(1);
        }
        const int row = table_->rows() - 1;
        for (int c = 0; c < cols; ++c) {
            QTextCursor cc = table_->cellAt(row, c).firstCursorPosition();
            QTextBlockFormat bf;
            bf.setAlignment(alignmentOf(rowCells_[c].align));
            cc.setBlockFormat(bf);
            for (const auto& [text, format] : rowCells_[c].runs)
                cc.insertText(text, format);
        }
        rowCells_.clear();
        cursor_.movePosition(QTextCursor::End);
        afterTable_ = true;
        blockHasText_ = false;
    }

    void finish()
    {
        flush();
        if (cellOpen_ || !rowCells_.empty())
            endRow();   // a row cut short still shows
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
    QTextCharFormat runFormat_;
    std::vector<int> cellEdges_;
    struct Cell {
        std::vector<std::pair<QString, QTextCharFormat>> runs;
        int align = 0;
    };
    bool runInCell_ = false;
    Cell cell_;
    bool cellOpen_ = false;
    std::vector<Cell> rowCells_;
    QTextTable* table_ = nullptr;
    bool afterTable_ = false;
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

void RtfReader::read(const QByteArray& rtf, QTextDocument* document)
{
    document->clear();
    QTextOption option = document->defaultTextOption();
    option.setTabStopDistance(720.0 / kTwipsPerPixel);   // the half-inch tab stops of RTF
    document->setDefaultTextOption(option);
    Reader(rtf, document).run();
}

bool RtfReader::readDocument(const QByteArray& bytes, QTextDocument* document)
{
    if (looksLikeRtf(bytes)) {
        read(bytes, document);
        return true;
    }
    document->clear();
    if (!looksLikeText(bytes))
        return false;
    const QByteArray body = bytes.mid(bomLength(bytes));
    QString text = QString::fromUtf8(body);
    if (text.contains(QChar::ReplacementCharacter)) {
        text.clear();
        text.reserve(body.size());
        for (char c : body)
            text.append(fromCp1252(static_cast<unsigned char>(c)));
    }
    document->setPlainText(text);
    return true;
}

} // namespace ui
