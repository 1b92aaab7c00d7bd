// Checks of the printed forms of numbers and of reading numbers back from text.
#include "services/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

using svc::number_text;
using svc::text_number;

TEST(NumberText, IntegersGetASpaceOrAMinus)
{
    EXPECT_EQ(number_text(std::int16_t{5}), " 5");
    EXPECT_EQ(number_text(std::int16_t{-12}), "-12");
    EXPECT_EQ(number_text(std::int16_t{0}), " 0");
    EXPECT_EQ(number_text(std::int16_t{-32768}), "-32768");
    EXPECT_EQ(number_text(32767), " 32767");
    EXPECT_EQ(svc::number_item(std::int16_t{3}), " 3 ");
}

TEST(NumberText, SinglesInFixedNotation)
{
    EXPECT_EQ(number_text(0.5f), " .5");
    EXPECT_EQ(number_text(-0.25f), "-.25");
    EXPECT_EQ(number_text(12.5f), " 12.5");
    EXPECT_EQ(number_text(1600.0f), " 1600");
    EXPECT_EQ(number_text(35.0f), " 35");
    EXPECT_EQ(number_text(0.0f), " 0");
    EXPECT_EQ(number_text(-0.0f), " 0");
    EXPECT_EQ(number_text(1.0f / 3.0f), " .3333333");
    EXPECT_EQ(number_text(0.1f), " .1"); // 0.100000001... rounds to one digit
    EXPECT_EQ(number_text(1234567.0f), " 1234567");
    EXPECT_EQ(number_text(0.001f), " .001");
    EXPECT_EQ(number_text(-100.0f), "-100");
    EXPECT_EQ(svc::number_item(1600.0f), " 1600 ");
}

TEST(NumberText, SinglesSwitchToScientificAtTheLimits)
{
    EXPECT_EQ(number_text(1.5e10f), " 1.5E+10");
    EXPECT_EQ(number_text(1e-10f), " 1E-10");
    EXPECT_EQ(number_text(12345678.0f), " 1.234568E+07");
    EXPECT_EQ(number_text(10000000.0f), " 1E+07");
    EXPECT_EQ(number_text(-2.5e-20f), "-2.5E-20");
    // e - n = -8 is still fixed, -9 is not.
    EXPECT_EQ(number_text(0.1234567f), " .1234567");
    EXPECT_EQ(number_text(0.01234567f), " 1.234567E-02");
    EXPECT_EQ(number_text(1e-7f), " .0000001");
    EXPECT_EQ(number_text(1e-8f), " 1E-08");
    EXPECT_EQ(number_text(1.5e-6f), " .0000015");
    EXPECT_EQ(number_text(1.5e-7f), " 1.5E-07");
    EXPECT_EQ(number_text(std::numeric_limits<float>::denorm_min()), " 1.401298E-45");
}

TEST(NumberText, DoublesUseSixteenDigitsAndD)
{
    EXPECT_EQ(number_text(1.5e20), " 1.5D+20");
    EXPECT_EQ(number_text(1e100), " 1D+100");
    EXPECT_EQ(number_text(-1e-300), "-1D-300");
    EXPECT_EQ(number_text(1.0 / 3.0), " .3333333333333333");
    EXPECT_EQ(number_text(0.1), " .1");
    EXPECT_EQ(number_text(1e16), " 1D+16");
    // Whole numbers below 10^16 print as the other types do.
    EXPECT_EQ(number_text(1600.0), " 1600");
    EXPECT_EQ(number_text(-12.0), "-12");
    EXPECT_EQ(number_text(1234567890123456.0), " 1234567890123456");
    EXPECT_EQ(number_text(12345678901234567.0), " 1.234567890123457D+16");
}

TEST(NumberText, NonFiniteValuesDoNotBreakTheForm)
{
    EXPECT_EQ(number_text(std::numeric_limits<float>::infinity()), " INF");
    EXPECT_EQ(number_text(-std::numeric_limits<double>::infinity()), "-INF");
    EXPECT_EQ(number_text(std::nan("")), " NAN");
}

TEST(TextNumber, ReadsTheWaysTheGameWritesNumbers)
{
    EXPECT_EQ(text_number(" 1"), 1.0);
    EXPECT_EQ(text_number("05"), 5.0);
    EXPECT_EQ(text_number(""), 0.0);
    EXPECT_EQ(text_number("1.5E+3"), 1500.0);
    EXPECT_EQ(text_number("1 2"), 12.0);
    EXPECT_EQ(text_number(" .5"), 0.5);
    EXPECT_EQ(text_number("-.25"), -0.25);
    EXPECT_EQ(text_number("1.5D+20"), 1.5e20);
    EXPECT_EQ(text_number("\t-\t3 . 5 e 2"), -350.0);
    EXPECT_EQ(text_number("+7"), 7.0);
    EXPECT_EQ(text_number("2e-3"), 0.002);
}

TEST(TextNumber, StopsAtTheFirstOtherCharacter)
{
    EXPECT_EQ(text_number("12:34:56"), 12.0);
    EXPECT_EQ(text_number("3 metri"), 3.0);
    EXPECT_EQ(text_number("1E"), 1.0);
    EXPECT_EQ(text_number("1E+"), 1.0);
    EXPECT_EQ(text_number("1.2.3"), 1.2);
    EXPECT_EQ(text_number("--1"), 0.0);
    EXPECT_EQ(text_number("abc"), 0.0);
    EXPECT_EQ(text_number("-"), 0.0);
    EXPECT_EQ(text_number("."), 0.0);
    EXPECT_EQ(text_number("E5"), 0.0);
    EXPECT_FALSE(std::signbit(text_number("-0")));
}

TEST(TextNumber, LongAndExtremeTextsStayExact)
{
    EXPECT_EQ(text_number(std::string(500, '0') + "42"), 42.0);
    EXPECT_EQ(text_number("0." + std::string(300, '0') + "1"), 1e-301);
    EXPECT_EQ(text_number("1" + std::string(100, '0')), 1e100);
    EXPECT_EQ(text_number("1E400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(text_number("-1E400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(text_number("1E-400"), 0.0);
    EXPECT_EQ(text_number("1E99999999999999999999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(text_number("4.940656458412465D-324"), std::numeric_limits<double>::denorm_min());
}

} // namespace
