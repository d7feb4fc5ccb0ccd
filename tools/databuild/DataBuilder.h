// Turns data/ (schema SQL, sample law documents, help documents, report templates, banner)
// into the program folder's databases and files. Never overwrites an existing nwForm10DB.mdb,
// TAXDATA.mdb or Form10Data.mdb: those hold the user's work. The law databases and the copied
// files are replaced, each whole and only when its content changed.
#pragma once

#include <QString>

namespace databuild {

// Returns true on success; on failure `error` says what went wrong.
bool buildProgramFolder(const QString& dataDir, const QString& programDir, QString* error = nullptr);

} // namespace databuild
