// The report control: given the data file (DataFiles, indexed), the template
// (ReportFileName) and the window state of its preview (WindowState, 2 = maximised), setting
// Action to 1 runs the report: the template is read, the data read from data file 0 through
// the database layer, and the report shown in its preview window (ReportPreview), owned by
// the control's window. A second run of the same template refreshes its window.
//
// A run that cannot complete raises ReportError naming the file and the problem (a template
// missing, unreadable or malformed, a table or column it names that the data file lacks, a
// data file missing or locked); nothing is shown then.
#pragma once

#include "platform/ui/reports/ReportData.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <map>

namespace ui {

class ReportPreview;

class CrystalReport : public QObject {
    Q_OBJECT
public:
    CrystalReport(const QString& objectName, QWidget* owner);
    ~CrystalReport() override;

    QString DataFiles(int index) const;
    void setDataFiles(int index, const QString& path);   // raises ado::Error 5 for an index below 0
    QString ReportFileName() const { return reportFileName_; }
    void setReportFileName(const QString& path) { reportFileName_ = path; }
    // The preview's window state: 0 normal, 1 minimised, 2 maximised.
    int WindowState() const { return windowState_; }
    void setWindowState(int state) { windowState_ = state; }

    // The rows the report reads of each table it names: those whose column holds the value.
    // No column (the default): every row.
    void setSelection(const QString& column, const QString& value) { selection_ = {column, value}; }

    // Reads as 0; setting 1 runs the report (raises ReportError), other values do nothing.
    int Action() const { return 0; }
    void setAction(int action);

    // The window of the last run (nullptr before one, or once the user closed it).
    ReportPreview* previewWindow() const;

private:
    void run();

    QWidget* owner_;
    QStringList dataFiles_;
    QString reportFileName_;
    int windowState_ = 0;
    RowSelection selection_;
    std::map<QString, QPointer<ReportPreview>> windows_;   // by template path
    QPointer<ReportPreview> last_;
};

} // namespace ui
