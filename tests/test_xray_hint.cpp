// The X-ray hint, which the golden runs only meet when an eye is taken near the exit: the exit
// anywhere behind the wall straight ahead, and the yellow line that marks it.
#include <gtest/gtest.h>

#include "game/core/maze.h"
#include "tests/support/harness.h"
#include "view/xray_hint.h"

namespace {

TEST(XrayHint, FindsTheExitBehindTheWallAheadOnlyInTheLineOfSight)
{
    // An exit in each border of the maze, one in line each way from (3, 4), none from (2, 2).
    const char* rows[] = {"###X#", "#...#", "X.#.X", "#...#", "###X#"};
    const struct {
        int row, col, stepRow, stepCol;
        bool exit;
    } looks[] = {{3, 4, 0, -1, true},  {3, 4, -1, 0, true}, {3, 4, 0, 1, true}, {3, 4, 1, 0, true},
                 {2, 2, -1, 0, false}, {2, 2, 0, 1, false}, {2, 2, 1, 0, false}};
    for (const auto& look : looks) {
        testing_support::Harness h;
        game::GameState st;
        st.level.mazeSize = 5;
        for (int r = 1; r <= 5; ++r) {
            for (int c = 1; c <= 5; ++c) {
                const char cell = rows[r - 1][c - 1];
                st.level.maze.set(r, c,
                                  cell == '#'   ? game::kWallCell
                                  : cell == 'X' ? game::kExitCell
                                                : game::kOpenCell);
            }
        }
        st.scan.scanRow = static_cast<game::i16>(look.row);
        st.scan.scanCol = static_cast<game::i16>(look.col);
        st.player.stepRow = static_cast<game::i16>(look.stepRow);
        st.player.stepCol = static_cast<game::i16>(look.stepCol);
        EXPECT_EQ(view::RunXrayHint(h.sv(), st), look.exit)
            << look.row << look.col << " " << look.stepRow << look.stepCol;
    }
}

TEST(XrayHint, LineSpansTheDepthEitherSideOfTheCentre)
{
    testing_support::Harness h;
    h.sv().set_screen_mode(svc::kMode640x200);
    view::DrawXrayHintLine(h.sv(), 40);
    for (int x = 255; x <= 345; ++x) {
        EXPECT_EQ(h.screen().pixel(x, 100), x >= 260 && x <= 340 ? svc::kYellow : 0) << x;
    }
}

} // namespace
