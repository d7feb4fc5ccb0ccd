#include "platform/ui/controls/ImageList.h"

#include "platform/ui/forms/StandardPictures.h"

namespace ui {

ImageList::ImageList(const QString& objectName, QObject* parent) : QObject(parent)
{
    setObjectName(objectName);
}

int ImageList::Add(const QIcon& picture, const QString& key)
{
    images_.push_back({key, picture});
    return Count();
}

QIcon ImageList::Item(int index) const
{
    if (index < 1 || index > Count())
        return {};
    return images_[static_cast<std::size_t>(index - 1)].icon;
}

QIcon ImageList::Item(const QString& key) const { return Item(indexOf(key)); }

int ImageList::indexOf(const QString& key) const
{
    if (key.isEmpty())
        return 0;
    for (std::size_t i = 0; i < images_.size(); ++i)
        if (images_[i].key == key)
            return static_cast<int>(i) + 1;
    return 0;
}

void ImageList::addStandardNodeImages()
{
    Add(standardPicture(QStyle::SP_DirClosedIcon, 16), QStringLiteral("closed"));
    Add(standardPicture(QStyle::SP_DirOpenIcon, 16), QStringLiteral("open"));
}

} // namespace ui
