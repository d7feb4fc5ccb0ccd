// The number reader and writer. The digits a text holds are gathered into a plain ASCII form
// ("-12.5e3") and converted by std::from_chars, which no locale touches; numbers are written by
// std::to_chars, likewise.
#include "NumberText.h"

#include "platform/db/Error.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace vb {

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The characters the number is read from: the trimmed text for Whole and Amount, the text
// without its blanks for Leading.
std::u16string significant(QStringView text, NumberSyntax syntax)
{
    if (syntax != NumberSyntax::Leading) {
        const QStringView t = text.trimmed();
        return std::u16string(t.utf16(), std::size_t(t.size()));
    }
    std::u16string s;
    s.reserve(std::size_t(text.size()));
    for (const QChar c : text)
        if (!isBlank(c.unicode()))
            s += c.unicode();
    return s;
}

// &H and &O numbers are typed as the runtime types such a literal: up to &HFFFF a 16-bit
// integer, up to &HFFFFFFFF a 32-bit one, so the top bit is the sign (&HFFFF is -1); a
// trailing "&" asks for 32 bits (&HFFFF& is 65535). More than 32 bits is an overflow.
NumberRead readRadix(const std::u16string& s, bool whole, double* out)
{
    const int base = (s[1] == u'H' || s[1] == u'h') ? 16 : 8;
    std::size_t j = 2;
    long long v = 0;
    bool tooLarge = false;
    for (; j < s.size(); ++j) {
        const char16_t c = s[j];
        int d = -1;
        if (isDigit(c))
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        if (d < 0 || d >= base)
            break;
        v = v * base + d;
        tooLarge = tooLarge || v > 0xFFFFFFFFLL;
        if (tooLarge)
            v = 0;   // keeps reading the digits without overflowing itself
    }
    const bool any = j > 2;
    const bool asLong = any && j < s.size() && s[j] == u'&';
    if (asLong)
        ++j;
    if (whole && (!any || j != s.size()))
        return NumberRead::None;
    if (tooLarge)
        return NumberRead::Overflow;
    if (!asLong && v <= 0xFFFF)
        v = v > 0x7FFF ? v - 0x10000 : v;
    else
        v = v > 0x7FFFFFFFLL ? v - 0x100000000LL : v;
    *out = double(v);
    return any ? NumberRead::Number : NumberRead::None;
}

// Converts "[-]digits[.digits][e[+-]digits]". The magnitude of a number out of range tells
// overflow from underflow: its first digit's place is far above or far below the point.
NumberRead convert(const std::string& ascii, double* out)
{
    const char* first = ascii.data();
    const char* last = first + ascii.size();
    double v = 0;
    const auto [end, ec] = std::from_chars(first, last, v);
    if (ec == std::errc() && end == last) {
        *out = v;
        return NumberRead::Number;
    }
    if (ec != std::errc::result_out_of_range)
        return NumberRead::None;   // cannot happen with the forms gathered
    long long place = 0;           // decimal place of the first significant digit, roughly
    const std::size_t e = ascii.find('e');
    const std::string mantissa = ascii.substr(0, e);
    const std::size_t point = mantissa.find('.');
    const std::size_t firstDigit = mantissa.find_first_of("123456789");
    if (firstDigit != std::string::npos) {
        const std::size_t whole = point == std::string::npos ? mantissa.size() : point;
        place = firstDigit < whole ? (long long)(whole - firstDigit) : -(long long)(firstDigit - whole);
    }
    if (e != std::string::npos) {
        long long exponent = 0;
        for (std::size_t k = e + 1; k < ascii.size(); ++k)
            if (ascii[k] >= '0' && ascii[k] <= '9')
                exponent = std::min(exponent * 10 + (ascii[k] - '0'), 1000000000LL);
        place += ascii.compare(e + 1, 1, "-") == 0 ? -exponent : exponent;
    }
    if (place > 0)
        return NumberRead::Overflow;
    *out = 0;   // too small: zero
    return NumberRead::Number;
}

// The whole digits of an amount without their grouping commas, or false when the commas
// stand where neither grouping puts them: groups of three after a first group of one to
// three digits, or groups of two after a first group of one or two, then a last group of three.
bool ungroup(const std::u16string& digits, std::string* plain)
{
    std::vector<std::size_t> groups;   // digits per group, in order
    std::size_t run = 0;
    for (const char16_t c : digits) {
        if (c == u',') {
            groups.push_back(run);
            run = 0;
        } else {
            *plain += char(c);
            ++run;
        }
    }
    groups.push_back(run);
    if (groups.size() == 1)
        return run > 0;
    if (groups.back() != 3 || groups.front() == 0 || groups.front() > 3)
        return false;
    const std::size_t middle = groups.size() > 2 ? groups[1] : 3;
    if (middle != 2 && middle != 3)
        return false;
    for (std::size_t i = 1; i + 1 < groups.size(); ++i)
        if (groups[i] != middle)
            return false;
    return middle == 3 || groups.front() <= 2;
}

