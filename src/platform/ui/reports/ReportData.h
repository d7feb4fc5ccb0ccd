// What a report prints, read from the data file through the database layer: the header
// row's values, the detail rows (selected, ordered and formatted as the template says) and
// the summary row's cells. Money prints as "#0.00", and a Null or empty amount as an empty
// cell, not "0.00"; other values print as text without surrounding blanks. Every table and column the template names is checked first, so a
// template that names something the file does not have is an error naming its line, never a
// silently empty report.
#pragma once

#include "platform/ui/reports/ReportTemplate.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace ui {

struct ReportData {
    bool hasHeaderRow = false;
    QStringList fieldValues;               // one per header field, as shown
    std::vector<QStringList> rows;         // one per detail line, a text per column
    bool hasSummaryRow = false;
    std::vector<QStringList> summaryCells; // one per summary line, a text per column
};

// The rows a report reads of each band's table: those whose `column` holds `value` (compared
// as the data file compares text); every row when no column is named.
struct RowSelection {
    QString column;
    QString value;
};

// Reads the report's data from `dataFile` (the program's way of naming it: '\' separators
// allowed). `templateFile` names the template in the errors about its lines. Raises
// ReportError when the data file cannot be opened or read, or when a table or column the
// template names is not in it.
ReportData readReportData(const ReportTemplate& t, const QString& templateFile, const QString& dataFile,
                          const RowSelection& selection = {});

} // namespace ui
