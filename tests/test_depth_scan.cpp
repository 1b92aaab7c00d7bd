// Checks of the depth scan's picture: which cells it draws, the facing wall, the exit, X-ray.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/maze_fixture.h"
#include "tests/support/harness.h"
#include "view/view.h"
#include "view/xray_hint.h"

namespace {

using namespace maze_fixture;
using testing_support::Harness;
using view::ScanOutcome;

constexpr int kFace = 11; // outline and floor colour of the hand-made mazes

struct Scan {
    Harness h{12, 0, 30};
    std::unique_ptr<GameState> owned = std::make_unique<GameState>();
    GameState& st = *owned;

    svc::ScreenImage& img() { return h.screen(); }
    ScanOutcome frame()
    {
        h.sv().set_screen_mode(8);
        return view::DepthScan(h.sv(), st);
    }
    int count(int colour, int x0, int y0, int x1, int y1)
    {
        return count_colour(img(), colour, x0, y0, x1, y1);
    }
};

TEST(DepthScan, DeadEndRightInFront)
{
    Scan s;
    hand_maze(s.st, {"#####", "#####", "##.##", "##.##", "#####"});
    place(s.st, 3, 3, 0);
    EXPECT_EQ(s.frame(), ScanOutcome::Finished);
    EXPECT_EQ(s.st.scan.facingBlocked, 1);
    EXPECT_EQ(s.st.scan.facingDepth, 140);
    // The facing wall covers x = 141 .. 499, y = 11 .. 189 with nothing left undrawn, its
    // fill colour (4, walls on both sides) reaching the corners and not one pixel beyond.
    EXPECT_EQ(s.count(0, 141, 11, 499, 189), 0);
    EXPECT_EQ(s.img().pixel(141, 11), 4);
    EXPECT_EQ(s.img().pixel(499, 189), 4);
    EXPECT_EQ(s.count(4, 140, 10, 500, 10) + s.count(4, 140, 190, 500, 190), 0);
    EXPECT_EQ(s.count(4, 140, 10, 140, 190) + s.count(4, 500, 10, 500, 190), 0);
    // Only this one cell: nothing of a farther depth's outline is drawn over the wall.
    EXPECT_EQ(s.count(kFace, 141, 11, 499, 189), 0);
    EXPECT_EQ(s.h.sv().pendingError(), 0); // the near edge at y = 200 is simply off screen
}

TEST(DepthScan, LongCorridorReachesTheVanishingPoint)
{
    Scan s;
    std::vector<std::string> rows(14, "##############");
    for (int r = 2; r <= 12; ++r) {
        rows[r - 1].replace(1, 3, "..."); // open on both sides all the way
    }
    hand_maze(s.st, rows);
    place(s.st, 12, 3, 0);
    EXPECT_EQ(s.frame(), ScanOutcome::Finished);
    EXPECT_EQ(s.st.scan.facingBlocked, 0);
    EXPECT_EQ(s.st.scan.facingDepth, -20); // no facing wall found
    EXPECT_EQ(s.img().pixel(320, 100), kFace);
    // Ten floor rows: the middle line runs unbroken from the vanishing point to the bottom.
    EXPECT_EQ(s.count(kFace, 320, 100, 320, 199), 100);
    for (int fill : {4, 5, 12}) {
        EXPECT_EQ(s.count(fill, 0, 0, 639, 199), 0) << "fill colour " << fill;
    }
}

TEST(DepthScan, SideExitCellDrawsNothing)
{
    Scan s;
    hand_maze(s.st, {"######", "#...##", "X.#.##", "#.#.##", "#...##", "######"});
    place(s.st, 3, 2, 0); // exit on the left, wall on the right, open ahead
    s.frame();
    // Nothing of depth 140: the first piece drawn is depth 120's, inside x = 140 .. 500.
    EXPECT_EQ(s.count(kFace, 0, 0, 139, 199) + s.count(kFace, 501, 0, 639, 199), 0);
    EXPECT_EQ(s.count(s.st.level.wallColour, 0, 0, 139, 199), 0);
    EXPECT_EQ(s.st.scan.facingDepth, 120); // the scan went on
}

TEST(DepthScan, ExitAheadTreesFloorAndTunnel)
{
    Scan s;
    hand_maze(s.st, {"#######", "#######", "#######", "X.....#", "#######", "#######", "#######"});
    solid_picture(s.st.pictures.exitTreesBlock, 10, 10, 13);
    place(s.st, 4, 5, 1); // the exit is read at depth 80
    EXPECT_EQ(s.frame(), ScanOutcome::Finished);
    EXPECT_EQ(s.st.scan.exitDepth, 80);
    EXPECT_EQ(s.st.scan.depth, -60); // the tunnel ended the scan
    for (int x : {175, 257, 298, 339, 380}) {
        EXPECT_EQ(s.img().pixel(x + 1, 75), 13) << "tree at " << x;
    }
    EXPECT_EQ(s.count(13, 0, 74, 174, 83) + s.count(13, 431, 74, 639, 83), 0);
    // The tunnel's dark side walls come last, over the trees at 216 and 421.
    EXPECT_EQ(s.img().pixel(425, 79), 8);
    EXPECT_EQ(s.img().pixel(220, 79), 8);
    // Floor rows at every depth down to the vanishing point.
    EXPECT_EQ(s.count(kFace, 320, 100, 320, 199), 100);
}

TEST(DepthScan, XrayDrawsOnThroughTheWall)
{
    const std::vector<std::string> rows = {"#########", "####.####", "####.####",
                                           "####.####", "#########", "####.####",
                                           "####.####", "####.####", "#########"};
    for (int xray = 0; xray < 2; ++xray) {
        SCOPED_TRACE(xray ? "X-ray on" : "X-ray off");
        Scan s;
        hand_maze(s.st, rows);
        place(s.st, 8, 5, 0);
        s.st.player.xrayOn = static_cast<i16>(xray);
        s.st.sound.silentMode = 1;
        s.frame();
        // The first wall closes the corridor at depth 100; with X-ray the last one found is
        // the outer wall at depth 20, and the cells between are drawn over the first fill.
        EXPECT_EQ(s.st.scan.facingDepth, xray ? 20 : 100);
        EXPECT_EQ(s.count(kFace, 182, 32, 458, 168) > 0, xray == 1);
    }
}

TEST(DepthScan, KeySeenThroughWallsDoesNotHangOnTheNextWall)
{
    Scan s;
    ASSERT_TRUE(load_level(s.st, 1));
    place(s.st, 8, 2, 0); // a wall at depth 140, the key on the wall at depth 20
    s.st.player.xrayOn = 1;
    s.st.sound.silentMode = 1;
    s.frame();
    s.st.player.xrayOn = 0; // the aid runs out; the player has not turned
    s.frame();
    EXPECT_EQ(s.st.player.keyHeld, 0);
    EXPECT_EQ(s.st.level.maze(1, 2), game::kKeyCell);
    EXPECT_EQ(s.count(14, 0, 0, 639, 199), 0);
}

TEST(DepthScan, XrayHintMarksTheExitInTheScanCell)
{
    Scan s;
    hand_maze(s.st, {"#####", "#...#", "X...#", "#...#", "#####"});
    s.h.sv().set_screen_mode(8);
    s.st.player.xrayOn = 1;
    s.st.scan.depth = 60;
    s.st.scan.scanRow = 3;
    for (int col : {2, 1}) {
        s.st.scan.scanCol = static_cast<i16>(col);
        const std::size_t from = s.h.platform.audio.tones.size();
        view::RunXrayHint(s.h.sv(), s.st);
        s.h.platform.advance(1000);
        EXPECT_EQ(pitches(s.h.platform.audio, from).size(), 6u); // the scanning tones
        // Only with the exit in the scan cell: the line (240, 100)-(360, 100) in colour 14.
        EXPECT_EQ(s.count(14, 0, 0, 639, 199), col == 1 ? 121 : 0);
        EXPECT_EQ(s.count(14, 240, 100, 360, 100), col == 1 ? 121 : 0);
    }
}

} // namespace
