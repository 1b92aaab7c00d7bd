// The level table reader on a text of its own: the built-in table is always well formed, so
// only here do its refusals show.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/level_reader.h"
#include "services/common/errors.h"
#include "tests/support/harness.h"

namespace {

TEST(LevelReader, RefusedItemsRaiseTheirErrorAndLeaveTheCursor)
{
    testing_support::Harness h;
    const std::string text = "12,\"5\",,1x,32768,7,";
    const std::array<std::size_t, 1> offsets{0};
    game::LevelReader r(text, offsets);
    std::int16_t n = 0;
    std::string s;
    const struct {
        bool number;
        bool ok;
        int error;
    } steps[] = {{true, true, 0},                  // 12
                 {true, false, svc::kSyntaxError}, // "5": quoted
                 {false, true, 0},                 // "5" as text
                 {true, false, svc::kSyntaxError}, // empty
                 {false, true, 0},                 // skipped as text
                 {true, false, svc::kSyntaxError}, // 1x
                 {false, true, 0},                 // skipped as text
                 {true, false, svc::kOverflow},    // 32768
                 {false, true, 0},                 // skipped as text
                 {true, true, 0},                  // 7
                 {true, false, svc::kOutOfData}};
    for (const auto& step : steps) {
        const std::size_t before = r.position();
        EXPECT_EQ(step.number ? r.read_number(h.sv(), n) : r.read_string(h.sv(), s), step.ok)
            << before;
        EXPECT_EQ(h.answerError(), step.error) << before;
        EXPECT_EQ(r.position() == before, !step.ok) << before;
    }
    EXPECT_EQ(n, 7);
    EXPECT_EQ(s, "32768");
}

} // namespace
