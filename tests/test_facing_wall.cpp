// The facing wall as the golden runs seldom meet it: the X-ray hint (the exit anywhere behind
// the wall straight ahead, and the yellow line that marks it), and a wall five cells ahead.
#include <gtest/gtest.h>

#include "core/maze.h"
#include "tests/support/harness.h"
#include "view/view.h"
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
                st.level.maze.set(h.sv(), r, c,
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

TEST(FacingWall, FiveCellsAheadTheEyeShowsAndAClockTooFarKeepsTheScanDepth)
{
    testing_support::Harness h;
    h.sv().set_screen_mode(svc::kMode640x200);
    game::GameState st;
    testing_support::solid_block(st.pictures.ocip, 10, 10, svc::kWhite);
    st.scan.depth = 40;
    st.player.itemRoll = 1;
    EXPECT_TRUE(view::DrawFacingWall(h.sv(), st));
    EXPECT_EQ(h.screen().pixel(295, 93), svc::kWhite);
    EXPECT_NE(h.screen().pixel(294, 92), svc::kWhite);
    // The X-ray scan goes on beyond the wall from this depth.
    st.player.itemRoll = 10;
    st.player.xrayOn = 1;
    EXPECT_TRUE(view::DrawFacingWall(h.sv(), st));
    EXPECT_EQ(st.scan.depth, 40);
}

} // namespace
