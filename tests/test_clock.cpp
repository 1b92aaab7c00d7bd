// The timer and the time of day (every golden run rolls the random numbers from the timer and
// pins the generator to the bit), and the idle loop's pacer: passes a second on the clock,
// whatever the platform's sleeps do.
#include <gtest/gtest.h>

#include <cmath>

#include "game/loop_pacer.h"

#include "tests/support/harness.h"

using testing_support::Harness;

TEST(Timer, CountsFromASecondBoundaryInTicksOfOne182th)
{
    // Started 300 ms into a second, the timer reads that fraction at once, without a wait.
    {
        svc::HeadlessPlatform p;
        p.set_time_of_day(10, 0, 0, 300);
        svc::Services sv(p);
        EXPECT_EQ(p.ticks_ms(), 0.0) << "start-up waited";
        EXPECT_NEAR(sv.timer_seconds(), 36000.3, 0.03);
        p.advance(700);
        EXPECT_NEAR(sv.timer_seconds(), 36001.0, 0.03);
        EXPECT_EQ(sv.time_of_day(), "10:00:01");
    }
    Harness h(10, 0, 0, 300); // the harness runs on to 10:00:01.000
    const float t0 = h.sv().timer_seconds();
    EXPECT_NEAR(t0, 36001.0, 0.06);
    // Two readings within 50 ms can be equal; the value is always a whole tick.
    h.platform.advance(20);
    const float t1 = h.sv().timer_seconds();
    h.platform.advance(20);
    const float t2 = h.sv().timer_seconds();
    EXPECT_LE(t1, t2);
    for (float t : {t0, t1, t2}) {
        const double ticks = static_cast<double>(t) * 18.2;
        EXPECT_NEAR(ticks, std::nearbyint(ticks), 0.05);
    }
    int same = 0;
    for (int i = 0; i < 20; ++i) {
        const float a = h.sv().timer_seconds();
        h.platform.advance(10);
        same += a == h.sv().timer_seconds();
    }
    EXPECT_GT(same, 5);
}

TEST(Timer, WrapsAtMidnight)
{
    Harness h(23, 59, 58);
    EXPECT_GT(h.sv().timer_seconds(), 86390.0f);
    h.platform.advance(2500);
    EXPECT_LT(h.sv().timer_seconds(), 5.0f);
    EXPECT_EQ(h.sv().time_of_day().substr(0, 5), "00:00");
}

TEST(TimeOfDay, EightCharactersOfTheLocalTime)
{
    Harness h(9, 5, 7, 500);
    const std::string t = h.sv().time_of_day();
    EXPECT_EQ(t.size(), 8u);
    EXPECT_EQ(t, "09:05:08"); // the harness runs on to the next second
    h.platform.advance(52000);
    EXPECT_EQ(h.sv().time_of_day(), "09:06:00");
}

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
