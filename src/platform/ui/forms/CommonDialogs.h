// The desktop's standard dialogs the program opens: choosing a file name to save to, the
// print dialog and the page setup. Production code calls these wrappers, never the Qt
// dialogs directly; tests install a responder that answers instead, so nothing blocks.
#pragma once

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace ui {

// ---- Save as -------------------------------------------------------------------------

struct SaveFileRequest {
    QString caption;
    QString suggestedPath;   // folder and file name offered
    QString filter;          // "PDF files (*.pdf)"
};

// The folder a file is first offered in: the user's documents folder, or the home folder where
// there is none.
QString documentsFolder();

// The file name the user chose; empty when cancelled.
QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                        const QString& filter);

// Test responder: returns the name "chosen" (empty for Cancel). nullptr restores the dialog.
using SaveFileResponder = std::function<QString(const SaveFileRequest&)>;
void setSaveFileResponder(SaveFileResponder responder);

// Answers every save dialog with `path` (the "next file name"), recording the requests.
class ScopedSaveFileAnswer {
public:
    explicit ScopedSaveFileAnswer(const QString& path);
    ~ScopedSaveFileAnswer();
    ScopedSaveFileAnswer(const ScopedSaveFileAnswer&) = delete;
    ScopedSaveFileAnswer& operator=(const ScopedSaveFileAnswer&) = delete;
    void setPath(const QString& path) { path_ = path; }
    int asked() const { return asked_; }
    const SaveFileRequest& lastRequest() const { return last_; }

private:
    QString path_;
    int asked_ = 0;
    SaveFileRequest last_;
};

// ---- Print and page setup ------------------------------------------------------------

// The print dialog (printer, copies, page range) on `printer`; true when the user chose Print.
bool ShowPrinter(QPrinter& printer, QWidget* parent);
// The page setup dialog (paper, orientation) on `printer`; true when the user accepted.
bool ShowPageSetup(QPrinter& printer, QWidget* parent);

// Test responders: may change the printer as the dialog would, and return the answer.
using PrinterDialogResponder = std::function<bool(QPrinter&)>;
void setPrintDialogResponder(PrinterDialogResponder responder);
void setPageSetupResponder(PrinterDialogResponder responder);

// Installs both responders for a test's scope; a dialog given no responder is cancelled.
class ScopedPrinterDialogs {
public:
    ScopedPrinterDialogs(PrinterDialogResponder print, PrinterDialogResponder pageSetup = {});
    ~ScopedPrinterDialogs();
    ScopedPrinterDialogs(const ScopedPrinterDialogs&) = delete;
    ScopedPrinterDialogs& operator=(const ScopedPrinterDialogs&) = delete;
};

} // namespace ui