NumberRead readAmount(const std::u16string& s, double* out)
{
    std::size_t j = 0;
    const bool negative = j < s.size() && s[j] == u'-';
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
        ++j;
    std::u16string whole;
    while (j < s.size() && (isDigit(s[j]) || s[j] == u','))
        whole += s[j++];
    std::string intDigits, fracDigits;
    if (!whole.empty() && !ungroup(whole, &intDigits))
        return NumberRead::None;
    if (j < s.size() && s[j] == u'.') {
        ++j;
        while (j < s.size() && isDigit(s[j]))
            fracDigits += char(s[j++]);
    }
    if (j != s.size() || (intDigits.empty() && fracDigits.empty()))
        return NumberRead::None;
    const std::string ascii = std::string(negative ? "-" : "") + (intDigits.empty() ? "0" : intDigits)
                              + (fracDigits.empty() ? std::string() : "." + fracDigits);
    const NumberRead r = convert(ascii, out);
    if (r != NumberRead::Number)
        *out = 0;
    return r;
}

} // namespace

NumberRead readNumber(QStringView text, NumberSyntax syntax, double* out)
{
    *out = 0;
    if (syntax == NumberSyntax::Amount)
        return readAmount(significant(text, syntax), out);
    const bool whole = syntax == NumberSyntax::Whole;
    const std::u16string s = significant(text, syntax);
    if (s.size() >= 2 && s[0] == u'&'
        && (s[1] == u'H' || s[1] == u'h' || s[1] == u'O' || s[1] == u'o')) {
        const NumberRead r = readRadix(s, whole, out);
        if (r == NumberRead::Overflow)
            *out = 0;
        return r;
    }
    std::string sign, intDigits, fracDigits, exponent;
    std::size_t j = 0;
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
        sign = char(s[j++]);
    while (j < s.size() && isDigit(s[j]))
        intDigits += char(s[j++]);
    if (j < s.size() && s[j] == u'.') {
        ++j;
        while (j < s.size() && isDigit(s[j]))
            fracDigits += char(s[j++]);
    }
    const bool digits = !intDigits.empty() || !fracDigits.empty();
    if (digits && j < s.size()
        && (s[j] == u'E' || s[j] == u'e' || s[j] == u'D' || s[j] == u'd')) {
        std::size_t k = j + 1;
        std::string e = "e";
        if (k < s.size() && (s[k] == u'+' || s[k] == u'-'))
            e += char(s[k++]);
        const std::size_t exponentStart = k;
        while (k < s.size() && isDigit(s[k]))
            e += char(s[k++]);
        if (k > exponentStart) {
            exponent = e;
            j = k;
        }
    }
    if (!digits || (whole && j != s.size()))
        return NumberRead::None;
    // "12." is 12 and ".5" is 0.5.
    const std::string ascii = (sign == "-" ? sign : std::string()) + (intDigits.empty() ? "0" : intDigits)
                              + (fracDigits.empty() ? std::string() : "." + fracDigits) + exponent;
    const NumberRead r = convert(ascii, out);
    if (r != NumberRead::Number)
        *out = 0;
    return r;
}

QString numberText(double value)
{
    if (!std::isfinite(value))
        ado::raiseOverflow();
    if (value == 0)
        return QStringLiteral("0");   // no "-0"
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString fixedText(double value, int decimals)
{
    if (!std::isfinite(value))
        ado::raiseOverflow();
    // The shortest decimal that reads back as the value, written out in full ("2.675").
    char buf[400];   // the longest fixed form of a double has some 330 characters
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (res.ec != std::errc())
        ado::raiseOverflow();
    const std::string text(buf, res.ptr);
    const bool negative = !text.empty() && text[0] == '-';
    const std::string body = negative ? text.substr(1) : text;
    const std::size_t dot = body.find('.');
    std::string intPart = dot == std::string::npos ? body : body.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : body.substr(dot + 1);
    if (intPart.empty())
        intPart.assign(1, '0');
    const bool roundUp = frac.size() > std::size_t(decimals) && frac[std::size_t(decimals)] >= '5';
    frac.resize(std::size_t(decimals), '0');
    std::string digits = intPart + frac;
    if (roundUp) {
        int i = int(digits.size()) - 1;
        for (; i >= 0; --i) {
            if (digits[std::size_t(i)] == '9') {
                digits[std::size_t(i)] = '0';
            } else {
                ++digits[std::size_t(i)];
                break;
            }
        }
        if (i < 0)
            digits.insert(digits.begin(), '1');
    }
    std::string ip = digits.substr(0, digits.size() - std::size_t(decimals));
    const std::string fp = digits.substr(digits.size() - std::size_t(decimals));
    const std::size_t nz = ip.find_first_not_of('0');
    if (nz == std::string::npos)
        ip.assign(1, '0');
    else
        ip.erase(0, nz);
    const bool allZero = ip == "0" && fp.find_first_not_of('0') == std::string::npos;
    QString out = QString::fromStdString(ip);
    if (decimals > 0)
        out += QLatin1Char('.') + QString::fromStdString(fp);
    if (negative && !allZero)
        out.prepend(QLatin1Char('-'));
    return out;
}

} // namespace vb
