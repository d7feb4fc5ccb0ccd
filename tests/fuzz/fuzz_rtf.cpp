// Fuzz target: the RTF reader. Any bytes give a document (the reader never fails, and never
// lets a NUL or a control word's text through), in time that grows with the input.
#include "FuzzGuiApplication.h"
#include "FuzzSupport.h"
#include "platform/ui/documents/RtfReader.h"

#include <QTextDocument>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::guiApplication();
    // As a document window gets it: RTF when it says so, else text or nothing.
    QByteArray input = fuzz::bytes(data, size);
    QTextDocument document;
    const bool shown = ui::RtfReader::readDocument(input, &document);
    fuzz::require(shown || !ui::RtfReader::looksLikeText(input), "a text document is always shown");
    // And always as RTF.
    if (!input.startsWith("{\\rtf"))
        input.prepend("{\\rtf1 ");
    ui::RtfReader::read(input, &document);
    fuzz::require(document.characterCount() >= 1, "the document exists");
    fuzz::require(!document.toPlainText().contains(QChar::Null), "no NUL in the text");
    return 0;
}
