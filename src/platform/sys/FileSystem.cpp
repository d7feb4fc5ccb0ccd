// Folder and file operations of the backup window, with the runtime's error numbers, and the
// drive roots a backup can go to. Renames and deletions are the system's own calls, so that
// each is one step that either happens or does not.
#include "FileSystem.h"

#include "ProgramFolder.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {
[[noreturn]] void raise(long number, const char* description)
{
    throw ado::Error(number, QString::fromLatin1(description), QStringLiteral("FileSystemObject"));
}

// A failed system call, by its error.
[[noreturn]] void raiseErrno(int error)
{
    switch (error) {
    case ENOENT: raise(ado::err::PathNotFound, "Path not found");
    case EEXIST: raise(ado::err::FileExists, "File already exists");
    case ENOSPC: case EDQUOT: raise(ado::err::DiskFull, "Disk full");
    case EACCES: case EPERM: case EROFS: raise(ado::err::PermissionDenied, "Permission denied");
    default:
        throw ado::Error(ado::err::FileAccess, QString::fromLocal8Bit(std::strerror(error)),
                         QStringLiteral("FileSystemObject"));
    }
}

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

// Renames within a volume; never over something already there.
void renameTo(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to))
        raise(ado::err::FileExists, "File already exists");
    if (::rename(encoded(from).constData(), encoded(to).constData()) != 0)
        raiseErrno(errno);
}

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
        raise(ado::err::FileExists, "File already exists");
    if (!QFileInfo(QFileInfo(QDir::cleanPath(p)).absolutePath()).isDir())
        raise(ado::err::PathNotFound, "Path not found");
    if (!QDir().mkdir(p))
        raise(ado::err::PermissionDenied, "Permission denied");
}

void FileSystemObject::CopyFile(const QString& source, const QString& destination, bool overwrite) const
{
    const QString from = localPath(source);
    QString to = localPath(destination);
    if (!QFileInfo(from).isFile())
        raise(ado::err::FileNotFound, "File not found");
    if (to.endsWith(QLatin1Char('/')) || QFileInfo(to).isDir())
        to = QDir(to).filePath(QFileInfo(from).fileName());
    if (QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath())
        raise(ado::err::PermissionDenied, "Permission denied");
    // Copy beside the target first so a failed copy never leaves half a file in its place.
    const QString partial = to + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!QFile::copy(from, partial))
        raise(ado::err::PermissionDenied, "Permission denied");
    if (QFileInfo::exists(to)) {
        if (!overwrite) {
            QFile::remove(partial);
            raise(ado::err::FileExists, "File already exists");
        }
        if (!QFile::remove(to)) {
            QFile::remove(partial);
            raise(ado::err::PermissionDenied, "Permission denied");
        }
    }
    if (!QFile::rename(partial, to)) {
        QFile::remove(partial);
        raise(ado::err::PermissionDenied, "Permission denied");
    }
}

void FileSystemObject::DeleteFolder(const QString& path) const
{
    const QString p = localPath(path);
    if (!QFileInfo(p).isDir())
        raise(ado::err::PathNotFound, "Path not found");
    if (::rmdir(encoded(p).constData()) != 0)
        raiseErrno(errno);
}

void FileSystemObject::MoveFolder(const QString& source, const QString& destination) const
{
    const QString from = localPath(source);
    if (!QFileInfo(from).isDir())
        raise(ado::err::PathNotFound, "Path not found");
    renameTo(from, localPath(destination));
}

QStringList FileSystemObject::SubFolders(const QString& path) const
{
    return QDir(localPath(path)).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

void FileSystemObject::CopyDatabaseFile(const QString& source, const QString& destination) const
{
    ado::copyDatabaseFile(localPath(source), localPath(destination));
}

void FileSystemObject::MoveFile(const QString& source, const QString& destination) const
{
    const QString from = localPath(source);
    if (!QFileInfo(from).isFile())
        raise(ado::err::FileNotFound, "File not found");
    renameTo(from, localPath(destination));
}

void FileSystemObject::DeleteFile(const QString& path) const
{
    const QString p = localPath(path);
    if (!QFileInfo(p).isFile())
        raise(ado::err::FileNotFound, "File not found");
    if (::unlink(encoded(p).constData()) != 0)
        raiseErrno(errno);
}

unsigned FileSystemObject::Mode(const QString& path) const
{
    struct stat status {};
    if (::stat(encoded(localPath(path)).constData(), &status) != 0)
        raiseErrno(errno);
    return status.st_mode & 07777;
}

void FileSystemObject::SetMode(const QString& path, unsigned mode) const
{
    if (::chmod(encoded(localPath(path)).constData(), mode & 07777) != 0)
        raiseErrno(errno);
}

void FileSystemObject::WriteTextFile(const QString& path, const QString& text) const
{
    const QString p = localPath(path);
    const QString partial = p + QStringLiteral(".partial");
    const QByteArray bytes = text.toUtf8();
    const int fd = ::open(encoded(partial).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        raiseErrno(errno);
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    const int error = errno;
    ::close(fd);
    if (!written) {
        ::unlink(encoded(partial).constData());
        raiseErrno(error);
    }
    try {
        SyncFile(partial);
    } catch (const ado::Error&) {
        ::unlink(encoded(partial).constData());
        throw;
    }
    if (::rename(encoded(partial).constData(), encoded(p).constData()) != 0) {
        const int renameError = errno;
        ::unlink(encoded(partial).constData());
        raiseErrno(renameError);
    }
    SyncFolder(QFileInfo(p).absolutePath());
}

QString FileSystemObject::ReadTextFile(const QString& path) const
{
    QFile f(localPath(path));
    if (!f.exists())
        raise(ado::err::FileNotFound, "File not found");
    if (!f.open(QIODevice::ReadOnly))
        raise(ado::err::PermissionDenied, "Permission denied");
    return QString::fromUtf8(f.readAll());
}

namespace {
void syncOpened(const QString& path, int flags)
{
    const int fd = ::open(encoded(localPath(path)).constData(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0)
        raiseErrno(errno);
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;   // a volume without syncs has nothing to make durable
    const int error = errno;
    ::close(fd);
    if (!synced)
        raiseErrno(error);
}
} // namespace

void FileSystemObject::SyncFile(const QString& path) const
{
    syncOpened(path, 0);
}

void FileSystemObject::SyncFolder(const QString& path) const
{
    syncOpened(path, O_DIRECTORY);
}

FolderLock::FolderLock(const QString& path)
{
    fd_ = ::open(encoded(localPath(path)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        busy_ = errno == EWOULDBLOCK;
        ::close(fd_);
        fd_ = -1;
    }
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0)
        ::close(fd_);   // releases the lock
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
