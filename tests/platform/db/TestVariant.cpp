// Values: Null through arithmetic and concatenation, conversions and their errors.
#include "DbFixture.h"

#include <platform/db/Variant.h>

using ado::Variant;
using dbtest::errorOf;
namespace err = ado::err;

namespace {

TEST(Variants, NullPropagatesThroughArithmeticAndReadingItIsAnError)
{
    const Variant n = Variant::null();
    EXPECT_TRUE((n + Variant(1)).isNull());
    EXPECT_TRUE((Variant(2.5) * n).isNull());
    EXPECT_TRUE((n - n).isNull());
    EXPECT_TRUE((n / Variant(0)).isNull());
    EXPECT_EQ(errorOf([&] { n.toString(); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorOf([&] { n.toDouble(); }), err::InvalidUseOfNull);
    EXPECT_EQ(n.toDisplayString(), "");
    EXPECT_EQ(Variant().toString(), "");
    EXPECT_EQ(Variant().toDouble(), 0.0);
}

TEST(Variants, PlusConcatenatesTextsAndAmpersandTreatsNullAsEmpty)
{
    EXPECT_EQ((Variant("a") + Variant("b")).toString(), "ab");
    EXPECT_EQ((Variant("2") + Variant(3)).toDouble(), 5.0);
    EXPECT_EQ(Variant::concat(Variant("a"), Variant::null()).toString(), "a");
    EXPECT_TRUE(Variant::concat(Variant::null(), Variant::null()).isNull());
    EXPECT_EQ(Variant::concat(Variant(1.5), Variant(true)).toString(), "1.5True");
    EXPECT_EQ(errorOf([] { (Variant("x") + Variant(1)).toDouble(); }), err::TypeMismatch);
}

TEST(Variants, WholeNumbersStayWholeUntilTheyOverflow)
{
    EXPECT_EQ((Variant(2) + Variant(3)).kind(), Variant::Kind::Integer);
    EXPECT_EQ((Variant(7) / Variant(2)).toDouble(), 3.5);
    const Variant big = Variant(std::numeric_limits<qint64>::max()) + Variant(1);
    EXPECT_EQ(big.kind(), Variant::Kind::Double);
    EXPECT_EQ(errorOf([] { Variant(1) / Variant(0); }), err::DivisionByZero);
    EXPECT_EQ(Variant(2.5).toLongLong(), 2);   // half to even
    EXPECT_EQ(Variant(3.5).toLongLong(), 4);
    EXPECT_EQ(Variant(1500.0).toString(), "1500");
    EXPECT_EQ(Variant(0.1 + 0.2).toString(), "0.3");
    EXPECT_EQ(Variant(1e-5).toString(), "1E-05");
    EXPECT_EQ(Variant(1.5e20).toString(), "1.5E+20");
    EXPECT_EQ(Variant(true).toLongLong(), -1);
}

TEST(Variants, TextConversions)
{
    EXPECT_EQ(Variant(" 12.5 ").toDouble(), 12.5);
    EXPECT_EQ(errorOf([] { Variant("12a").toDouble(); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant("").toDouble(); }), err::TypeMismatch);
    EXPECT_TRUE(Variant("True").toBool());
    EXPECT_FALSE(Variant("0").toBool());
    EXPECT_EQ(errorOf([] { Variant("yes").toBool(); }), err::TypeMismatch);
    EXPECT_EQ(Variant("2009-03-05").toDate(), QDate(2009, 3, 5));
    EXPECT_EQ(Variant("05-03-2009").toDate(), QDate(2009, 3, 5));
    EXPECT_EQ(errorOf([] { Variant("soon").toDate(); }), err::TypeMismatch);
    EXPECT_EQ(Variant(QDate(2009, 3, 5)).toString(), "2009-03-05");
    EXPECT_EQ((Variant(QDate(2009, 3, 5)) + Variant(1)).toDate(), QDate(2009, 3, 6));
    EXPECT_EQ((Variant(QDate(2009, 3, 5)) - Variant(QDate(2009, 3, 1))).toLongLong(), 4);
    EXPECT_TRUE(Variant(1) == Variant(1.0));
    EXPECT_FALSE(Variant("1") == Variant(1));
}

} // namespace
