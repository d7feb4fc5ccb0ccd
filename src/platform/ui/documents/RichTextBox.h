// The rich-text box of the help windows: loads a file (RTF, or plain text) read-only and
// prints the selection, or the whole document when nothing is selected. Printing goes
// through DocumentPrinter so tests can put a recording double in place of the dialog.
#pragma once

#include <QStringList>
#include <QTextEdit>
#include <memory>

class QTextDocument;

namespace ui {

class DocumentPrinter {
public:
    virtual ~DocumentPrinter() = default;
    // Prints the document; false when the user cancelled or printing failed.
    virtual bool print(const QTextDocument& document, const QString& title) = 0;
};

DocumentPrinter& documentPrinter();
// Installs a replacement (tests); nullptr restores the real one (print dialog; a PDF file
// where the machine has no printer).
void setDocumentPrinter(std::unique_ptr<DocumentPrinter> printer);

class RecordingPrinter : public DocumentPrinter {
public:
    bool print(const QTextDocument& document, const QString& title) override;
    QStringList printedTexts;   // plain text of each printed document
    QStringList titles;
    bool result = true;
};

class DocumentLoader;

class RichTextBox : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(const QString& objectName, QWidget* parent = nullptr);

    // Loading replaces the whole content. The path may use '\' separators. Raises ado::Error
    // 75 when the file cannot be read (the content is then left as it was).
    void LoadFile(const QString& path);
    QString FileName() const { return fileName_; }
    void setFileName(const QString& path) { LoadFile(path); }

    // The whole document (one still loading is read to its end first).
    QString Text() const;
    QString SelText() const;
    void setSelection(int start, int length);

    // Prints the selection, or everything when nothing is selected.
    bool SelPrint();
    void Refresh() { viewport()->update(); }

private:
    DocumentLoader* loader_;
    QString fileName_;
};

} // namespace ui
