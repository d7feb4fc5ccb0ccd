// Whole database files: a consistent copy of a database that may be in use, the check that a
// file is a sound database, and making sure nobody is half-way through changing one.
//
// Copies go through SQLite's online backup on a handle of their own, which reads the source
// under one read lock: a copy taken while another connection writes holds the database as it
// stood before or after that change, never a mix of old and new pages. A raw byte copy of a
// file being written gives no such promise.
#pragma once

#include <QString>

namespace ado {

// Writes a copy of the database `source` into a new file `destination` (a file already there
// is replaced). Raises ado::Error with the engine's reason; no partial destination is left.
void copyDatabaseFile(const QString& source, const QString& destination);

// Raises ado::Error with the reason when `path` is not a SQLite database (an empty file
// included) or fails its integrity check.
void checkDatabaseFile(const QString& path);

// Finishes an interrupted change of the database at `path` (SQLite rolls a left-over journal
// back when it takes a write lock) and checks that no connection is writing to it now.
// Raises ado::Error only when a writer holds the file; a damaged file passes (it may be about
// to be replaced).
void settleDatabaseFile(const QString& path);

} // namespace ado
