// The program folder: the executable's folder unless a test has pointed it elsewhere.
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace sys {

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

// Neither a cleaned path nor the executable's folder ends in a separator.
QString programFolder()
{
    const QString& folder = overrideFolder();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

void setProgramFolder(const QString& folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

QString programPath(const QString& name)
{
    return programFolder() + QLatin1Char('\\') + name;
}

QString localPath(const QString& path)
{
    return QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

} // namespace sys
