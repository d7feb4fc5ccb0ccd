// Laying a report out on pages. Fonts are sized in pixels of the report unit, so measuring
// here and painting on a device of any resolution agree; texts are broken into lines here,
// and each line is painted on its own, so a device never wraps a text differently.
#include "platform/ui/reports/ReportLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace ui {
namespace {

constexpr double kMargin = 12.0 / 25.4 * 720.0;   // 12 mm
constexpr double kCellPad = 20;                    // left and right inside a cell
constexpr double kRowPad = 16;                     // above and below a row's lines
constexpr double kSummaryGap = 200;
constexpr int kMaxCellLines = 8;
constexpr int kFontCount = 7;

struct FontSpec {
    int size;   // report units: tenths of a point
    bool bold;
};
constexpr std::array<FontSpec, kFontCount> kFonts = {{
    {160, true},    // Title
    {85, true},     // Label
    {85, false},    // Value
    {75, true},     // Heading
    {80, false},    // Body
    {80, true},     // Bold
    {70, false},    // Footer
}};

const QFontMetricsF& metrics(ReportFont kind)
{
    static std::array<std::optional<QFontMetricsF>, kFontCount> m;
    auto& slot = m[size_t(kind)];
    if (!slot)
        slot.emplace(reportFont(kind));
    return *slot;
}

double lineHeight(ReportFont kind) { return metrics(kind).lineSpacing(); }

// The lines a text takes in `width`: broken at word boundaries where it can, anywhere in a
// word too long for a line; at most kMaxCellLines, the last one elided.
QStringList breakLines(QString text, ReportFont kind, double width)
{
    const QFontMetricsF& fm = metrics(kind);
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (fm.horizontalAdvance(text) <= width)
        return {text};
    QStringList lines;
    QTextLayout layout(text, reportFont(kind));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (lines.size() > kMaxCellLines) {
        const QString rest = QStringList(lines.mid(kMaxCellLines - 1)).join(QLatin1Char(' '));
        lines = lines.mid(0, kMaxCellLines - 1);
        lines << fm.elidedText(rest, Qt::ElideRight, width);
    }
    return lines;
}

struct Cell {
    QStringList lines;
    ReportFont font = ReportFont::Body;
    bool right = false;
};

class Layouter {
public:
    Layouter(const ReportTemplate& t, const ReportData& d, const QSizeF& pageSize) : t_(t), d_(d)
    {
        out_.title = t.title;
        out_.pageSize = pageSize;
        left_ = kMargin;
        right_ = pageSize.width() - kMargin;
        footerTop_ = pageSize.height() - kMargin - lineHeight(ReportFont::Footer) - 40;
        bottom_ = footerTop_ - 60;
        int total = 0;
        for (const ReportColumn& c : t.columns)
            total += c.width;
        double x = left_;
        for (const ReportColumn& c : t.columns) {
            const double w = width() * c.width / total;
            colX_.push_back(x);
            colW_.push_back(w);
            x += w;
        }
    }

    ReportLayout run()
    {
        newPage(true);
        detail();
        summary();
        footers();
        return std::move(out_);
    }

private:
    double width() const { return right_ - left_; }
    ReportPage& page() { return out_.pages.back(); }
    void rule(double y) { page().rules.emplace_back(left_, y, right_, y); }

    static double rowHeight(const std::vector<Cell>& cells)
    {
        double h = 0;
        for (const Cell& c : cells)
            h = std::max(h, c.lines.size() * lineHeight(c.font));
        return h + 2 * kRowPad;
    }

    // One row of cells at y, a cell per column position.
    void placeRow(const std::vector<Cell>& cells, const std::vector<double>& xs, const std::vector<double>& ws)
    {
        for (size_t i = 0; i < cells.size(); ++i) {
            const Cell& c = cells[i];
            const double h = lineHeight(c.font);
            for (int l = 0; l < c.lines.size(); ++l) {
                if (c.lines[l].isEmpty())
                    continue;
                page().texts.push_back({QRectF(xs[i] + kCellPad, y_ + kRowPad + l * h, ws[i] - 2 * kCellPad, h),
                                        c.lines[l], c.font, c.right, false});
            }
        }
    }

    Cell cell(const QString& text, ReportFont font, bool right, double w) const
    {
        return {breakLines(text, font, w - 2 * kCellPad), font, right};
    }

    void newPage(bool withHeadings)
    {
        out_.pages.emplace_back();
        y_ = kMargin;
        pageHeader();
        if (withHeadings)
            columnHeadings();
    }

