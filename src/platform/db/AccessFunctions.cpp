// The Access functions that statements use, registered on every SQLite handle as acc_*.
// Null rules follow Access: most functions give Null for a Null text; Val and CStr of Null
// are errors. Plain ASCII texts take a byte path, since the grid queries call these
// functions several times per row. Numbers are read and written by the runtime's one reader
// and writer (whatever the locale); a number too large for a double is the error "Overflow".
//
// The engine calls these functions from C: no C++ exception may leave one. Each runs inside a
// trap that turns whatever it raises into the statement's error.
#include "AccessSql.h"
#include "Variant.h"
#include "platform/vb/Vb.h"

#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

namespace ado::accesssql {
namespace {

const char* const kInvalidCall = "Invalid procedure call or argument";
const char* const kInvalidNull = "Invalid use of Null";
const char* const kMismatch = "Data type mismatch in criteria expression.";
const char* const kOverflow = "Overflow";

bool isNull(sqlite3_value* v) { return sqlite3_value_type(v) == SQLITE_NULL; }

QString numberText(double d) { return Variant(d).toString(); }

// The text of a value as Access shows it (12, 1.5, not 12.0). An infinity the engine holds
// (1e999 in a statement) has none: Overflow.
std::string textOf(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return std::to_string(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return numberText(sqlite3_value_double(v)).toStdString();
    case SQLITE_NULL: return std::string();
    default: {
        const char* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return std::string(p ? p : "", size_t(sqlite3_value_bytes(v)));
    }
    }
}

// The text of a value without copying it when it is stored as text; `buf` holds the text of
// a number.
std::string_view viewOf(sqlite3_value* v, std::string& buf)
{
    const int t = sqlite3_value_type(v);
    if (t == SQLITE_TEXT || t == SQLITE_BLOB) {
        const char* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return std::string_view(p ? p : "", size_t(sqlite3_value_bytes(v)));
    }
    buf = textOf(v);
    return buf;
}

bool isAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

void resultText(sqlite3_context* ctx, std::string_view s)
{
    sqlite3_result_text(ctx, s.data(), int(s.size()), SQLITE_TRANSIENT);
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray b = s.toUtf8();
    sqlite3_result_text(ctx, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

// The number a value holds; a text must be a number as a whole.
vb::NumberRead numberOf(sqlite3_value* v, double* out)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        *out = double(sqlite3_value_int64(v));
        return vb::NumberRead::Number;
    case SQLITE_FLOAT:
        *out = sqlite3_value_double(v);
        return std::isfinite(*out) ? vb::NumberRead::Number : vb::NumberRead::Overflow;
    case SQLITE_NULL:
        return vb::NumberRead::None;
    default:
        return vb::readNumber(QString::fromStdString(textOf(v)), vb::NumberSyntax::Whole, out);
    }
}

// Reports a number that could not be read; false.
bool numberError(sqlite3_context* ctx, vb::NumberRead read)
{
    sqlite3_result_error(ctx, read == vb::NumberRead::Overflow ? kOverflow : kMismatch, -1);
    return false;
}

// A number argument that may not be Null; false after reporting the error.
bool numberArg(sqlite3_context* ctx, sqlite3_value* v, double* out)
{
    if (isNull(v)) {
        sqlite3_result_error(ctx, kInvalidNull, -1);
        return false;
    }
    const vb::NumberRead read = numberOf(v, out);
    return read == vb::NumberRead::Number || numberError(ctx, read);
}

// A whole-number argument (a length, a position), rounded half to even, in the range of the
// runtime's 32-bit Long; false after reporting the error.
bool intArg(sqlite3_context* ctx, sqlite3_value* v, qint64* out, double low = -2147483648.0, double high = 2147483647.0)
{
    double d = 0;
    if (!numberArg(ctx, v, &d))
        return false;
    d = std::nearbyint(d);
    if (!(d >= low && d <= high)) {
        sqlite3_result_error(ctx, kOverflow, -1);
        return false;
    }
    *out = qint64(d);
    return true;
}

bool truth(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return false;
    case SQLITE_INTEGER: return sqlite3_value_int64(v) != 0;
    case SQLITE_FLOAT: return sqlite3_value_double(v) != 0.0;
    default: {
        const QString t = QString::fromStdString(textOf(v)).trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        double d = 0;
        return Variant::parseNumber(t, &d) && d != 0.0;
    }
    }
}

void fnPlus(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]) || isNull(a[1]))
        return sqlite3_result_null(ctx);
    const int t0 = sqlite3_value_type(a[0]), t1 = sqlite3_value_type(a[1]);
    const bool text0 = t0 == SQLITE_TEXT || t0 == SQLITE_BLOB;
    const bool text1 = t1 == SQLITE_TEXT || t1 == SQLITE_BLOB;
    if (text0 && text1)
        return resultText(ctx, textOf(a[0]) + textOf(a[1]));
    if (t0 == SQLITE_INTEGER && t1 == SQLITE_INTEGER) {
        sqlite3_int64 r = 0;
        if (!__builtin_add_overflow(sqlite3_value_int64(a[0]), sqlite3_value_int64(a[1]), &r))
            return sqlite3_result_int64(ctx, r);
    }
    double x = 0, y = 0;
    vb::NumberRead read = numberOf(a[0], &x);
    if (read == vb::NumberRead::Number)
        read = numberOf(a[1], &y);
    if (read != vb::NumberRead::Number)
        return (void)numberError(ctx, read);
    if (!std::isfinite(x + y))
        return sqlite3_result_error(ctx, kOverflow, -1);
    sqlite3_result_double(ctx, x + y);
}

