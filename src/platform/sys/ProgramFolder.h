// The program folder: where the executable lives, and where the program reads every file.
// Tests point it at a temp folder.
#pragma once

#include <QString>

namespace sys {

QString programFolder();                       // no trailing separator
void setProgramFolder(const QString& folder);  // tests; empty resets to the executable's folder
// The program's way of naming a file in the folder: folder + "\" + name, as the connect
// strings are built; the database layer turns '\' into '/'.
QString programPath(const QString& name);
// A path written the program's way ('\' as the separator) as the file system takes it.
QString localPath(const QString& path);

} // namespace sys
