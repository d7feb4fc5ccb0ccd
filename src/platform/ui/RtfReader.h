// Reads word-processor documents in RTF into a QTextDocument for read-only display: the
// text with its paragraphs, bold, italic, underline, font sizes, alignment and indents, tabs,
// and tables: as grids whose columns end at the cell edges, and past a document's budget of
// grid cells (a schedule of thousands of rows) as tab-separated lines whose tab stops sit on the
// cell edges. Font, colour and style tables, pictures, document information, headers and
// footers, and every destination marked as optional are skipped. Broken input (unbalanced
// braces, a file cut short, stray bytes) gives the text read so far; the reader never fails.
// The reader needs no widgets and serves any QTextDocument; showDocument puts a document into a
// text view.
//
// Documents run to megabytes: reading takes time linear in the bytes, and nothing is laid out
// until the document is complete; then it is laid out lazily, the part on screen first.
#pragma once

#include <QByteArray>

class QTextDocument;
class QTextEdit;

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

    // readDocument() into a view's document, shown from its start. The view's cursor goes to the
    // start before anything is laid out: moved there afterwards, from the end of the document, it
    // would have the whole document laid out at once.
    static bool showDocument(const QByteArray& bytes, QTextEdit* view);

    // Windows-1252 byte to Unicode (the code page of the program's documents).
    static QChar fromCp1252(unsigned char byte);
};

} // namespace ui
