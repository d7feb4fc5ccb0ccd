#include "platform/db/Error.h"
#include "platform/vb/Vb.h"

#include <gtest/gtest.h>

using ado::Variant;

TEST(Format, MoneyTextRoundsHalfAwayFromZeroOnTheDecimalValue)
{
    EXPECT_EQ(vb::Format(0.005, "#0.00"), "0.01");
    EXPECT_EQ(vb::Format(2.675, "#0.00"), "2.68");     // 2.67499999... in binary
    EXPECT_EQ(vb::Format(1.005, "#0.00"), "1.01");
    EXPECT_EQ(vb::Format(-2.675, "#0.00"), "-2.68");
    EXPECT_EQ(vb::Format(-3, "#0.00"), "-3.00");
    EXPECT_EQ(vb::Format(1234.5, "#0.00"), "1234.50");
    EXPECT_EQ(vb::Format(0.994, "#0.00"), "0.99");
    EXPECT_EQ(vb::Format(9.995, "#0.00"), "10.00");
    EXPECT_EQ(vb::Format(0.0, "#0.00"), "0.00");
    EXPECT_EQ(vb::Format(-0.001, "#0.00"), "0.00");   // no negative zero
    EXPECT_EQ(vb::Format(1234567.125, "#0.00"), "1234567.13");   // no grouping
    EXPECT_EQ(vb::Format(0.5, "#0.00"), "0.50");
    EXPECT_EQ(vb::Format(1e15, "#0.00"), "1000000000000000.00");
    EXPECT_EQ(vb::Format00(0.1 + 0.2), "0.30");
    EXPECT_EQ(vb::Format00(999.995), "1000.00");
    // values of every kind
    EXPECT_EQ(vb::Format(Variant(true), "#0.00"), "-1.00");
    EXPECT_EQ(vb::Format(Variant(qint64(1500)), "#0.00"), "1500.00");
    EXPECT_EQ(vb::Format(Variant(QString("-.5")), "#0.00"), "-0.50");
    EXPECT_EQ(vb::Format(Variant(QString("&H10")), "#0.00"), "16.00");
}

TEST(Format, TextsAndEmptyValues)
{
    EXPECT_EQ(vb::Format(QString("12.5"), "#0.00"), "12.50");
    EXPECT_EQ(vb::Format(QString(" 7 "), "#0.00"), "7.00");
    EXPECT_EQ(vb::Format(QString("CST"), "#0.00"), "CST");
    EXPECT_EQ(vb::Format(QString("12abc"), "#0.00"), "12abc");
    EXPECT_EQ(vb::Format(QString(""), "#0.00"), "");
    EXPECT_EQ(vb::Format(Variant(), "#0.00"), "");
    EXPECT_EQ(vb::Format(Variant::null(), "#0.00"), "");
}

TEST(Format, Dates)
{
    QDate d(2008, 3, 7);
    EXPECT_EQ(vb::Format(d, "dd-mm-yy"), "07-03-08");
    EXPECT_EQ(vb::Format(d, "mm-dd-yyyy"), "03-07-2008");
    EXPECT_EQ(vb::Format(d, "mmmm"), "March");
    EXPECT_EQ(vb::Format(Variant(QString("2009-01-05")), "mmmm"), "January");
    EXPECT_EQ(vb::FormatDate(QDate(2009, 1, 5), "d-m-yy"), "5-1-09");
    EXPECT_EQ(vb::FormatDate(QDate(2009, 1, 5), "dd/MMM/yyyy"), "05/Jan/2009");
    EXPECT_EQ(vb::FormatDate(QDate(2029, 12, 31), "dd-mm-yy"), "31-12-29");
    EXPECT_EQ(vb::FormatDate(QDate(), "dd-mm-yy"), "");
}

