#include "SampleDocument.h"

namespace databuild {

QByteArray rtfText(const QString& text)
{
    QByteArray out;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c == u'\n') {
            out += "\\par\n";
        } else if (c < 0x80) {
            out += char(c);
        } else {
            // RTF takes the code unit as a signed 16-bit number; '?' is the fallback character.
            out += "\\u" + QByteArray::number(int(qint16(c))) + '?';
        }
    }
    return out;
}

QByteArray sampleDocument(const QString& title, const QString& kind, const QString& description)
{
    QByteArray rtf;
    rtf += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}}\n";
    rtf += "\\paperw11906\\paperh16838\\margl1440\\margr1440\n";
    rtf += "\\pard\\qc\\f1\\b\\fs28 " + rtfText(title.trimmed()) + "\\b0\\par\n";
    rtf += "\\pard\\qc\\i\\fs20 " + rtfText(QString::fromUtf8(kSampleMarker)) + "\\i0\\par\n";
    rtf += "\\pard\\fs24\\par\n";
    if (!description.isEmpty())
        rtf += "\\pard\\qj\\f0\\b Subject:\\b0  " + rtfText(description) + "\\par\n\\pard\\par\n";
    rtf += "\\pard\\qj\\f0 (1) This document stands in for the " + rtfText(kind) + " named \\ldblquote "
           + rtfText(title.trimmed()) + "\\rdblquote . Its text is a placeholder supplied with the "
           "sample law databases.\\par\n";
    rtf += "\\pard\\qj (2) To read the law itself, place the complete law databases in the program "
           "folder under the same file names.\\par\n";
    rtf += "}\n";
    return rtf;
}

} // namespace databuild
