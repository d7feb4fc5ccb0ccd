// Edges of the number reads, money texts and dates, checked against what the runtime gives.
#include "platform/db/Error.h"
#include "platform/vb/Vb.h"

#include <gtest/gtest.h>

using ado::Variant;

TEST(ReviewVal, HexAndOctalTextsAreTypedLikeLiterals)
{
    EXPECT_DOUBLE_EQ(vb::Val("&H7FFF"), 32767);
    EXPECT_DOUBLE_EQ(vb::Val("&HFFFF"), -1);          // a 16-bit value: the top bit is the sign
    EXPECT_DOUBLE_EQ(vb::Val("&H8000"), -32768);
    EXPECT_DOUBLE_EQ(vb::Val("&HFFFF&"), 65535);      // a trailing & asks for 32 bits
    EXPECT_DOUBLE_EQ(vb::Val("&H10000"), 65536);
    EXPECT_DOUBLE_EQ(vb::Val("&HFFFFFFFF"), -1);
    EXPECT_DOUBLE_EQ(vb::Val("&O177777"), -1);
    EXPECT_DOUBLE_EQ(vb::Val("&o17"), 15);
    EXPECT_DOUBLE_EQ(vb::Val("&H"), 0);
    EXPECT_DOUBLE_EQ(vb::Val("&H1G"), 1);
    EXPECT_TRUE(vb::IsNumeric("&HFFFF&"));
    EXPECT_FALSE(vb::IsNumeric("&H"));
    EXPECT_FALSE(vb::IsNumeric("&H&"));
    EXPECT_DOUBLE_EQ(vb::CDbl("&HFFFF"), -1);
}

TEST(ReviewVal, BlanksSignsAndExponents)
{
    EXPECT_DOUBLE_EQ(vb::Val(" - 5"), -5);
    EXPECT_DOUBLE_EQ(vb::Val("\t1\n2"), 12);
    EXPECT_DOUBLE_EQ(vb::Val("+.5x"), 0.5);
    EXPECT_DOUBLE_EQ(vb::Val("--5"), 0);
    EXPECT_DOUBLE_EQ(vb::Val("1,500"), 1);
    EXPECT_DOUBLE_EQ(vb::Val("1d2"), 100);
    EXPECT_DOUBLE_EQ(vb::Val("12 e 1"), 120);
    EXPECT_DOUBLE_EQ(vb::Val("12.50 Rs"), 12.5);
}

TEST(ReviewCDbl, WholeTextOnly)
{
    EXPECT_DOUBLE_EQ(vb::CDbl("1e3"), 1000);
    EXPECT_DOUBLE_EQ(vb::CDbl("1D3"), 1000);
    EXPECT_DOUBLE_EQ(vb::CDbl("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(vb::CDbl("12."), 12);
    EXPECT_FALSE(vb::IsNumeric("1e"));
    EXPECT_FALSE(vb::IsNumeric("-"));
    EXPECT_FALSE(vb::IsNumeric("1.2.3"));
    EXPECT_FALSE(vb::IsNumeric("\t"));
}

TEST(ReviewFormat, MoneyTextOfValuesOfEveryKind)
{
    EXPECT_EQ(vb::Format(Variant(true), "#0.00"), "-1.00");
    EXPECT_EQ(vb::Format(Variant(qint64(1500)), "#0.00"), "1500.00");
    EXPECT_EQ(vb::Format(Variant(QString("-.5")), "#0.00"), "-0.50");
    EXPECT_EQ(vb::Format(Variant(QString("&H10")), "#0.00"), "16.00");
    EXPECT_EQ(vb::Format(Variant(1e15), "#0.00"), "1000000000000000.00");
    EXPECT_EQ(vb::Format(Variant(0.125), "#0.00"), "0.13");
    EXPECT_EQ(vb::Format(Variant(-0.125), "#0.00"), "-0.13");
    EXPECT_EQ(vb::Format(Variant(1.0 / 3), "#0.00"), "0.33");
    EXPECT_EQ(vb::Format00(0.1 + 0.2), "0.30");
    EXPECT_EQ(vb::Format00(999.995), "1000.00");
}

TEST(ReviewFormat, DateFormats)
{
    const QDate d(2009, 1, 5);
    EXPECT_EQ(vb::FormatDate(d, "d-m-yy"), "5-1-09");
    EXPECT_EQ(vb::FormatDate(d, "dd/MMM/yyyy"), "05/Jan/2009");
    EXPECT_EQ(vb::FormatDate(d, "yyyy"), "2009");
    EXPECT_EQ(vb::FormatDate(QDate(1930, 12, 31), "dd-mm-yy"), "31-12-30");
    EXPECT_EQ(vb::Format(Variant(QString("2009-01-05")), "mmmm"), "January");
    EXPECT_EQ(vb::Format(Variant(d), "dd-mm-yy"), "05-01-09");
}

TEST(ReviewVariant, NumbersAsTextUseTheRuntimeForm)
{
    EXPECT_EQ(Variant(1e-5).toString(), "1E-05");
    EXPECT_EQ(Variant(1.5e20).toString(), "1.5E+20");
    EXPECT_EQ(Variant(0.1 + 0.2).toString(), "0.3");
    EXPECT_EQ(Variant(-2.5).toString(), "-2.5");
    EXPECT_EQ(Variant(1500.0).toString(), "1500");
    EXPECT_EQ(Variant(true).toString(), "True");
    EXPECT_EQ(Variant(2.5).toLongLong(), 2);    // half to even
    EXPECT_EQ(Variant(3.5).toLongLong(), 4);
    EXPECT_EQ(Variant(true).toLongLong(), -1);
    EXPECT_EQ(Variant::concat(Variant(1.5), Variant(QString("x"))).toString(), "1.5x");
}