TEST(Numbers, ValReadsTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(vb::Val("12abc"), 12);
    EXPECT_DOUBLE_EQ(vb::Val("  1 2.5x"), 12.5);
    EXPECT_DOUBLE_EQ(vb::Val("abc"), 0);
    EXPECT_DOUBLE_EQ(vb::Val(""), 0);
    EXPECT_DOUBLE_EQ(vb::Val("-4.25"), -4.25);
    EXPECT_DOUBLE_EQ(vb::Val("1.5.6"), 1.5);
    EXPECT_DOUBLE_EQ(vb::Val("1e3x"), 1000);
    EXPECT_DOUBLE_EQ(vb::Val("2e"), 2);
    EXPECT_DOUBLE_EQ(vb::Val("&H1F"), 31);
    EXPECT_DOUBLE_EQ(vb::Val(".5"), 0.5);
    EXPECT_DOUBLE_EQ(vb::Val(" - 5"), -5);
    EXPECT_DOUBLE_EQ(vb::Val("\t1\n2"), 12);
    EXPECT_DOUBLE_EQ(vb::Val("+.5x"), 0.5);
    EXPECT_DOUBLE_EQ(vb::Val("--5"), 0);
    EXPECT_DOUBLE_EQ(vb::Val("1,500"), 1);
    EXPECT_DOUBLE_EQ(vb::Val("1d2"), 100);
    EXPECT_DOUBLE_EQ(vb::Val("12 e 1"), 120);
}

// Hex and octal texts are typed like literals: 16 bits unless a trailing & asks for 32.
TEST(Numbers, HexAndOctalTexts)
{
    EXPECT_DOUBLE_EQ(vb::Val("&H7FFF"), 32767);
    EXPECT_DOUBLE_EQ(vb::Val("&HFFFF"), -1);
    EXPECT_DOUBLE_EQ(vb::Val("&H8000"), -32768);
    EXPECT_DOUBLE_EQ(vb::Val("&HFFFF&"), 65535);
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

TEST(Numbers, WholeTextConversion)
{
    EXPECT_DOUBLE_EQ(vb::CDbl(" 12.5 "), 12.5);
    EXPECT_DOUBLE_EQ(vb::CDbl("-3"), -3);
    EXPECT_DOUBLE_EQ(vb::CDbl("1e3"), 1000);
    EXPECT_DOUBLE_EQ(vb::CDbl("1D3"), 1000);
    EXPECT_DOUBLE_EQ(vb::CDbl("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(vb::CDbl("12."), 12);
    EXPECT_TRUE(vb::IsNumeric("4"));
    EXPECT_FALSE(vb::IsNumeric("12abc"));
    EXPECT_FALSE(vb::IsNumeric(""));
    EXPECT_FALSE(vb::IsNumeric("  "));
    EXPECT_FALSE(vb::IsNumeric("1 2"));
    EXPECT_FALSE(vb::IsNumeric("."));
    EXPECT_FALSE(vb::IsNumeric("1e"));
    EXPECT_FALSE(vb::IsNumeric("-"));
    EXPECT_FALSE(vb::IsNumeric("1.2.3"));
    EXPECT_FALSE(vb::IsNumeric("\t"));
    try {
        vb::CDbl("12abc");
        FAIL() << "expected a type mismatch";
    } catch (const ado::Error& e) {
        EXPECT_EQ(e.Number(), 13);
    }
}

TEST(Text, TrimRemovesBlanksOnly)
{
    EXPECT_EQ(vb::Trim("  a b  "), "a b");
    EXPECT_EQ(vb::Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(vb::LTrim("  x "), "x ");
    EXPECT_EQ(vb::RTrim("  x "), "  x");
    EXPECT_EQ(vb::Trim("   "), "");
}

TEST(Dates, MonthNamesAndTwoDigitYears)
{
    EXPECT_EQ(vb::MonthName(1), "January");
    EXPECT_EQ(vb::MonthName(12), "December");
    EXPECT_EQ(vb::MonthName(13), "");
    EXPECT_EQ(vb::MonthNumber("SEPTEMBER"), 9);
    EXPECT_EQ(vb::MonthNumber("Sept"), 0);
    EXPECT_EQ(vb::FullYear(29), 2029);
    EXPECT_EQ(vb::FullYear(30), 1930);
    EXPECT_EQ(vb::FullYear(0), 2000);
    EXPECT_EQ(vb::FullYear(99), 1999);
    EXPECT_FALSE(vb::MakeDate(2008, 2, 31).isValid());
    EXPECT_FALSE(vb::MakeDate(2008, 13, 1).isValid());
    EXPECT_TRUE(vb::MakeDate(2008, 2, 29).isValid());
    EXPECT_FALSE(vb::MakeDate(2009, 2, 29).isValid());
}

TEST(Skip, AFailingStatementIsSkippedAndTheNextRuns)
{
    int ran = 0;
    EXPECT_FALSE(vb::skip([] { throw ado::Error(5, "x"); }));
    EXPECT_TRUE(vb::skip([&] { ++ran; }));
    EXPECT_FALSE(vb::skip([] { throw std::runtime_error("y"); }));
    EXPECT_EQ(ran, 1);
}
