// Fuzz target: a document as the document window gets it, read and then laid out, at the
// window's width and at a narrow one. Whatever the bytes, the layout ends soon, and a document
// of up to 64 KB stays well below the height at which Qt's layout stops coming back (its
// fixed-point limit, some 8.4 million pixels): the reader holds sizes and spacing to what a law
// text uses. The replay's watchdog reports an input whose layout never ends.
#include "FuzzGuiApplication.h"
#include "FuzzSupport.h"
#include "platform/ui/documents/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTextDocument>

namespace {

constexpr qint64 kLayoutMs = 2000;
constexpr qreal kHeightLimit = 8.0e6;   // pixels; Qt's layout gives up a little above
constexpr qsizetype kBoundedInput = 64 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::guiApplication();
    QByteArray input = fuzz::bytes(data, size);
    if (!input.startsWith("{\\rtf"))
        input.prepend("{\\rtf1 ");
    QTextDocument document;
    ui::RtfReader::read(input, &document);
    for (const qreal width : {683.0, 120.0}) {   // the document window's width; a narrow one
        QElapsedTimer clock;
        clock.start();
        document.setTextWidth(width);
        const qreal height = document.documentLayout()->documentSize().height();
        fuzz::require(clock.elapsed() < kLayoutMs, "a document lays out in bounded time",
                      QStringLiteral("%1 ms at %2 px").arg(clock.elapsed()).arg(width));
        fuzz::require(input.size() > kBoundedInput || height < kHeightLimit, "a document stays within the layout's reach",
                      QStringLiteral("%1 px high at %2 px").arg(height).arg(width));
    }
    return 0;
}