void fnConcat(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]) && isNull(a[1]))
        return sqlite3_result_null(ctx);
    resultText(ctx, textOf(a[0]) + textOf(a[1]));
}

void fnLen(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    std::string buf;
    const std::string_view s = viewOf(a[0], buf);
    if (isAscii(s))
        return sqlite3_result_int64(ctx, qint64(s.size()));
    sqlite3_result_int64(ctx, QString::fromUtf8(s.data(), qsizetype(s.size())).size());
}

void fnLeftRight(sqlite3_context* ctx, sqlite3_value** a, bool left)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    qint64 n = 0;
    if (!intArg(ctx, a[1], &n))
        return;
    if (n < 0)
        return sqlite3_result_error(ctx, kInvalidCall, -1);
    std::string buf;
    const std::string_view s = viewOf(a[0], buf);
    if (isAscii(s)) {
        const size_t k = size_t(std::min<qint64>(n, qint64(s.size())));
        return resultText(ctx, left ? s.substr(0, k) : s.substr(s.size() - k));
    }
    const QString q = QString::fromUtf8(s.data(), qsizetype(s.size()));
    resultText(ctx, left ? q.left(n) : q.right(n));
}

void fnLeft(sqlite3_context* ctx, int, sqlite3_value** a) { fnLeftRight(ctx, a, true); }
void fnRight(sqlite3_context* ctx, int, sqlite3_value** a) { fnLeftRight(ctx, a, false); }

void fnMid(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (argc < 2 || argc > 3)
        return sqlite3_result_error(ctx, kInvalidCall, -1);
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    qint64 start = 0, len = -1;
    if (!intArg(ctx, a[1], &start) || (argc == 3 && !intArg(ctx, a[2], &len)))
        return;
    if (start < 1 || (argc == 3 && len < 0))
        return sqlite3_result_error(ctx, kInvalidCall, -1);
    const QString q = QString::fromStdString(textOf(a[0]));
    resultText(ctx, q.mid(start - 1, argc == 3 ? len : -1));
}

// InStr on texts that are not plain ASCII, or compared with regard to case.
void resultInStr(sqlite3_context* ctx, const QString& h, const QString& f, qint64 start, Qt::CaseSensitivity cs)
{
    if (start > h.size())
        return sqlite3_result_int64(ctx, 0);
    if (f.isEmpty())
        return sqlite3_result_int64(ctx, start);
    sqlite3_result_int64(ctx, h.indexOf(f, start - 1, cs) + 1);
}

