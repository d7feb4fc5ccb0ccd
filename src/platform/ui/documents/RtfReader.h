// Reads word-processor documents in RTF into a QTextDocument for read-only display: the
// text with its paragraphs, bold, italic, underline, font sizes, alignment and indents, tabs
// and tab stops (a leader drawn as the tab's underline), tables as grids whose columns end at
// the cell edges (merged cells merged, a table inside a cell kept there), revisions (deleted
// text struck through; hidden text left out), and footnotes and endnotes (the mark where it
// stands, the note's text after the body, the endnotes after the footnotes, numbered as in the
// source, section by section).
// Font, colour and style tables, pictures, document information, headers and footers, and
// every destination marked as optional are skipped. Broken input (unbalanced braces, a file
// cut short, stray bytes) gives the text read so far; the reader never fails. The reader needs
// no widgets and serves any QTextDocument; DocumentLoader puts documents into a text view.
//
// Documents run to megabytes: reading takes time linear in the bytes, and nothing is laid out
// until the document is complete; then it is laid out lazily, the part on screen first.
#pragma once

#include <QByteArray>
#include <QObject>
#include <memory>

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

    // Windows-1252 byte to Unicode (the code page of the program's documents).
    static QChar fromCp1252(unsigned char byte);
};

// Shows documents in a text view (its parent), from their start. A large document is shown in
// two steps, so that the window answers throughout: its first part at once, then the whole
// document, read in short slices between the window's events and given to the view in one
// piece, the view keeping its place.
class DocumentLoader : public QObject {
    Q_OBJECT
public:
    explicit DocumentLoader(QTextEdit* view);
    ~DocumentLoader() override;

    // As RtfReader::readDocument: false, leaving the view empty, for a binary file.
    bool show(const QByteArray& bytes);
    bool isLoading() const { return background_ != nullptr; }
    // Reads the rest of the document now (a caller that needs all of it, as printing does).
    void finish();

    // Documents up to this size are read at once; larger ones show this much first.
    static constexpr qsizetype kReadAtOnce = 256 * 1024;
    static constexpr qsizetype kFirstPart = 64 * 1024;

private:
    struct Background;
    void readSlice(int generation);
    void handOver();

    QTextEdit* view_;
    std::unique_ptr<Background> background_;
    int generation_ = 0;
};

} // namespace ui
