// The runtime helpers: money and date formats, number reads the same in every locale, Overflow
// instead of an infinity, blanks, month names and two-digit years.
#include "../ui/UiTestUtil.h"
#include "DecimalCommaLocale.h"
#include "platform/vb/Vb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using ado::Variant;
using uitest::errorNumber;

TEST(Format, MoneyRoundsHalfAwayFromZeroOnTheDecimalValueAndOtherTextsStayAsTheyAre)
{
    static const std::pair<Variant, const char*> cases[] = {
        {0.005, "0.01"}, {2.675, "2.68"} /* 2.67499999... in binary */, {1.005, "1.01"}, {-2.675, "-2.68"},
        {-3, "-3.00"}, {1234.5, "1234.50"}, {0.994, "0.99"}, {9.995, "10.00"}, {-0.001, "0.00"} /* no negative zero */,
        {1234567.125, "1234567.13"} /* no grouping */, {1e15, "1000000000000000.00"}, {true, "-1.00"},
        {qint64(1500), "1500.00"}, {"-.5", "-0.50"}, {"&H10", "16.00"}, {"12.5", "12.50"}, {" 7 ", "7.00"},
        {"CST", "CST"}, {"12abc", "12abc"}, {"", ""}, {Variant(), ""}, {Variant::null(), ""},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(vb::Format(value, "#0.00"), text) << value.toDisplayString().toStdString();
    EXPECT_EQ(vb::Format00(0.1 + 0.2), "0.30");
    EXPECT_EQ(vb::Format00(999.995), "1000.00");
}

TEST(Format, DatesAndTheirParts)
{
    const QDate d(2008, 3, 7);
    EXPECT_EQ(vb::Format(d, "dd-mm-yy"), "07-03-08");
    EXPECT_EQ(vb::Format(d, "mm-dd-yyyy"), "03-07-2008");
    EXPECT_EQ(vb::Format(d, "mmmm"), "March");
    EXPECT_EQ(vb::Format(Variant(QString("2009-01-05")), "mmmm"), "January");
    EXPECT_EQ(vb::FormatDate(QDate(2009, 1, 5), "d-m-yy"), "5-1-09");
    EXPECT_EQ(vb::FormatDate(QDate(2009, 1, 5), "dd/MMM/yyyy"), "05/Jan/2009");
    EXPECT_EQ(vb::FormatDate(QDate(), "dd-mm-yy"), "");
    EXPECT_EQ(vb::MonthName(13), "");
    EXPECT_EQ(vb::MonthNumber("SEPTEMBER"), 9);
    EXPECT_EQ(vb::MonthNumber("Sept"), 0);
    // two-digit years: 00-29 this century, 30-99 the last
    EXPECT_EQ(vb::FullYear(29), 2029);
    EXPECT_EQ(vb::FullYear(30), 1930);
    EXPECT_FALSE(vb::MakeDate(2008, 2, 31).isValid());
    EXPECT_FALSE(vb::MakeDate(2008, 13, 1).isValid());
    EXPECT_TRUE(vb::MakeDate(2008, 2, 29).isValid());
    EXPECT_FALSE(vb::MakeDate(2009, 2, 29).isValid());
}

// Val reads the leading number; hex and octal are 16 bits unless a trailing & asks for 32.
TEST(Numbers, ValReadsTheLeadingNumber)
{
    const std::pair<const char*, double> cases[] = {
        {"12abc", 12}, {"  1 2.5x", 12.5}, {"abc", 0}, {"", 0}, {"-4.25", -4.25}, {"1.5.6", 1.5}, {"1e3x", 1000},
        {"2e", 2}, {".5", 0.5}, {" - 5", -5}, {"\t1\n2", 12}, {"+.5x", 0.5}, {"--5", 0}, {"1,500", 1}, {"1d2", 100},
        {"12 e 1", 120}, {"&H1F", 31}, {"&H7FFF", 32767}, {"&HFFFF", -1}, {"&H8000", -32768}, {"&HFFFF&", 65535},
        {"&H10000", 65536}, {"&HFFFFFFFF", -1}, {"&O177777", -1}, {"&o17", 15}, {"&H", 0}, {"&H1G", 1},
    };
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(vb::Val(text), value) << text;
}

// CDbl and IsNumeric take a whole text and agree on it.
TEST(Numbers, WholeTextConversionAndTheNumericCheckAgree)
{
    const std::pair<const char*, double> numbers[] = {{" 12.5 ", 12.5}, {"-3", -3}, {"1e3", 1000}, {"1D3", 1000},
                                                      {"+.5", 0.5}, {"12.", 12}, {"&HFFFF", -1}, {"&HFFFF&", 65535}};
    for (const auto& [text, value] : numbers) {
        EXPECT_DOUBLE_EQ(vb::CDbl(text), value) << text;
        EXPECT_TRUE(vb::IsNumeric(text)) << text;
    }
    for (const char* text : {"12abc", "", "  ", "1 2", ".", "1e", "-", "1.2.3", "\t", "&H", "&H&"}) {
        EXPECT_FALSE(vb::IsNumeric(text)) << text;
        EXPECT_EQ(errorNumber([&] { vb::CDbl(text); }), ado::err::TypeMismatch) << text;
    }
}

TEST(Text, TrimRemovesBlanksOnlyAndSkipGoesOnAfterAFailure)
{
    EXPECT_EQ(vb::Trim("  a b  "), "a b");
    EXPECT_EQ(vb::Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(vb::LTrim("  x "), "x ");
    EXPECT_EQ(vb::RTrim("  x "), "  x");
    int ran = 0;
    EXPECT_FALSE(vb::skip([] { throw ado::Error(5, "x"); }));
    EXPECT_TRUE(vb::skip([&] { ++ran; }));
    EXPECT_FALSE(vb::skip([] { throw std::runtime_error("y"); }));
    EXPECT_EQ(ran, 1);
}

// Under a decimal-comma locale the runtime still reads and writes numbers with a point.
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

// Too large is Overflow (6), never an infinity, as text or as a date; too small is 0.
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
        EXPECT_EQ(errorNumber(f), ado::err::Overflow) << what;
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

// The money cell's reading: the whole text one number, commas only where a grouping puts them.
TEST(Numbers, AnAmountIsOneNumberItsCommasGroupedInThreesOrTheIndianWay)
{
    const std::pair<const char*, double> accepted[] = {
        {"1,200.00", 1200}, {"1,20,000.50", 120000.5}, {"1,200,000", 1200000}, {"12,34,56,789", 123456789},
        {" -4,500.25 ", -4500.25}, {"+7", 7}, {"12.", 12}, {".5", 0.5}, {"100,000", 100000}, {"20,000", 20000},
        {"1234567", 1234567}, {"0.125", 0.125},
    };
    for (const auto& [text, value] : accepted) {
        double v = -1;
        EXPECT_EQ(vb::readNumber(QString(text), vb::NumberSyntax::Amount, &v), vb::NumberRead::Number) << text;
        EXPECT_DOUBLE_EQ(v, value) << text;
    }
    // A decimal comma, a comma out of its group, two groupings in one number, letters, an
    // exponent, a radix, two points, a lone sign or point, a blank inside: none is an amount.
    for (const char* text : {"12,50", "1,2345", "1,00,000,000", "123,45,678", ",100", "100,", "1,,000", "1000,000",
                             "12a50", "12abc", "1e3", "&H10", "1.2.3", "-", "+", ".", "- 5", "1 000", "1,000.5,0", ""}) {
        double v = -1;
        EXPECT_EQ(vb::readNumber(QString(text), vb::NumberSyntax::Amount, &v), vb::NumberRead::None) << text;
        EXPECT_EQ(v, 0.0) << text;
    }
    double v = -1;
    EXPECT_EQ(vb::readNumber(QString(400, '9'), vb::NumberSyntax::Amount, &v), vb::NumberRead::Overflow);
    EXPECT_EQ(v, 0.0);
}
