// Parser and evaluator of recordset filters. Evaluation never raises: a value that cannot be
// compared with the literal simply does not match.
#include "RecordsetFilter.h"
#include "SharedHandle.h"

namespace ado::filter {

namespace {

[[noreturn]] void fail(const QString& text, const QString& reason)
{
    throw Error(err::FilterInvalid,
                QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are "
                               "in conflict with one another. Filter \"%1\": %2.")
                    .arg(text, reason),
                kDbSource);
}

class Parser {
public:
    Parser(const QString& text, const std::function<int(const QString&)>& columnOf)
        : s_(text), columnOf_(columnOf) {}

    std::vector<Term> run()
    {
        std::vector<Term> terms;
        skipBlanks();
        if (atEnd())
            return terms;
        for (;;) {
            terms.push_back(term());
            skipBlanks();
            if (atEnd())
                break;
            if (!keyword("AND")) {
                if (keyword("OR"))
                    fail(s_, QStringLiteral("only terms joined by AND are accepted"));
                fail(s_, QStringLiteral("expected AND at position %1").arg(i_ + 1));
            }
        }
        return terms;
    }

private:
    const QString& s_;
    const std::function<int(const QString&)>& columnOf_;
    int i_ = 0;

    bool atEnd() const { return i_ >= s_.size(); }
    void skipBlanks()
    {
        while (!atEnd() && s_[i_].isSpace())
            ++i_;
    }
    // A keyword as a whole word, any case.
    bool keyword(const char* word)
    {
        const int n = int(qstrlen(word));
        if (s_.mid(i_, n).compare(QLatin1String(word), Qt::CaseInsensitive) != 0)
            return false;
        if (i_ + n < s_.size() && (s_[i_ + n].isLetterOrNumber() || s_[i_ + n] == u'_'))
            return false;
        i_ += n;
        return true;
    }
    bool operatorAhead() const
    {
        if (atEnd())
            return true;
        const QChar c = s_[i_];
        if (c == u'=' || c == u'<' || c == u'>')
            return true;
        return s_.mid(i_, 4).compare(QLatin1String("LIKE"), Qt::CaseInsensitive) == 0
               && (i_ + 4 >= s_.size() || !s_[i_ + 4].isLetterOrNumber());
    }

    QString fieldName()
    {
        skipBlanks();
        if (atEnd())
            fail(s_, QStringLiteral("a field name is missing"));
        if (s_[i_] == u'[') {
            const int close = int(s_.indexOf(u']', i_));
            if (close < 0)
                fail(s_, QStringLiteral("unclosed [ in a field name"));
            const QString name = s_.mid(i_ + 1, close - i_ - 1);
            i_ = close + 1;
            return name;
        }
        // A caption may hold blanks: the name runs up to the operator.
        const int start = i_;
        while (!atEnd() && !operatorAhead()) {
            const QChar c = s_[i_];
            if (c == u'\'' || c == u'#' || c == u'(' || c == u')')
                fail(s_, QStringLiteral("unexpected '%1' in a field name").arg(c));
            ++i_;
        }
        const QString name = s_.mid(start, i_ - start).trimmed();
        if (name.isEmpty())
            fail(s_, QStringLiteral("a field name is missing"));
        return name;
    }

    Op op()
    {
        skipBlanks();
        if (keyword("LIKE"))
            return Op::Like;
        static const std::pair<const char*, Op> ops[] = {{"<>", Op::Ne}, {"<=", Op::Le}, {">=", Op::Ge},
                                                         {"=", Op::Eq},  {"<", Op::Lt},  {">", Op::Gt}};
        for (const auto& [text, o] : ops) {
            if (s_.mid(i_, int(qstrlen(text))) == QLatin1String(text)) {
                i_ += int(qstrlen(text));
                return o;
            }
        }
        fail(s_, QStringLiteral("expected an operator (LIKE, =, <>, <, <=, >, >=) at position %1").arg(i_ + 1));
    }

    Variant value()
    {
        skipBlanks();
        if (atEnd())
            fail(s_, QStringLiteral("a value is missing"));
        const QChar c = s_[i_];
        if (c == u'\'') {
            QString body;
            ++i_;
            for (;;) {
                if (atEnd())
                    fail(s_, QStringLiteral("unclosed quote"));
                if (s_[i_] == u'\'') {
                    if (i_ + 1 < s_.size() && s_[i_ + 1] == u'\'') {
                        body += u'\'';
                        i_ += 2;
                        continue;
                    }
                    ++i_;
                    break;
                }
                body += s_[i_++];
            }
            return Variant(body);
        }
        if (c == u'#') {
            const int close = int(s_.indexOf(u'#', i_ + 1));
            if (close < 0)
                fail(s_, QStringLiteral("unclosed # in a date"));
            const QString body = s_.mid(i_ + 1, close - i_ - 1);
            const QDate d = parseDateLiteral(body);
            if (!d.isValid())
                fail(s_, QStringLiteral("#%1# is not a date").arg(body));
            i_ = close + 1;
            return Variant(d);
        }
        if (keyword("TRUE"))
            return Variant(true);
        if (keyword("FALSE"))
            return Variant(false);
        if (keyword("NULL"))
            fail(s_, QStringLiteral("Null cannot be compared; no row would match"));
        const int start = i_;
        while (!atEnd() && !s_[i_].isSpace())
            ++i_;
        const QString word = s_.mid(start, i_ - start);
        double d = 0;
        if (!Variant::parseNumber(word, &d))
            fail(s_, QStringLiteral("'%1' is not a number, quoted text, date or truth value").arg(word));
        return Variant(d);
    }

