// Reads word-processor documents in RTF into a QTextDocument for read-only display: the
// text with its paragraphs, bold, italic, underline, font sizes, alignment and indents, tabs,
// and table rows as tab-separated lines whose tab stops sit on the cell boundaries. Font,
// colour and style tables, pictures, document information, headers and footers, and every
// destination marked as optional are skipped. Broken input (unbalanced braces, a file cut
// short, stray bytes) gives the text read so far; the reader never fails.
// No widgets: usable wherever a QTextDocument is.
#pragma once

#include <QByteArray>

class QTextDocument;

namespace ui {

class RtfReader {
public:
    // True when the bytes start with "{\rtf" (after blanks or a byte-order mark).
    static bool looksLikeRtf(const QByteArray& bytes);
    // True when the bytes look like text (no NUL bytes in the first part).
    static bool looksLikeText(const QByteArray& bytes);

    // Replaces the document's content with the RTF text.
    static void read(const QByteArray& rtf, QTextDocument* document);

    // RTF through read(); other text as plain text (UTF-8 when valid, else Windows-1252).
    // Returns false, leaving the document empty, for bytes that are neither (a binary file).
    static bool readDocument(const QByteArray& bytes, QTextDocument* document);

    // Windows-1252 byte to Unicode (the code page of the program's documents).
    static QChar fromCp1252(unsigned char byte);
};

} // namespace ui
