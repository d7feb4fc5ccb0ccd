// The file-system object the backup window and the help window use, and the drive list.
#pragma once

#include <QString>
#include <QStringList>

namespace sys {

class FileSystemObject {
public:
    bool FolderExists(const QString& path) const;
    bool FileExists(const QString& path) const;
    // Raises ado::Error (76 "Path not found") when it cannot be created.
    void CreateFolder(const QString& path) const;
    // Copies source to destination; overwrite true replaces an existing file. Raises
    // ado::Error (53 "File not found", 58 "File already exists", 70 "Permission denied").
    void CopyFile(const QString& source, const QString& destination, bool overwrite = true) const;
};

// Mounted drives a backup can go to (root paths), in a stable order.
QStringList logicalDrives();

} // namespace sys
