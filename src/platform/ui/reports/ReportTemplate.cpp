// The template parser: one pass over the lines, a band at a time. Every refusal names the
// line, so whoever edits a template can find the fault without the program's sources.
#include "platform/ui/reports/ReportTemplate.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace ui {

ReportError::ReportError(QString file, int line, QString problem)
    : std::runtime_error((file + QStringLiteral(": ") + problem).toStdString()), file_(std::move(file)), line_(line),
      problem_(std::move(problem))
{
}

QString ReportError::text() const
{
    QString out = file_;
    if (line_ > 0)
        out += QStringLiteral(", line ") + QString::number(line_);
    return out + QStringLiteral(": ") + problem_;
}

namespace {

constexpr qint64 kMaxTemplateBytes = 1 << 20;

struct Token {
    QString text;
    bool quoted = false;
};

enum class Band { None, Header, Detail, Summary };

QString bandName(Band b)
{
    switch (b) {
    case Band::Header: return QStringLiteral("header");
    case Band::Detail: return QStringLiteral("detail");
    case Band::Summary: return QStringLiteral("summary");
    case Band::None: break;
    }
    return QString();
}

class Parser {
public:
    explicit Parser(QString fileName) : file_(std::move(fileName)) {}

    ReportTemplate run(const QString& text)
    {
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i) {
            line_ = i + 1;
            QString line = lines.at(i);
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            const QString trimmed = line.trimmed();
            if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
                continue;
            tokens_ = split(line);
            if (tokens_.front().quoted)
                fail(QStringLiteral("a line begins with a keyword, not with a quoted text"));
            keyword_ = tokens_.front().text.toLower();
            if (!versionSeen_)
                version();
            else if (band_ == Band::None)
                topLevel();
            else
                inBand();
        }
        finish();
        return t_;
    }

private:
    [[noreturn]] void fail(const QString& problem) const { throw ReportError(file_, line_, problem); }
    [[noreturn]] void failAt(int line, const QString& problem) const { throw ReportError(file_, line, problem); }

    // Words and quoted texts of one line.
    std::vector<Token> split(const QString& line) const
    {
        std::vector<Token> out;
        int i = 0;
        const int n = int(line.size());
        while (i < n) {
            const QChar c = line.at(i);
            if (c == u' ' || c == u'\t') {
                ++i;
                continue;
            }
            Token t;
            if (c == u'"') {
                t.quoted = true;
                ++i;
                bool closed = false;
                while (i < n) {
                    if (line.at(i) == u'"') {
                        if (i + 1 < n && line.at(i + 1) == u'"') {
                            t.text += QLatin1Char('"');
                            i += 2;
                            continue;
                        }
                        closed = true;
                        ++i;
                        break;
                    }
                    t.text += line.at(i++);
                }
                if (!closed)
                    fail(QStringLiteral("the text begun with a double quote is not closed on this line"));
                if (i < n && line.at(i) != u' ' && line.at(i) != u'\t')
                    fail(QStringLiteral("a closing double quote must be followed by a blank"));
            } else {
                while (i < n && line.at(i) != u' ' && line.at(i) != u'\t') {
                    if (line.at(i) == u'"')
                        fail(QStringLiteral("a double quote inside the word \"%1\"").arg(t.text));
                    t.text += line.at(i++);
                }
            }
            out.push_back(t);
        }
        return out;
    }

    int args() const { return int(tokens_.size()) - 1; }

    void expectArgs(int least, int most, const QString& shape) const
    {
        if (args() < least || (most >= 0 && args() > most))
            fail(QStringLiteral("\"%1\" is written: %2").arg(keyword_, shape));
    }

    QString textArg(int i) const { return tokens_.at(size_t(i)).text; }

    TemplateName nameArg(int i, const char* what) const
    {
        static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        const Token& t = tokens_.at(size_t(i));
        if (t.quoted || !identifier.match(t.text).hasMatch())
            fail(QStringLiteral("\"%1\" is not a %2 name (letters, digits and _ only)").arg(t.text, QLatin1String(what)));
        return {t.text, line_};
    }

