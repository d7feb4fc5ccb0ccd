// The report control's run: template, data, window. Everything that can fail is done before
// the window is touched, so a failed run leaves an open preview as it was.
#include "platform/ui/reports/CrystalReport.h"

#include "platform/ui/forms/Form.h"
#include "platform/ui/reports/ReportData.h"
#include "platform/ui/reports/ReportPreview.h"
#include "platform/db/Error.h"
#include "platform/sys/ProgramFolder.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace ui {

CrystalReport::CrystalReport(const QString& objectName, QWidget* owner) : QObject(owner), owner_(owner)
{
    setObjectName(objectName);
}

CrystalReport::~CrystalReport() = default;

ReportPreview* CrystalReport::previewWindow() const { return last_; }

QString CrystalReport::DataFiles(int index) const { return dataFiles_.value(index); }

void CrystalReport::setDataFiles(int index, const QString& path)
{
    if (index < 0)
        throw ado::Error(ado::err::InvalidProcedureCall, QStringLiteral("Invalid procedure call or argument"),
                         objectName());
    while (dataFiles_.size() <= index)
        dataFiles_ << QString();
    dataFiles_[index] = path;
}

void CrystalReport::setAction(int action)
{
    if (action == 1)
        run();
}

void CrystalReport::run()
{
    if (reportFileName_.trimmed().isEmpty())
        throw ReportError(objectName(), 0, QStringLiteral("no report template was named"));
    const QString templatePath = sys::localPath(reportFileName_);
    const ReportTemplate t = readReportTemplate(templatePath);
    const ReportData data = readReportData(t, templatePath, DataFiles(0), selection_);

    const QString key = QFileInfo(templatePath).absoluteFilePath();
    QPointer<ReportPreview>& window = windows_[key];
    if (!window)
        window = new ReportPreview(owner_);
    window->setReport(t, data);
    last_ = window;
    switch (windowState_) {
    case vbMaximized: window->showMaximized(); break;
    case vbMinimized: window->showMinimized(); break;
    default:
        if (!window->isVisible()) {
            // A normal window: most of the screen, a page's width at least.
            if (const QScreen* screen = QGuiApplication::primaryScreen()) {
                const QRect area = screen->availableGeometry();
                window->resize(std::min(area.width(), 1000), area.height() * 9 / 10);
            }
        }
        window->showNormal();
        break;
    }
    raiseWindow(window);
    window->activateWindow();
}

} // namespace ui
