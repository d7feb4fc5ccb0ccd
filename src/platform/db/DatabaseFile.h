// Whole database files: a consistent copy of a database that may be in use, the check that a
// file is a sound database, what a file holds, and making sure nobody is half-way through
// changing one.
//
// Copies go through SQLite's online backup on a handle of their own, which reads the source
// under one read lock: a copy taken while another connection writes holds the database as it
// stood before or after that change, never a mix of old and new pages. A raw byte copy of a
// file being written gives no such promise.
//
// Every failure is an ado::Error whose number says what kind of trouble it is, for the
// caller to put in plain words, and whose description is the engine's or the system's own:
// err::FileInUse (another program holds the file), err::FileDamaged (not a database, or one
// failing its check), err::PermissionDenied, err::DiskFull, err::FileNotFound, and
// err::FileAccess for any other failure to read or write.
#pragma once

#include <QString>
#include <QStringList>

namespace ado {

// Writes a copy of the database `source` into a new file `destination` (a file already there
// is replaced). No partial destination is left on failure.
void copyDatabaseFile(const QString& source, const QString& destination);

// Raises when `path` is not a SQLite database (an empty file included) or fails its
// integrity check.
void checkDatabaseFile(const QString& path);

// Finishes an interrupted change of the database at `path`: a journal left by a writer that
// died is rolled back by one read-write open, as the program's own next open would. With
// `replacing`, also makes sure no connection is writing to it. Raises err::FileInUse when a
// writer holds the file (or, replacing, is changing it); a missing, read-only or damaged file
// passes (it is checked, or replaced, after).
void settleDatabaseFile(const QString& path, bool replacing = false);

// What a database holds: its tables' names and the mark its maker gave it (user_version).
struct DatabaseFacts {
    QStringList tables;
    int userVersion = 0;
};
DatabaseFacts readDatabaseFacts(const QString& path);

} // namespace ado
