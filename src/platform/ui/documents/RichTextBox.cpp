#include "platform/ui/documents/RichTextBox.h"

#include "platform/ui/forms/CommonDialogs.h"
#include "platform/ui/documents/RtfReader.h"
#include "platform/db/Error.h"
#include "platform/sys/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace ui {
namespace {

class QtDocumentPrinter : public DocumentPrinter {
public:
    bool print(const QTextDocument& document, const QString& title) override
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(title);
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            // No printer on this machine: the dialog offers the PDF file instead.
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(
                QDir(documentsFolder()).filePath((title.isEmpty() ? QStringLiteral("document") : title) + ".pdf"));
        }
        if (!ShowPrinter(printer, QApplication::activeWindow()))
            return false;
        document.print(&printer);
        return printer.printerState() != QPrinter::Error;
    }
};

std::unique_ptr<DocumentPrinter>& printerSlot()
{
    static std::unique_ptr<DocumentPrinter> p;
    return p;
}

} // namespace

DocumentPrinter& documentPrinter()
{
    if (!printerSlot())
        printerSlot() = std::make_unique<QtDocumentPrinter>();
    return *printerSlot();
}

void setDocumentPrinter(std::unique_ptr<DocumentPrinter> printer) { printerSlot() = std::move(printer); }

bool RecordingPrinter::print(const QTextDocument& document, const QString& title)
{
    printedTexts.append(document.toPlainText());
    titles.append(title);
    return result;
}

RichTextBox::RichTextBox(const QString& objectName, QWidget* parent)
    : QTextEdit(parent), loader_(new DocumentLoader(this))
{
    setObjectName(objectName);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);   // no second layout when it would appear
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    document()->setDocumentMargin(12);   // the page does not touch the frame
}

void RichTextBox::LoadFile(const QString& path)
{
    QFile file(sys::localPath(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ado::Error(75, QStringLiteral("Path/File access error"), QStringLiteral("RichTextBox"));
    const QByteArray bytes = file.readAll();
    loader_->show(bytes);
    fileName_ = path;
}

QString RichTextBox::Text() const
{
    loader_->finish();
    return toPlainText();
}

QString RichTextBox::SelText() const { return textCursor().selectedText(); }

void RichTextBox::setSelection(int start, int length)
{
    loader_->finish();
    QTextCursor c(document());
    c.setPosition(std::max(0, start));
    c.setPosition(std::clamp(start + length, 0, document()->characterCount() - 1), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

bool RichTextBox::SelPrint()
{
    loader_->finish();
    const QString title = fileName_.section(QRegularExpression(QStringLiteral("[\\\\/]")), -1);
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return documentPrinter().print(*document(), title);
    QTextDocument selection;
    selection.setDefaultFont(document()->defaultFont());
    QTextCursor(&selection).insertFragment(c.selection());
    return documentPrinter().print(selection, title);
}

} // namespace ui
