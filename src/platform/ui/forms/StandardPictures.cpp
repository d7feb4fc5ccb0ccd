#include "platform/ui/forms/StandardPictures.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QPixmap>
#include <mutex>

namespace ui {
namespace {

struct BuiltIn {
    QStyle::StandardPixmap which;
    const char* name;   // the images are <name>-<size>.png
};

// The built-in images the style itself shows for these pictures (a folder stands for home).
constexpr BuiltIn kBuiltIns[] = {
    {QStyle::SP_DirHomeIcon, "dirclosed"},
    {QStyle::SP_DirClosedIcon, "dirclosed"},
    {QStyle::SP_DirOpenIcon, "diropen"},
    {QStyle::SP_FileIcon, "file"},
    {QStyle::SP_FileDialogContentsView, "filecontents"},
    {QStyle::SP_FileDialogInfoView, "fileinfo"},
    {QStyle::SP_FileDialogListView, "viewlist"},
    {QStyle::SP_FileDialogDetailedView, "viewdetailed"},
    {QStyle::SP_DialogApplyButton, "standardbutton-apply"},
    {QStyle::SP_DialogHelpButton, "standardbutton-help"},
    {QStyle::SP_DialogSaveButton, "standardbutton-save"},
    {QStyle::SP_DialogCloseButton, "standardbutton-close"},
    {QStyle::SP_BrowserStop, "stop"},
    {QStyle::SP_ArrowBack, "left"},
};

constexpr int kSizes[] = {16, 24, 32, 128};
constexpr int kPreparedSizes[] = {16, 32};

// Pictures decoded ahead, by path; the lock is held while they are being decoded.
std::mutex& preparedLock()
{
    static std::mutex m;
    return m;
}

QHash<QString, QImage>& prepared()
{
    static QHash<QString, QImage> images;
    return images;
}

QImage readPng(const QString& path)
{
    // Named as what it is, so that no image plug-in is loaded to guess it.
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace

QString builtInPicturePath(QStyle::StandardPixmap which, int pixels)
{
    for (const BuiltIn& b : kBuiltIns) {
        if (b.which != which)
            continue;
        QString largest;
        for (int size : kSizes) {
            const QString path = QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                                     .arg(QLatin1String(b.name))
                                     .arg(size);
            if (!QFile::exists(path))
                continue;
            if (size >= pixels)
                return path;
            largest = path;
        }
        return largest;
    }
    return {};
}

void prepareStandardPictures()
{
    std::lock_guard lock(preparedLock());
    for (const BuiltIn& b : kBuiltIns)
        for (int size : kPreparedSizes) {
            const QString path = builtInPicturePath(b.which, size);
            if (!path.isEmpty() && !prepared().contains(path))
                prepared().insert(path, readPng(path));
        }
}

QIcon standardPicture(QStyle::StandardPixmap which, int pixels)
{
    const QString path = builtInPicturePath(which, pixels);
    if (!path.isEmpty()) {
        QImage picture;
        {
            std::lock_guard lock(preparedLock());
            picture = prepared().value(path);
        }
        if (picture.isNull())
            picture = readPng(path);
        if (!picture.isNull())
            return QIcon(QPixmap::fromImage(picture));
    }
    return QApplication::style()->standardIcon(which);
}

} // namespace ui
