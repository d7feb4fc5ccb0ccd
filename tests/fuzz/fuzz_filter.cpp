// Fuzz target: the recordset filter of the search screens. Any text parses or is refused with
// error 3001; a parsed filter evaluates on rows of every kind of value without failing. The
// input's first line and the rest are two filters in turn, as two keystrokes set them: when the
// second narrows the first, no row it matches escapes the first (a recordset filters only the
// rows the first left). And a word without wildcards or quotes, looked for anywhere, matches
// exactly where a case-insensitive search of the value's text finds it.
#include "FuzzSupport.h"
#include "platform/db/Error.h"
#include "platform/db/RecordsetFilter.h"

#include <limits>
#include <optional>
#include <vector>

namespace {

using ado::Variant;
using ado::filter::Expression;

const QStringList& columns()
{
    static const QStringList c = {"ID", "name", "Section Number", "amount", "d", "ok", "doc"};
    return c;
}

const std::vector<std::vector<Variant>>& rows()
{
    static const std::vector<std::vector<Variant>> r = {
        {Variant(qint64(1)), Variant("Act"), Variant("6-Levy of tax"), Variant(10.5), Variant(QDate(2009, 3, 1)),
         Variant(true), Variant(QByteArray("{\\rtf1 x}"))},
        {Variant(qint64(2)), Variant::null(), Variant(""), Variant(-1e308), Variant("2009-13-45"), Variant(false), Variant()},
        {Variant(std::numeric_limits<qint64>::min()), Variant("it's *%?"), Variant("9D3"), Variant("1e400"),
         Variant("18/Dec/1982"), Variant::null(), Variant(QByteArray("\0\1", 2))},
        {Variant(qint64(4)), Variant("KERALA Vat Act, Dealer's RETURN ZONE"), Variant("Straße ΣΊΣΥΦΟΣ ς \u212A"),
         Variant("École"), Variant("𐐀𐐨 deseret"), Variant("കേരള നികുതി"), Variant(qint64(12))},
        {Variant(qint64(5)), Variant("an ascii prefix then ÉCOLE straße σίσυφος 𐐨𐐀"), Variant("k"), Variant(""),
         Variant(" "), Variant("İSTANBUL istanbul"), Variant("x")},
    };
    return r;
}

int columnOf(const QString& name)
{
    for (int i = 0; i < columns().size(); ++i)
        if (columns()[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

// The parsed filter; nothing when refused.
std::optional<Expression> parsed(const QString& text)
{
    try {
        return Expression::parse(text, columnOf);
    } catch (const ado::Error& error) {
        fuzz::require(error.Number() == ado::err::FilterInvalid, "a refused filter is error 3001");
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz::text(data, size);
    const qsizetype lineEnd = text.indexOf(u'\n');
    const QString first = text.left(lineEnd), second = lineEnd < 0 ? QString() : text.mid(lineEnd + 1);

    const std::optional<Expression> whole = parsed(text);
    for (const auto& row : rows()) {
        if (whole)
            whole->matches(row);   // never raises
    }

    const std::optional<Expression> broader = parsed(first), narrower = parsed(second);
    if (broader && narrower && narrower->narrows(*broader)) {
        for (const auto& row : rows())
            fuzz::require(!narrower->matches(row) || broader->matches(row), "a narrower filter keeps within the rows of the one before",
                          first + " / " + second);
    }

    if (!first.isEmpty() && !first.contains(u'\'') && !first.contains(u'*') && !first.contains(u'%')) {
        const Expression word = Expression::parse("name LIKE '*" + first + "*'", columnOf);
        for (const auto& row : rows()) {
            const Variant& v = row[1];
            const bool found = !v.isNull() && v.toString().contains(first, Qt::CaseInsensitive);
            fuzz::require(word.matches(row) == found, "a word matches where a case-insensitive search finds it", first);
        }
    }
    return 0;
}
