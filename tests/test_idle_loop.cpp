// The idle loop asleep between the passes that change something: the passes it slept through
// still count (the X-ray aid lasts as long, the birds fly as far), and a key wakes it at once.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/state.h"
#include "game/idle_loop.h"
#include "tests/support/harness.h"

namespace {

using svc::Key;

// A level under way in the picture mode of play, the player facing `heading`, ten minutes left.
std::unique_ptr<game::GameState> level_state(testing_support::Harness& h, int heading)
{
    h.sv().set_screen_mode(8);
    auto st = std::make_unique<game::GameState>();
    st->level.levelNumber = 1;
    st->level.minutesLeft = 10;
    st->player.heading = static_cast<game::i16>(heading);
    st->scan.facingDepth = -20;
    return st;
}

// Runs the idle loop until `stop` says so at a window pass; the arrow up then ends it.
template <class Stop> char idle_until(testing_support::Harness& h, game::GameState& st, Stop stop)
{
    bool pressed = false;
    h.platform.onPass = [&] {
        if (!pressed && stop()) {
            pressed = true;
            h.platform.press_key(Key::Up);
        }
    };
    char move = 0;
    EXPECT_EQ(game::IdleLoop(h.sv(), st, move), game::IdleExit::Move);
    h.platform.onPass = nullptr;
    return move;
}

TEST(IdleLoop, TheXrayAidLastsAsLongWhetherTheLoopSleepsOrNot)
{
    struct Run {
        double endMs = 0;
        long passes = 0;
    };
    Run runs[2];
    for (const bool sleeps : {false, true}) {
        SCOPED_TRACE(sleeps ? "sleeping" : "pass by pass");
        testing_support::Harness h;
        h.platform.sleepsThroughIdle = sleeps;
        auto st = level_state(h, 0);
        st->sound.soundMode = 1; // the aid's end plays its music file: the time it ended
        st->player.xrayOn = 1;
        const double startMs = h.platform.ticks_ms();
        const long yieldsBefore = h.platform.yields;
        idle_until(h, *st, [&] { return st->player.xrayOn == 0; });
        const auto& files = h.platform.audio.files;
        ASSERT_EQ(files.size(), 1u);
        runs[sleeps].endMs = files[0].startMs - startMs;
        runs[sleeps].passes = h.platform.yields - yieldsBefore; // one key poll a pass
    }
    // 401 units of 64 passes at 2 000 passes a second: asleep to the pass, pass by pass
    // within the 8 ms the passes run ahead of their slots before the loop sleeps.
    constexpr double kNominalMs = 401 * 64 * 0.5;
    EXPECT_NEAR(runs[1].endMs, kNominalMs, 0.5);
    EXPECT_NEAR(runs[0].endMs, kNominalMs, 9);
    // Pass by pass every pass runs; asleep only those that change something (a unit of the
    // gauge, a second of the clock).
    EXPECT_GT(runs[0].passes, 25000);
    EXPECT_LT(runs[1].passes, 1000);
}

TEST(IdleLoop, AKeyCutsTheSleepShort)
{
    testing_support::Harness h;
    h.platform.sleepsThroughIdle = true;
    auto st = level_state(h, 2); // facing south: nothing due before the next second
    double pressedMs = -1;
    const char move = idle_until(h, *st, [&] {
        const double now = h.platform.ticks_ms();
        if (now < 1500 || (static_cast<long>(now) % 1000) > 500) {
            return false; // half a second after a whole one, the loop fast asleep
        }
        pressedMs = now;
        return true;
    });
    EXPECT_EQ(move, 'H');
    ASSERT_GT(pressedMs, 0);
    // The press is collected by the next window pass, 16 ms later; the loop takes it then.
    EXPECT_NEAR(h.platform.ticks_ms() - pressedMs, 16, 0.2);
}

// Out of sight (facing south) the sleeping loop makes up every step on waking; in sight, once
// the keys are quiet, every other one (the window shows only every other step then).
TEST(IdleLoop, BirdsFlyAsFarWhileTheLoopSleepsInSightOrNot)
{
    for (const int heading : {2, 0}) {
        game::GullState gulls[2];
        std::uint32_t seeds[2] = {};
        for (const bool sleeps : {false, true}) {
            testing_support::Harness h;
            h.platform.sleepsThroughIdle = sleeps;
            auto st = level_state(h, heading);
            // The key is taken a window pass after the press, and pass by pass up to 9 ms
            // later still: the press falls where no step is due in that time (the beat is
            // 20 ms).
            idle_until(h, *st, [&] {
                const double now = h.platform.ticks_ms();
                const double intoBeat = std::fmod(now + 16 - 1000, 20);
                return now >= 4000 && intoBeat >= 1 && intoBeat <= 10;
            });
            gulls[sleeps] = st->gulls;
            seeds[sleeps] = h.sv().random_seed();
        }
        EXPECT_EQ(gulls[1].gullX, gulls[0].gullX) << heading;
        EXPECT_EQ(gulls[1].gullStep, gulls[0].gullStep) << heading;
        EXPECT_EQ(seeds[1], seeds[0]) << heading; // the turns drew the same random numbers
    }
}

} // namespace
