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
    // LIKE: the literal pieces between wildcards, case-folded (foldCase), and whether the
    // pattern is anchored
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

    // True when every row this expression matches is matched by `broader` too, as when a word
    // of the search box grows by a character or a word is added: each term of `broader` is one
    // of ours, or a LIKE looking anywhere for one text that a piece of one of our LIKEs on the
    // same column holds. False where that cannot be told; never wrongly true.
    bool narrows(const Expression& broader) const;

    // Evaluates row after row: each row's text is folded once for all the terms on its
    // column, into a buffer kept for the whole scan.
    class Scan {
    public:
        explicit Scan(const Expression& e) : e_(e) {}
        bool matches(const std::vector<Variant>& row);

    private:
        const Expression& e_;
        std::vector<char16_t> folded_;
    };

private:
    std::vector<Term> terms_;
};

// Case folding as the toolkit's case-insensitive comparisons apply it, code unit by code unit:
// a surrogate pair folds as the character it encodes (folding never changes its high
// surrogate), so that a case-insensitive search is a plain search of the folded texts.
// Writes size() units to `out`.
void foldCase(QStringView text, char16_t* out);
QString foldCase(QStringView text);

// Parses a date as the filter and Access literals write it (18/Dec/1982, 12/18/1982,
// 1982-12-18, 18-Dec-1982); an invalid date when it is none of those.
QDate parseDateLiteral(const QString& text);

} // namespace ado::filter
