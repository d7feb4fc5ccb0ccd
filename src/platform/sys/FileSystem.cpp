// Folder and file operations of the backup window, with the runtime's error numbers.
#include "FileSystem.h"

#include "ProgramFolder.h"
#include "platform/db/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace sys {

namespace {
[[noreturn]] void raise(long number, const char* description)
{
    throw ado::Error(number, QString::fromLatin1(description), QStringLiteral("FileSystemObject"));
}

constexpr long kFileNotFound = 53;
constexpr long kFileExists = 58;
constexpr long kPermissionDenied = 70;
constexpr long kPathNotFound = 76;
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
        raise(kFileExists, "File already exists");
    if (!QDir().mkdir(p))
        raise(kPathNotFound, "Path not found");
}

void FileSystemObject::CopyFile(const QString& source, const QString& destination, bool overwrite) const
{
    const QString from = localPath(source);
    QString to = localPath(destination);
    if (!QFileInfo(from).isFile())
        raise(kFileNotFound, "File not found");
    if (to.endsWith(QLatin1Char('/')) || QFileInfo(to).isDir())
        to = QDir(to).filePath(QFileInfo(from).fileName());
    if (QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
        raise(kPermissionDenied, "Permission denied");
    // Copy beside the target first so a failed copy never leaves half a file in its place.
    const QString partial = to + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!QFile::copy(from, partial))
        raise(kPermissionDenied, "Permission denied");
    if (QFileInfo::exists(to)) {
        if (!overwrite) {
            QFile::remove(partial);
            raise(kFileExists, "File already exists");
        }
        if (!QFile::remove(to)) {
            QFile::remove(partial);
            raise(kPermissionDenied, "Permission denied");
        }
    }
    if (!QFile::rename(partial, to)) {
        QFile::remove(partial);
        raise(kPermissionDenied, "Permission denied");
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
