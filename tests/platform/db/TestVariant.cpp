// Values: Null through arithmetic and concatenation, conversions and their errors.
#include "DbFixture.h"

#include <platform/db/Variant.h>

using ado::Variant;
using dbtest::errorNumber;
namespace err = ado::err;

namespace {

TEST(Variants, NullPropagatesThroughArithmeticAndReadingItIsAnError)
{
    const Variant n = Variant::null();
    for (const Variant& v : {n + Variant(1), Variant(2.5) * n, n - n, n / Variant(0)})
        EXPECT_TRUE(v.isNull());
    EXPECT_EQ(errorNumber([&] { n.toString(); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorNumber([&] { n.toDouble(); }), err::InvalidUseOfNull);
    EXPECT_EQ(n.toDisplayString(), "");
    // + joins texts and adds a number text; & treats one Null as empty
    EXPECT_EQ((Variant("a") + Variant("b")).toString(), "ab");
    EXPECT_EQ((Variant("2") + Variant(3)).toDouble(), 5.0);
    EXPECT_EQ(Variant::concat(Variant("a"), n).toString(), "a");
    EXPECT_TRUE(Variant::concat(n, n).isNull());
    EXPECT_EQ(Variant::concat(Variant(1.5), Variant(true)).toString(), "1.5True");
    EXPECT_EQ(errorNumber([] { (Variant("x") + Variant(1)).toDouble(); }), err::TypeMismatch);
}

TEST(Variants, WholeNumbersStayWholeUntilTheyOverflowAndPrintAsTheRuntimeDoes)
{
    EXPECT_EQ((Variant(2) + Variant(3)).kind(), Variant::Kind::Integer);
    EXPECT_EQ((Variant(7) / Variant(2)).toDouble(), 3.5);
    EXPECT_EQ((Variant(std::numeric_limits<qint64>::max()) + Variant(1)).kind(), Variant::Kind::Double);
    EXPECT_EQ(errorNumber([] { Variant(1) / Variant(0); }), err::DivisionByZero);
    EXPECT_EQ(Variant(2.5).toLongLong(), 2);   // half to even
    EXPECT_EQ(Variant(3.5).toLongLong(), 4);
    EXPECT_EQ(Variant(true).toLongLong(), -1);
    const std::pair<double, const char*> texts[] = {{1500.0, "1500"}, {0.1 + 0.2, "0.3"}, {1e-5, "1E-05"}, {1.5e20, "1.5E+20"}};
    for (const auto& [v, text] : texts)
        EXPECT_EQ(Variant(v).toString(), text);
}

TEST(Variants, TextConversions)
{
    EXPECT_EQ(Variant(" 12.5 ").toDouble(), 12.5);
    EXPECT_TRUE(Variant("True").toBool());
    EXPECT_FALSE(Variant("0").toBool());
    EXPECT_EQ(Variant("2009-03-05").toDate(), QDate(2009, 3, 5));
    EXPECT_EQ(Variant("05-03-2009").toDate(), QDate(2009, 3, 5));
    for (const auto& bad : std::vector<std::function<void()>>{[] { Variant("12a").toDouble(); }, [] { Variant("").toDouble(); },
                                                              [] { Variant("yes").toBool(); }, [] { Variant("soon").toDate(); }})
        EXPECT_EQ(errorNumber(bad), err::TypeMismatch);
    EXPECT_EQ(Variant(QDate(2009, 3, 5)).toString(), "2009-03-05");
    EXPECT_EQ((Variant(QDate(2009, 3, 5)) + Variant(1)).toDate(), QDate(2009, 3, 6));
    EXPECT_EQ((Variant(QDate(2009, 3, 5)) - Variant(QDate(2009, 3, 1))).toLongLong(), 4);
    EXPECT_TRUE(Variant(1) == Variant(1.0));
    EXPECT_FALSE(Variant("1") == Variant(1));
}

} // namespace
