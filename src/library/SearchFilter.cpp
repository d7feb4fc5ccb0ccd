// Builds the search screen's filter text. The recordset's filter grammar accepts exactly the
// shapes made here: LIKE terms joined by AND, equality on numbers and truth values, and a
// one-day range for dates.
#include "SearchFilter.h"

#include "platform/db/StatementText.h"
#include "platform/vb/Vb.h"

#include <QRegularExpression>
#include <QStringList>

namespace library {

namespace {

enum class Group { Numeric, Currency, Text, Truth, Date, Other };

Group groupOf(int adoType)
{
    switch (adoType) {
    case 2: case 3: case 4: case 5: case 14: case 16: case 17: case 18: case 19: case 20:
    case 21: case 131:
        return Group::Numeric;
    case 6:
        return Group::Currency;
    case 8: case 129: case 130: case 200: case 201: case 202: case 203:
        return Group::Text;
    case 11:
        return Group::Truth;
    case 133: case 134: case 135:
        return Group::Date;
    default:
        return Group::Other;   // the automation date (7) included
    }
}

FilterOutcome apply(const QString& filter) { return {FilterOutcome::Apply, filter, {}}; }
FilterOutcome reject(const QString& line1, const QString& line2)
{
    return {FilterOutcome::Reject, {}, line1 + QStringLiteral("\r\n") + line2};
}
FilterOutcome silent() { return {FilterOutcome::Silent, {}, {}}; }

// English month: its full name or any beginning of it of three letters or more, in any
// case, so that a name being typed ("Decem") never reads as a wrong date.
int monthFromName(const QString& name)
{
    const QString lower = name.toLower();
    if (lower.size() < 3)
        return 0;
    for (int m = 1; m <= 12; ++m) {
        if (vb::MonthName(m).toLower().startsWith(lower))
            return m;
    }
    return 0;
}

int yearOf(const QString& digits)
{
    const int y = digits.toInt();
    return digits.size() <= 2 ? vb::FullYear(y) : y;
}

} // namespace

QDate parseSearchDate(const QString& text)
{
    const QString t = text.trimmed();
    // year first: 1982-12-18, 1982/12/18
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})$"));
    if (const auto m = iso.match(t); m.hasMatch())
        return vb::MakeDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    // day first, month as a number or an English name: 18-Dec-1982, 18/12/82, 18 December 1982.
    // Years of one to four digits, so that every step of typing a year is a date and the
    // refusal for long texts never interrupts it ("18-Dec-198" is the year 198).
    static const QRegularExpression dmy(
        QStringLiteral("^(\\d{1,2})\\s*[-/. ]\\s*([A-Za-z]+|\\d{1,2})\\s*[-/. ,]\\s*(\\d{1,4})$"));
    if (const auto m = dmy.match(t); m.hasMatch()) {
        bool isNumber = false;
        int month = m.captured(2).toInt(&isNumber);
        if (!isNumber)
            month = monthFromName(m.captured(2));
        if (month < 1)
            return {};
        return vb::MakeDate(yearOf(m.captured(3)), month, m.captured(1).toInt());
    }
    // month name first: Dec 18 1982, December 18, 1982
    static const QRegularExpression mdy(
        QStringLiteral("^([A-Za-z]+)\\s*[-/. ]\\s*(\\d{1,2})\\s*[-/. ,]\\s*(\\d{1,4})$"));
    if (const auto m = mdy.match(t); m.hasMatch()) {
        const int month = monthFromName(m.captured(1));
        if (month < 1)
            return {};
        return vb::MakeDate(yearOf(m.captured(3)), month, m.captured(2).toInt());
    }
    return {};
}

QString formatFilterDate(const QDate& date)
{
    return QStringLiteral("%1/%2/%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(vb::MonthName(date.month()).left(3))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

FilterOutcome buildSearchFilter(const QString& caption, int adoType, const QString& typed)
{
    const QString& F = caption;
    QString T = ado::sqlLikeWords(vb::Trim(typed));
    const QString trimmed = vb::Trim(T);

    switch (groupOf(adoType)) {
    case Group::Numeric:
    case Group::Currency:
        if (trimmed.isEmpty())
            return apply({});
        if (vb::IsNumeric(T))
            return apply(F + QStringLiteral(" =") + T);
        return groupOf(adoType) == Group::Numeric
                   ? reject(QStringLiteral("Not a valid numeric."),
                            QStringLiteral("Please enter a numeric value."))
                   : reject(QStringLiteral("Not a valid Currency."),
                            QStringLiteral("Please enter a numeric value."));
    case Group::Text: {
        if (trimmed.isEmpty())
            return apply({});
        while (T.contains(QStringLiteral("  ")))
            T = vb::Trim(T).replace(QStringLiteral("  "), QStringLiteral(" "));
        QString filter;
        for (const QString& word : vb::Trim(T).split(QLatin1Char(' '))) {
            if (vb::Trim(word).isEmpty())
                continue;
            if (!filter.isEmpty())
                filter += QStringLiteral(" AND ");
            filter += F + QStringLiteral(" LIKE '*") + word + QStringLiteral("*'");
        }
        return apply(filter);
    }
    case Group::Truth: {
        if (trimmed.isEmpty())
            return apply({});
        const QString lower = trimmed.toLower();
        if (lower == QLatin1String("true") || lower == QLatin1String("false") || vb::IsNumeric(T))
            return apply(F + QStringLiteral(" =") + T);
        static const QStringList partial = {"t", "tr", "tru", "f", "fa", "fal", "fals"};
        if (partial.contains(lower))
            return silent();
        return reject(QStringLiteral("Not a valid boolean."),
                      QStringLiteral("Please enter ('True' or 'False' or a numeric value)."));
    }
    case Group::Date: {
        if (trimmed.isEmpty())
            return apply({});
        const QDate d = parseSearchDate(T);
        if (d.isValid())
            return apply(F + QStringLiteral(">=#") + formatFilterDate(d) + QStringLiteral("# AND ")
                         + F + QStringLiteral("<#") + formatFilterDate(d.addDays(1))
                         + QStringLiteral("# "));
        if (trimmed.size() > 9)
            return reject(QStringLiteral("Not a valid date."),
                          QStringLiteral("Please enter a valid date. Eg. 18-Dec-1982"));
        return silent();
    }
    case Group::Other:
        break;
    }
    return apply({});
}

} // namespace library
