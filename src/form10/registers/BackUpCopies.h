// The copies of the backup window. Each Back Up and each Restore changes the three data files
// as one set: afterwards, and after a crash at any moment once the folder has been recovered,
// the target folder holds either the whole old set or the whole new set under the right names,
// and nothing else of the change.
//
// How a set is replaced in a folder:
//  1. every source must be there, sound (a journal a crashed writer left is rolled back first)
//     and, for a Restore, the kind of file it replaces; no other program may be writing to a
//     target;
//  2. each source is copied (a consistent copy, however it is in use) into "<name>.new" beside
//     its target, with the target's permissions;
//  3. the plan "data-files.plan" is written into the folder: which files are being replaced and
//     where the current ones are set aside;
//  4. each current file is set aside and its copy renamed into its place; the copies are
//     checked where they now stand;
//  5. removing the plan completes the change; what was set aside for a Back Up is removed.
// Any failure in 4 puts the set aside files back. A crash before 3 leaves only new files, which
// recovery removes; a crash while the plan exists is undone by recovery from the plan. Recovery
// runs when the program starts and whenever the backup window becomes active. A plan that
// cannot be read stops the recovery of its folder, and every Back Up and Restore to or from
// it, until the user removes it.
//
// A change holds the program folder and the drive root of the backup folder against another
// running copy of the program for its whole course; that copy's recovery leaves them alone
// meanwhile, and its Back Up and Restore are refused.
//
// A Back Up sets the previous backup aside as "<name>.old". The first Back Up to a drive
// fills a folder "Lumora1BackUp.new" beside where the backup folder goes and renames it at the
// end, so a failed or interrupted first backup leaves no backup folder behind (one that would
// hide a good backup on another drive).
//
// A Restore sets the files it replaces aside into a dated folder "Replaced-<yyyy-MM-dd-HHmmss>"
// of the program folder, where they stay, the last five such folders only, so that a mistaken
// restore is undone by copying them back.
#pragma once

#include <QString>
#include <QStringList>

namespace sys {
class FileSystemObject;
}

// The three data files, in the order they are copied.
inline const char* const kDataFiles[] = {"TAXDATA.mdb", "nwForm10DB.mdb", "Form10Data.mdb"};
inline const QString kBackUpFolderName = QStringLiteral("Lumora1BackUp");

// Backs up the data files of `programFolder` into `backUpFolder`, made when missing. Raises
// ado::Error whose description says plainly what failed, and what state things are in.
void backUpDataFiles(const sys::FileSystemObject& fso, const QString& programFolder, const QString& backUpFolder);

// Restores the data files of `backUpFolder` into `programFolder`. Returns the folder keeping
// the files it replaced ("" when there were none). Raises as backUpDataFiles does.
QString restoreDataFiles(const sys::FileSystemObject& fso, const QString& backUpFolder, const QString& programFolder);

// Undoes a change a crash interrupted in the program folder and in the backup folder of each
// drive root (a root ends in '/'), and removes what such a change left; a folder another copy
// of the program is changing is left alone. Returns what could not be done now, plainly, one
// problem each ("" when all is in order); it is tried again next time.
QString recoverDataFiles(const sys::FileSystemObject& fso, const QString& programFolder, const QStringList& roots);
