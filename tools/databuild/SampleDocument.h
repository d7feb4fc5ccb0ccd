// The sample law documents that stand in for the long tail of the law content: an RTF file
// made from the item's name, plainly marked as sample text.
#pragma once

#include <QByteArray>
#include <QString>

namespace databuild {

// The marker every sample document carries, as the reader sees it.
inline constexpr const char* kSampleMarker = "Sample text \xE2\x80\x94 not the official text of the law";

// RTF text for a document: `title` as its heading, `kind` naming what it stands for (Act, Rules,
// Form, Judgment...), `description` (may be empty) as its subject line.
QByteArray sampleDocument(const QString& title, const QString& kind, const QString& description);

// `text` as RTF body text: control characters escaped, anything beyond ASCII as \uN?.
QByteArray rtfText(const QString& text);

} // namespace databuild