    void version()
    {
        if (keyword_ != QLatin1String("lumora-report"))
            fail(QStringLiteral("this is not a report template of this program: its first line must be "
                                "\"lumora-report 1\""));
        expectArgs(1, 1, QStringLiteral("lumora-report 1"));
        if (textArg(1) != QLatin1String("1"))
            fail(QStringLiteral("version %1 of the template format is not known (this program reads version 1)")
                     .arg(textArg(1)));
        versionSeen_ = true;
    }

    void topLevel()
    {
        if (keyword_ == QLatin1String("title")) {
            expectArgs(1, 1, QStringLiteral("title \"<text>\""));
            if (!t_.title.isEmpty())
                fail(QStringLiteral("a second title"));
            t_.title = textArg(1);
            if (t_.title.trimmed().isEmpty())
                fail(QStringLiteral("the title is empty"));
            return;
        }
        if (keyword_ == QLatin1String("end"))
            fail(QStringLiteral("\"end\" without a band to end"));
        const Band b = keyword_ == QLatin1String("header")   ? Band::Header
                       : keyword_ == QLatin1String("detail") ? Band::Detail
                       : keyword_ == QLatin1String("summary") ? Band::Summary
                                                              : Band::None;
        if (b == Band::None)
            fail(QStringLiteral("unknown band \"%1\" (the bands are header, detail and summary)").arg(tokens_.front().text));
        expectArgs(1, 1, keyword_ + QStringLiteral(" <table>"));
        TemplateName& table = b == Band::Header ? t_.headerTable : b == Band::Detail ? t_.detailTable : t_.summaryTable;
        if (!table.name.isEmpty())
            fail(QStringLiteral("a second %1 band (the first begins on line %2)").arg(bandName(b)).arg(table.line));
        table = nameArg(1, "table");
        band_ = b;
        bandLine_ = line_;
    }

    void inBand()
    {
        if (keyword_ == QLatin1String("end")) {
            expectArgs(0, 0, QStringLiteral("end"));
            band_ = Band::None;
            return;
        }
        if (keyword_ == QLatin1String("header") || keyword_ == QLatin1String("detail")
            || keyword_ == QLatin1String("summary") || keyword_ == QLatin1String("title"))
            fail(QStringLiteral("the %1 band begun on line %2 has no \"end\" before this line").arg(bandName(band_)).arg(bandLine_));
        switch (band_) {
        case Band::Header: headerLine(); break;
        case Band::Detail: detailLine(); break;
        case Band::Summary: summaryLine(); break;
        case Band::None: break;
        }
    }

    [[noreturn]] void unknownLine() const
    {
        fail(QStringLiteral("unknown line \"%1\" in the %2 band").arg(tokens_.front().text, bandName(band_)));
    }

    void headerLine()
    {
        if (keyword_ != QLatin1String("field"))
            unknownLine();
        const QString shape = QStringLiteral("field \"<label>\" <column> [name]");
        expectArgs(2, 3, shape);
        if (args() == 3 && textArg(3).toLower() != QLatin1String("name"))
            fail(QStringLiteral("\"%1\" after the column: only \"name\" may follow it (%2)").arg(textArg(3), shape));
        t_.fields.push_back({textArg(1), nameArg(2, "column"), args() == 3});
    }

    void detailLine()
    {
        if (keyword_ == QLatin1String("order")) {
            expectArgs(1, 1, QStringLiteral("order <column>"));
            if (!t_.orderBy.name.isEmpty())
                fail(QStringLiteral("a second order line"));
            t_.orderBy = nameArg(1, "column");
        } else if (keyword_ == QLatin1String("link")) {
            expectArgs(1, -1, QStringLiteral("link <column> [<column> ...]"));
            for (int i = 1; i <= args(); ++i)
                t_.links.push_back(nameArg(i, "column"));
        } else if (keyword_ == QLatin1String("column")) {
            const QString shape = QStringLiteral("column <column> \"<heading>\" <width> [text|right|money]");
            expectArgs(3, 4, shape);
            ReportColumn c;
            c.column = nameArg(1, "column");
            c.heading = textArg(2);
            bool ok = false;
            c.width = textArg(3).toInt(&ok);
            if (!ok || c.width < 1 || c.width > 100)
                fail(QStringLiteral("the width \"%1\" is not a whole number from 1 to 100").arg(textArg(3)));
            if (args() == 4) {
                const QString f = textArg(4).toLower();
                if (f == QLatin1String("text"))
                    c.format = CellFormat::Text;
                else if (f == QLatin1String("right"))
                    c.format = CellFormat::Right;
                else if (f == QLatin1String("money"))
                    c.format = CellFormat::Money;
                else
                    fail(QStringLiteral("unknown format \"%1\" (the formats are text, right and money)").arg(textArg(4)));
            }
            t_.columns.push_back(c);
        } else if (keyword_ == QLatin1String("empty")) {
            expectArgs(1, 1, QStringLiteral("empty \"<text>\""));
            t_.emptyText = textArg(1);
        } else {
            unknownLine();
        }
    }