    Term term()
    {
        Term t;
        const QString name = fieldName();
        t.column = columnOf_(name);
        if (t.column < 0)
            fail(s_, QStringLiteral("no field named '%1'").arg(name));
        t.op = op();
        t.value = value();
        if (t.op == Op::Like) {
            if (t.value.kind() != Variant::Kind::Text)
                fail(s_, QStringLiteral("LIKE needs a quoted pattern"));
            QString p = t.value.toString();
            p.replace(u'%', u'*');
            t.anchoredStart = !p.startsWith(u'*');
            t.anchoredEnd = !p.endsWith(u'*');
            t.pieces = p.split(u'*', Qt::SkipEmptyParts);
        }
        return t;
    }
};

bool likeMatch(const Term& t, const QString& v)
{
    const QStringList& pieces = t.pieces;
    if (pieces.isEmpty())
        return t.anchoredStart ? v.isEmpty() : true;   // '' or '*'
    if (pieces.size() == 1 && t.anchoredStart && t.anchoredEnd)
        return v.compare(pieces[0], Qt::CaseInsensitive) == 0;
    qsizetype at = 0;
    for (int k = 0; k < pieces.size(); ++k) {
        const QString& piece = pieces[k];
        if (k == 0 && t.anchoredStart) {
            if (!v.startsWith(piece, Qt::CaseInsensitive))
                return false;
            at = piece.size();
            continue;
        }
        if (k == pieces.size() - 1 && t.anchoredEnd) {
            const qsizetype from = v.size() - piece.size();
            return from >= at && QStringView(v).mid(from).compare(piece, Qt::CaseInsensitive) == 0;
        }
        const qsizetype found = v.indexOf(piece, at, Qt::CaseInsensitive);
        if (found < 0)
            return false;
        at = found + piece.size();
    }
    return true;
}

// -1, 0, 1; or 2 when the two cannot be compared.
int compare(const Variant& v, const Variant& lit)
{
    using K = Variant::Kind;
    auto sign = [](double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); };
    switch (lit.kind()) {
    case K::Boolean: {
        if (v.kind() == K::Boolean || v.isNumeric())
            return (v.toDouble() != 0.0) == lit.toBool() ? 0 : 2;
        return 2;
    }
    case K::Double: {
        const double x = lit.toDouble();
        if (v.kind() == K::Boolean)
            return (x != 0.0) == v.toBool() ? 0 : 2;
        if (v.isNumeric())
            return sign(v.toDouble(), x);
        if (v.kind() == K::Text) {
            double d = 0;
            return Variant::parseNumber(v.toString(), &d) ? sign(d, x) : 2;
        }
        if (v.kind() == K::Date)
            return sign(Variant::dateToSerial(v.toDate()), x);
        return 2;
    }
    case K::Date: {
        QDate d;
        if (v.kind() == K::Date)
            d = v.toDate();
        else if (v.kind() == K::Text)
            d = parseDateLiteral(v.toString());
        if (!d.isValid())
            return 2;
        const QDate l = lit.toDate();
        return d < l ? -1 : (d > l ? 1 : 0);
    }
    case K::Text: {
        if (v.kind() == K::Text) {
            const int c = v.toString().compare(lit.toString(), Qt::CaseInsensitive);
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        double x = 0;
        if (v.isNumeric() && Variant::parseNumber(lit.toString(), &x))
            return sign(v.toDouble(), x);
        if (v.kind() == K::Date) {
            const QDate l = parseDateLiteral(lit.toString());
            if (!l.isValid())
                return 2;
            const QDate d = v.toDate();
            return d < l ? -1 : (d > l ? 1 : 0);
        }
        return 2;
    }
    default:
        return 2;
    }
}

bool termMatches(const Term& t, const Variant& v)
{
    if (v.isNull() || v.isEmpty())
        return false;
    if (t.op == Op::Like) {
        if (v.kind() == Variant::Kind::Binary)
            return false;
        return likeMatch(t, v.toDisplayString());
    }
    const int c = compare(v, t.value);
    if (c == 2)
        return false;
    switch (t.op) {
    case Op::Eq: return c == 0;
    case Op::Ne: return c != 0;
    case Op::Lt: return c < 0;
    case Op::Le: return c <= 0;
    case Op::Gt: return c > 0;
    case Op::Ge: return c >= 0;
    case Op::Like: break;
    }
    return false;
}

} // namespace

QDate parseDateLiteral(const QString& text)
{
    const QString t = text.trimmed();
    for (const char* f : {"dd/MMM/yyyy", "d/MMM/yyyy", "M/d/yyyy", "yyyy-MM-dd", "d-MMM-yyyy", "dd-MMM-yyyy",
                          "d MMM yyyy"}) {
        const QDate d = QDate::fromString(t, QLatin1String(f));
        if (d.isValid())
            return d;
    }
    return QDate();
}

Expression Expression::parse(const QString& text, const std::function<int(const QString&)>& columnOf)
{
    Expression e;
    Parser p(text, columnOf);
    e.terms_ = p.run();
    return e;
}

bool Expression::matches(const std::vector<Variant>& row) const
{
    for (const Term& t : terms_) {
        if (t.column >= int(row.size()) || !termMatches(t, row[size_t(t.column)]))
            return false;
    }
    return true;
}

} // namespace ado::filter
