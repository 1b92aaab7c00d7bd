// Checks of the depth scan's picture: which cells it draws, the facing wall, the exit, X-ray.
#include <gtest/gtest.h>

#include "tests/maze_fixture.h"
#include "view/xray_hint.h"

namespace {

using maze_fixture::Game;
using view::ScanOutcome;

constexpr int kFace = 11; // outline and floor colour of the hand-made mazes

TEST(DepthScan, DeadEndRightInFront)
{
    Game g;
    g.hand_maze({"#####", "#####", "##.##", "##.##", "#####"});
    g.place(3, 3, 0);
    EXPECT_EQ(g.frame(), ScanOutcome::Finished);
    EXPECT_EQ(g.st.scan.facingBlocked, 1);
    EXPECT_EQ(g.st.scan.facingDepth, 140);
    // The facing wall covers x = 141 .. 499, y = 11 .. 189 with nothing left undrawn, its
    // fill colour (4, walls on both sides) reaching the corners and not one pixel beyond.
    EXPECT_EQ(g.count(0, 141, 11, 499, 189), 0);
    EXPECT_EQ(g.h.screen().pixel(141, 11), 4);
    EXPECT_EQ(g.h.screen().pixel(499, 189), 4);
    EXPECT_EQ(g.count(4, 140, 10, 500, 10) + g.count(4, 140, 190, 500, 190), 0);
    EXPECT_EQ(g.count(4, 140, 10, 140, 190) + g.count(4, 500, 10, 500, 190), 0);
    // Only this one cell: nothing of a farther depth's outline is drawn over the wall.
    EXPECT_EQ(g.count(kFace, 141, 11, 499, 189), 0);
    EXPECT_EQ(g.sv().pending_error(), 0); // the near edge at y = 200 is simply off screen
}

TEST(DepthScan, LongOpenCorridorReachesTheVanishingPoint)
{
    Game g;
    std::vector<std::string> rows(14, "##############");
    for (int r = 2; r <= 12; ++r) {
        rows[r - 1].replace(1, 3, "..."); // open on both sides all the way
    }
    g.hand_maze(rows);
    g.place(12, 3, 0);
    EXPECT_EQ(g.frame(), ScanOutcome::Finished);
    EXPECT_EQ(g.st.scan.facingBlocked, 0);
    EXPECT_EQ(g.st.scan.facingDepth, -20); // no facing wall found
    // Ten floor rows: the middle line runs unbroken from the vanishing point to the bottom.
    EXPECT_EQ(g.count(kFace, 320, 100, 320, 199), 100);
    EXPECT_EQ(g.count(4, 0, 0, 639, 199) + g.count(12, 0, 0, 639, 199), 0); // no fills
}

TEST(DepthScan, SideExitCellDrawsNothing)
{
    Game g;
    g.hand_maze({"######", "#...##", "X.#.##", "#.#.##", "#...##", "######"});
    g.place(3, 2, 0); // exit on the left, wall on the right, open ahead
    g.frame();
    // Nothing of depth 140: the first piece drawn is depth 120's, inside x = 140 .. 500.
    EXPECT_EQ(g.count(kFace, 0, 0, 139, 199) + g.count(kFace, 501, 0, 639, 199), 0);
    EXPECT_EQ(g.st.scan.facingDepth, 120); // the scan went on
}

TEST(DepthScan, ExitAheadTreesFloorAndTunnel)
{
    Game g;
    g.hand_maze({"#######", "#######", "#######", "X.....#", "#######", "#######", "#######"});
    maze_fixture::solid_picture(g.st.pictures.exitTreesBlock, 10, 10, 13);
    g.place(4, 5, 1); // the exit is read at depth 80
    EXPECT_EQ(g.frame(), ScanOutcome::Finished);
    EXPECT_EQ(g.st.scan.exitDepth, 80);
    EXPECT_EQ(g.st.scan.depth, -60); // the tunnel ended the scan
    for (int x : {175, 257, 298, 339, 380}) {
        EXPECT_EQ(g.h.screen().pixel(x + 1, 75), 13) << "tree at " << x;
    }
    EXPECT_EQ(g.count(13, 0, 74, 174, 83) + g.count(13, 431, 74, 639, 83), 0);
    // The tunnel's dark side walls come last, over the trees at 216 and 421.
    EXPECT_EQ(g.h.screen().pixel(425, 79), 8);
    EXPECT_EQ(g.h.screen().pixel(220, 79), 8);
    // Floor rows at every depth down to the vanishing point.
    EXPECT_EQ(g.count(kFace, 320, 100, 320, 199), 100);
}

TEST(DepthScan, XrayDrawsOnThroughTheWall)
{
    for (int xray = 0; xray < 2; ++xray) {
        SCOPED_TRACE(xray ? "X-ray on" : "X-ray off");
        Game g;
        g.hand_maze({"#########", "####.####", "####.####", "####.####", "#########", "####.####",
                     "####.####", "####.####", "#########"});
        g.place(8, 5, 0);
        g.st.player.xrayOn = static_cast<game::i16>(xray);
        g.st.sound.silentMode = 1;
        g.frame();
        // The first wall closes the corridor at depth 100; with X-ray the last one found is
        // the outer wall at depth 20, and the cells between are drawn over the first fill.
        EXPECT_EQ(g.st.scan.facingDepth, xray ? 20 : 100);
        EXPECT_EQ(g.count(kFace, 182, 32, 458, 168) > 0, xray == 1);
    }
}

TEST(DepthScan, KeySeenThroughWallsDoesNotHangOnTheNextWall)
{
    Game g;
    ASSERT_TRUE(g.load_level(1));
    g.place(8, 2, 0); // a wall at depth 140, the key on the wall at depth 20
    g.st.player.xrayOn = 1;
    g.st.sound.silentMode = 1;
    g.frame();
    g.st.player.xrayOn = 0; // the aid runs out; the player has not turned
    g.frame();
    EXPECT_EQ(g.st.player.keyHeld, 0);
    EXPECT_EQ(g.st.level.maze(1, 2), game::kKeyCell);
    EXPECT_EQ(g.count(14, 0, 0, 639, 199), 0);
}

TEST(DepthScan, XrayHintMarksAnExitBehindTheWallAhead)
{
    // Looking west along row 3 through the wall at (3, 2), the exit (3, 1) lies behind it;
    // looking north from the same cell there is only the outer wall.
    for (int heading : {1, 0}) {
        Game g;
        g.hand_maze({"#####", "#...#", "X#..#", "#...#", "#####"});
        g.place(3, 4, heading);
        g.st.player.xrayOn = 1;
        const std::size_t from = g.audio().tones.size();
        g.frame();
        EXPECT_GE(g.pitches(from).size(), 6u); // the scanning tones play either way
        const int yellow = g.count(14, 0, 100, 639, 100);
        if (heading == 1) {
            EXPECT_GT(yellow, 0);
        } else {
            EXPECT_EQ(yellow, 0);
        }
    }
}

} // namespace
