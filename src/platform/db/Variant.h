// A value as the program's code sees it: Empty, Null, Boolean, whole number, double, text,
// date or binary. Null propagates through arithmetic; reading Null where a text or number
// is required is an error (number 94, "Invalid use of Null").
// Header-only: the runtime helpers (a library below this one) use it as well.
#pragma once

#include "Error.h"
#include "platform/vb/NumberText.h"

#include <QByteArray>
#include <QDate>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <cmath>
#include <limits>
#include <variant>

namespace ado {

class Variant {
public:
    enum class Kind { Empty, Null, Boolean, Integer, Double, Text, Date, Binary };

    Variant() = default;                  // Empty
    static Variant null();
    Variant(bool v) : v_(v) {}
    Variant(int v) : v_(qint64(v)) {}
    Variant(long v) : v_(qint64(v)) {}
    Variant(qint64 v) : v_(v) {}
    Variant(double v) : v_(v) {}
    Variant(const QString& v) : v_(v) {}
    Variant(const char* v) : v_(QString::fromUtf8(v)) {}
    Variant(const QDate& v) : v_(v) {}
    Variant(const QByteArray& v) : v_(v) {}

    Kind kind() const { return static_cast<Kind>(v_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNull() const { return kind() == Kind::Null; }
    bool isNumeric() const;               // Boolean, Integer or Double

    // Conversions as the program's runtime makes them. Null raises error 94; Empty reads as
    // "" / 0 / false; a text that is not a number raises error 13 ("Type mismatch").
    QString toString() const;
    double toDouble() const;
    qint64 toLongLong() const;
    bool toBool() const;
    QDate toDate() const;
    QByteArray toBytes() const;

    // Text of the value for display where Null is allowed: Null and Empty give "".
    QString toDisplayString() const;

    bool operator==(const Variant& o) const;

    // Arithmetic: Null in, Null out. '+' on two texts concatenates.
    friend Variant operator+(const Variant& a, const Variant& b);
    friend Variant operator-(const Variant& a, const Variant& b);
    friend Variant operator*(const Variant& a, const Variant& b);
    friend Variant operator/(const Variant& a, const Variant& b);
    // '&' concatenation: Null counts as "", both Null gives Null.
    static Variant concat(const Variant& a, const Variant& b);

    // Strict whole-text number read (blanks around allowed; the runtime's CDbl forms); false
    // when the text is no number or one too large for a double.
    static bool parseNumber(const QString& text, double* out);
    // Days since 30 December 1899, the runtime's numeric form of a date. A day number outside
    // the years 100 to 9999 raises Overflow (6).
    static double dateToSerial(const QDate& d) { return double(QDate(1899, 12, 30).daysTo(d)); }
    static QDate serialToDate(double s);

private:
    struct NullTag { bool operator==(const NullTag&) const = default; };
    using Storage = std::variant<std::monostate, NullTag, bool, qint64, double, QString, QDate, QByteArray>;
    Storage v_;

    [[noreturn]] static void raiseNull() { throw Error(err::InvalidUseOfNull, QStringLiteral("Invalid use of Null"), QStringLiteral("Lumora")); }
    [[noreturn]] static void raiseMismatch() { throw Error(err::TypeMismatch, QStringLiteral("Type mismatch"), QStringLiteral("Lumora")); }
    // A double result of arithmetic; an infinity or NaN is an overflow, as in the runtime.
    static Variant checked(double d);
    // Numeric view used by arithmetic: whole numbers stay whole while both sides are.
    struct Num { bool whole; qint64 i; double d; };
    Num num() const;
};

// ---- implementation ----

inline Variant Variant::null()
{
    Variant v;
    v.v_ = NullTag{};
    return v;
}

inline bool Variant::isNumeric() const
{
    const Kind k = kind();
    return k == Kind::Boolean || k == Kind::Integer || k == Kind::Double;
}

inline bool Variant::parseNumber(const QString& text, double* out)
{
    double d = 0;
    if (vb::readNumber(text, vb::NumberSyntax::Whole, &d) != vb::NumberRead::Number)
        return false;
    if (out)
        *out = d;
    return true;
}

inline QDate Variant::serialToDate(double s)
{
    // 1 January 100 and 31 December 9999, the runtime's range of dates
    if (!(s >= -657434.0 && s < 2958466.0))
        raiseOverflow();
    return QDate(1899, 12, 30).addDays(qint64(std::floor(s)));
}

inline Variant Variant::checked(double d)
{
    if (!std::isfinite(d))
        raiseOverflow();
    return Variant(d);
}

inline QString Variant::toString() const
{
    switch (kind()) {
    case Kind::Empty: return QString();
    case Kind::Null: raiseNull();
    case Kind::Boolean: return std::get<bool>(v_) ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Integer: return QString::number(std::get<qint64>(v_));
    case Kind::Double: {
        const double d = std::get<double>(v_);
        if (!std::isfinite(d))
            raiseOverflow();   // never shown or stored as "inf"
        if (d == std::floor(d) && std::fabs(d) < 1e15)
            return QString::number(qint64(d));
        // fifteen significant digits; an exponent is written "1E-05", "1.5E+20"
        return QString::number(d, 'G', 15);
    }
    case Kind::Text: return std::get<QString>(v_);
    case Kind::Date: return std::get<QDate>(v_).toString(Qt::ISODate);
    case Kind::Binary: return QString::fromUtf8(std::get<QByteArray>(v_));
    }
    return QString();
}

inline QString Variant::toDisplayString() const
{
    if (isNull() || isEmpty())
        return QString();
    return toString();
}

inline double Variant::toDouble() const
{
    switch (kind()) {
    case Kind::Empty: return 0.0;
    case Kind::Null: raiseNull();
    case Kind::Boolean: return std::get<bool>(v_) ? -1.0 : 0.0;
    case Kind::Integer: return double(std::get<qint64>(v_));
    case Kind::Double: return std::get<double>(v_);
    case Kind::Text: {
        double d = 0;
        switch (vb::readNumber(std::get<QString>(v_), vb::NumberSyntax::Whole, &d)) {
        case vb::NumberRead::Number: return d;
        case vb::NumberRead::Overflow: raiseOverflow();
        case vb::NumberRead::None: raiseMismatch();
        }
        return 0.0;
    }
    case Kind::Date: return dateToSerial(std::get<QDate>(v_));
    case Kind::Binary: raiseMismatch();
    }
    return 0.0;
}

inline qint64 Variant::toLongLong() const
{
    if (kind() == Kind::Integer)
        return std::get<qint64>(v_);
    const double d = toDouble();
    const double r = std::nearbyint(d);   // round half to even, as the runtime does
    if (!(r >= -9.2e18 && r <= 9.2e18))
        raiseOverflow();
    return qint64(r);
}

inline bool Variant::toBool() const
{
    switch (kind()) {
    case Kind::Empty: return false;
    case Kind::Null: raiseNull();
    case Kind::Boolean: return std::get<bool>(v_);
    case Kind::Text: {
        const QString t = std::get<QString>(v_).trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        return toDouble() != 0.0;
    }
    default: return toDouble() != 0.0;
    }
}

inline QDate Variant::toDate() const
{
    switch (kind()) {
    case Kind::Null: raiseNull();
    case Kind::Date: return std::get<QDate>(v_);
    case Kind::Text: {
        const QString t = std::get<QString>(v_).trimmed();
        for (const char* f : {"yyyy-MM-dd", "dd-MM-yyyy", "d-MMM-yyyy", "dd/MM/yyyy", "d MMMM yyyy"}) {
            const QDate d = QDate::fromString(t, QLatin1String(f));
            if (d.isValid())
                return d;
        }
        const QDate iso = QDate::fromString(t.left(10), Qt::ISODate);
        if (iso.isValid())
            return iso;
        // day-month-two-digit-year ("26-09-08"): years 30..99 are 1930..1999, 00..29 are 2000..2029
        const QStringList parts = t.split(QRegularExpression(QStringLiteral("[-/]")));
        if (parts.size() == 3 && parts[2].size() == 2) {
            bool okD = false, okM = false, okY = false;
            const int d = parts[0].toInt(&okD), m = parts[1].toInt(&okM), y = parts[2].toInt(&okY);
            const QDate two(y < 30 ? 2000 + y : 1900 + y, m, d);
            if (okD && okM && okY && two.isValid())
                return two;
        }
        raiseMismatch();
    }
    case Kind::Binary: raiseMismatch();
    case Kind::Empty: return QDate(1899, 12, 30);
    default: return serialToDate(toDouble());
    }
}

inline QByteArray Variant::toBytes() const
{
    switch (kind()) {
    case Kind::Null: raiseNull();
    case Kind::Binary: return std::get<QByteArray>(v_);
    case Kind::Empty: return QByteArray();
    default: return toString().toUtf8();
    }
}

inline bool Variant::operator==(const Variant& o) const
{
    if (isNumeric() && o.isNumeric())
        return toDouble() == o.toDouble();
    return v_ == o.v_;
}

inline Variant::Num Variant::num() const
{
    switch (kind()) {
    case Kind::Empty: return {true, 0, 0.0};
    case Kind::Boolean: return {true, std::get<bool>(v_) ? -1 : 0, 0.0};
    case Kind::Integer: return {true, std::get<qint64>(v_), 0.0};
    default: return {false, 0, toDouble()};
    }
}

inline Variant operator+(const Variant& a, const Variant& b)
{
    if (a.isNull() || b.isNull())
        return Variant::null();
    using K = Variant::Kind;
    const K ka = a.kind(), kb = b.kind();
    if ((ka == K::Text || ka == K::Empty) && (kb == K::Text || kb == K::Empty) && !(ka == K::Empty && kb == K::Empty))
        return Variant(a.toDisplayString() + b.toDisplayString());
    if (ka == K::Date && b.isNumeric())
        return Variant(Variant::serialToDate(a.toDouble() + double(b.toLongLong())));
    if (kb == K::Date && a.isNumeric())
        return Variant(Variant::serialToDate(b.toDouble() + double(a.toLongLong())));
    const Variant::Num x = a.num(), y = b.num();
    if (x.whole && y.whole) {
        qint64 r = 0;
        if (!__builtin_add_overflow(x.i, y.i, &r))
            return Variant(r);
    }
    return Variant::checked(a.toDouble() + b.toDouble());
}

inline Variant operator-(const Variant& a, const Variant& b)
{
    if (a.isNull() || b.isNull())
        return Variant::null();
    using K = Variant::Kind;
    if (a.kind() == K::Date && b.kind() == K::Date)
        return Variant(qint64(std::get<QDate>(b.v_).daysTo(std::get<QDate>(a.v_))));
    if (a.kind() == K::Date && b.isNumeric())
        return Variant(Variant::serialToDate(a.toDouble() - double(b.toLongLong())));
    const Variant::Num x = a.num(), y = b.num();
    if (x.whole && y.whole) {
        qint64 r = 0;
        if (!__builtin_sub_overflow(x.i, y.i, &r))
            return Variant(r);
    }
    return Variant::checked(a.toDouble() - b.toDouble());
}

inline Variant operator*(const Variant& a, const Variant& b)
{
    if (a.isNull() || b.isNull())
        return Variant::null();
    const Variant::Num x = a.num(), y = b.num();
    if (x.whole && y.whole) {
        qint64 r = 0;
        if (!__builtin_mul_overflow(x.i, y.i, &r))
            return Variant(r);
    }
    return Variant::checked(a.toDouble() * b.toDouble());
}

inline Variant operator/(const Variant& a, const Variant& b)
{
    if (a.isNull() || b.isNull())
        return Variant::null();
    const double d = b.toDouble();
    if (d == 0.0)
        throw Error(err::DivisionByZero, QStringLiteral("Division by zero"), QStringLiteral("Lumora"));
    return Variant::checked(a.toDouble() / d);
}

inline Variant Variant::concat(const Variant& a, const Variant& b)
{
    if (a.isNull() && b.isNull())
        return Variant::null();
    return Variant(a.toDisplayString() + b.toDisplayString());
}

} // namespace ado
