// The sky where a golden run only meets it by chance: the row of clouds facing south ends at
// x 370 by day and 470 by night; and the seagulls' flight in time: the idle loop calls the
// panel about 2 000 times a second, and the birds must fly across the sky on their own beat
// instead of jumping at every call.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "core/state.h"
#include "screens/status_panel.h"
#include "tests/support/harness.h"
#include "view/sky.h"

namespace {

TEST(Sky, CloudsFacingSouthReachTheirLastPlaceAndNoFurther)
{
    struct Row {
        int phase, spacing, clouds;
    };
    // 80 + 3 * 97 = 371 and 80 + 17 * 23 = 471 are one too far; 80 + 5 * 58 = 370 and
    // 80 + 3 * 130 = 470 are the last places.
    for (const Row r : {Row{0, 97, 3}, Row{0, 58, 6}, Row{66, 23, 17}, Row{66, 130, 4}}) {
        testing_support::Harness h;
        h.sv().set_screen_mode(8);
        game::GameState st;
        testing_support::solid_block(st.pictures.cloudDay, 4, 2, 5);
        testing_support::solid_block(st.pictures.cloudEvening, 4, 2, 5);
        for (int k = 1; k <= 40; ++k) {
            st.time.cloudY[static_cast<std::size_t>(k)] = static_cast<game::i16>(2 * k);
        }
        st.time.daySpacing = st.time.nightSpacing = static_cast<game::i16>(r.spacing);
        st.time.dayPhase = static_cast<game::i16>(r.phase);
        st.player.heading = 2;
        view::DrawSky(h.sv(), st);
        EXPECT_EQ(testing_support::count_colour(h.screen(), 5, 0, 0, 639, 199), 8 * r.clouds)
            << "phase " << r.phase << ", spacing " << r.spacing;
    }
}

TEST(Seagulls, OneSecondOfIdlePassesFliesTensOfPixelsNotThousands)
{
    testing_support::Harness h;
    h.sv().set_screen_mode(8);
    game::GameState st;
    testing_support::solid_block(st.pictures.gab, 4, 2, 1);
    testing_support::solid_block(st.pictures.gab2, 4, 2, 2);
    testing_support::solid_block(st.pictures.gab3, 4, 2, 3);
    testing_support::solid_block(st.pictures.gab4, 4, 2, 4);
    st.time.clockSeconds = "10";
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

} // namespace
