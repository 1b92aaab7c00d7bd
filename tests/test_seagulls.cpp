// Checks of the seagull flight: the paths' turns and random steps, and which birds show.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/core/state.h"
#include "screens/status_panel.h"
#include "services/block_codec.h"
#include "tests/support/harness.h"

namespace {

using game::i16;
using testing_support::Harness;

// The game's random generator, worked out here independently to predict the draws.
struct Generator {
    std::uint32_t seed;
    float next()
    {
        seed = (seed * 16598013u + 12820163u) & 0xFFFFFFu;
        return static_cast<float>(seed) / 16777216.0f;
    }
};

// A seed whose next draw r gives floor(r * 3) == wanted.
std::uint32_t seedGiving(int wanted)
{
    for (std::uint32_t s = 1;; ++s) {
        Generator g{s};
        if (static_cast<int>(g.next() * 3.0f) == wanted) {
            return s;
        }
    }
}

// Where each of the eight birds sits with every offset at 10.
struct Place {
    int x;
    int y;
};
constexpr std::array<Place, 8> kPlacesAtTen = {
    {{210, 2}, {410, 14}, {220, 26}, {225, 38}, {250, 50}, {270, 62}, {281, 70}, {305, 80}}};

class Seagulls : public ::testing::Test {
  protected:
    void SetUp() override
    {
        h.sv().set_screen_mode(8);
        // Each picture in its own colour: gab 1, gab2 2, gab3 3, gab4 4.
        testing_support::solid_block(st.pictures.gab, 4, 2, 1);
        testing_support::solid_block(st.pictures.gab2, 4, 2, 2);
        testing_support::solid_block(st.pictures.gab3, 4, 2, 3);
        testing_support::solid_block(st.pictures.gab4, 4, 2, 4);
        st.time.clockSeconds = "10";
    }
    // One panel call a step's time (20 ms) after the last.
    void fly()
    {
        h.platform.advance(20);
        screens::FlySeagulls(h.sv(), st);
    }
    // Every path at offset 10 and standing still: no random draws, fixed places.
    void holdAtTen()
    {
        for (int i = 1; i <= 7; ++i) {
            st.gulls.gullX[i] = 10;
            st.gulls.gullStep[i] = 0;
        }
    }
    // The colour of each bird's top-left pixel (0 where none is drawn).
    std::array<int, 8> birds()
    {
        std::array<int, 8> out{};
        for (std::size_t i = 0; i < 8; ++i) {
            out[i] = h.screen().pixel(kPlacesAtTen[i].x, kPlacesAtTen[i].y);
        }
        return out;
    }
    void clear() { h.sv().clear_screen(); }

