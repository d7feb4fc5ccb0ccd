#include "WordSearch.h"

#include "LawDb.h"
#include "MyMOD.h"
#include "platform/db/StatementText.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/vb/Vb.h"

#include <limits>

namespace lawdb {

namespace {

// A value read into a 32-bit whole number, as the runtime converts it.
long toLong32(const ado::Variant& value)
{
    const qint64 n = value.toLongLong();
    if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        ado::raiseOverflow();
    return static_cast<long>(n);
}

} // namespace

QString wordSearchLabel(const QString& cell)
{
    if (cell.indexOf(QLatin1Char('-')) > 0)
        return cell.left(cell.lastIndexOf(QLatin1Char('-')));
    return cell;
}

QString wordSearchPattern(const QString& words)
{
    const bool leading = words.startsWith(QLatin1Char(' '));
    const bool trailing = words.endsWith(QLatin1Char(' '));

    // Trimmed once: none of the replacements below puts a blank at either end.
    QString text = ado::sqlLikeWords(vb::Trim(words));
    while (text.contains(QStringLiteral("  ")))
        text.replace(QStringLiteral("  "), QStringLiteral(" "));
    text.replace(QLatin1Char(' '), QStringLiteral("% %"));

    // Words of blanks only: the one blank they stand for sits between the two "%".
    if (text.isEmpty() && leading)
        return QStringLiteral("'% %'");
    return (QLatin1String(leading ? "'% " : "'%") + text + QLatin1String(trailing ? " %'" : "%'")).toLower();
}

QString wordSearchStatement(const QString& table, const QString& column, const QString& words,
                            const QString& order)
{
    QString pattern = wordSearchPattern(words);
    if (!vb::Trim(order).isEmpty())
        pattern += QStringLiteral(" ORDER BY ") + order;
    return QStringLiteral("Select  * from ") + table + QStringLiteral(" where lcase(`") + vb::Trim(column)
           + QStringLiteral("`) like ") + pattern;
}

void fillWordSearchList(ui::ListBox& list, ado::Recordset& rs, const QString& column,
                        const QString& idColumn)
{
    for (; !rs.Eof(); rs.MoveNext()) {
        const ado::Variant value = rs.Fields(column).Value();
        if (value.isNull() || value.toString().isEmpty())
            continue;
        list.AddItem(wordSearchLabel(value.toString()));
        list.setItemData(list.NewIndex(), toLong32(rs.Fields(idColumn).Value()));
    }
}

void procWordSearch(ui::ListBox& list, const QString& table, const QString& column,
                    const QString& words, const QString& order)
{
    try {
        if (vb::Trim(table).isEmpty() || vb::Trim(column).isEmpty())
            return;
        const QString sql = wordSearchStatement(table, column, words, order);
        ado::Recordset& rs = *state().WordSearchRecordset;
        if (rs.State() == ado::adStateOpen)
            rs.Close();
        // A table that no catalogue holds has no connection: the open then fails.
        rs.ActiveConnection = fnConnectionForTable(table);
        rs.Open(sql, ado::ConnectionPtr(), ado::adOpenDynamic, ado::adLockOptimistic);
        list.Clear();
        fillWordSearchList(list, rs, column, QStringLiteral("id"));
    } catch (const ado::Error& e) {
        if (fnInDebug())
            ui::MsgBox(QStringLiteral("WS Err ") + e.Description(), ui::vbExclamation, QStringLiteral("IN_DEBUG"));
    } catch (const std::exception& e) {
        if (fnInDebug())
            ui::MsgBox(QStringLiteral("WS Err ") + QString::fromLocal8Bit(e.what()), ui::vbExclamation,
                       QStringLiteral("IN_DEBUG"));
    }
}

} // namespace lawdb
