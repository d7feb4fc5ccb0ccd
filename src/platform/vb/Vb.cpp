// Runtime helpers: number formats and reads, dates, trimming, skip-on-error.
#include "Vb.h"

#include "platform/db/Error.h"

namespace vb {

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' '); }

} // namespace

QString Format00(double value)
{
    return fixedText(value, 2);
}

QString Format(const ado::Variant& value, const QString& format)
{
    using K = ado::Variant::Kind;
    if (value.isNull() || value.isEmpty())
        return QString();
    if (format == QLatin1String("#0.00") || format == QLatin1String("0.00")) {
        switch (value.kind()) {
        case K::Boolean:
        case K::Integer:
        case K::Double:
        case K::Date:   // a date as its day number
            return Format00(value.toDouble());
        case K::Text: {
            const QString t = value.toString();
            double v = 0;
            switch (readNumber(t, NumberSyntax::Whole, &v)) {
            case NumberRead::Number: return Format00(v);
            case NumberRead::Overflow: ado::raiseOverflow();
            case NumberRead::None: break;
            }
            return t;
        }
        default:
            return value.toDisplayString();
        }
    }
    if (value.kind() == K::Date)
        return FormatDate(value.toDate(), format);
    if (value.kind() == K::Text) {
        // A date written as text formats as a date when the format is a date format.
        const QDate d = QDate::fromString(value.toString(), Qt::ISODate);
        if (d.isValid())
            return FormatDate(d, format);
    }
    return value.toDisplayString();
}

double Val(const QString& text)
{
    double v = 0;
    if (readNumber(text, NumberSyntax::Leading, &v) == NumberRead::Overflow)
        ado::raiseOverflow();
    return v;
}

bool IsNumeric(const QString& text)
{
    double v = 0;
    return readNumber(text, NumberSyntax::Whole, &v) == NumberRead::Number;
}

double CDbl(const QString& text)
{
    return ado::Variant(text).toDouble();   // a text's number, the same conversion
}

QString LTrim(const QString& text)
{
    int i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return text.mid(i);
}

QString RTrim(const QString& text)
{
    int n = text.size();
    while (n > 0 && isBlank(text[n - 1]))
        --n;
    return text.left(n);
}

QString Trim(const QString& text) { return LTrim(RTrim(text)); }

static const char* const kMonths[] = {"January", "February", "March", "April", "May", "June",
                                      "July", "August", "September", "October", "November", "December"};

QString MonthName(int month)
{
    if (month < 1 || month > 12)
        return QString();
    return QString::fromLatin1(kMonths[month - 1]);
}

int MonthNumber(const QString& name)
{
    for (int i = 0; i < 12; ++i)
        if (name.compare(QLatin1String(kMonths[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    return 0;
}

int FullYear(int twoDigitYear)
{
    if (twoDigitYear < 0 || twoDigitYear > 99)
        return twoDigitYear;
    return twoDigitYear < 30 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

QDate MakeDate(int year, int month, int day)
{
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return QDate();
    return QDate(year, month, day);   // invalid when the day does not exist
}

QString FormatDate(const QDate& date, const QString& format)
{
    if (!date.isValid())
        return QString();
    QString out;
    int i = 0;
    const int n = format.size();
    auto run = [&](QChar c) {
        int k = i;
        while (k < n && format[k].toLower() == c)
            ++k;
        int len = k - i;
        i = k;
        return len;
    };
    while (i < n) {
        QChar c = format[i].toLower();
        if (c == QLatin1Char('d')) {
            int len = run(c);
            out += len >= 2 ? QString::asprintf("%02d", date.day()) : QString::number(date.day());
        } else if (c == QLatin1Char('m')) {
            int len = run(c);
            if (len >= 4)
                out += MonthName(date.month());
            else if (len == 3)
                out += MonthName(date.month()).left(3);
            else if (len == 2)
                out += QString::asprintf("%02d", date.month());
            else
                out += QString::number(date.month());
        } else if (c == QLatin1Char('y')) {
            int len = run(c);
            out += len >= 4 ? QString::asprintf("%04d", date.year()) : QString::asprintf("%02d", date.year() % 100);
        } else {
            out += format[i++];
        }
    }
    return out;
}

bool skip(const std::function<void()>& statement)
{
    try {
        statement();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace vb
