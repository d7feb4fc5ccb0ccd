// The copies of the backup window: the data files copied into a backup folder, or back into
// the program folder, all or nothing.
#pragma once

#include <QString>
#include <vector>

namespace sys {
class FileSystemObject;
}

// The three data files, in the order they are copied.
inline const char* const kDataFiles[] = {"TAXDATA.mdb", "nwForm10DB.mdb", "Form10Data.mdb"};

struct DataFileCopy {
    QString source;
    QString target;
};

// Copies every source database to its target:
//  1. every source must exist and pass the database check, and no connection may be writing
//     to a target, before anything is written;
//  2. each source is copied (a consistent copy, however it is in use) into a new file beside
//     its target, and the new file is checked;
//  3. only when all new files are sound do they take their targets' places; a target that
//     cannot be replaced puts back the ones already replaced.
// Raises ado::Error whose description names the file and the reason; every target is then as
// it was, and no new or set-aside file is left behind.
void copyDataFiles(const sys::FileSystemObject& fso, const std::vector<DataFileCopy>& copies);
