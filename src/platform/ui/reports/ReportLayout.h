// A report laid out on pages: every text with its place and font, the rules and shaded bands,
// computed once for a paper size and painted as often as the preview, the printer or a PDF
// needs. Units are tenths of a point (1/720 inch), so the same layout paints on any device.
//
// Each page carries the page header (title and header fields), then the detail lines under
// their column headings (repeated on every page the lines run over), the summary after the
// last line (moved whole to a new page when it does not fit; left out when its row holds no
// figure), and a footer with the title and
// "Page <n> of <count>". A text too wide for its cell wraps onto further lines of the row.
#pragma once

#include "platform/ui/reports/ReportData.h"
#include "platform/ui/reports/ReportTemplate.h"

#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

class QFont;
class QPainter;

namespace ui {

constexpr double kReportUnitsPerPoint = 10.0;

enum class ReportFont { Title, Label, Value, Heading, Body, Bold, Footer };
QFont reportFont(ReportFont kind);

struct ReportText {
    QRectF rect;             // one line of text; it is drawn without clipping or wrapping
    QString text;
    ReportFont font = ReportFont::Body;
    bool right = false;      // right-aligned in its rect (else left; titles are centred)
    bool centred = false;
};

struct ReportPage {
    std::vector<QRectF> shades;   // filled light grey, under the texts
    std::vector<QLineF> rules;
    std::vector<ReportText> texts;
};

struct ReportLayout {
    QString title;
    QSizeF pageSize;              // in report units
    std::vector<ReportPage> pages;

    // The texts of a page (or of every page) line by line, top to bottom, left to right,
    // the texts of a line separated by two blanks.
    QString pageText(int page) const;
    QString plainText() const;
};

// A4 portrait in report units.
QSizeF a4ReportPage();

ReportLayout layoutReport(const ReportTemplate& t, const ReportData& data, const QSizeF& pageSize = a4ReportPage());

// Paints one page into `target` (device coordinates of the painter), scaled to fit.
void paintReportPage(QPainter& painter, const ReportLayout& layout, int page, const QRectF& target);

} // namespace ui
