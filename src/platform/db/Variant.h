// A value as the program's code sees it: Empty, Null, Boolean, whole number, double, text,
// date or binary. Null propagates through arithmetic; reading Null where a text or number
// is required is an error (number 94, "Invalid use of Null").
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <variant>

namespace ado {

class Variant {
public:
    enum class Kind { Empty, Null, Boolean, Integer, Double, Text, Date, Binary };

    Variant() = default;                  // Empty
    static Variant null();
    Variant(bool v);
    Variant(int v);
    Variant(qint64 v);
    Variant(double v);
    Variant(const QString& v);
    Variant(const char* v);
    Variant(const QDate& v);
    Variant(const QByteArray& v);

    Kind kind() const;
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

private:
    struct NullTag { bool operator==(const NullTag&) const = default; };
    using Storage = std::variant<std::monostate, NullTag, bool, qint64, double, QString, QDate, QByteArray>;
    Storage v_;
};

} // namespace ado
