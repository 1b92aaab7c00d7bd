// The timer and the time of day (every golden run rolls the random numbers from the timer and
// pins the generator to the bit).
#include <gtest/gtest.h>

#include <cmath>

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