    void pageHeader()
    {
        const double th = lineHeight(ReportFont::Title);
        page().texts.push_back({QRectF(left_, y_, width(), th), t_.title, ReportFont::Title, false, true});
        y_ += th + 60;
        if (!t_.fields.empty()) {
            // Two fields to a line: a bold label, then its value.
            const double half = width() / 2;
            double labelW = 0;
            for (const ReportField& f : t_.fields)
                labelW = std::max(labelW, metrics(ReportFont::Label).horizontalAdvance(f.label) + 2 * kCellPad);
            labelW = std::min(labelW, half * 0.45);
            for (size_t i = 0; i < t_.fields.size(); i += 2) {
                std::vector<Cell> cells;
                std::vector<double> xs, ws;
                for (size_t k = i; k < std::min(i + 2, t_.fields.size()); ++k) {
                    const double x = left_ + (k - i) * half;
                    cells.push_back(cell(t_.fields[k].label, ReportFont::Label, false, labelW));
                    cells.push_back(cell(d_.fieldValues.value(qsizetype(k)), ReportFont::Value, false, half - labelW));
                    xs.insert(xs.end(), {x, x + labelW});
                    ws.insert(ws.end(), {labelW, half - labelW});
                }
                placeRow(cells, xs, ws);
                y_ += rowHeight(cells) - kRowPad;
            }
        }
        y_ += 40;
        rule(y_);
        y_ += 80;
    }

    std::vector<Cell> headingCells() const
    {
        std::vector<Cell> cells;
        for (size_t i = 0; i < t_.columns.size(); ++i)
            cells.push_back(cell(t_.columns[i].heading, ReportFont::Heading,
                                 t_.columns[i].format != CellFormat::Text, colW_[i]));
        return cells;
    }

    void shadedRow(const std::vector<Cell>& cells, const std::vector<double>& xs, const std::vector<double>& ws)
    {
        const double h = rowHeight(cells);
        page().shades.emplace_back(left_, y_, width(), h);
        rule(y_);
        placeRow(cells, xs, ws);
        y_ += h;
        rule(y_);
    }

    void columnHeadings() { shadedRow(headingCells(), colX_, colW_); }

    void detail()
    {
        if (d_.rows.empty()) {
            const std::vector<Cell> none = {cell(t_.emptyText.isEmpty() ? QStringLiteral("No rows") : t_.emptyText,
                                                 ReportFont::Body, false, width())};
            placeRow(none, {left_}, {width()});
            y_ += rowHeight(none);
            rule(y_);
            return;
        }
        int onPage = 0;
        for (size_t r = 0; r < d_.rows.size(); ++r) {
            std::vector<Cell> cells;
            cells.reserve(t_.columns.size());
            for (size_t i = 0; i < t_.columns.size(); ++i)
                cells.push_back(cell(d_.rows[r].value(qsizetype(i)), ReportFont::Body,
                                     t_.columns[i].format != CellFormat::Text, colW_[i]));
            const double h = rowHeight(cells);
            if (onPage > 0 && y_ + h > bottom_) {
                newPage(true);
                onPage = 0;
            }
            if (r % 2 == 1)
                page().shades.emplace_back(left_, y_, width(), h);
            placeRow(cells, colX_, colW_);
            y_ += h;
            ++onPage;
        }
        rule(y_);
    }

    // A summary row without a single figure (a bare key row) has nothing to say: no band of
    // empty totals is printed.
    bool summaryHasFigures() const
    {
        for (const QStringList& cells : d_.summaryCells)
            for (const QString& c : cells)
                if (!c.trimmed().isEmpty())
                    return true;
        return false;
    }

