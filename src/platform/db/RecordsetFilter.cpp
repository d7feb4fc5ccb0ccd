// Parser and evaluator of recordset filters. Evaluation never raises: a value that cannot be
// compared with the literal simply does not match. A LIKE looks for its case-folded pieces in
// the case-folded text of the value, folded once per row for all the terms on its column.
#include "RecordsetFilter.h"
#include "SharedHandle.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
            for (QString& piece : t.pieces)
                piece = foldCase(piece);
        }
        return t;
    }
};

#if defined(__SSE2__)
__m128i load8(const char16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
#endif

// Where `needle` (not empty) first stands in `hay` at or after `from`, -1 when nowhere. Eight
// places at a time are tested for the needle's first and last units; only a place that
// holds both is compared whole.
qsizetype findIn(QStringView hay, qsizetype from, QStringView needle)
{
    const char16_t* h = hay.utf16();
    const char16_t* s = needle.utf16();
    const qsizetype n = needle.size();
    const qsizetype last = hay.size() - n;   // the last place the needle can start
    const size_t restBytes = size_t(n - 1) * sizeof(char16_t);
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi16(short(s[0])), final = _mm_set1_epi16(short(s[n - 1]));
    for (; i + 7 <= last; i += 8) {
        auto both = unsigned(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi16(load8(h + i), first), _mm_cmpeq_epi16(load8(h + i + n - 1), final))));
        for (; both; both &= both - 1, both &= both - 1) {   // two mask bits per unit
            const qsizetype at = i + __builtin_ctz(both) / 2;
            if (std::memcmp(h + at + 1, s + 1, restBytes) == 0)
                return at;
        }
    }
#endif
    for (; i <= last; ++i) {
        if (h[i] == s[0] && std::memcmp(h + i + 1, s + 1, restBytes) == 0)
            return i;
    }
    return -1;
}

// `v` and the pieces are case-folded.
bool likeMatch(const Term& t, QStringView v)
{
    const QStringList& pieces = t.pieces;
    if (pieces.isEmpty())
        return t.anchoredStart ? v.isEmpty() : true;   // '' or '*'
    if (pieces.size() == 1 && t.anchoredStart && t.anchoredEnd)
        return v == pieces[0];
    qsizetype at = 0;
    for (int k = 0; k < pieces.size(); ++k) {
        const QString& piece = pieces[k];
        if (k == 0 && t.anchoredStart) {
            if (!v.startsWith(piece))
                return false;
            at = piece.size();
            continue;
        }
        if (k == pieces.size() - 1 && t.anchoredEnd) {
            const qsizetype from = v.size() - piece.size();
            return from >= at && v.sliced(from) == piece;
        }
        const qsizetype found = findIn(v, at, piece);
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

// Any term but LIKE.
bool compareMatches(const Term& t, const Variant& v)
{
    if (v.isNull() || v.isEmpty())
        return false;
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

// Every row `n` matches, `o` matches (see Expression::narrows).
bool implies(const Term& n, const Term& o)
{
    if (n.column != o.column)
        return false;
    if (n.op == o.op && n.value == o.value && n.pieces == o.pieces && n.anchoredStart == o.anchoredStart
        && n.anchoredEnd == o.anchoredEnd)
        return true;
    if (n.op != Op::Like || o.op != Op::Like || o.anchoredStart || o.anchoredEnd || o.pieces.size() > 1)
        return false;
    // A LIKE match holds each of its pieces; '*' takes any value a LIKE can match.
    return o.pieces.isEmpty()
           || std::any_of(n.pieces.begin(), n.pieces.end(),
                          [&](const QString& piece) { return piece.contains(o.pieces[0]); });
}

} // namespace

void foldCase(QStringView text, char16_t* out)
{
    const char16_t* in = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
#if defined(__SSE2__)
    // Eight units at a time while they are ASCII: 'A' to 'Z' gain 32.
    const __m128i beyondAscii = _mm_set1_epi16(short(0xFF80)), beforeA = _mm_set1_epi16('A' - 1),
                  afterZ = _mm_set1_epi16('Z' + 1), toLower = _mm_set1_epi16(32);
    for (; i + 8 <= n; i += 8) {
        const __m128i v = load8(in + i);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, beyondAscii), _mm_setzero_si128())) != 0xFFFF)
            break;
        const __m128i upper = _mm_and_si128(_mm_cmpgt_epi16(v, beforeA), _mm_cmplt_epi16(v, afterZ));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_add_epi16(v, _mm_and_si128(upper, toLower)));
    }
#endif
    for (; i < n; ++i) {
        const char16_t c = in[i];
        if (c < 0x80) {
            out[i] = char16_t(unsigned(c - u'A') < 26u ? c + 32 : c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
            out[i] = c;
            out[i + 1] = QChar::lowSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(c, in[i + 1])));
            ++i;
        } else {
            out[i] = char16_t(QChar::toCaseFolded(char32_t(c)));
        }
    }
}

QString foldCase(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    foldCase(text, reinterpret_cast<char16_t*>(out.data()));
    return out;
}

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
    Scan scan(*this);
    return scan.matches(row);
}

bool Expression::Scan::matches(const std::vector<Variant>& row)
{
    int foldedColumn = -1;
    qsizetype foldedSize = 0;
    for (const Term& t : e_.terms_) {
        if (t.column >= int(row.size()))
            return false;
        const Variant& v = row[size_t(t.column)];
        if (t.op != Op::Like) {
            if (!compareMatches(t, v))
                return false;
            continue;
        }
        if (v.isNull() || v.isEmpty() || v.kind() == Variant::Kind::Binary)
            return false;
        if (t.column != foldedColumn) {
            const QString text = v.toDisplayString();
            if (folded_.size() < size_t(text.size()))
                folded_.resize(size_t(text.size()));
            foldCase(text, folded_.data());
            foldedColumn = t.column;
            foldedSize = text.size();
        }
        if (!likeMatch(t, QStringView(folded_.data(), foldedSize)))
            return false;
    }
    return true;
}

bool Expression::narrows(const Expression& broader) const
{
    return std::all_of(broader.terms_.begin(), broader.terms_.end(), [this](const Term& o) {
        return std::any_of(terms_.begin(), terms_.end(), [&](const Term& n) { return implies(n, o); });
    });
}

} // namespace ado::filter
