// The level table reader on a text of its own (the built-in table is always well formed, so
// only here do its refusals show), the levels it can go back to, and the maze grid's bounds.
#include <gtest/gtest.h>

#include <array>
#include <string>

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

} // namespace
