// The idle loop's pacer: passes a second on the clock, whatever the platform's sleeps do.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/loop_pacer.h"
#include "tests/support/harness.h"

namespace {

// A background tab wakes the game's sleeps once a second (or a minute) instead of every 8 ms:
// the X-ray aid, counted in passes, would then last a hundred times as long. The passes a
// sleep swallowed are made up, so the same number of passes take the same time on the clock.
// A pass that itself took long (a sound waited for) is not raced after.
TEST(LoopPacer, ASleepThatOverranIsMadeUpButALongPassIsNot)
{
    struct Row {
        const char* name;
        double shortestSleepMs;
        int slowEvery;          // every so many passes one takes 500 ms (0: none)
        int passes;             // run this many passes
        double ms, toleranceMs; // and they take this long
    };
    const Row rows[] = {
        {"sleeps as asked", 0, 0, 20000, 10000, 10},
        {"every sleep a second long", 1000, 0, 20000, 10000, 1000},
        {"every sleep a minute long", 60000, 0, 240000, 120000, 60000},
        {"a slow pass: no racing after it", 0, 100, 2000, 11000, 100},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        testing_support::Harness h;
        h.platform.shortestSleepMs = r.shortestSleepMs;
        game::LoopPacer pacer(h.sv());
        const double start = h.platform.ticks_ms();
        for (int i = 1; i <= r.passes; ++i) {
            if (r.slowEvery > 0 && i % r.slowEvery == 0) {
                h.platform.advance(500);
            }
            pacer.pass();
        }
        EXPECT_NEAR(h.platform.ticks_ms() - start, r.ms, r.toleranceMs);
    }
}

// The same when the loop sleeps until the X-ray aid's next unit: a sleep that lasts a second
// must not count only the passes up to that unit.
TEST(LoopPacer, ASleepingLoopMakesUpASleepThatOverran)
{
    testing_support::Harness h;
    h.platform.sleepsThroughIdle = true;
    h.platform.shortestSleepMs = 1000;
    game::LoopPacer pacer(h.sv());
    const double start = h.platform.ticks_ms();
    for (long counted = 0; counted < 25664;) {
        game::IdleDue due;
        due.passes = static_cast<int>(64 - counted % 64);
        counted += 1 + pacer.pass(due);
    }
    EXPECT_NEAR(h.platform.ticks_ms() - start, 12832, 1000);
}

} // namespace
