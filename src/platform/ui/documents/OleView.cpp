#include "platform/ui/documents/OleView.h"

#include "platform/ui/documents/RemoteData.h"
#include "platform/ui/documents/RtfReader.h"
#include "platform/db/Error.h"
#include "platform/sys/Desktop.h"

#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTextDocument>
#include <atomic>

namespace ui {
namespace {

// Copies opened in other applications must outlive the click that made them; they go
// with the program's temporary folder when the program ends.
QTemporaryDir& copiesFolder()
{
    static QTemporaryDir dir;
    return dir;
}

} // namespace

OleView::OleView(const QString& objectName, QWidget* parent)
    : QTextEdit(parent), loader_(new DocumentLoader(this))
{
    setObjectName(objectName);
    // The scroll bar that appears once a long document is laid out would have it laid out
    // a second time, at the narrower width.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setTextInteractionFlags(Qt::NoTextInteraction);
    document()->setDocumentMargin(12);   // the page does not touch the frame
    viewport()->setCursor(Qt::PointingHandCursor);
}

void OleView::setDataSource(RemoteData* source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_)
        connect(source_, &RemoteData::refreshed, this, &OleView::rebind);
    rebind();
}

void OleView::setDataField(const QString& field)
{
    field_ = field;
    rebind();
}

void OleView::rebind()
{
    if (!source_ || field_.isEmpty())
        return;
    const ado::Variant v = source_->value(field_);
    QByteArray bytes;
    if (v.kind() == ado::Variant::Kind::Binary)
        bytes = v.toBytes();
    else if (v.kind() == ado::Variant::Kind::Text)
        bytes = v.toString().toUtf8();
    setData(bytes);
}

void OleView::setData(const QByteArray& bytes)
{
    bytes_ = bytes;
    render();
}

void OleView::render()
{
    if (bytes_.isEmpty()) {
        loader_->show({});
        return;
    }
    if (!loader_->show(bytes_)) {
        // A document kind we cannot draw still opens in its own application.
        document()->setPlainText(tr("This document opens in its own application: click here."));
    }
}

bool OleView::isLoading() const { return loader_->isLoading(); }

QString OleView::documentSuffix() const
{
    return RtfReader::looksLikeRtf(bytes_) ? QStringLiteral(".rtf") : QStringLiteral(".doc");
}

QString OleView::writeTemporaryCopy() const
{
    if (bytes_.isEmpty())
        throw ado::Error(31004, QStringLiteral("No object"), QStringLiteral("OLE"));
    static std::atomic<int> counter{0};
    QTemporaryDir& dir = copiesFolder();
    if (!dir.isValid())
        throw ado::Error(75, QStringLiteral("Path/File access error"), QStringLiteral("OLE"));
    const QString name = QStringLiteral("%1-%2%3").arg(objectName().isEmpty() ? QStringLiteral("document") : objectName())
                             .arg(++counter)
                             .arg(documentSuffix());
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes_) != bytes_.size())
        throw ado::Error(75, QStringLiteral("Path/File access error"), QStringLiteral("OLE"));
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup);
    return path;
}

void OleView::DoVerb(int verb)
{
    (void)verb;   // every verb reads the document in full in its own application
    const QString path = writeTemporaryCopy();
    const auto failed = [view = QPointer<OleView>(this)](const QString& why) {
        if (view)
            emit view->OpenFailed(why);
    };
    if (!sys::desktop().openFile(path, failed))
        throw ado::Error(31027, QStringLiteral("Unable to activate object"), QStringLiteral("OLE"));
}

void OleView::mousePressEvent(QMouseEvent* e)
{
    inDoubleClick_ = false;   // a lost release must not swallow the next click
    QTextEdit::mousePressEvent(e);
}

void OleView::mouseReleaseEvent(QMouseEvent* e)
{
    QTextEdit::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton)
        return;
    if (inDoubleClick_) {
        inDoubleClick_ = false;
        return;
    }
    emit Click();
}

void OleView::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTextEdit::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) {
        inDoubleClick_ = true;
        emit DblClick();
    }
}

} // namespace ui
