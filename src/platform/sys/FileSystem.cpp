// Folder and file operations of the backup window, with the runtime's error numbers, and the
// drive roots a backup can go to.
#include "FileSystem.h"

#include "ProgramFolder.h"
#include "platform/db/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <pwd.h>
#include <unistd.h>

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

std::optional<QStringList>& driveOverride()
{
    static std::optional<QStringList> roots;
    return roots;
}

QString withSlash(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    return clean.endsWith(QLatin1Char('/')) ? clean : clean + QLatin1Char('/');
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
        raise(kFileExists, "File already exists");
    if (!QFileInfo(QFileInfo(QDir::cleanPath(p)).absolutePath()).isDir())
        raise(kPathNotFound, "Path not found");
    if (!QDir().mkdir(p))
        raise(kPermissionDenied, "Permission denied");
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

void FileSystemObject::MoveFile(const QString& source, const QString& destination) const
{
    const QString from = localPath(source);
    const QString to = localPath(destination);
    if (!QFileInfo(from).isFile())
        raise(kFileNotFound, "File not found");
    if (QFileInfo::exists(to))
        raise(kFileExists, "File already exists");
    if (!QFile::rename(from, to))
        raise(kPermissionDenied, "Permission denied");
}

void FileSystemObject::DeleteFile(const QString& path) const
{
    const QString p = localPath(path);
    if (!QFileInfo(p).isFile())
        raise(kFileNotFound, "File not found");
    if (!QFile::remove(p))
        raise(kPermissionDenied, "Permission denied");
}

QStringList driveRootsFrom(const QString& home, const QString& user, const QStringList& mountPoints)
{
    QStringList roots;
    if (!home.isEmpty())
        roots << withSlash(home);
    QStringList parents;
    if (!user.isEmpty())
        parents << QStringLiteral("/media/") + user << QStringLiteral("/run/media/") + user;
    parents << QStringLiteral("/mnt");
    for (const QString& parent : parents) {
        QStringList group;
        for (const QString& mount : mountPoints) {
            const QString clean = QDir::cleanPath(mount);
            if (QFileInfo(clean).path() == parent)
                group << withSlash(clean);
        }
        group.sort();
        roots << group;
    }
    roots.removeDuplicates();
    return roots;
}

QStringList logicalDrives()
{
    if (driveOverride())
        return *driveOverride();
    // The account's own home and name, not the environment's.
    QString home, user;
    if (const passwd* pw = ::getpwuid(::getuid())) {
        if (QFileInfo(QFile::decodeName(pw->pw_dir)).isDir())
            home = QFile::decodeName(pw->pw_dir);
        user = QFile::decodeName(pw->pw_name);
    }
    QStringList mounts;
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
        if (s.isValid() && s.isReady())
            mounts << s.rootPath();
    }
    return driveRootsFrom(home, user, mounts);
}

void setLogicalDrives(std::optional<QStringList> roots)
{
    driveOverride() = std::move(roots);
}

} // namespace sys
