// Checks of the maze loader on the ten built-in labyrinths.
#include "game/core/level_reader.h"
#include "game/core/maze.h"
#include "game/core/state.h"
#include "tests/support/harness.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using testing_support::Harness;

// Where each level's exit, door and key are recorded, and the area shown on the level line.
struct ExpectedCells {
    int exitRow, exitCol, doorRow, doorCol, keyRow, keyCol;
    int area;
};
const ExpectedCells kCells[10] = {
    {6, 1, 6, 5, 1, 2, 1600},    {4, 1, 6, 5, 5, 9, 3600},    {6, 1, 11, 4, 4, 4, 4225},
    {8, 1, 10, 3, 5, 15, 4900},  {13, 1, 10, 4, 15, 2, 4900}, {8, 1, 6, 3, 13, 13, 4900},
    {12, 1, 10, 4, 14, 6, 5625}, {13, 1, 9, 2, 2, 2, 6400},   {3, 1, 2, 16, 10, 11, 11025},
    {4, 1, 20, 4, 30, 9, 22500},
};

// The header and maze of the level at the read cursor, as a level start reads them.
void loadLevel(game::LevelState& l)
{
    ASSERT_TRUE(game::read_header(l));
    ASSERT_TRUE(game::load_level_maze(l));
}

int countCells(const game::LevelState& l, char which)
{
    int n = 0;
    for (int r = 1; r <= l.mazeSize; ++r) {
        for (int c = 1; c <= l.mazeSize; ++c) {
            n += l.maze(r, c) == which ? 1 : 0;
        }
    }
    return n;
}

TEST(Maze, EveryLevelLoadsWithItsExitDoorKeyAndStart)
{
    Harness hx;
    game::LevelState l;
    for (int level = 1; level <= 10; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        loadLevel(l);
        const ExpectedCells& want = kCells[level - 1];
        const int n = l.mazeSize;
        EXPECT_EQ((5 * n - 10) * (5 * n - 10), want.area);
        EXPECT_EQ(l.exitRow, want.exitRow);
        EXPECT_EQ(l.exitCol, want.exitCol);
        EXPECT_EQ(l.doorRow, want.doorRow);
        EXPECT_EQ(l.doorCol, want.doorCol);
        EXPECT_EQ(l.keyRow, want.keyRow);
        EXPECT_EQ(l.keyCol, want.keyCol);
        EXPECT_EQ(l.maze(want.exitRow, want.exitCol), game::kExitCell);
        EXPECT_EQ(l.maze(want.doorRow, want.doorCol), game::kDoorCell);
        EXPECT_EQ(l.maze(want.keyRow, want.keyCol), game::kKeyCell);
        EXPECT_EQ(countCells(l, game::kExitCell), 1);
        EXPECT_EQ(countCells(l, game::kDoorCell), level == 10 ? 3 : 1);
        EXPECT_EQ(countCells(l, game::kKeyCell), level == 10 ? 3 : 1);

        // The player starts facing an open cell, with walls behind and to the right.
        const int r = l.startRow;
        const int c = l.startCol;
        EXPECT_EQ(l.maze(r, c), game::kOpenCell);
        EXPECT_EQ(l.maze(r - 1, c), game::kOpenCell);
        EXPECT_EQ(l.maze(r + 1, c), game::kWallCell);
        EXPECT_EQ(l.maze(r, c + 1), game::kWallCell);

        // The border is closed but for the exit and keys hanging on it.
        for (int i = 1; i <= n; ++i) {
            for (auto [br, bc] :
                 {std::pair{1, i}, std::pair{n, i}, std::pair{i, 1}, std::pair{i, n}}) {
                char cell = l.maze(br, bc);
                EXPECT_TRUE(cell == game::kWallCell || cell == game::kKeyCell ||
                            (cell == game::kExitCell && bc == 1))
                    << "border cell " << br << "," << bc;
            }
        }
        // Row strings are kept as read.
        for (int i = 1; i <= n; ++i) {
            ASSERT_EQ(l.rows[i].size(), static_cast<std::size_t>(n));
            EXPECT_EQ(l.rows[i][0], l.maze(i, 1));
        }
    }
    EXPECT_EQ(hx.sv().pending_error(), 0);
}

