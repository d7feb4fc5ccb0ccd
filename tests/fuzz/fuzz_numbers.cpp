// Fuzz target: the runtime's number and date helpers. The numeric check and the conversions
// agree, written figures read back as what was written, and no infinity or NaN ever becomes text.
#include "../platform/ui/UiTestUtil.h"
#include "FuzzSupport.h"
#include "platform/db/Error.h"
#include "platform/db/RecordsetFilter.h"
#include "platform/db/Variant.h"
#include "platform/vb/Vb.h"

#include <cmath>

using uitest::errorNumber;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using ado::Variant;
    const QString t = fuzz::text(data, size);

    // The check and the conversions agree.
    const bool numeric = vb::IsNumeric(t);
    double whole = 0;
    const long cdbl = errorNumber([&] { whole = vb::CDbl(t); });
    fuzz::require(numeric == (cdbl == 0), "IsNumeric agrees with CDbl", t);
    fuzz::require(cdbl == 0 || cdbl == ado::err::TypeMismatch || cdbl == ado::err::Overflow, "CDbl raises 13 or 6", t);
    double parsed = 0;
    fuzz::require(Variant::parseNumber(t, &parsed) == numeric && (!numeric || parsed == whole),
                  "the value reader agrees with IsNumeric", t);
    if (numeric) {
        // what the search box accepts, the filter takes
        const long filter = errorNumber([&] { ado::filter::Expression::parse("n =" + t, [](const QString&) { return 0; }); });
        fuzz::require(filter == 0, "the filter takes every number the check accepts", t);
    }
    for (auto syntax : {vb::NumberSyntax::Whole, vb::NumberSyntax::Leading, vb::NumberSyntax::Amount}) {
        double v = -1;
        const vb::NumberRead r = vb::readNumber(t, syntax, &v);
        fuzz::require(std::isfinite(v), "a read number is finite", t);
        fuzz::require(r == vb::NumberRead::Number || v == 0, "no number reads as 0", t);
    }
    // An amount is the number its digits write, whatever commas group them.
    double amount = 0;
    if (vb::readNumber(t, vb::NumberSyntax::Amount, &amount) == vb::NumberRead::Number) {
        double plain = 0;
        fuzz::require(vb::readNumber(QString(t).remove(QLatin1Char(',')), vb::NumberSyntax::Whole, &plain)
                              == vb::NumberRead::Number
                          && plain == amount,
                      "an amount reads as its digits without their commas", t);
    }
    double val = 0;
    const long valError = errorNumber([&] { val = vb::Val(t); });
    fuzz::require(valError == 0 || valError == ado::err::Overflow, "Val raises only Overflow", t);
    fuzz::require(std::isfinite(val), "Val is finite", t);

    // Written figures read back.
    if (numeric) {
        const QString money = vb::Format00(whole);
        fuzz::require(fuzz::showsNoInfinity(money), "Format writes no infinity", t);
        fuzz::require(vb::IsNumeric(money), "money text is a number", money);
        if (std::fabs(whole) < 1e15)
            fuzz::require(std::fabs(vb::CDbl(money) - whole) <= 0.005000001 + std::fabs(whole) * 1e-15,
                          "money text is the number to the cent", t);
        fuzz::require(vb::CDbl(vb::numberText(whole)) == whole, "the shortest text reads back exactly", t);
    }
    QString formatted;
    const long format = errorNumber([&] { formatted = vb::Format(Variant(t), QStringLiteral("#0.00")); });
    fuzz::require(format == 0 || format == ado::err::Overflow, "Format raises only Overflow", t);
    fuzz::require(format != 0 || numeric || formatted == t, "Format keeps a text that is no number", t);

    // Dates: a text or a number becomes a date or raises the runtime's errors, never more.
    for (const Variant& v : {Variant(t), Variant(val), Variant(whole)}) {
        QDate d;
        const long date = errorNumber([&] { d = v.toDate(); });
        fuzz::require(date == 0 || date == ado::err::TypeMismatch || date == ado::err::Overflow, "toDate raises 13 or 6", t);
        if (date == 0 && d.isValid())
            fuzz::require(!vb::FormatDate(d, QStringLiteral("dd-mm-yy")).isEmpty(), "a date formats", t);
    }
    vb::FormatDate(ado::filter::parseDateLiteral(t), t.left(64));
    vb::MonthNumber(t);
    return 0;
}
