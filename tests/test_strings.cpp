// Checks of the text functions, the rounding into integers and checked subscripts.
#include "services/strings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/support/harness.h"

namespace {

using testing_support::Harness;

TEST(TextFunctions, MiddlePartStartAndLengthRules)
{
    EXPECT_EQ(svc::middle_part("ABCDE", 0, 2), "A");
    EXPECT_EQ(svc::middle_part("ABCDE", -1, 2), "");
    EXPECT_EQ(svc::middle_part("ABCDE", -1, 4), "AB");
    EXPECT_EQ(svc::middle_part("ABCDE", 4, 5), "DE");
    EXPECT_EQ(svc::middle_part("ABCDE", 9), "");
    EXPECT_EQ(svc::middle_part("ABCDE", 9, 1), "");
    EXPECT_EQ(svc::middle_part("ABCDE", 6, 1), "");
    EXPECT_EQ(svc::middle_part("ABCDE", 5, 1), "E");
    EXPECT_EQ(svc::middle_part("ABCDE", 2, 0), "");
    EXPECT_EQ(svc::middle_part("ABCDE", 2, -3), "");
    EXPECT_EQ(svc::middle_part("ABCDE", 2), "BCDE");
    EXPECT_EQ(svc::middle_part("ABCDE", -7), "ABCDE");
    EXPECT_EQ(svc::middle_part("ABCDE", 3, 2147483647), "CDE");
    EXPECT_EQ(svc::middle_part("ABCDE", -2147483647 - 1, 2147483647), "");
    const std::string withNul("a\0b", 3);
    EXPECT_EQ(svc::middle_part(withNul, 2, 1), std::string(1, '\0'));
}

TEST(TextFunctions, RightPartSpacesRepeatAndLowerCase)
{
    EXPECT_EQ(svc::right_part("12:34:56", 2), "56");
    EXPECT_EQ(svc::right_part("ab", 5), "ab");
    EXPECT_EQ(svc::right_part("ab", 0), "");
    EXPECT_EQ(svc::right_part("ab", -1), "");
    EXPECT_EQ(svc::spaces(3), "   ");
    EXPECT_EQ(svc::spaces(-4), "");
    EXPECT_EQ(svc::repeated_byte(3, 205), "\xCD\xCD\xCD");
    EXPECT_EQ(svc::repeated_byte(2, 0), std::string(2, '\0')); // the lowest byte too
    EXPECT_EQ(svc::repeated_byte(-1, 205), "");
    EXPECT_EQ(svc::lower_case("Nuova"), "nuova");
    EXPECT_EQ(svc::lower_case("@AZ[`az{\x80\x8E\xC9"), "@az[`az{\x80\x8E\xC9");
    EXPECT_EQ(svc::first_code("\x8C"), 0x8C);
    EXPECT_EQ(svc::character_from_code(255), "\xFF");
    EXPECT_EQ(svc::character_from_code(0), std::string(1, '\0'));
}

TEST(TextFunctions, RefusalsRaiseTheirErrorsAndGiveTheFixedResults)
{
    Harness h;
    EXPECT_EQ(svc::character_from_code(256), "");
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);
    EXPECT_EQ(svc::character_from_code(-1), "");
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);
    EXPECT_EQ(svc::first_code(""), 0);
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);
    EXPECT_EQ(svc::square_root(-1), 0.0);
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);
    EXPECT_EQ(svc::repeated_byte(2, 256), "");
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);
    EXPECT_EQ(svc::spaces(svc::kMaxTextLength + 1), "");
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);
    EXPECT_EQ(svc::power(-8, 0.5), 0.0);
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);
    EXPECT_EQ(svc::power(10, 400), 0.0);
    EXPECT_EQ(h.answerError(), svc::kOverflow);

    // The accepted edges raise nothing.
    EXPECT_EQ(svc::spaces(svc::kMaxTextLength).size(), 32767u);
    EXPECT_EQ(svc::square_root(0), 0.0);
    EXPECT_EQ(svc::square_root(2.25), 1.5);
    EXPECT_EQ(svc::power(-2, 3), -8.0);
    EXPECT_EQ(svc::power(2, -1), 0.5);
    EXPECT_EQ(h.answerError(), 0);
}

TEST(Rounding, StoresIntoIntegersRoundTiesToEven)
{
    EXPECT_EQ(svc::round_to_int16(2.5), 2);
    EXPECT_EQ(svc::round_to_int16(3.5), 4);
    EXPECT_EQ(svc::round_to_int16(-2.5), -2);
    EXPECT_EQ(svc::round_to_int16(-3.5), -4);
    EXPECT_EQ(svc::round_to_int16(2.5000001), 3);
    EXPECT_EQ(svc::round_to_int16(-0.4), 0);
    EXPECT_EQ(svc::round_to_int16(32767.4), 32767);
    EXPECT_EQ(svc::round_to_int16(-32768.5), -32768);
}

TEST(Rounding, ValuesOutsideSixteenBitsOverflow)
{
    Harness h;
    EXPECT_EQ(svc::round_to_int16(32767.5), 0); // rounds to 32768
    EXPECT_EQ(h.answerError(), svc::kOverflow);
    EXPECT_EQ(svc::round_to_int16(-32769), 0);
    EXPECT_EQ(h.answerError(), svc::kOverflow);
    EXPECT_EQ(svc::round_to_int16(std::nan("")), 0);
    EXPECT_EQ(h.answerError(), svc::kOverflow);
    EXPECT_EQ(svc::round_to_int16(1e300), 0);
    EXPECT_EQ(h.answerError(), svc::kOverflow);
}

TEST(CheckedArray, SubscriptsOutsideTheBoundsRaiseNineAndTouchNothing)
{
    Harness h;
    svc::CheckedArray<std::string, 2> grid({svc::Bounds{0, 32}, svc::Bounds{0, 32}});
    EXPECT_EQ(grid.size(), 33u * 33u);
    grid(1, 2) = "X";
    grid(32, 32) = "c";
    EXPECT_EQ(grid.elements()[1 * 33 + 2], "X"); // row-major
    EXPECT_EQ(h.answerError(), 0);

    grid(33, 0) = "bad";
    EXPECT_EQ(h.answerError(), svc::kSubscriptOutOfRange);
    EXPECT_EQ(grid(0, -1), ""); // the scratch element does not keep the bad write
    EXPECT_EQ(h.answerError(), svc::kSubscriptOutOfRange);
    for (const std::string& cell : grid.elements()) {
        EXPECT_NE(cell, "bad");
    }

    svc::CheckedArray<std::int16_t> words(std::array<svc::Bounds, 1>{svc::Bounds{-2, 2}});
    words(-2) = 7;
    words(2) = 9;
    EXPECT_EQ(words.elements()[0], 7);
    EXPECT_EQ(words.elements()[4], 9);
    const auto& constWords = words;
    EXPECT_EQ(constWords(3), 0);
    EXPECT_EQ(h.answerError(), svc::kSubscriptOutOfRange);
    EXPECT_EQ(constWords(-2), 7);
    EXPECT_EQ(h.answerError(), 0);
}

} // namespace
