// The seagulls' flight in time: the idle loop calls the panel about 2 000 times a second, and
// the birds must fly across the sky on their own beat instead of jumping at every call.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "core/state.h"
#include "screens/status_panel.h"
#include "tests/support/harness.h"

namespace {

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
