// The file-system object the backup window and the help window use, and the drive list.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace sys {

// Every operation raises ado::Error with the runtime's numbers and texts (53 "File not found",
// 58 "File already exists", 70 "Permission denied", 76 "Path not found"). The operations are
// virtual so that a test can make one of them fail half-way through a sequence.
class FileSystemObject {
public:
    virtual ~FileSystemObject() = default;
    virtual bool FolderExists(const QString& path) const;
    virtual bool FileExists(const QString& path) const;
    // 58 when something of that name exists, 76 when the parent folder is missing, 70 when
    // the parent cannot be written.
    virtual void CreateFolder(const QString& path) const;
    // Copies source to destination; overwrite true replaces an existing file.
    virtual void CopyFile(const QString& source, const QString& destination, bool overwrite = true) const;
    // Renames a file; the destination must not exist (58).
    virtual void MoveFile(const QString& source, const QString& destination) const;
    virtual void DeleteFile(const QString& path) const;
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