    void summaryLine()
    {
        if (keyword_ == QLatin1String("caption")) {
            expectArgs(1, 1, QStringLiteral("caption \"<text>\""));
            t_.summaryCaption = textArg(1);
        } else if (keyword_ == QLatin1String("heading")) {
            expectArgs(2, -1, QStringLiteral("heading \"<text>\" \"<text>\" [...]"));
            if (!t_.summaryHeadings.isEmpty())
                fail(QStringLiteral("a second heading line"));
            for (int i = 1; i <= args(); ++i)
                t_.summaryHeadings << textArg(i);
        } else if (keyword_ == QLatin1String("line") || keyword_ == QLatin1String("total")) {
            if (t_.summaryHeadings.isEmpty())
                fail(QStringLiteral("\"%1\" before the heading line").arg(keyword_));
            const int values = int(t_.summaryHeadings.size()) - 1;
            expectArgs(1 + values, 1 + values,
                       QStringLiteral("%1 \"<label>\" and %2 columns, one per heading after the first").arg(keyword_).arg(values));
            SummaryLine l;
            l.label = textArg(1);
            l.total = keyword_ == QLatin1String("total");
            for (int i = 2; i <= args(); ++i)
                l.columns.push_back(nameArg(i, "column"));
            t_.summaryLines.push_back(l);
        } else {
            unknownLine();
        }
    }

    void finish()
    {
        if (!versionSeen_)
            failAt(0, QStringLiteral("the file holds no template (it is empty or all comments)"));
        if (band_ != Band::None)
            failAt(bandLine_, QStringLiteral("the %1 band begun on this line has no \"end\"").arg(bandName(band_)));
        if (t_.title.isEmpty())
            failAt(0, QStringLiteral("the template has no title line"));
        if (t_.detailTable.name.isEmpty())
            failAt(0, QStringLiteral("the template has no detail band"));
        if (t_.columns.empty())
            failAt(t_.detailTable.line, QStringLiteral("the detail band has no column"));
        if (!t_.links.empty() && !t_.hasHeader())
            failAt(t_.links.front().line, QStringLiteral("\"link\" needs a header band to link to"));
        if (t_.hasSummary() && t_.summaryLines.empty())
            failAt(t_.summaryTable.line, QStringLiteral("the summary band has no line"));
    }

    QString file_;
    int line_ = 0;
    std::vector<Token> tokens_;
    QString keyword_;
    bool versionSeen_ = false;
    Band band_ = Band::None;
    int bandLine_ = 0;
    ReportTemplate t_;
};

} // namespace

ReportTemplate parseReportTemplate(const QString& text, const QString& fileName)
{
    return Parser(fileName).run(text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text);
}

ReportTemplate readReportTemplate(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw ReportError(path, 0, QStringLiteral("the report template is not there"));
    if (file.size() > kMaxTemplateBytes)
        throw ReportError(path, 0, QStringLiteral("the file is too large to be a report template"));
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(path, 0, QStringLiteral("the report template cannot be read: ") + file.errorString());
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError() || bytes.contains('\0'))
        throw ReportError(path, 0, QStringLiteral("this is not a report template of this program (it is not a text file)"));
    return parseReportTemplate(text, path);
}

} // namespace ui
