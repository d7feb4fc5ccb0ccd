// The file-system object the backup window and the help window use, and the drive list.
// It is the seam through which every change the backup window makes to files passes.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace sys {

// Every operation raises ado::Error with the runtime's numbers and texts (53 "File not found",
// 58 "File already exists", 61 "Disk full", 70 "Permission denied", 75 for another failure
// of the system, with its words, 76 "Path not found"; a database copy raises as
// ado::copyDatabaseFile does). The operations are virtual so that a test can make any of them
// fail, or stop the process, half-way through a sequence.
class FileSystemObject {
public:
    virtual ~FileSystemObject() = default;
    virtual bool FolderExists(const QString& path) const;
    virtual bool FileExists(const QString& path) const;
    // 58 when something of that name exists, 76 when the parent folder is missing, 70 when
    // the parent cannot be written.
    virtual void CreateFolder(const QString& path) const;
    // Removes an empty folder.
    virtual void DeleteFolder(const QString& path) const;
    // Renames a folder within its volume; the destination must not exist (58).
    virtual void MoveFolder(const QString& source, const QString& destination) const;
    // The names of the folders directly inside `path`, sorted.
    virtual QStringList SubFolders(const QString& path) const;
    // Copies source to destination; overwrite true replaces an existing file.
    virtual void CopyFile(const QString& source, const QString& destination, bool overwrite = true) const;
    // A consistent copy of a database file, however it is in use, into a new file.
    virtual void CopyDatabaseFile(const QString& source, const QString& destination) const;
    // Renames a file within its volume; the destination must not exist (58).
    virtual void MoveFile(const QString& source, const QString& destination) const;
    virtual void DeleteFile(const QString& path) const;
    // The permission bits of a file (as chmod takes them: 0644, 0444).
    virtual unsigned Mode(const QString& path) const;
    virtual void SetMode(const QString& path, unsigned mode) const;
    // A small text file written whole or not at all: into a new file beside it, made
    // durable (SyncFile), then renamed over `path` and the rename made durable (SyncFolder).
    virtual void WriteTextFile(const QString& path, const QString& text) const;
    virtual QString ReadTextFile(const QString& path) const;
    // Makes what was written to the file durable.
    virtual void SyncFile(const QString& path) const;
    // Makes the latest renames, new files and deletions in the folder durable.
    virtual void SyncFolder(const QString& path) const;
};

// An advisory lock on a folder, taken without waiting and held while the object lives. The
// system releases it when the process ends, however it ends, so a killed process leaves no
// lock behind; nothing is written into the folder. Only other holders of such a lock are kept
// out: the folder's files stay open to everyone.
class FolderLock {
public:
    explicit FolderLock(const QString& path);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // Another process holds the folder. A folder that cannot be opened or locked (missing, or
    // on a volume without locks) is not busy: there is nothing to guard, or no way to.
    bool busy() const { return busy_; }

private:
    int fd_ = -1;
    bool busy_ = false;
};

// The roots a backup can go to, each ending in '/': the user's home folder first, then every
// mounted volume directly under /media/<user>/, /run/media/<user>/ and /mnt/, in that order,
// each group sorted by name.
QStringList logicalDrives();
// Tests: the roots logicalDrives() gives instead of the machine's; std::nullopt restores them.
void setLogicalDrives(std::optional<QStringList> roots);
// The rule on its own: the roots for a home folder, a user name and the machine's mount points.
QStringList driveRootsFrom(const QString& home, const QString& user, const QStringList& mountPoints);

} // namespace sys
