// Placing the player facing a heading, as the view tool and the benchmarks do, agrees with the
// game's own quarter turns: the player then steps the way he would after turning to it. Only
// the four movement keys move.
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

// The idle loop hands on exactly the keys that move the player (a step, a turn, or the sound of
// a blocked step): an arrow's scan-code character or its capital letter, nothing else.
TEST(Movement, TheIdleLoopHandsOnExactlyTheKeysThatMove)
{
    testing_support::Harness h;
    for (int c = 1; c < 256; ++c) {
        const char key = static_cast<char>(c);
        auto st = std::make_unique<game::GameState>();
        const std::size_t tonesBefore = h.platform.audio.tones.size();
        for (int row = 4; row <= 6; ++row) {
            st->level.maze.set(h.sv(), row, 5, game::kOpenCell); // open ahead and behind
        }
        game::place_player(*st, 5, 5, 0);
        game::ApplyMovementKey(h.sv(), *st, key);
        const game::PlayerState& p = st->player;
        const bool moved =
            p.playerRow != 5 || p.heading != 0 || h.platform.audio.tones.size() != tonesBefore;
        EXPECT_EQ(game::is_movement_key(key), moved) << "key " << c;
    }
}
