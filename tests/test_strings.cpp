// Checks of the text functions and the rounding into integers.
#include "services/common/strings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

namespace {

// Keeps the error raised on it until it is taken.
struct Raised final : svc::ErrorSink {
    int code = 0;
    void raise(int c) override { code = c; }
    int take() { return std::exchange(code, 0); }
};

TEST(TextFunctions, ResultsAndRefusalsWithTheirErrors)
{
    Raised errors;
    EXPECT_EQ(svc::right_part("12:34:56", 2), "56");
    EXPECT_EQ(svc::right_part("ab", 5), "ab");
    EXPECT_EQ(svc::right_part("ab", 0), "");
    EXPECT_EQ(svc::right_part("ab", -1), "");
    EXPECT_EQ(svc::spaces(errors, 3), "   ");
    EXPECT_EQ(svc::spaces(errors, -4), "");
    EXPECT_EQ(svc::repeated_byte(errors, 3, 205), "\xCD\xCD\xCD");
    EXPECT_EQ(svc::repeated_byte(errors, 2, 0), std::string(2, '\0')); // the lowest byte too
    EXPECT_EQ(svc::repeated_byte(errors, -1, 205), "");
    EXPECT_EQ(svc::lower_case("@AZ[`az{\x80\x8E\xC9"), "@az[`az{\x80\x8E\xC9");
    EXPECT_EQ(svc::first_code(errors, "\x8C"), 0x8C);
    EXPECT_EQ(svc::character_from_code(errors, 255), "\xFF");
    EXPECT_EQ(svc::character_from_code(errors, 0), std::string(1, '\0'));
    EXPECT_EQ(errors.take(), 0);

    // Refused: the result, then the error it raised (the arguments are worked out before the call).
    const auto refused = [&](const auto& got, const auto& want,
                             int error = svc::kIllegalFunctionCall) {
        EXPECT_EQ(got, want);
        EXPECT_EQ(errors.take(), error);
    };
    refused(svc::character_from_code(errors, 256), "");
    refused(svc::character_from_code(errors, -1), "");
    refused(svc::first_code(errors, ""), 0);
    refused(svc::square_root(errors, -1), 0.0);
    refused(svc::repeated_byte(errors, 2, 256), "");
    refused(svc::spaces(errors, svc::kMaxTextLength + 1), "");
    refused(svc::power(errors, -8, 0.5), 0.0);
    refused(svc::power(errors, 10, 400), 0.0, svc::kOverflow);

    // The accepted edges raise nothing.
    EXPECT_EQ(svc::spaces(errors, svc::kMaxTextLength).size(), 32767u);
    EXPECT_EQ(svc::square_root(errors, 0), 0.0);
    EXPECT_EQ(svc::square_root(errors, 2.25), 1.5);
    EXPECT_EQ(svc::power(errors, -2, 3), -8.0);
    EXPECT_EQ(svc::power(errors, 2, -1), 0.5);
    EXPECT_EQ(errors.take(), 0);
}

// Ties go to the even integer; a value outside 16 bits (NaN too) overflows and stores 0.
TEST(Rounding, StoresIntoIntegersRoundTiesToEvenAndOverflowOutsideSixteenBits)
{
    constexpr int kOver = svc::kOverflow;
    struct Row {
        double value;
        int want, error;
    };
    // clang-format off
    const Row rows[] = {
        {2.5, 2, 0},          {3.5, 4, 0},        {-2.5, -2, 0},           {-3.5, -4, 0},
        {2.5000001, 3, 0},    {-0.4, 0, 0},       {32767.4, 32767, 0},     {-32768.5, -32768, 0},
        {32767.5, 0, kOver},  {-32769, 0, kOver}, {std::nan(""), 0, kOver}, {1e300, 0, kOver}};
    // clang-format on
    for (const auto& r : rows) {
        Raised errors;
        EXPECT_EQ(svc::round_to_int16(errors, r.value), r.want) << r.value;
        EXPECT_EQ(errors.take(), r.error) << r.value;
    }
}

} // namespace
