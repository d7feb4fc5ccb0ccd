// Folder and file operations of the backup window, with the runtime's error numbers.
#include "FileSystem.h"

#include "platform/db/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace sys {

namespace {
QString localPath(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}
} // namespace

bool FileSystemObject::FolderExists(const QString& path) const
{
    return QFileInfo(localPath(path)).isDir();
}

bool FileSystemObject::FileExists(const QString& path) const
{
    return QFileInfo(localPath(path)).isFile();
}

void FileSystemObject::CreateFolder(const QString& path) const
{
    const QString p = localPath(path);
    if (QFileInfo::exists(p))
        throw ado::Error(58, QStringLiteral("File already exists"), QStringLiteral("FileSystemObject"));
    if (!QDir().mkdir(p))
        throw ado::Error(76, QStringLiteral("Path not found"), QStringLiteral("FileSystemObject"));
}

void FileSystemObject::CopyFile(const QString& source, const QString& destination, bool overwrite) const
{
    const QString from = localPath(source);
    QString to = localPath(destination);
    if (!QFileInfo(from).isFile())
        throw ado::Error(53, QStringLiteral("File not found"), QStringLiteral("FileSystemObject"));
    if (to.endsWith(QLatin1Char('/')) || QFileInfo(to).isDir())
        to = QDir(to).filePath(QFileInfo(from).fileName());
    if (QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
        throw ado::Error(70, QStringLiteral("Permission denied"), QStringLiteral("FileSystemObject"));
    // Copy beside the target first so a failed copy never leaves half a file in its place.
    const QString partial = to + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!QFile::copy(from, partial))
        throw ado::Error(70, QStringLiteral("Permission denied"), QStringLiteral("FileSystemObject"));
    if (QFileInfo::exists(to)) {
        if (!overwrite) {
            QFile::remove(partial);
            throw ado::Error(58, QStringLiteral("File already exists"), QStringLiteral("FileSystemObject"));
        }
        if (!QFile::remove(to)) {
            QFile::remove(partial);
            throw ado::Error(70, QStringLiteral("Permission denied"), QStringLiteral("FileSystemObject"));
        }
    }
    if (!QFile::rename(partial, to)) {
        QFile::remove(partial);
        throw ado::Error(70, QStringLiteral("Permission denied"), QStringLiteral("FileSystemObject"));
    }
}

QStringList logicalDrives()
{
    QStringList roots;
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
        if (!s.isValid() || !s.isReady() || s.isReadOnly())
            continue;
        const QByteArray fs = s.fileSystemType();
        if (fs == "tmpfs" || fs == "devtmpfs" || fs == "proc" || fs == "sysfs" || fs == "squashfs")
            continue;
        roots << s.rootPath();
    }
    roots.sort();
    roots.removeDuplicates();
    return roots;
}

} // namespace sys
