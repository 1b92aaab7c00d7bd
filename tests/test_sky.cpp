// The sky's loop limit, where a golden run only meets it by chance: the row of clouds facing
// south ends at x 370 by day and 470 by night.
#include <gtest/gtest.h>

#include "core/state.h"
#include "tests/support/harness.h"
#include "view/sky.h"

namespace {

int count_colour(const svc::ScreenImage& img, int colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            n += img.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

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
        EXPECT_EQ(count_colour(h.screen(), 5), 8 * r.clouds)
            << "phase " << r.phase << ", spacing " << r.spacing;
    }
}

} // namespace
