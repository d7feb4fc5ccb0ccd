// Runtime helpers: number formats and reads, dates, trimming, skip-on-error.
#include "Vb.h"

#include "platform/db/Error.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace vb {

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' '); }

// Shortest decimal text that reads back as the same double ("2.675", not "2.67499...").
std::string shortestDecimal(double v)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    if (res.ec != std::errc())
        return std::to_string(v);
    return std::string(buf, res.ptr);
}

// Rounds a plain decimal text ("-12.345") half away from zero to `decimals` places.
QString roundDecimalText(const std::string& text, int decimals)
{
    bool negative = !text.empty() && text[0] == '-';
    std::string body = negative ? text.substr(1) : text;
    auto dot = body.find('.');
    std::string intPart = dot == std::string::npos ? body : body.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : body.substr(dot + 1);
    if (intPart.empty())
        intPart.assign(1, '0');
    bool roundUp = frac.size() > static_cast<size_t>(decimals) && frac[decimals] >= '5';
    frac.resize(decimals, '0');
    std::string digits = intPart + frac;
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        for (; i >= 0; --i) {
            if (digits[i] == '9') {
                digits[i] = '0';
            } else {
                ++digits[i];
                break;
            }
        }
        if (i < 0)
            digits.insert(digits.begin(), '1');
    }
    std::string ip = digits.substr(0, digits.size() - decimals);
    std::string fp = digits.substr(digits.size() - decimals);
    auto nz = ip.find_first_not_of('0');
    if (nz == std::string::npos)
        ip.assign(1, '0');
    else
        ip.erase(0, nz);
    bool allZero = ip == "0" && fp.find_first_not_of('0') == std::string::npos;
    QString out = QString::fromStdString(ip);
    if (decimals > 0)
        out += QLatin1Char('.') + QString::fromStdString(fp);
    if (negative && !allZero)
        out.prepend(QLatin1Char('-'));
    return out;
}

// Reads the number a text starts with into `out` (0 when there is none). With `whole` the
// number must fill the text apart from surrounding blanks, and false says it does not.
bool parseNumber(const QString& text, bool whole, double* out)
{
    QString s;
    if (whole) {
        s = text.trimmed();
        if (s.isEmpty())
            return false;
    } else {
        // Val ignores blanks, tabs and line feeds anywhere in the text.
        s.reserve(text.size());
        for (const QChar c : text) {
            if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                continue;
            s += c;
        }
    }
    // &H hexadecimal and &O octal, as Val reads them.
    if (s.size() >= 2 && s[0] == QLatin1Char('&')) {
        QChar k = s[1].toUpper();
        int base = k == QLatin1Char('H') ? 16 : k == QLatin1Char('O') ? 8 : 0;
        if (base) {
            int j = 2;
            qint64 v = 0;
            for (; j < s.size(); ++j) {
                int d = s[j].isDigit() ? s[j].digitValue() : (base == 16 && s[j].toUpper() >= QLatin1Char('A') && s[j].toUpper() <= QLatin1Char('F')) ? s[j].toUpper().unicode() - 'A' + 10 : -1;
                if (d < 0 || d >= base)
                    break;
                if (v <= 0xFFFFFFFFLL)
                    v = v * base + d;
            }
            // The number is typed as the runtime types such a literal: up to &HFFFF a 16-bit
            // integer, up to &HFFFFFFFF a 32-bit one, so the top bit is the sign
            // (&HFFFF is -1); a trailing "&" asks for 32 bits (&HFFFF& is 65535).
            const bool any = j > 2;
            const bool asLong = any && j < s.size() && s[j] == QLatin1Char('&');
            if (asLong)
                ++j;
            if (whole && j != s.size())
                return false;
            if (!asLong && v <= 0xFFFF)
                v = v > 0x7FFF ? v - 0x10000 : v;
            else if (v <= 0xFFFFFFFFLL)
                v = v > 0x7FFFFFFFLL ? v - 0x100000000LL : v;
            *out = static_cast<double>(v);
            return any || !whole;
        }
    }
    int j = 0;
    std::string num;
    if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
        num += static_cast<char>(s[j++].unicode());
    int digits = 0;
    while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128) {
        num += static_cast<char>(s[j++].unicode());
        ++digits;
    }
    if (j < s.size() && s[j] == QLatin1Char('.')) {
        num += '.';
        ++j;
        while (j < s.size() && s[j].isDigit() && s[j].unicode() < 128) {
            num += static_cast<char>(s[j++].unicode());
            ++digits;
        }
    }
    if (digits > 0 && j < s.size() && (s[j].toUpper() == QLatin1Char('E') || s[j].toUpper() == QLatin1Char('D'))) {
        int k = j + 1;
        std::string ex = "e";
        if (k < s.size() && (s[k] == QLatin1Char('+') || s[k] == QLatin1Char('-')))
            ex += static_cast<char>(s[k++].unicode());
        int ed = 0;
        while (k < s.size() && s[k].isDigit() && s[k].unicode() < 128) {
            ex += static_cast<char>(s[k++].unicode());
            ++ed;
        }
        if (ed > 0) {
            num += ex;
            j = k;
        }
    }
    if (whole && (digits == 0 || j != s.size()))
        return false;
    if (digits == 0) {
        *out = 0;
        return true;
    }
    *out = std::strtod(num.c_str(), nullptr);
    return true;
}

} // namespace

QString Format00(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    return roundDecimalText(shortestDecimal(value), 2);
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
            return parseNumber(t, true, &v) ? Format00(v) : t;
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
    parseNumber(text, false, &v);
    return v;
}

bool IsNumeric(const QString& text)
{
    double v;
    return parseNumber(text, true, &v);
}

double CDbl(const QString& text)
{
    double v = 0;
    if (!parseNumber(text, true, &v))
        throw ado::Error(ado::err::TypeMismatch, QStringLiteral("Type mismatch"), QStringLiteral("Lumora"));
    return v;
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
