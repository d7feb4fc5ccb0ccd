#include "DecimalCommaLocale.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <memory>

namespace {

const char* const kLocale = "de_DE.UTF-8";

QString currentLocale()
{
    const char* name = std::setlocale(LC_ALL, nullptr);
    return QString::fromLatin1(name ? name : "C");
}

bool decimalComma()
{
    const std::lconv* conv = std::localeconv();
    return conv && conv->decimal_point && QByteArray(conv->decimal_point) == ",";
}

// Made at most once per test program; it lives as long as the program.
QString madeLocaleFolder(QString* error)
{
    static std::unique_ptr<QTemporaryDir> folder;
    static QString failure;
    if (folder || !failure.isEmpty()) {
        *error = failure;
        return folder ? folder->path() : QString();
    }
    auto dir = std::make_unique<QTemporaryDir>();
    QProcess localedef;
    localedef.start(QStringLiteral("localedef"),
                    {QStringLiteral("-c"), QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                     QStringLiteral("UTF-8"), dir->filePath(QString::fromLatin1(kLocale))});
    if (!dir->isValid() || !localedef.waitForFinished(120000) || localedef.exitStatus() != QProcess::NormalExit) {
        failure = QStringLiteral("localedef could not run (install the Debian package \"locales\"): ")
                  + localedef.errorString();
        *error = failure;
        return QString();
    }
    folder = std::move(dir);
    return folder->path();
}

} // namespace

DecimalCommaLocale::DecimalCommaLocale() : previous_(currentLocale())
{
    if (std::setlocale(LC_ALL, kLocale) && decimalComma()) {
        active_ = true;
        return;
    }
    QString error;
    const QString folder = madeLocaleFolder(&error);
    if (!folder.isEmpty()) {
        // Only while the locale loads: other locales are not in that folder.
        qputenv("LOCPATH", folder.toLocal8Bit());
        active_ = std::setlocale(LC_ALL, kLocale) && decimalComma();
        qunsetenv("LOCPATH");
        if (!active_)
            error = QStringLiteral("the locale made in %1 does not load").arg(folder);
    }
    if (!active_) {
        std::setlocale(LC_ALL, previous_.toLatin1().constData());
        ADD_FAILURE() << "no decimal-comma locale: " << error.toStdString();
    }
}

DecimalCommaLocale::~DecimalCommaLocale()
{
    std::setlocale(LC_ALL, previous_.toLatin1().constData());
}

PlainLocale::PlainLocale() : previous_(currentLocale())
{
    if (!std::setlocale(LC_ALL, "C.UTF-8"))
        std::setlocale(LC_ALL, "C");
}

PlainLocale::~PlainLocale()
{
    std::setlocale(LC_ALL, previous_.toLatin1().constData());
}
