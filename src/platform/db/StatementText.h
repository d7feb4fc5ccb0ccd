// The texts the program builds around the database layer: a value put between quotes in a
// statement, the connect string of a database file, and the detailed error message.
#pragma once

#include "Error.h"

#include <QString>

namespace ado {

// The value with every apostrophe doubled, ready to stand between single quotes, so that a
// name like D'Souza is stored and found exactly and never breaks a statement.
inline QString sqlQuoted(const QString& value)
{
    return QString(value).replace(QLatin1Char('\''), QStringLiteral("''"));
}

// Words typed for a LIKE pattern, quoted, with the brackets and braces (which the pattern
// would read as a list of characters) standing for any text.
inline QString sqlLikeWords(const QString& words)
{
    QString text = sqlQuoted(words);
    for (const QChar c : {u'[', u']', u'{', u'}'})
        text.replace(c, QLatin1Char('%'));
    return text;
}

// "Driver={Microsoft Access Driver (*.mdb)};Dbq=<path>": the connect string of a database
// file, named the program's way (folder + "\" + file).
inline QString accessConnectString(const QString& path)
{
    return QStringLiteral("Driver={Microsoft Access Driver (*.mdb)};Dbq=") + path;
}

// "<tag><description> | No: <number> | Src: <source>".
inline QString detailedText(const QString& tag, long number, const QString& description, const QString& source)
{
    return tag + description + QStringLiteral(" | No: ") + QString::number(number) + QStringLiteral(" | Src: ")
           + source;
}
inline QString detailedText(const QString& tag, const Error& e)
{
    return detailedText(tag, e.Number(), e.Description(), e.Source());
}

} // namespace ado
