// The report control's window: a print preview of the report with the usual toolbar (print,
// export to PDF, page setup, page navigation, zoom, fit) and a status bar. The layout follows
// the paper the page setup or the print dialog chose; A4 portrait until then.
//
// Printing goes through the print dialog, exporting through a save dialog (both through
// CommonDialogs, so tests answer them); a PDF is written whole or not at all.
#pragma once

#include "platform/ui/reports/ReportData.h"
#include "platform/ui/reports/ReportLayout.h"
#include "platform/ui/reports/ReportTemplate.h"

#include <QPrinter>
#include <QWidget>

#include <map>
#include <memory>

class QAbstractScrollArea;
class QAction;
class QComboBox;
class QLabel;
class QPrintPreviewWidget;
class QSpinBox;
class QStatusBar;
class QToolBar;

namespace ui {

class ReportPreview : public QWidget {
    Q_OBJECT
public:
    // A window of `owner`'s window (it stays above it and closes with it); deleted on close.
    explicit ReportPreview(QWidget* owner);
    ~ReportPreview() override;

    // Shows a report, replacing the one on view.
    void setReport(const ReportTemplate& t, const ReportData& data);

    int pageCount() const;
    int currentPage() const;
    // The layout for the paper currently chosen.
    const ReportLayout& layout();

    // Writes the report as a PDF file; false with `error` set when it cannot.
    bool writePdf(const QString& path, QString* error);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildToolbar();
    void showTop();
    void paintPages(QPrinter* printer, bool honourRange);
    const ReportLayout& layoutFor(const QPageLayout& pageLayout);
    void print();
    void exportPdf();
    void pageSetup();
    void showPage(int page);
    void previewChanged();
    void setZoomText(const QString& text);

    ReportTemplate template_;
    ReportData data_;
    std::map<std::pair<int, int>, ReportLayout> layouts_;   // by paper size in report units
    QPrinter printer_{QPrinter::HighResolution};
    QPrintPreviewWidget* preview_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QSpinBox* page_ = nullptr;
    QLabel* pageCount_ = nullptr;
    QComboBox* zoom_ = nullptr;
    QStatusBar* status_ = nullptr;
    QLabel* statusPage_ = nullptr;
    QAbstractScrollArea* view_ = nullptr;
    bool atStart_ = true;
};

} // namespace ui
