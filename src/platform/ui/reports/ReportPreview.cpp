// The preview window. QPrintPreviewWidget asks for the pages whenever it needs them; they are
// painted from the layout of the paper on the printer, computed once per paper size.
#include "platform/ui/reports/ReportPreview.h"

#include "platform/ui/forms/CommonDialogs.h"
#include "platform/ui/forms/Form.h"
#include "platform/ui/forms/MsgBox.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QSaveFile>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

namespace ui {
namespace {

const int kZoomSteps[] = {50, 75, 100, 125, 150, 200, 300, 400};

// A file name made from a title: no separators or characters the desktop refuses.
QString fileNameOf(QString title)
{
    static const QString refused = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : title)
        if (refused.contains(c) || c.unicode() < 32)
            c = QLatin1Char('-');
    title = title.trimmed();
    return title.isEmpty() ? QStringLiteral("report") : title;
}

// The name a report's file is offered under: its title, then the values of the header fields
// marked for the name ("Purchase Register - November").
QString documentName(const ReportTemplate& t, const ReportData& data)
{
    QString name = t.title;
    for (size_t i = 0; i < t.fields.size(); ++i) {
        const QString value = data.fieldValues.value(qsizetype(i)).trimmed();
        if (t.fields[i].inFileName && !value.isEmpty())
            name += QStringLiteral(" - ") + value;
    }
    return fileNameOf(name);
}

// Pages `from` to `to` (counted from 1), each on a page of its own.
void paintPageRange(QPainter& painter, QPagedPaintDevice& device, const ReportLayout& l, int from, int to,
                    const QRectF& target)
{
    for (int i = from; i <= to; ++i) {
        if (i > from)
            device.newPage();
        paintReportPage(painter, l, i - 1, target);
    }
}

} // namespace