// InStr([start,] text, find[, compare]): 1-based position, 0 when absent; text compare (any
// case) unless compare is 0.
void fnInStr(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (argc < 2 || argc > 4)
        return sqlite3_result_error(ctx, kInvalidCall, -1);
    qint64 start = 1;
    int ti = 0;
    if (argc >= 3) {
        if (!intArg(ctx, a[0], &start))
            return;
        if (start < 1)
            return sqlite3_result_error(ctx, kInvalidCall, -1);
        ti = 1;
    }
    if (isNull(a[ti]) || isNull(a[ti + 1]))
        return sqlite3_result_null(ctx);
    // a fourth argument of 0 asks for a binary (case-sensitive) compare
    qint64 compare = 1;
    if (argc == 4 && !intArg(ctx, a[3], &compare))
        return;
    if (compare == 0)
        return resultInStr(ctx, QString::fromStdString(textOf(a[ti])), QString::fromStdString(textOf(a[ti + 1])),
                           start, Qt::CaseSensitive);
    std::string hayBuf, needleBuf;
    const std::string_view hay = viewOf(a[ti], hayBuf);
    const std::string_view needle = viewOf(a[ti + 1], needleBuf);
    if (isAscii(hay) && isAscii(needle)) {
        if (start > qint64(hay.size()))
            return sqlite3_result_int64(ctx, 0);
        if (needle.empty())
            return sqlite3_result_int64(ctx, start);
        if (needle.size() > hay.size())
            return sqlite3_result_int64(ctx, 0);
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        const char first = lower(needle[0]);
        const char firstUpper = first >= 'a' && first <= 'z' ? char(first - 32) : first;
        const size_t last = hay.size() - needle.size();
        for (size_t i = size_t(start - 1); i <= last && i != std::string_view::npos;) {
            // jump to the next place the first character (either case) occurs
            const size_t a1 = hay.find(first, i);
            const size_t a2 = firstUpper == first ? a1 : hay.find(firstUpper, i);
            i = std::min(a1, a2);
            if (i == std::string_view::npos || i > last)
                break;
            if (strncasecmp(hay.data() + i + 1, needle.data() + 1, needle.size() - 1) == 0)
                return sqlite3_result_int64(ctx, qint64(i + 1));
            ++i;
        }
        return sqlite3_result_int64(ctx, 0);
    }
    resultInStr(ctx, QString::fromUtf8(hay.data(), qsizetype(hay.size())),
                QString::fromUtf8(needle.data(), qsizetype(needle.size())), start, Qt::CaseInsensitive);
}

void fnCase(sqlite3_context* ctx, sqlite3_value** a, bool lower)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    std::string s = textOf(a[0]);
    if (isAscii(s)) {
        for (char& c : s)
            c = lower ? (c >= 'A' && c <= 'Z' ? char(c + 32) : c) : (c >= 'a' && c <= 'z' ? char(c - 32) : c);   // no locale
        return resultText(ctx, s);
    }
    const QString q = QString::fromStdString(s);
    resultText(ctx, lower ? q.toLower() : q.toUpper());
}

void fnLCase(sqlite3_context* ctx, int, sqlite3_value** a) { fnCase(ctx, a, true); }
void fnUCase(sqlite3_context* ctx, int, sqlite3_value** a) { fnCase(ctx, a, false); }

// Trim functions remove blanks only; a blank is one byte in UTF-8, so bytes suffice.
void fnTrimSides(sqlite3_context* ctx, sqlite3_value** a, bool leading, bool trailing)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    std::string buf;
    const std::string_view s = viewOf(a[0], buf);
    size_t b = 0, e = s.size();
    if (leading)
        while (b < e && s[b] == ' ')
            ++b;
    if (trailing)
        while (e > b && s[e - 1] == ' ')
            --e;
    resultText(ctx, s.substr(b, e - b));
}

void fnTrim(sqlite3_context* ctx, int, sqlite3_value** a) { fnTrimSides(ctx, a, true, true); }
void fnLTrim(sqlite3_context* ctx, int, sqlite3_value** a) { fnTrimSides(ctx, a, true, false); }
void fnRTrim(sqlite3_context* ctx, int, sqlite3_value** a) { fnTrimSides(ctx, a, false, true); }

// Val: the leading number of a text; blanks inside it are skipped, as the runtime does.
void fnVal(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_error(ctx, kInvalidNull, -1);
    const int t = sqlite3_value_type(a[0]);
    if (t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
        double d = 0;
        const vb::NumberRead read = numberOf(a[0], &d);
        return read == vb::NumberRead::Number ? sqlite3_result_double(ctx, d) : (void)numberError(ctx, read);
    }
    sqlite3_result_double(ctx, vb::Val(QString::fromStdString(textOf(a[0]))));
}

void fnIIf(sqlite3_context* ctx, int, sqlite3_value** a)
{
    sqlite3_result_value(ctx, truth(a[0]) ? a[1] : a[2]);
}

void fnTruth(sqlite3_context* ctx, int, sqlite3_value** a)
{
    sqlite3_result_int(ctx, truth(a[0]) ? 1 : 0);
}

