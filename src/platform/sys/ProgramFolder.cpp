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

QString programFolder()
{
    QString folder = overrideFolder();
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

void setProgramFolder(const QString& folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

QString programPath(const QString& name)
{
    return programFolder() + QLatin1Char('\\') + name;
}

} // namespace sys