    void summary()
    {
        if (!t_.hasSummary() || !summaryHasFigures())
            return;
        const size_t n = size_t(t_.summaryHeadings.size());
        const double w = width() / n;
        std::vector<double> xs, ws;
        for (size_t i = 0; i < n; ++i) {
            xs.push_back(left_ + i * w);
            ws.push_back(w);
        }
        std::vector<Cell> headings;
        for (size_t i = 0; i < n; ++i)
            headings.push_back(cell(t_.summaryHeadings[qsizetype(i)], ReportFont::Heading, i > 0, w));
        std::vector<std::vector<Cell>> lines;
        for (size_t l = 0; l < t_.summaryLines.size(); ++l) {
            const SummaryLine& line = t_.summaryLines[l];
            const ReportFont font = line.total ? ReportFont::Bold : ReportFont::Body;
            const QStringList values = l < d_.summaryCells.size() ? d_.summaryCells[l] : QStringList();
            std::vector<Cell> cells = {cell(line.label, font, false, w)};
            for (size_t i = 0; i < line.columns.size(); ++i)
                cells.push_back(cell(values.value(qsizetype(i)), font, true, w));
            lines.push_back(cells);
        }

        const double captionH = t_.summaryCaption.isEmpty() ? 0 : lineHeight(ReportFont::Label) + 40;
        double h = kSummaryGap + captionH + rowHeight(headings);
        for (const auto& cells : lines)
            h += rowHeight(cells);
        if (y_ + h > bottom_)
            newPage(false);
        y_ += kSummaryGap;
        if (captionH > 0) {
            page().texts.push_back({QRectF(left_, y_, width(), lineHeight(ReportFont::Label)), t_.summaryCaption,
                                    ReportFont::Label, false, false});
            y_ += captionH;
        }
        shadedRow(headings, xs, ws);
        for (size_t l = 0; l < lines.size(); ++l) {
            if (t_.summaryLines[l].total)
                rule(y_);
            placeRow(lines[l], xs, ws);
            y_ += rowHeight(lines[l]);
        }
        rule(y_);
    }

    void footers()
    {
        const int count = int(out_.pages.size());
        const double h = lineHeight(ReportFont::Footer);
        for (int i = 0; i < count; ++i) {
            ReportPage& p = out_.pages[size_t(i)];
            p.rules.emplace_back(left_, footerTop_, right_, footerTop_);
            const double y = footerTop_ + 40;
            p.texts.push_back({QRectF(left_, y, width() / 2, h), t_.title, ReportFont::Footer, false, false});
            p.texts.push_back({QRectF(left_ + width() / 2, y, width() / 2, h),
                               QStringLiteral("Page %1 of %2").arg(i + 1).arg(count), ReportFont::Footer, true, false});
        }
    }

    const ReportTemplate& t_;
    const ReportData& d_;
    ReportLayout out_;
    double left_ = 0, right_ = 0, bottom_ = 0, footerTop_ = 0, y_ = 0;
    std::vector<double> colX_, colW_;
};

} // namespace

QFont reportFont(ReportFont kind)
{
    const FontSpec& spec = kFonts[size_t(kind)];
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(spec.size);
    f.setBold(spec.bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QSizeF a4ReportPage()
{
    return QSizeF(210.0 / 25.4 * 720.0, 297.0 / 25.4 * 720.0);
}

QString ReportLayout::pageText(int page) const
{
    const ReportPage& p = pages.at(size_t(page));
    std::map<std::pair<long, long>, const ReportText*> order;
    for (const ReportText& t : p.texts)
        order[{std::lround(t.rect.top()), std::lround(t.rect.left())}] = &t;
    QString out;
    long lineTop = -1;
    for (const auto& [at, t] : order) {
        if (at.first != lineTop) {
            if (lineTop >= 0)
                out += QLatin1Char('\n');
            lineTop = at.first;
        } else {
            out += QStringLiteral("  ");
        }
        out += t->text;
    }
    return out + QLatin1Char('\n');
}

QString ReportLayout::plainText() const
{
    QString out;
    for (int i = 0; i < int(pages.size()); ++i)
        out += pageText(i);
    return out;
}

ReportLayout layoutReport(const ReportTemplate& t, const ReportData& data, const QSizeF& pageSize)
{
    return Layouter(t, data, pageSize).run();
}

void paintReportPage(QPainter& painter, const ReportLayout& layout, int page, const QRectF& target)
{
    const ReportPage& p = layout.pages.at(size_t(page));
    const double scale = std::min(target.width() / layout.pageSize.width(), target.height() / layout.pageSize.height());
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const QRectF& r : p.shades)
        painter.fillRect(r, QColor(0xEC, 0xEC, 0xEC));
    QPen pen(QColor(0x70, 0x70, 0x70));
    pen.setWidthF(5);
    painter.setPen(pen);
    for (const QLineF& l : p.rules)
        painter.drawLine(l);
    painter.setPen(Qt::black);
    std::optional<ReportFont> current;
    for (const ReportText& t : p.texts) {
        if (current != t.font) {
            painter.setFont(reportFont(t.font));
            current = t.font;
        }
        const int align = t.centred ? Qt::AlignHCenter : t.right ? Qt::AlignRight : Qt::AlignLeft;
        painter.drawText(t.rect, align | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, t.text);
    }
    painter.restore();
}

} // namespace ui
