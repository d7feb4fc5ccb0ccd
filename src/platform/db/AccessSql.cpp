// Access SQL -> SQLite. A small tokenizer keeps string literals intact; the rewrite works on
// the token list, one nesting level at a time, so operator chains are rebuilt with the same
// precedence Access gives them ("&" below "+"/"-", both above comparisons).
#include "AccessSql.h"
#include "SharedHandle.h"
#include "StatementText.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace ado::accesssql {
namespace {

constexpr int kMaxNesting = 200;

enum class Tok { Space, String, Ident, Bracket, Number, Op, LParen, RParen, Comma, Semicolon };

struct Token {
    Tok kind;
    QString text;
};

bool isIdentStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isIdentChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

QString quoteLiteral(const QString& s)
{
    return u'\'' + sqlQuoted(s) + u'\'';
}

// #m/d/yyyy#, #d/MMM/yyyy#, #yyyy-mm-dd# -> 'yyyy-mm-dd' (the stored form of dates).
QString dateLiteral(const QString& body)
{
    const QString t = body.trimmed();
    for (const char* f : {"yyyy-MM-dd", "M/d/yyyy", "d/MMM/yyyy", "d-MMM-yyyy", "M-d-yyyy", "yyyy/M/d"}) {
        const QDate d = QDate::fromString(t, QLatin1String(f));
        if (d.isValid())
            return quoteLiteral(d.toString(Qt::ISODate));
    }
    return quoteLiteral(t);
}

std::vector<Token> tokenize(const QString& s)
{
    std::vector<Token> out;
    const int n = int(s.size());
    int i = 0;
    while (i < n) {
        const QChar c = s[i];
        const int start = i;
        if (c.isSpace()) {
            while (i < n && s[i].isSpace())
                ++i;
            out.push_back({Tok::Space, s.mid(start, i - start)});
        } else if (c == u'\'' || c == u'"') {
            // A quote is doubled inside its literal; an unterminated literal runs to the end
            // and is left for the engine to refuse.
            const QChar q = c;
            QString body;
            ++i;
            while (i < n) {
                if (s[i] == q) {
                    if (i + 1 < n && s[i + 1] == q) {
                        body += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                body += s[i++];
            }
            if (q == u'\'' )
                out.push_back({Tok::String, s.mid(start, i - start)});
            else
                out.push_back({Tok::String, quoteLiteral(body)});
        } else if (c == u'[' || c == u'`') {
            const QChar close = c == u'[' ? u']' : u'`';
            ++i;
            while (i < n && s[i] != close)
                ++i;
            if (i < n)
                ++i;
            out.push_back({Tok::Bracket, s.mid(start, i - start)});
        } else if (c == u'#' && s.indexOf(u'#', i + 1) > i + 1) {
            const int close = int(s.indexOf(u'#', i + 1));
            out.push_back({Tok::String, dateLiteral(s.mid(i + 1, close - i - 1))});
            i = close + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit())) {
            while (i < n && (s[i].isDigit() || s[i] == u'.'))
                ++i;
            if (i < n && (s[i] == u'e' || s[i] == u'E')) {
                int j = i + 1;
                if (j < n && (s[j] == u'+' || s[j] == u'-'))
                    ++j;
                if (j < n && s[j].isDigit()) {
                    i = j;
                    while (i < n && s[i].isDigit())
                        ++i;
                }
            }
            // "1stDiscussion" style words outside quotes stay one identifier
            if (i < n && isIdentStart(s[i])) {
                while (i < n && isIdentChar(s[i]))
                    ++i;
                out.push_back({Tok::Ident, s.mid(start, i - start)});
            } else {
                out.push_back({Tok::Number, s.mid(start, i - start)});
            }
        } else if (isIdentStart(c)) {
            while (i < n && isIdentChar(s[i]))
                ++i;
            out.push_back({Tok::Ident, s.mid(start, i - start)});
        } else if (c == u'(') {
            out.push_back({Tok::LParen, QStringLiteral("(")});
            ++i;
        } else if (c == u')') {
            out.push_back({Tok::RParen, QStringLiteral(")")});
            ++i;
        } else if (c == u',') {
            out.push_back({Tok::Comma, QStringLiteral(",")});
            ++i;
        } else if (c == u';') {
            out.push_back({Tok::Semicolon, QStringLiteral(";")});
            ++i;
        } else {
            static const char* const two[] = {"<>", "<=", ">=", "!=", "==", "||"};
            QString op(c);
            for (const char* t : two) {
                if (s.mid(i, 2) == QLatin1String(t)) {
                    op = QLatin1String(t);
                    break;
                }
            }
            i += int(op.size());
            out.push_back({Tok::Op, op});
        }
    }
    return out;
}

bool isKeyword(const Token& t)
{
    static const QSet<QString> keywords = {
        "select", "from", "where", "and", "or", "not", "as", "on", "by", "order", "group",
        "having", "asc", "desc", "like", "in", "is", "between", "when", "then", "else", "end",
        "case", "set", "values", "into", "update", "delete", "insert", "distinct", "distinctrow",
        "union", "all", "limit", "offset", "join", "inner", "left", "right", "outer", "cross",
        "escape", "collate", "exists", "top"};
    return t.kind == Tok::Ident && keywords.contains(t.text.toLower());
}

bool isComparison(const Token& t)
{
    static const QSet<QString> ops = {"=", "<>", "<", ">", "<=", ">=", "!=", "=="};
    return t.kind == Tok::Op && ops.contains(t.text);
}

bool isTerminator(const Token& t)
{
    return t.kind == Tok::Comma || t.kind == Tok::Semicolon || t.kind == Tok::RParen
           || isComparison(t) || isKeyword(t);
}

bool identIs(const Token& t, const char* word)
{
    return t.kind == Tok::Ident && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool endsOperand(const Token& t)
{
    return t.kind == Tok::Ident || t.kind == Tok::Bracket || t.kind == Tok::String
           || t.kind == Tok::Number || t.kind == Tok::RParen;
}

class Renderer {
public:
    explicit Renderer(const std::vector<Token>& t) : t_(t), match_(t.size(), -1)
    {
        std::vector<int> stack;
        for (int i = 0; i < int(t.size()); ++i) {
            if (t[i].kind == Tok::LParen) {
                stack.push_back(i);
            } else if (t[i].kind == Tok::RParen && !stack.empty()) {
                match_[stack.back()] = i;
                stack.pop_back();
            }
        }
    }

    // A region of one nesting level: terminators pass through, the stretches between them
    // are expressions at the concatenation level.
    QString region(int b, int e) const
    {
        QString out;
        int i = b;
        while (i < e) {
            if (isTerminator(t_[i]) || t_[i].kind == Tok::Space) {
                out += t_[i].text;
                ++i;
                continue;
            }
            int j = i;
            while (j < e && !isTerminator(t_[j]))
                j = next(j);
            // keep trailing blanks outside the segment
            int k = j;
            while (k > i && t_[k - 1].kind == Tok::Space)
                --k;
            // IN and BETWEEN compare with the collation of their left operand, which an
            // expression does not have: give it the one text columns have.
            if (leftOfSetTest(j, e))
                out += u'(' + segment(i, k) + QStringLiteral(") COLLATE NOCASE");
            else
                out += segment(i, k);
            for (int m = k; m < j; ++m)
                out += t_[m].text;
            i = j;
        }
        return out;
    }

private:
    const std::vector<Token>& t_;
    std::vector<int> match_;

    // Whether the terminator at j (before e) begins "[NOT] IN" or "[NOT] BETWEEN".
    bool leftOfSetTest(int j, int e) const
    {
        if (j >= e || t_[j].kind != Tok::Ident)
            return false;
        if (identIs(t_[j], "not")) {
            ++j;
            while (j < e && t_[j].kind == Tok::Space)
                ++j;
            if (j >= e)
                return false;
        }
        return identIs(t_[j], "in") || identIs(t_[j], "between");
    }

    int next(int i) const
    {
        if (t_[i].kind == Tok::LParen && match_[i] >= 0)
            return match_[i] + 1;
        return i + 1;
    }

    std::vector<int> topLevel(int b, int e, bool (*pred)(const std::vector<Token>&, int, int)) const
    {
        std::vector<int> at;
        for (int i = b; i < e; i = next(i))
            if (pred(t_, b, i))
                at.push_back(i);
        return at;
    }

    static bool isAmp(const std::vector<Token>& t, int, int i) { return t[i].kind == Tok::Op && t[i].text == u'&'; }
    static bool isBinaryAdditive(const std::vector<Token>& t, int b, int i)
    {
        if (t[i].kind != Tok::Op || (t[i].text != u'+' && t[i].text != u'-'))
            return false;
        int p = i - 1;
        while (p >= b && t[p].kind == Tok::Space)
            --p;
        return p >= b && endsOperand(t[p]);
    }

    // The chains are built front to back in one pass: "acc_concat(" once per "&", then each
    // operand with what closes it. Wrapping the text built so far at each operator would copy
    // it again for every operator of a long chain.
    QString segment(int b, int e) const
    {
        const std::vector<int> amps = topLevel(b, e, isAmp);
        if (amps.empty())
            return additive(b, e);
        QString out = QStringLiteral("acc_concat(").repeated(qsizetype(amps.size()));
        out += additive(b, amps[0]);
        for (size_t k = 0; k < amps.size(); ++k) {
            const int tb = amps[k] + 1;
            const int te = k + 1 < amps.size() ? amps[k + 1] : e;
            out += u',' + additive(tb, te) + u')';
        }
        return out;
    }

    QString additive(int b, int e) const
    {
        const std::vector<int> ops = topLevel(b, e, isBinaryAdditive);
        const auto pluses = std::count_if(ops.begin(), ops.end(), [this](int o) { return t_[o].text == u'+'; });
        if (pluses == 0)
            return plain(b, e);
        QString out = QStringLiteral("acc_plus(").repeated(qsizetype(pluses));
        out += plain(b, ops[0]);
        for (size_t k = 0; k < ops.size(); ++k) {
            const int tb = ops[k] + 1;
            const int te = k + 1 < ops.size() ? ops[k + 1] : e;
            if (t_[ops[k]].text == u'+')
                out += u',' + plain(tb, te) + u')';
            else
                out += u'-' + plain(tb, te);
        }
        return out;
    }

    // IIf evaluates only the branch it chooses, as Access does in queries (the index query
    // relies on it: Left(x, InStr(...) - 1) would fail on a cell without "-").
    QString iif(int open) const
    {
        std::vector<std::pair<int, int>> args;
        int from = open + 1;
        for (int i = open + 1; i < match_[open]; i = next(i)) {
            if (t_[i].kind == Tok::Comma) {
                args.push_back({from, i});
                from = i + 1;
            }
        }
        args.push_back({from, match_[open]});
        if (args.size() != 3)
            return QStringLiteral("acc_iif(") + region(open + 1, match_[open]) + u')';
        return QStringLiteral("(CASE WHEN acc_truth(") + region(args[0].first, args[0].second)
               + QStringLiteral(") THEN ") + region(args[1].first, args[1].second) + QStringLiteral(" ELSE ")
               + region(args[2].first, args[2].second) + QStringLiteral(" END)");
    }

    QString plain(int b, int e) const
    {
        QString out;
        for (int i = b; i < e;) {
            if (t_[i].kind == Tok::Ident && t_[i].text == QLatin1String("acc_iif")) {
                int j = i + 1;
                while (j < e && t_[j].kind == Tok::Space)
                    ++j;
                if (j < e && t_[j].kind == Tok::LParen && match_[j] >= 0 && match_[j] < e) {
                    out += iif(j);
                    i = match_[j] + 1;
                    continue;
                }
            }
            if (t_[i].kind == Tok::LParen && match_[i] >= 0 && match_[i] < e) {
                out += u'(' + region(i + 1, match_[i]) + u')';
                i = match_[i] + 1;
            } else {
                out += t_[i].text;
                ++i;
            }
        }
        return out;
    }
};

int nextSignificant(const std::vector<Token>& t, int i)
{
    ++i;
    while (i < int(t.size()) && t[i].kind == Tok::Space)
        ++i;
    return i;
}

int prevSignificant(const std::vector<Token>& t, int i)
{
    --i;
    while (i >= 0 && t[i].kind == Tok::Space)
        --i;
    return i;
}

// The rewrite descends once per level of parentheses: a statement nested deeper than any real
// one is refused before it could exhaust the stack.
void checkNesting(const std::vector<Token>& t)
{
    int depth = 0;
    for (const Token& tok : t) {
        if (tok.kind == Tok::LParen && ++depth > kMaxNesting)
            throw Error(err::SyntaxError,
                        QStringLiteral("The statement is too complex: it nests parentheses more than %1 levels deep.")
                            .arg(kMaxNesting),
                        kDbSource);
        if (tok.kind == Tok::RParen && depth > 0)
            --depth;
    }
}

} // namespace

Translation translate(const QString& accessSql)
{
    std::vector<Token> t = tokenize(accessSql);
    checkNesting(t);

    static const QHash<QString, QString> functions = {
        {"left", "acc_left"}, {"right", "acc_right"}, {"mid", "acc_mid"}, {"len", "acc_len"},
        {"instr", "acc_instr"}, {"lcase", "acc_lcase"}, {"ucase", "acc_ucase"},
        {"trim", "acc_trim"}, {"ltrim", "acc_ltrim"}, {"rtrim", "acc_rtrim"}, {"val", "acc_val"},
        {"iif", "acc_iif"}, {"nz", "acc_nz"}, {"cstr", "acc_cstr"}, {"cint", "acc_cint"},
        {"clng", "acc_clng"}, {"cdbl", "acc_cdbl"}, {"int", "acc_int"}, {"isnull", "acc_isnull"},
        {"format", "acc_format"}, {"left$", "acc_left"}, {"right$", "acc_right"},
        {"mid$", "acc_mid"}, {"lcase$", "acc_lcase"}, {"ucase$", "acc_ucase"},
        {"trim$", "acc_trim"}};

    Translation tr;
    const int first = nextSignificant(t, -1);
    const bool isSelect = first < int(t.size()) && identIs(t[first], "select");

    // DELETE * FROM t  ->  DELETE FROM t
    if (first < int(t.size()) && identIs(t[first], "delete")) {
        const int star = nextSignificant(t, first);
        if (star < int(t.size()) && t[star].kind == Tok::Op && t[star].text == u'*') {
            t.erase(t.begin() + star);
            if (star < int(t.size()) && t[star].kind == Tok::Space && star > 0 && t[star - 1].kind == Tok::Space)
                t.erase(t.begin() + star);
        }
    }

    for (int i = 0; i < int(t.size()); ++i) {
        Token& tok = t[i];
        if (tok.kind != Tok::Ident)
            continue;
        const int nx = nextSignificant(t, i);
        const int pv = prevSignificant(t, i);
        const bool qualified = pv >= 0 && t[pv].kind == Tok::Op && t[pv].text == u'.';
        const bool call = nx < int(t.size()) && t[nx].kind == Tok::LParen;
        if (qualified)
            continue;
        const QString lower = tok.text.toLower();
        if (call) {
            const auto f = functions.find(lower);
            if (f != functions.end())
                tok.text = f.value();
        } else if (lower == u"true") {
            tok = {Tok::Number, QStringLiteral("1")};
        } else if (lower == u"false") {
            tok = {Tok::Number, QStringLiteral("0")};
        } else if (lower == u"mod") {
            tok = {Tok::Op, QStringLiteral("%")};
        } else if (lower == u"like") {
            // The wildcards of every literal the pattern is joined from ('*' & w & '*'), not
            // of literals passed to a function inside it.
            int depth = 0;
            for (int k = nx; k < int(t.size()); ++k) {
                if (t[k].kind == Tok::LParen) {
                    ++depth;
                } else if (t[k].kind == Tok::RParen) {
                    if (--depth < 0)
                        break;
                } else if (depth == 0 && isTerminator(t[k])) {
                    break;
                } else if (depth == 0 && t[k].kind == Tok::String) {
                    QString& p = t[k].text;
                    for (int m = 1; m + 1 < int(p.size()); ++m) {
                        if (p[m] == u'*')
                            p[m] = u'%';
                        else if (p[m] == u'?')
                            p[m] = u'_';
                    }
                }
            }
        }
    }

    // Text compared with a literal compares without regard to case, as in Access.
    for (int i = 0; i < int(t.size()); ++i) {
        if (t[i].kind != Tok::String)
            continue;
        const int pv = prevSignificant(t, i);
        const int nx = nextSignificant(t, i);
        if ((pv >= 0 && isComparison(t[pv])) || (nx < int(t.size()) && isComparison(t[nx]))) {
            t[i].text += QStringLiteral(" COLLATE NOCASE");
            // 'x'AND: the literal ran straight into a keyword
            if (i + 1 < int(t.size()) && (t[i + 1].kind == Tok::Ident || t[i + 1].kind == Tok::Number))
                t[i].text += u' ';
        }
    }

    // Whether the rows of a SELECT are rows of one table (so the rowid may be read alongside).
    int insertToken = -1;
    if (isSelect) {
        bool safe = true;
        bool inFrom = false;
        int depth = 0;
        static const QSet<QString> aggregates = {"count", "sum", "min", "max", "avg", "first",
                                                 "last", "total", "group_concat", "stdev", "var"};
        for (int i = first + 1; i < int(t.size()) && safe; ++i) {
            const Token& tok = t[i];
            if (tok.kind == Tok::LParen) {
                if (inFrom && depth == 0)
                    safe = false;   // a derived table
                ++depth;
                continue;
            }
            if (tok.kind == Tok::RParen) {
                --depth;
                continue;
            }
            if (tok.kind == Tok::Ident && depth == 0) {
                const QString w = tok.text.toLower();
                if (w == u"distinct" || w == u"distinctrow" || w == u"group" || w == u"union"
                    || w == u"join" || w == u"top" || w == u"having" || w == u"intersect" || w == u"except")
                    safe = false;
                else if (w == u"from")
                    inFrom = true;
                else if (w == u"where" || w == u"order" || w == u"limit")
                    inFrom = false;
                else if (aggregates.contains(w) && nextSignificant(t, i) < int(t.size())
                         && t[nextSignificant(t, i)].kind == Tok::LParen)
                    safe = false;
            } else if (tok.kind == Tok::Comma && inFrom && depth == 0) {
                safe = false;
            }
        }
        if (safe)
            insertToken = first;
    }

    Renderer r(t);
    QString out;
    if (insertToken >= 0) {
        out = r.region(0, insertToken + 1);
        tr.rowidInsertAt = int(out.toUtf8().size());
        out += r.region(insertToken + 1, int(t.size()));
    } else {
        out = r.region(0, int(t.size()));
    }
    tr.sql = out.toUtf8();
    return tr;
}

} // namespace ado::accesssql