void fnNz(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (argc < 1 || argc > 2)
        return sqlite3_result_error(ctx, kInvalidCall, -1);
    if (!isNull(a[0]))
        return sqlite3_result_value(ctx, a[0]);
    if (argc == 2)
        return sqlite3_result_value(ctx, a[1]);
    sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
}

void fnCStr(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_error(ctx, kInvalidNull, -1);
    resultText(ctx, textOf(a[0]));
}

void fnCDbl(sqlite3_context* ctx, int, sqlite3_value** a)
{
    double d = 0;
    if (numberArg(ctx, a[0], &d))
        sqlite3_result_double(ctx, d);
}

void fnCLng(sqlite3_context* ctx, int, sqlite3_value** a)
{
    qint64 n = 0;
    if (intArg(ctx, a[0], &n))
        sqlite3_result_int64(ctx, n);
}

// CInt: the runtime's 16-bit Integer.
void fnCInt(sqlite3_context* ctx, int, sqlite3_value** a)
{
    qint64 n = 0;
    if (intArg(ctx, a[0], &n, -32768.0, 32767.0))
        sqlite3_result_int64(ctx, n);
}

void fnInt(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    double d = 0;
    const vb::NumberRead read = numberOf(a[0], &d);
    if (read != vb::NumberRead::Number)
        return (void)numberError(ctx, read);
    sqlite3_result_double(ctx, std::floor(d));
}

void fnIsNull(sqlite3_context* ctx, int, sqlite3_value** a)
{
    sqlite3_result_int(ctx, isNull(a[0]) ? 1 : 0);
}

// Format(x, "#0.00") and "0.00": the runtime's Format, two decimals, half away from zero on
// the decimal value. Other formats give the value's text.
void fnFormat(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (argc < 1 || argc > 2)
        return sqlite3_result_error(ctx, kInvalidCall, -1);
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    const std::string fmt = argc == 2 ? textOf(a[1]) : std::string();
    double d = 0;
    if (fmt == "#0.00" || fmt == "0.00") {
        const vb::NumberRead read = numberOf(a[0], &d);
        if (read == vb::NumberRead::Number)
            return resultText(ctx, vb::Format00(d));
        if (read == vb::NumberRead::Overflow)
            return (void)numberError(ctx, read);
    }
    resultText(ctx, textOf(a[0]));
}

struct Fn {
    const char* name;
    int args;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
};

const Fn kFunctions[] = {
    {"acc_plus", 2, fnPlus},       {"acc_concat", 2, fnConcat}, {"acc_len", 1, fnLen},
    {"acc_left", 2, fnLeft},       {"acc_right", 2, fnRight},   {"acc_mid", -1, fnMid},
    {"acc_instr", -1, fnInStr},    {"acc_lcase", 1, fnLCase},   {"acc_ucase", 1, fnUCase},
    {"acc_trim", 1, fnTrim},       {"acc_ltrim", 1, fnLTrim},   {"acc_rtrim", 1, fnRTrim},
    {"acc_val", 1, fnVal},         {"acc_iif", 3, fnIIf},       {"acc_nz", -1, fnNz},
    {"acc_cstr", 1, fnCStr},       {"acc_cdbl", 1, fnCDbl},     {"acc_clng", 1, fnCLng},
    {"acc_cint", 1, fnCInt},       {"acc_int", 1, fnInt},       {"acc_isnull", 1, fnIsNull},
    {"acc_format", -1, fnFormat},  {"acc_truth", 1, fnTruth},
};

// Runs the function the handle registered, turning anything it raises into the statement's
// error: an exception must not cross the engine.
void trapped(sqlite3_context* ctx, int argc, sqlite3_value** argv) noexcept
{
    const auto* f = static_cast<const Fn*>(sqlite3_user_data(ctx));
    try {
        f->fn(ctx, argc, argv);
    } catch (const Error& e) {
        const QByteArray message = e.Description().toUtf8();
        sqlite3_result_error(ctx, message.constData(), int(message.size()));
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(ctx);
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    } catch (...) {
        sqlite3_result_error(ctx, f->name, -1);
    }
}

} // namespace

void registerFunctions(sqlite3* db)
{
    for (const Fn& f : kFunctions)
        sqlite3_create_function_v2(db, f.name, f.args, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   const_cast<Fn*>(&f), trapped, nullptr, nullptr, nullptr);
}

} // namespace ado::accesssql
