// The document view: shows a word-processor document read-only, either bound to a
// remote-data binding (DataSource + DataField: the current row's column holds the document
// file's bytes) or given its bytes directly (documents that belong to a window). A click
// raises Click; DoVerb opens the document in the desktop's own application through a
// temporary copy. The view never writes the document back.
#pragma once

#include "platform/ui/documents/RemoteData.h"

#include <QByteArray>
#include <QPointer>
#include <QTextEdit>

namespace ui {

class DocumentLoader;

enum OleVerb { vbOLEPrimary = 0, vbOLEShow = -1, vbOLEOpen = -2 };

class OleView : public QTextEdit {
    Q_OBJECT
public:
    explicit OleView(const QString& objectName, QWidget* parent = nullptr);

    void setDataSource(RemoteData* source);
    RemoteData* DataSource() const { return source_; }
    QString DataField() const { return field_; }
    void setDataField(const QString& field);

    // A document of the window's own (no binding). A large one shows its first part at once
    // and the whole document moments later (see DocumentLoader).
    void setData(const QByteArray& bytes);
    bool isLoading() const;
    const QByteArray& data() const { return bytes_; }
    bool hasDocument() const { return !bytes_.isEmpty(); }

    // The "changed" flag of the container; the view itself never sets it.
    bool DataChanged() const { return changed_; }
    void setDataChanged(bool changed) { changed_ = changed; }

    // ".rtf" for an RTF document, ".doc" for anything else.
    QString documentSuffix() const;
    // Writes the document to a new file in the program's temporary folder and returns its
    // path. Raises ado::Error when there is no document or the file cannot be written.
    QString writeTemporaryCopy() const;
    // Opens the document in its own application (any verb; a copy, so nothing comes back).
    // Raises ado::Error when there is no document or the desktop refuses to open it; when the
    // desktop finds no application for it, later, OpenFailed says why.
    void DoVerb(int verb = vbOLEPrimary);

    void Refresh() { viewport()->update(); }

signals:
    void Click();
    // Opening the document in its own application failed after it had started.
    void OpenFailed(const QString& why);
    void DblClick();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void rebind();
    void render();
    DocumentLoader* loader_;
    QPointer<RemoteData> source_;
    QString field_;
    QByteArray bytes_;
    bool changed_ = false;
    bool inDoubleClick_ = false;   // the release that ends a double click is no second Click
};

} // namespace ui
