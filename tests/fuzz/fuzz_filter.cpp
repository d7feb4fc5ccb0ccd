// Fuzz target: the recordset filter of the search screens. Any text parses or is refused with
// error 3001; a parsed filter evaluates on rows of every kind of value without failing.
#include "FuzzSupport.h"
#include "platform/db/Error.h"
#include "platform/db/RecordsetFilter.h"

#include <limits>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using ado::Variant;
    static const QStringList columns = {"ID", "name", "Section Number", "amount", "d", "ok", "doc"};
    static const std::vector<std::vector<Variant>> rows = {
        {Variant(qint64(1)), Variant("Act"), Variant("6-Levy of tax"), Variant(10.5), Variant(QDate(2009, 3, 1)),
         Variant(true), Variant(QByteArray("{\\rtf1 x}"))},
        {Variant(qint64(2)), Variant::null(), Variant(""), Variant(-1e308), Variant("2009-13-45"), Variant(false), Variant()},
        {Variant(std::numeric_limits<qint64>::min()), Variant("it's *%?"), Variant("9D3"), Variant("1e400"),
         Variant("18/Dec/1982"), Variant::null(), Variant(QByteArray("\0\1", 2))},
    };
    const auto columnOf = [](const QString& name) {
        for (int i = 0; i < columns.size(); ++i)
            if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    ado::filter::Expression e;
    try {
        e = ado::filter::Expression::parse(fuzz::text(data, size), columnOf);
    } catch (const ado::Error& error) {
        fuzz::require(error.Number() == ado::err::FilterInvalid, "a refused filter is error 3001");
        return 0;
    }
    for (const auto& row : rows)
        e.matches(row);   // never raises
    return 0;
}
