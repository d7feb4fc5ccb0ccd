// A keyed list of small pictures that tree views and toolbars take their images from.
// Images are numbered from 1, as the program numbers them, or found by key.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <vector>

namespace ui {

class ImageList : public QObject {
    Q_OBJECT
public:
    explicit ImageList(const QString& objectName, QObject* parent = nullptr);

    // Adds an image at the end; returns its index (1-based).
    int Add(const QIcon& picture, const QString& key = {});
    int Count() const { return static_cast<int>(images_.size()); }
    // Index 1..Count, or a key; an unknown index or key gives a null icon.
    QIcon Item(int index) const;
    QIcon Item(const QString& key) const;
    int indexOf(const QString& key) const;   // 0 when unknown

    // A list of two plain pictures (1: item, 2: selected item) for windows whose pictures
    // are resources of their own.
    void addStandardNodeImages();

private:
    struct Entry {
        QString key;
        QIcon icon;
    };
    std::vector<Entry> images_;
};

} // namespace ui
