// The standard dialogs, or the test responders when installed.
#include "platform/ui/forms/CommonDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace ui {
namespace {

SaveFileResponder& saveResponder()
{
    static SaveFileResponder r;
    return r;
}

PrinterDialogResponder& printResponder()
{
    static PrinterDialogResponder r;
    return r;
}

PrinterDialogResponder& pageSetupResponder()
{
    static PrinterDialogResponder r;
    return r;
}

} // namespace

QString documentsFolder()
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return docs.isEmpty() || !QDir(docs).exists() ? QDir::homePath() : docs;
}

QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                        const QString& filter)
{
    if (saveResponder())
        return saveResponder()({caption, suggestedPath, filter});
    return QFileDialog::getSaveFileName(parent, caption, suggestedPath, filter);
}

void setSaveFileResponder(SaveFileResponder responder) { saveResponder() = std::move(responder); }

ScopedSaveFileAnswer::ScopedSaveFileAnswer(const QString& path) : path_(path)
{
    setSaveFileResponder([this](const SaveFileRequest& request) {
        ++asked_;
        last_ = request;
        return path_;
    });
}

ScopedSaveFileAnswer::~ScopedSaveFileAnswer() { setSaveFileResponder(nullptr); }

bool ShowPrinter(QPrinter& printer, QWidget* parent)
{
    if (printResponder())
        return printResponder()(printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ShowPageSetup(QPrinter& printer, QWidget* parent)
{
    if (pageSetupResponder())
        return pageSetupResponder()(printer);
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void setPrintDialogResponder(PrinterDialogResponder responder) { printResponder() = std::move(responder); }
void setPageSetupResponder(PrinterDialogResponder responder) { pageSetupResponder() = std::move(responder); }

ScopedPrinterDialogs::ScopedPrinterDialogs(PrinterDialogResponder print, PrinterDialogResponder pageSetup)
{
    const auto cancel = [](QPrinter&) { return false; };
    setPrintDialogResponder(print ? std::move(print) : cancel);
    setPageSetupResponder(pageSetup ? std::move(pageSetup) : cancel);
}

ScopedPrinterDialogs::~ScopedPrinterDialogs()
{
    setPrintDialogResponder(nullptr);
    setPageSetupResponder(nullptr);
}

} // namespace ui
