// Placing the player facing a heading, as the view tool and the benchmarks do, agrees with the
// game's own quarter turns: the player then steps the way he would after turning to it.
#include <gtest/gtest.h>

#include <memory>

#include "core/items.h"
#include "core/state.h"
#include "tests/support/harness.h"

TEST(Movement, PlacingFacingAHeadingStepsAsTurningToIt)
{
    testing_support::Harness h;
    auto st = std::make_unique<game::GameState>();
    for (const char key : {'M', 'K'}) {
        game::place_player(*st, 5, 5, 0);
        for (int turn = 1; turn <= 4; ++turn) {
            game::ApplyMovementKey(h.sv(), *st, key);
            const game::PlayerState turned = st->player;
            const game::Step step = game::heading_step(turned.heading);
            game::place_player(*st, 5, 5, turned.heading);
            EXPECT_EQ(std::make_pair(step.row, step.col),
                      std::make_pair(turned.stepRow, turned.stepCol))
                << key << " x" << turn;
            EXPECT_EQ(std::make_pair(st->player.stepRow, st->player.stepCol),
                      std::make_pair(turned.stepRow, turned.stepCol))
                << key << " x" << turn;
        }
    }
}