ReportPreview::ReportPreview(QWidget* owner)
    : QWidget(owner ? owner->window() : nullptr, owner ? kOwnedWindow : Qt::WindowFlags(Qt::Window))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setAttribute(Qt::WA_DeleteOnClose);

    printer_.setPageSize(QPageSize(QPageSize::A4));
    printer_.setPageOrientation(QPageLayout::Portrait);
    printer_.setFullPage(true);

    preview_ = new QPrintPreviewWidget(&printer_, this);
    preview_->setObjectName(QStringLiteral("ppvReport"));
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* p) { paintPages(p, false); });
    connect(preview_, &QPrintPreviewWidget::previewChanged, this, [this] { previewChanged(); });
    // Until the user moves the view, it shows the top of the first page, whatever the
    // window's size (the preview itself keeps the centre as the window grows).
    if (auto* view = preview_->findChild<QAbstractScrollArea*>()) {
        view_ = view;
        connect(view->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { atStart_ = false; });
    }

    buildToolbar();
    status_ = new QStatusBar(this);
    status_->setObjectName(QStringLiteral("sbrPreview"));
    statusPage_ = new QLabel(status_);
    status_->addPermanentWidget(statusPage_);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(toolbar_);
    box->addWidget(preview_, 1);
    box->addWidget(status_);

    new QShortcut(QKeySequence::Cancel, this, this, &QWidget::close);
    resize(900, 1000);
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::buildToolbar()
{
    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("tbrPreview"));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto add = [this](const char* name, const QString& text, int icon, const QKeySequence& key,
                            const std::function<void()>& work) {
        QAction* a = toolbar_->addAction(text);
        a->setObjectName(QLatin1String(name));
        if (icon >= 0)
            a->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setToolTip(text + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        }
        connect(a, &QAction::triggered, this, work);
        return a;
    };

    add("actPrint", QStringLiteral("Print…"), -1, QKeySequence::Print, [this] { print(); });
    add("actExportPdf", QStringLiteral("Export PDF…"), QStyle::SP_DialogSaveButton, QKeySequence(Qt::CTRL | Qt::Key_E),
        [this] { exportPdf(); });
    add("actPageSetup", QStringLiteral("Page Setup…"), -1, {}, [this] { pageSetup(); });
    toolbar_->addSeparator();

    add("actFirstPage", QStringLiteral("First"), QStyle::SP_MediaSkipBackward, QKeySequence(Qt::CTRL | Qt::Key_Home),
        [this] { showPage(1); });
    add("actPreviousPage", QStringLiteral("Previous"), QStyle::SP_ArrowLeft, QKeySequence(Qt::Key_PageUp),
        [this] { showPage(currentPage() - 1); });
    page_ = new QSpinBox(toolbar_);
    page_->setObjectName(QStringLiteral("spnPage"));
    page_->setKeyboardTracking(false);
    page_->setAccessibleName(QStringLiteral("Page"));
    toolbar_->addWidget(page_);
    pageCount_ = new QLabel(toolbar_);
    pageCount_->setObjectName(QStringLiteral("lblPageCount"));
    pageCount_->setContentsMargins(4, 0, 4, 0);
    toolbar_->addWidget(pageCount_);
    connect(page_, &QSpinBox::valueChanged, this, [this](int n) { showPage(n); });
    add("actNextPage", QStringLiteral("Next"), QStyle::SP_ArrowRight, QKeySequence(Qt::Key_PageDown),
        [this] { showPage(currentPage() + 1); });
    add("actLastPage", QStringLiteral("Last"), QStyle::SP_MediaSkipForward, QKeySequence(Qt::CTRL | Qt::Key_End),
        [this] { showPage(pageCount()); });
    toolbar_->addSeparator();

    add("actZoomOut", QStringLiteral("Zoom Out"), -1, QKeySequence::ZoomOut, [this] { preview_->zoomOut(1.25); previewChanged(); });
    zoom_ = new QComboBox(toolbar_);
    zoom_->setObjectName(QStringLiteral("cboZoom"));
    zoom_->setEditable(true);
    zoom_->setInsertPolicy(QComboBox::NoInsert);
    zoom_->setAccessibleName(QStringLiteral("Zoom"));
    for (int z : kZoomSteps)
        zoom_->addItem(QString::number(z) + QLatin1Char('%'));
    zoom_->setMinimumContentsLength(5);
    toolbar_->addWidget(zoom_);
    // A step picked from the list, or any percentage typed and confirmed with Enter.
    connect(zoom_, &QComboBox::textActivated, this, [this](const QString& text) { setZoomText(text); });
    connect(zoom_->lineEdit(), &QLineEdit::returnPressed, this, [this] { setZoomText(zoom_->currentText()); });
    add("actZoomIn", QStringLiteral("Zoom In"), -1, QKeySequence::ZoomIn, [this] { preview_->zoomIn(1.25); previewChanged(); });
    add("actFitWidth", QStringLiteral("Fit Width"), -1, {}, [this] { preview_->fitToWidth(); previewChanged(); });
    add("actFitPage", QStringLiteral("Fit Page"), -1, {}, [this] { preview_->fitInView(); previewChanged(); });
    toolbar_->addSeparator();
    add("actClose", QStringLiteral("Close"), QStyle::SP_DialogCloseButton, {}, [this] { close(); });
}

void ReportPreview::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (atStart_)
        QTimer::singleShot(0, this, [this] { showTop(); });
}

void ReportPreview::showTop()
{
    if (!atStart_ || !view_)
        return;
    view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->minimum());
    view_->horizontalScrollBar()->setValue(view_->horizontalScrollBar()->minimum());
}

void ReportPreview::setReport(const ReportTemplate& t, const ReportData& data)
{
    template_ = t;
    data_ = data;
    layouts_.clear();
    setWindowTitle(t.title);
    printer_.setDocName(documentName(t, data));
    preview_->setZoomMode(QPrintPreviewWidget::FitToWidth);
    preview_->updatePreview();
    preview_->setCurrentPage(1);
    atStart_ = true;
    showTop();
    previewChanged();
}

const ReportLayout& ReportPreview::layoutFor(const QPageLayout& pageLayout)
{
    const QSizeF points = pageLayout.fullRect(QPageLayout::Point).size();
    const QSizeF size = points * kReportUnitsPerPoint;
    const std::pair<int, int> key{int(std::lround(size.width())), int(std::lround(size.height()))};
    auto it = layouts_.find(key);
    if (it == layouts_.end())
        it = layouts_.emplace(key, layoutReport(template_, data_, size)).first;
    return it->second;
}

const ReportLayout& ReportPreview::layout() { return layoutFor(printer_.pageLayout()); }

