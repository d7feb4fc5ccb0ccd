// Report templates: the program's own small text format for the `.rpt` files the report
// control prints, and its one parser.
//
// A template names the tables and columns of the data file that it prints; it holds no data
// and no layout beyond column proportions. Example:
//
//     # A comment: a line whose first character (after blanks) is '#'. Blank lines are skipped.
//     lumora-report 1                    the first line that is not blank or a comment
//     title "Purchase Register"          the report's name: page heading and window title
//
//     header tblRptPurchaseC             page header, bound to the table's first row
//       field "Dealer" cAddress          a label and the column shown beside it
//       field "Month" cMonth name        "name": the value joins the title in the name
//                                        offered for the report's file ("Purchase
//                                        Register - November.pdf"), so months do not
//                                        overwrite each other
//     end
//
//     detail tblRptPurchase1             one printed line per row of the table
//       order SlNo                       rows in this column's order (numbers by value)
//       link cCode cMonth                only rows whose columns equal the header row's
//       column Amount "Amount" 11 money  column, heading, width (a share of the page
//                                        width, 1-100) and format: text (default,
//                                        left-aligned), right, or money ("#0.00", right)
//       empty "No bills"                 printed under the headings when no row is selected
//     end
//
//     summary tblRptPurchaseC            after the last detail line, on one page; bound to
//       caption "Totals by rate of tax"  the table's first row
//       heading "Rate %" "Amount" "Tax"  the headings of the summary grid
//       line "4" PTA4 PTT4               a label and one money column per further heading
//       total "Total" PCTAmt PCTTax      the same, printed bold
//     end
//
// Words are separated by blanks; a text with blanks stands between double quotes, and a
// double quote inside it is written twice. Keywords compare without regard to case; table and
// column names are checked against the data file when the report runs, not here. Each band
// appears at most once; `title` and a `detail` band are required.
#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace ui {

// What a report run raises: the file concerned (template or data file), the template line
// when there is one (0 otherwise) and the problem in plain words.
class ReportError : public std::runtime_error {
public:
    ReportError(QString file, int line, QString problem);
    const QString& file() const { return file_; }
    int line() const { return line_; }
    const QString& problem() const { return problem_; }
    // "<file>, line <n>: <problem>" (no line part when there is none).
    QString text() const;

private:
    QString file_;
    int line_;
    QString problem_;
};

// A table or column the template names, with the line that names it.
struct TemplateName {
    QString name;
    int line = 0;
};

enum class CellFormat { Text, Right, Money };

struct ReportField {
    QString label;
    TemplateName column;
    bool inFileName = false;
};

struct ReportColumn {
    TemplateName column;
    QString heading;
    int width = 1;
    CellFormat format = CellFormat::Text;
};

struct SummaryLine {
    QString label;
    std::vector<TemplateName> columns;
    bool total = false;
};

struct ReportTemplate {
    QString title;

    TemplateName headerTable;            // empty name: no header band
    std::vector<ReportField> fields;

    TemplateName detailTable;
    TemplateName orderBy;                // empty name: table order
    std::vector<TemplateName> links;
    std::vector<ReportColumn> columns;
    QString emptyText;

    TemplateName summaryTable;           // empty name: no summary band
    QString summaryCaption;
    QStringList summaryHeadings;
    std::vector<SummaryLine> summaryLines;

    bool hasHeader() const { return !headerTable.name.isEmpty(); }
    bool hasSummary() const { return !summaryTable.name.isEmpty(); }
};

// Parses a template's text. Raises ReportError (with `fileName` and the line) on anything it
// does not understand; a template that parses has every part its bands need.
ReportTemplate parseReportTemplate(const QString& text, const QString& fileName = QString());

// Reads and parses the template file at `path` (a local path). Raises ReportError when the
// file is missing, unreadable, not text, or malformed.
ReportTemplate readReportTemplate(const QString& path);

} // namespace ui
