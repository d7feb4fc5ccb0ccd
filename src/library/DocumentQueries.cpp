#include "DocumentQueries.h"

#include "platform/vb/Vb.h"

#include <cmath>

namespace library {

QString goQueryText(const QString& oleColumn, const QString& oleTable,
                    const QString& predicateColumn, const QString& value,
                    const QString& conditions)
{
    return QStringLiteral("select ") + oleColumn + QStringLiteral(" from ") + oleTable
           + QStringLiteral(" where ") + predicateColumn + QStringLiteral("='") + sqlQuoted(value)
           + QStringLiteral("' ") + vb::Trim(conditions);
}

QString indexDocumentName(const QString& cell)
{
    const int p = cell.indexOf(QLatin1Char('-'));
    if (p < 0 || p + 1 >= cell.size())
        return {};
    return cell.mid(p + 1);
}

QString nameStatement(const QString& table, const QString& name, const QString& condition)
{
    return QStringLiteral("select fname from ") + table + QStringLiteral(" where name='")
           + sqlQuoted(name) + QStringLiteral("'") + condition;
}

std::optional<QString> numericKeyText(const ado::Variant& value)
{
    using K = ado::Variant::Kind;
    switch (value.kind()) {
    case K::Integer:
        return QString::number(value.toLongLong());
    case K::Double: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            return std::nullopt;
        if (d == std::floor(d) && std::fabs(d) < 9.0e15)
            return QString::number(static_cast<qint64>(d));
        return QString::number(d, 'g', 15);
    }
    case K::Text: {
        const QString t = vb::Trim(value.toString());
        if (!vb::IsNumeric(t))
            return std::nullopt;
        return numericKeyText(ado::Variant(vb::CDbl(t)));
    }
    default:
        return std::nullopt;   // Null, Empty, Boolean, Date, Binary
    }
}

QString numericKeyStatement(const QString& table, const QString& keyColumn, const QString& key)
{
    return QStringLiteral("select fname from ") + table + QStringLiteral(" where ") + keyColumn
           + QStringLiteral("=") + key;
}

QString numericKeyStatementWithCondition(const QString& oleColumn, const QString& table,
                                         const QString& keyColumn, const QString& key,
                                         const QString& conditions)
{
    return QStringLiteral("select ") + oleColumn + QStringLiteral(" from ") + table
           + QStringLiteral(" where ") + keyColumn + QStringLiteral("=") + key
           + QStringLiteral(" ") + vb::Trim(conditions);
}

} // namespace library
