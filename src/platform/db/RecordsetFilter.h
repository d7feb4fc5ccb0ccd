// The filter grammar of the search screens, evaluated on materialised rows:
//   term { AND term }     term := field op value
//   op := LIKE | = | <> | < | <= | > | >=
//   value := 'text' ('' is a quote) | number | TRUE | FALSE | #date#
// LIKE patterns use "*" or "%" for any run of characters. Text compares without regard to
// case; a Null value never matches. Anything else is error 3001 with the reason.
#pragma once

#include "Variant.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace ado::filter {

enum class Op { Like, Eq, Ne, Lt, Le, Gt, Ge };

struct Term {
    int column = -1;
    Op op = Op::Eq;
    Variant value;                 // Text, Double, Boolean or Date
    // LIKE: the literal pieces between wildcards, and whether the pattern is anchored
    QStringList pieces;
    bool anchoredStart = true;
    bool anchoredEnd = true;
};

class Expression {
public:
    // Raises ado::Error 3001 on a text outside the grammar; `columnOf` maps a field name to
    // its index (-1 when unknown).
    static Expression parse(const QString& text, const std::function<int(const QString&)>& columnOf);
    bool matches(const std::vector<Variant>& row) const;
    bool empty() const { return terms_.empty(); }

private:
    std::vector<Term> terms_;
};

// Parses a date as the filter and Access literals write it (18/Dec/1982, 12/18/1982,
// 1982-12-18, 18-Dec-1982); an invalid date when it is none of those.
QDate parseDateLiteral(const QString& text);

} // namespace ado::filter