int ReportPreview::pageCount() const { return preview_->pageCount(); }
int ReportPreview::currentPage() const { return preview_->currentPage(); }

// The preview asks for every page; a print honours the range the print dialog chose.
void ReportPreview::paintPages(QPrinter* printer, bool honourRange)
{
    const ReportLayout& l = layoutFor(printer->pageLayout());
    const int count = int(l.pages.size());
    int from = 1, to = count;
    if (honourRange && printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        from = std::max(1, printer->fromPage());
        to = std::min(count, printer->toPage() > 0 ? printer->toPage() : count);
    }
    QPainter painter(printer);
    if (!painter.isActive())
        return;
    paintPageRange(painter, *printer, l, from, to,
                   QRectF(QPointF(0, 0), printer->pageLayout().fullRectPixels(printer->resolution()).size()));
}

void ReportPreview::print()
{
    if (!ShowPrinter(printer_, this))
        return;
    paintPages(&printer_, true);
    // The preview keeps showing every page, whatever range was printed.
    printer_.setPrintRange(QPrinter::AllPages);
    if (printer_.printerState() == QPrinter::Error)
        MsgBox(QStringLiteral("The report could not be printed on %1.").arg(printer_.printerName()), vbCritical,
               template_.title);
    else
        status_->showMessage(QStringLiteral("Sent to the printer."), 10000);
    preview_->updatePreview();
}

void ReportPreview::exportPdf()
{
    const QString suggested = QDir(documentsFolder()).filePath(documentName(template_, data_) + QStringLiteral(".pdf"));
    QString path = GetSaveFileName(this, QStringLiteral("Export PDF"), suggested, QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    QString error;
    if (!writePdf(path, &error)) {
        MsgBox(QStringLiteral("The PDF file could not be written:\n%1\n\n%2").arg(QDir::toNativeSeparators(path), error),
               vbCritical, QStringLiteral("Export PDF"));
        return;
    }
    status_->showMessage(QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(path)));
}

bool ReportPreview::writePdf(const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(template_.title);
        writer.setCreator(QStringLiteral("Lumora"));
        const QPageLayout paper(printer_.pageLayout().pageSize(), printer_.pageLayout().orientation(), QMarginsF());
        writer.setPageLayout(paper);
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            *error = QStringLiteral("The PDF could not be started.");
            return false;
        }
        const ReportLayout& l = layoutFor(paper);
        paintPageRange(painter, writer, l, 1, int(l.pages.size()), QRectF(0, 0, writer.width(), writer.height()));
        painter.end();
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

void ReportPreview::pageSetup()
{
    if (!ShowPageSetup(printer_, this))
        return;
    preview_->updatePreview();
    previewChanged();
}

void ReportPreview::showPage(int page)
{
    atStart_ = false;
    if (page >= 1 && page <= pageCount())
        preview_->setCurrentPage(page);
    previewChanged();
}

void ReportPreview::previewChanged()
{
    const int count = pageCount(), current = currentPage();
    {
        const QSignalBlocker quiet(page_);
        page_->setRange(count > 0 ? 1 : 0, count);
        page_->setValue(current);
    }
    pageCount_->setText(QStringLiteral("of %1").arg(count));
    statusPage_->setText(QStringLiteral("Page %1 of %2").arg(current).arg(count));
    const QString z = QString::number(std::lround(preview_->zoomFactor() * 100)) + QLatin1Char('%');
    if (zoom_->currentText() != z)
        zoom_->setEditText(z);
    const auto enable = [this](const char* name, bool on) {
        if (auto* a = toolbar_->findChild<QAction*>(QLatin1String(name)))
            a->setEnabled(on);
    };
    enable("actFirstPage", current > 1);
    enable("actPreviousPage", current > 1);
    enable("actNextPage", current < count);
    enable("actLastPage", current < count);
}

void ReportPreview::setZoomText(const QString& text)
{
    bool ok = false;
    const int percent = QString(text).remove(QLatin1Char('%')).trimmed().toInt(&ok);
    if (ok && percent >= 10 && percent <= 800) {
        preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
        preview_->setZoomFactor(percent / 100.0);
    }
    previewChanged();
}

} // namespace ui
