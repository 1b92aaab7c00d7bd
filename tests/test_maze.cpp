// The level table reader on a text of its own (the built-in table is always well formed, so
// only here do its refusals show), the levels it can go back to, the maze grid's bounds, and
// the player's moves in it: placing him facing a heading, as the view tool and the benchmarks
// do, agrees with the game's own quarter turns, and only the four movement keys move.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "core/items.h"
#include "core/level_reader.h"
#include "core/maze.h"
#include "core/state.h"
#include "services/common/errors.h"
#include "tests/support/harness.h"

namespace {

TEST(LevelReader, RefusedItemsRaiseTheirErrorAndLeaveTheCursor)
{
    testing_support::Harness h;
    const std::string text = "12,\"5\",,1x,32768,7,";
    const std::array<std::size_t, 1> offsets{0};
    game::LevelReader r(text, offsets);
    std::int16_t n = 0;
    std::string s;
    const struct {
        bool number;
        bool ok;
        int error;
    } steps[] = {{true, true, 0},                  // 12
                 {true, false, svc::kSyntaxError}, // "5": quoted
                 {false, true, 0},                 // "5" as text
                 {true, false, svc::kSyntaxError}, // empty
                 {false, true, 0},                 // skipped as text
                 {true, false, svc::kSyntaxError}, // 1x
                 {false, true, 0},                 // skipped as text
                 {true, false, svc::kOverflow},    // 32768
                 {false, true, 0},                 // skipped as text
                 {true, true, 0},                  // 7
                 {true, false, svc::kOutOfData}};
    for (const auto& step : steps) {
        const std::size_t before = r.position();
        EXPECT_EQ(step.number ? r.read_number(h.sv(), n) : r.read_string(h.sv(), s), step.ok)
            << before;
        EXPECT_EQ(h.answerError(), step.error) << before;
        EXPECT_EQ(r.position() == before, !step.ok) << before;
    }
    EXPECT_EQ(n, 7);
    EXPECT_EQ(s, "32768");
}

TEST(LevelReader, OnlyLevelsOneToTenCanBeRestored)
{
    testing_support::Harness h;
    game::LevelReader r;
    r.restore_level(h.sv(), 10);
    const std::size_t tenth = r.position();
    EXPECT_GT(tenth, 0u);
    for (int level : {0, 11, -1}) {
        r.restore_level(h.sv(), level);
        EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall) << level;
        EXPECT_EQ(r.position(), tenth) << level;
    }
    r.restore_level(h.sv(), 1);
    EXPECT_EQ(h.answerError(), 0);
    EXPECT_EQ(r.position(), 0u);
}

TEST(MazeGrid, IndicesOutsideTheGridRaiseNineAndTouchNothing)
{
    testing_support::Harness h;
    game::LevelState lv;
    game::MazeGrid& maze = lv.maze;
    maze.set(h.sv(), 0, 32, game::kWallCell);
    maze.set(h.sv(), 32, 0, game::kExitCell);
    EXPECT_EQ(maze(h.sv(), 0, 32), game::kWallCell);
    EXPECT_EQ(maze(h.sv(), 32, 0), game::kExitCell);
    EXPECT_EQ(h.answerError(), 0);
    const game::MazeGrid before = maze;
    const struct {
        int row, col;
    } outside[] = {{-1, 0}, {0, -1}, {33, 5}, {5, 33}};
    for (const auto& o : outside) {
        maze.set(h.sv(), o.row, o.col, game::kKeyCell);
        EXPECT_EQ(h.answerError(), svc::kSubscriptOutOfRange) << o.row << "," << o.col;
        EXPECT_EQ(maze(h.sv(), o.row, o.col), 0);
        EXPECT_EQ(h.answerError(), svc::kSubscriptOutOfRange) << o.row << "," << o.col;
    }
    EXPECT_EQ(maze.cells, before.cells); // nothing was written

    // A level larger than the grid is refused before anything is read.
    lv.mazeSize = game::kMazeBound + 1;
    EXPECT_FALSE(game::load_level_maze(h.sv(), lv));
    EXPECT_EQ(h.answerError(), svc::kSubscriptOutOfRange);
    EXPECT_EQ(lv.reader.position(), 0u);
}

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

} // namespace