    Harness h;
    game::GameState st;
};

TEST_F(Seagulls, FirstCallStartsEveryPathWithOneRandomStep)
{
    Generator g{h.sv().random_seed()};
    fly();
    for (int i = 1; i <= 7; ++i) {
        const int step = static_cast<int>(g.next() * 2.0f) + 1;
        EXPECT_EQ(st.gulls.gullStep[i], step) << "path " << i;
        EXPECT_EQ(st.gulls.gullX[i], step) << "path " << i;
    }
    EXPECT_EQ(h.sv().random_seed(), g.seed) << "exactly seven draws";
}

TEST_F(Seagulls, PathAtItsLimitDrawsUntilItTurnsBack)
{
    holdAtTen();
    st.gulls.gullX[1] = 250;
    st.gulls.gullStep[1] = 1;

    // A drawn step of 0 leaves the path at its limit, and it draws again on the next call.
    h.sv().set_random_seed(seedGiving(0));
    Generator g{h.sv().random_seed()};
    fly();
    g.next();
    EXPECT_EQ(st.gulls.gullX[1], 250);
    EXPECT_EQ(st.gulls.gullStep[1], 0);
    EXPECT_EQ(h.sv().random_seed(), g.seed) << "one draw for the one path at its limit";

    h.sv().set_random_seed(seedGiving(2));
    fly();
    EXPECT_EQ(st.gulls.gullStep[1], -2);
    EXPECT_EQ(st.gulls.gullX[1], 248);

    // Below the limit it flies back without drawing.
    const std::uint32_t seed = h.sv().random_seed();
    fly();
    EXPECT_EQ(st.gulls.gullX[1], 246);
    EXPECT_EQ(h.sv().random_seed(), seed);

    // The near end: at 0 or below it draws a step of 1 or 2 outward.
    st.gulls.gullX[4] = -1;
    st.gulls.gullStep[4] = -2;
    fly();
    EXPECT_GE(st.gulls.gullStep[4], 1);
    EXPECT_EQ(st.gulls.gullX[4], -1 + st.gulls.gullStep[4]);
}

TEST_F(Seagulls, OneSecondOfIdlePassesFliesTensOfPixelsNotThousands)
{
    // The idle loop's 2 000 passes a second: the birds step on their own beat, never jump.
    std::array<int, 8> travelled{};
    for (int pass = 0; pass < 2000; ++pass) {
        const game::GullState before = st.gulls;
        h.platform.advance(0.5);
        screens::FlySeagulls(h.sv(), st);
        for (std::size_t i = 1; i <= 7; ++i) {
            const int moved = std::abs(st.gulls.gullX[i] - before.gullX[i]);
            EXPECT_LE(moved, 2) << "path " << i << " jumped";
            travelled[i] += moved;
        }
    }
    for (std::size_t i = 1; i <= 7; ++i) {
        EXPECT_GE(travelled[i], 25) << "path " << i;
        EXPECT_LE(travelled[i], 110) << "path " << i;
    }
}

TEST_F(Seagulls, NearerFacingWallHidesTheLowerBirds)
{
    struct Case {
        i16 facingDepth;
        int shown; // birds 1..shown are drawn
    };
    for (const Case c : {Case{140, 0}, Case{120, 1}, Case{100, 2}, Case{40, 5}, Case{20, 6},
                         Case{0, 7}, Case{-20, 8}, Case{-40, 8}}) {
        clear();
        holdAtTen();
        st.scan.facingDepth = c.facingDepth;
        fly();
        const std::array<int, 8> seen = birds();
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(seen[static_cast<std::size_t>(i)] != 0, i < c.shown)
                << "bird " << i + 1 << " at facingDepth " << c.facingDepth;
        }
    }
    // Each bird alternates its two pictures with the clock's seconds.
    EXPECT_EQ(birds(), (std::array<int, 8>{1, 2, 1, 2, 1, 3, 4, 3}));
    clear();
    st.time.clockSeconds = "11";
    fly();
    EXPECT_EQ(birds(), (std::array<int, 8>{2, 1, 2, 1, 2, 4, 3, 4}));
}

TEST_F(Seagulls, HiddenButStillFlyingOutsideTheNorthernDaySky)
{
    st.scan.facingDepth = -40;
    struct Case {
        i16 heading;
        i16 xrayOn;
        i16 dayPhase;
    };
    for (const Case c :
         {Case{1, 0, 0}, Case{2, 0, 0}, Case{3, 0, 0}, Case{0, 1, 0}, Case{0, 0, 66}}) {
        clear();
        holdAtTen();
        st.gulls.gullStep[3] = 1;
        st.player.heading = c.heading;
        st.player.xrayOn = c.xrayOn;
        st.time.dayPhase = c.dayPhase;
        fly();
        EXPECT_EQ(birds(), (std::array<int, 8>{})) << "heading " << c.heading;
        EXPECT_EQ(st.gulls.gullX[3], 11);
    }
    // Dusk at 65 is still day for the birds.
    clear();
    holdAtTen();
    st.player = game::PlayerState{};
    st.time.dayPhase = 65;
    fly();
    EXPECT_EQ(birds()[0], 1);
}

} // namespace