TEST(Maze, LevelOneCells)
{
    game::LevelState l;
    loadLevel(l);
    const char* expected[10] = {"#c########", "#.#......#", "#.#.##.#.#", "#....#.#.#",
                                "####.#.#.#", "X..#D###.#", "##.#.#.#.#", "#....#...#",
                                "##.#.#.#.#", "##########"};
    for (int r = 1; r <= 10; ++r) {
        for (int c = 1; c <= 10; ++c) {
            char drawn = expected[r - 1][c - 1];
            char want = drawn == '#'   ? game::kWallCell
                        : drawn == '.' ? game::kOpenCell
                        : drawn == 'D' ? game::kDoorCell
                                       : drawn;
            EXPECT_EQ(l.maze(r, c), want) << r << "," << c;
        }
    }
    // Nothing outside 1..10 was written.
    for (int i = 0; i <= game::kMazeBound; ++i) {
        EXPECT_EQ(l.maze(0, i), 0);
        EXPECT_EQ(l.maze(i, 0), 0);
        EXPECT_EQ(l.maze(11, i), 0);
        EXPECT_EQ(l.maze(i, 11), 0);
    }
}

TEST(Maze, LevelOneAfterLevelTenKeepsStaleCellsBeyondItsSize)
{
    game::LevelState l;
    l.reader.restore_level(10);
    loadLevel(l);
    l.reader.reset();
    loadLevel(l);
    EXPECT_EQ(l.mazeSize, 10);
    EXPECT_EQ(l.maze(6, 1), game::kExitCell);
    EXPECT_EQ(l.doorRow, 6);
    // Left behind by the giant level, on purpose: nothing reads outside the current maze.
    EXPECT_EQ(l.maze(20, 4), game::kDoorCell);
    EXPECT_EQ(l.maze(30, 9), game::kKeyCell);
    EXPECT_EQ(l.maze(4, 11), game::kOpenCell); // level 10's row 4 goes on "X...#....#.#..##"
    EXPECT_EQ(l.maze(4, 12), game::kWallCell);
    EXPECT_EQ(l.rows[32].size(), 32u);
}

TEST(Maze, LoaderKeepsLandmarksItDoesNotFindAndBlanksShortRows)
{
    // Two rows of a 3 x 3 maze: no door, no exit, one short row.
    const std::string text = "\"\xDB"
                             "c\xDB\",\"\xDB\",\" \xDB \",";
    const std::array<std::size_t, 1> starts = {0};
    game::LevelState l;
    l.reader = game::LevelReader(text, starts);
    l.maze.set(2, 3, 'Q');
    l.mazeSize = 3;
    l.exitRow = 5;
    l.exitCol = 1;
    l.doorRow = 7;
    l.doorCol = 7;
    l.keyRow = 9;
    l.keyCol = 9;
    ASSERT_TRUE(game::load_level_maze(l));
    EXPECT_EQ(l.exitRow, 5);
    EXPECT_EQ(l.doorRow, 7);
    EXPECT_EQ(l.doorCol, 7);
    EXPECT_EQ(l.keyRow, 1);
    EXPECT_EQ(l.keyCol, 2);
    EXPECT_EQ(l.maze(2, 1), game::kWallCell);
    EXPECT_EQ(l.maze(2, 2), 0); // beyond the row's end: the empty string
    EXPECT_EQ(l.maze(2, 3), 0);
    EXPECT_EQ(l.maze(3, 2), game::kWallCell);
}

TEST(Maze, OutOfBoundsIsRefusedWithoutTouchingAnything)
{
    {
        Harness hx;
        game::MazeGrid grid;
        grid.set(33, 1, 'Q');
        EXPECT_EQ(hx.sv().pending_error(), 9);
    }
    {
        Harness hx;
        game::MazeGrid grid;
        EXPECT_EQ(grid(1, -1), 0);
        EXPECT_EQ(hx.sv().pending_error(), 9);
    }
    {
        // A size beyond the grid is refused before any row is read.
        Harness hx;
        game::LevelState l;
        l.mazeSize = 33;
        EXPECT_FALSE(game::load_level_maze(l));
        EXPECT_EQ(hx.sv().pending_error(), 9);
        EXPECT_EQ(l.reader.position(), 0u);
        EXPECT_TRUE(l.rows[1].empty());
    }
    {
        // Running out of rows stops the loader with "Out of DATA".
        Harness hx;
        game::LevelState l;
        l.reader.restore_level(10);
        loadLevel(l);
        l.mazeSize = 2;
        EXPECT_FALSE(game::load_level_maze(l));
        EXPECT_EQ(hx.sv().pending_error(), 4);
    }
}

} // namespace
