#include "../ui/UiTestUtil.h"
#include "DecimalCommaLocale.h"
#include "platform/db/Error.h"
#include "platform/vb/Vb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

// Where the user's locale writes a decimal comma, the program still reads and writes its
// figures with a point: the runtime's numbers follow no locale.
TEST(Numbers, AreReadAndWrittenAlikeUnderADecimalCommaLocale)
{
    DecimalCommaLocale comma;
    ASSERT_TRUE(comma.active());
    EXPECT_DOUBLE_EQ(vb::Val("392.44"), 392.44);
    EXPECT_DOUBLE_EQ(vb::Val(" 1 2.5x"), 12.5);
    EXPECT_DOUBLE_EQ(vb::CDbl(" 1.5e3 "), 1500);
    EXPECT_TRUE(vb::IsNumeric("0.25"));
    EXPECT_FALSE(vb::IsNumeric("0,25"));
    EXPECT_EQ(vb::Format(Variant(QString("2.675")), "#0.00"), "2.68");
    EXPECT_EQ(vb::Format(1234.5, "#0.00"), "1234.50");
    EXPECT_EQ(vb::numberText(1125.5), "1125.5");
    EXPECT_DOUBLE_EQ(Variant(QString("12.5")).toDouble(), 12.5);
    double v = 0;
    EXPECT_EQ(vb::readNumber(u"12.75 ", vb::NumberSyntax::Amount, &v), vb::NumberRead::Number);
    EXPECT_DOUBLE_EQ(v, 12.75);
}

// A number too large for a double is the runtime's Overflow (6), never an infinity; one too
// small is 0. An infinity or NaN is never written as text, nor taken as a date.
TEST(Numbers, TooLargeIsAnOverflowAndNeverAnInfinity)
{
    const QString huge(400, '9');
    const double inf = std::numeric_limits<double>::infinity();
    for (const auto& [what, f] : std::vector<std::pair<const char*, std::function<void()>>>{
             {"Val of 400 digits", [&] { vb::Val(huge + "abc"); }},
             {"Val 1e400", [] { vb::Val("1e400x"); }},
             {"CDbl -1D400", [] { vb::CDbl(" -1D400 "); }},
             {"CDbl of 33 bits", [] { vb::CDbl("&H123456789"); }},
             {"Format of 400 digits", [&] { vb::Format(Variant(huge), "#0.00"); }},
             {"Format00 infinity", [&] { vb::Format00(inf); }},
             {"Format00 NaN", [] { vb::Format00(std::nan("")); }},
             {"numberText infinity", [&] { vb::numberText(-inf); }},
             {"an infinity as text", [&] { Variant(inf).toString(); }},
             {"text to number", [&] { Variant(huge).toDouble(); }},
             {"product", [] { (void)(Variant(1e308) * Variant(10.0)); }},
             {"sum", [] { (void)(Variant(1e308) + Variant(QString("1e308"))); }},
             {"quotient", [] { (void)(Variant(1e308) / Variant(1e-10)); }},
             {"infinity as a date", [&] { Variant(inf).toDate(); }},
             {"a day number past the year 9999", [] { Variant(1e300).toDate(); }},
             {"a date moved past the year 9999", [] { (void)(Variant(QDate(2009, 3, 1)) + Variant(qint64(1) << 40)); }},
         })
        EXPECT_EQ(uitest::errorNumber(f), ado::err::Overflow) << what;
    EXPECT_FALSE(vb::IsNumeric(huge));
    EXPECT_FALSE(vb::IsNumeric("1e400"));
    EXPECT_FALSE(Variant::parseNumber("1e400", nullptr));
    // The largest double still reads; digits past its precision are rounded, not refused.
    EXPECT_DOUBLE_EQ(vb::CDbl("1.7976931348623157e308"), 1.7976931348623157e308);
    EXPECT_DOUBLE_EQ(vb::CDbl(QString(300, '9')), 1e300);
    EXPECT_EQ(vb::Val("1e-400"), 0.0);
    EXPECT_EQ(vb::CDbl("0." + QString(400, '0') + "1"), 0.0);
    EXPECT_EQ(vb::Format00(1e-312), "0.00");
    EXPECT_EQ(vb::Format00(-1e-312), "0.00");
    EXPECT_EQ(vb::Format00(1e308).size(), 312);   // 309 digits, the point and two decimals
    EXPECT_EQ(Variant(2958465.0).toDate(), QDate(9999, 12, 31));
}

// The money cell's reading: a sign, digits and one point, blanks passed over, nothing else.
TEST(Numbers, AnAmountIsItsLeadingDigits)
{
    const std::pair<const char*, double> cases[] = {
        {"12abc", 12}, {" 1 2.5", 12.5}, {"1e3", 1}, {"&H10", 0}, {"-4.5.6", -4.5}, {".5", 0.5},
        {"", 0}, {"abc", 0}, {"+7", 7}, {"12.", 12},
    };
    for (const auto& [text, value] : cases) {
        double v = -1;
        vb::readNumber(QString(text), vb::NumberSyntax::Amount, &v);
        EXPECT_DOUBLE_EQ(v, value) << text;
    }
    double v = -1;
    EXPECT_EQ(vb::readNumber(QString(400, '9'), vb::NumberSyntax::Amount, &v), vb::NumberRead::Overflow);
    EXPECT_EQ(v, 0.0);
}
