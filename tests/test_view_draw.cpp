// Checks of the corridor pieces on the screen: outlines, side walls, floor, facing wall,
// door, bricks, wall clock, key and exit passage.
#include "view/view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "tests/support/harness.h"

namespace {

using game::i16;

// A fresh mode-8 screen with the game's view offsets. Runs of pixels read as hex digits.
struct View {
    View() { h.sv().set_screen_mode(8); }
    svc::Services& sv() { return h.sv(); }
    int px(int x, int y) const { return h.services->screen().pixel(x, y); }
    std::string row(int y, int x0, int x1) const { return run(x0, y, x1, y); }
    std::string col(int x, int y0, int y1) const { return run(x, y0, x, y1); }
    std::string run(int x0, int y0, int x1, int y1) const
    {
        std::string s;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                s += "0123456789abcdef"[px(x, y)];
            }
        }
        return s;
    }
    int count(int colour) const
    {
        const std::string all = run(0, 0, 639, 199);
        return static_cast<int>(std::count(all.begin(), all.end(), "0123456789abcdef"[colour]));
    }
    void rightWall(i16 d, i16 col = 5, i16 row = 5, i16 stepRow = -1, i16 stepCol = 0)
    {
        view::DrawRightWall(sv(), d, sky, col, row, mazeSize, stepRow, stepCol, shiftY, spread,
                            shiftX, wallColour);
    }
    void leftWall(i16 d, i16 col = 5, i16 row = 5, i16 stepRow = -1, i16 stepCol = 0)
    {
        view::DrawLeftWall(sv(), d, sky, col, row, mazeSize, stepRow, stepCol, shiftY, spread,
                           shiftX, wallColour);
    }

    testing_support::Harness h;
    i16 sky = 0, face = 11, wallColour = 6, mazeSize = 10;
    i16 shiftY = 10, spread = 0, shiftX = 20;
};

// A facing wall on an inner cell; by default walls on both sides (fill 4).
game::GameState facing(i16 depth, i16 fill = 4, i16 left = 21, i16 right = -1)
{
    game::GameState st;
    st.level.mazeSize = 10;
    st.scan.depth = depth;
    st.scan.scanRow = 5;
    st.scan.scanCol = 4;
    st.scan.along = 5;
    st.scan.facingFillColour = fill;
    st.scan.facingLeftExtent = left;
    st.scan.facingRightExtent = right;
    return st;
}

std::string times(int n, char c)
{
    return std::string(static_cast<std::size_t>(n), c);
}

TEST(ViewDraw, FacingWallFillCoversTheFarFrameAndStripesTheOuterWall)
{
    View v;
    game::GameState st = facing(140);
    st.scan.along = 10; // bricks off: the fill alone, x = 141..499, y = 11..189
    view::DrawFacingWallFace(v.sv(), st);
    EXPECT_EQ(v.count(4), 359 * 179);
    EXPECT_EQ(v.row(11, 140, 141) + v.row(189, 499, 500), "0440");
    EXPECT_EQ(v.col(320, 10, 11) + v.col(320, 189, 190), "0440");

    for (const auto& [row, col] : {std::pair{1, 4}, {10, 4}, {5, 1}, {5, 10}}) {
        View border; // the outer wall: every second line, no bricks
        st = facing(140);
        st.scan.scanRow = static_cast<i16>(row);
        st.scan.scanCol = static_cast<i16>(col);
        view::DrawFacingWallFace(border.sv(), st);
        EXPECT_EQ(border.col(141, 10, 16), "0404040") << row << "," << col;
        EXPECT_EQ(border.col(499, 183, 190), "40404040") << row << "," << col;
        EXPECT_EQ(border.count(7) + border.count(8), 0);
    }
}

TEST(ViewDraw, DoorGapAndPlatesReplaceTheBricks)
{
    View v;
    game::GameState st = facing(140);
    st.scan.doorAhead = 1;
    view::DrawFacingWallFace(v.sv(), st);
    const std::string gap = "4" + times(6, '8') + "2" + times(6, '8') + "4"; // x = 307..321
    EXPECT_EQ(v.row(40, 307, 321), gap);
    EXPECT_EQ(v.row(189, 307, 321), gap);
    const std::string plate = "4" + times(15, '2') + "4";
    EXPECT_EQ(v.row(105, 278, 294), plate);
    EXPECT_EQ(v.row(105, 334, 350), plate);
    EXPECT_EQ(v.col(285, 98, 113), "4" + times(14, '2') + "4");
    EXPECT_EQ(v.count(7), 0); // no courses or joints on a door

    View far;
    st = facing(20);
    st.scan.doorAhead = 1;
    view::DrawFacingWallFace(far.sv(), st);
    EXPECT_EQ(far.count(8), 0);
    EXPECT_EQ(far.col(320, 71, 129), times(59, '2')); // the gap is one green line

    for (const i16 depth : {i16{0}, i16{-20}}) {
        View none;
        st = facing(depth);
        st.scan.doorAhead = 1;
        view::DrawFacingWallFace(none.sv(), st);
        EXPECT_EQ(none.count(2) + none.count(8), 0) << depth;
    }
}

TEST(ViewDraw, FacingBricksTakeTheJointColoursAndStopBelowDepthOne)
{
    View v;
    game::GameState st = facing(140, 8, 1, -1);
    view::DrawFacingWallFace(v.sv(), st);
    EXPECT_EQ(v.col(300, 54, 56) + v.col(300, 100, 100) + v.col(300, 145, 145), "87877");
    // Columns 143..149 at 283 - D: two thin, then thick in 5 on a wall filled with 8.
    EXPECT_EQ(v.row(30, 142, 150), "877555558");
    EXPECT_EQ(v.h.screen().foreground, 5);

    View xray;
    st = facing(140);
    st.player.xrayOn = 1;
    view::DrawFacingWallFace(xray.sv(), st);
    EXPECT_EQ(xray.row(30, 142, 145), "4888");
    EXPECT_EQ(xray.px(300, 55), 8);

    View near0; // courses and the joints on x = 310 stay, the thick joints go
    st = facing(0);
    view::DrawFacingWallFace(near0.sv(), st);
    EXPECT_EQ(near0.col(300, 89, 91), "474");
    EXPECT_EQ(near0.row(85, 282, 284) + near0.row(85, 309, 311), "444474");
}

TEST(ViewDraw, SideWallShadingAndJointColumns)
{
    View v;
    v.rightWall(140);
    v.leftWall(140);
    EXPECT_EQ(v.row(30, 500, 521), "0666666666777888666660"); // k = 0..5 at 370 + D + k
    EXPECT_EQ(v.row(30, 119, 140), "0666677888666666666660"); // k = 1..5 at 263 - D + k

    View farthest; // no bricks, but the middle joint
    farthest.rightWall(-40);
    EXPECT_EQ(farthest.row(100, 319, 341), "0" + times(21, '7') + "0");
    EXPECT_EQ(farthest.count(7), 21);
    EXPECT_EQ(farthest.col(340, 90, 110), "0" + times(9, '6') + "7" + times(9, '6') + "0");

    View middle; // the joint loops run for k = 0 on the right, not at all on the left
    middle.rightWall(0);
    middle.leftWall(0);
    EXPECT_EQ(middle.row(78, 369, 372), "6766");
    EXPECT_EQ(middle.px(264, 77), 6);
    EXPECT_EQ(middle.count(8), 0);
}

TEST(ViewDraw, OuterWallIsStripedWithoutBricks)
{
    struct Case {
        i16 col, row, stepRow, stepCol;
        bool rightOuter, leftOuter;
    };
    const Case cases[] = {
        {9, 5, -1, 0, true, false}, {5, 9, 0, 1, true, false},  {5, 2, 0, -1, true, false},
        {2, 5, 1, 0, true, false},  {9, 5, 1, 0, false, true},  {5, 9, 0, -1, false, true},
        {5, 2, 0, 1, false, true},  {2, 5, -1, 0, false, true}, {5, 5, -1, 0, false, false},
    };
    for (const Case& c : cases) {
        View r;
        r.rightWall(140, c.col, c.row, c.stepRow, c.stepCol);
        View l;
        l.leftWall(140, c.col, c.row, c.stepRow, c.stepCol);
        // Row 100, i = 1..20 outwards from the far corner.
        EXPECT_EQ(r.row(100, 501, 520), c.rightOuter ? "60606060606060606060" : times(20, '7'));
        std::string left = l.row(100, 120, 139);
        left.assign(left.rbegin(), left.rend());
        EXPECT_EQ(left, c.leftOuter ? "60606060606060606060" : times(20, '7'));
        EXPECT_EQ(r.count(7) == 0, c.rightOuter);
        EXPECT_EQ(l.count(7) == 0, c.leftOuter);
    }
}

TEST(ViewDraw, FloorChequerFollowsTheParityAndIsClippedAtTheBottom)
{
    View even;
    View odd;
    i16 depth = 140;
    i16 along = 4;
    view::DrawFloorRow(even.sv(), depth, along, even.shiftY, even.face, even.spread, even.shiftX);
    along = 7;
    view::DrawFloorRow(odd.sv(), depth, along, odd.shiftY, odd.face, odd.spread, odd.shiftX);
    // Probes in the four columns (x = 150, 260, 330, 450): even fills the outer left and
    // inner right, odd the other two; rows 191..199, the band's last row (200) is clipped.
    for (const int y : {190, 191, 199}) {
        const auto probe = [y](const View& v) {
            return v.run(150, y, 150, y) + v.run(260, y, 260, y) + v.run(330, y, 330, y) +
                   v.run(450, y, 450, y);
        };
        EXPECT_EQ(probe(even), y == 190 ? "0000" : "b0b0") << y;
        EXPECT_EQ(probe(odd), y == 190 ? "0000" : "0b0b") << y;
    }
    EXPECT_EQ(even.px(320, 199), even.face);
    EXPECT_EQ(even.sv().pending_error(), 0);
}

// Probe points of the cell at D = 100: NL 160, FL 180, FR 460, NR 480, NT 20, FT 30.
TEST(ViewDraw, OutlinesDrawTheEdgesOfTheirSides)
{
    using Outline = void (*)(svc::Services&, i16, i16, i16, i16, i16, i16);
    struct Case {
        Outline draw;
        bool leftWall, rightWall, wallAhead;
    };
    const Case cases[] = {
        {view::DrawOutlineOWW, false, true, true},   {view::DrawOutlineWOW, true, false, true},
        {view::DrawOutlineOOW, false, false, true},  {view::DrawOutlineWWW, true, true, true},
        {view::DrawOutlineOWO, false, true, false},  {view::DrawOutlineWOO, true, false, false},
        {view::DrawOutlineOOO, false, false, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        View v;
        i16 depth = 100;
        c.draw(v.sv(), depth, v.face, v.sky, v.shiftY, v.spread, v.shiftX);
        const auto on = [&](int x, int y) { return v.px(x, y) == v.face; };
        EXPECT_EQ(on(320, 30), c.wallAhead) << n;
        EXPECT_EQ(on(170, 25), c.leftWall) << n; // side wall's top edge
        EXPECT_EQ(on(470, 25), c.rightWall) << n;
        EXPECT_EQ(on(160, 100), !c.leftWall) << n; // near corner of an opening
        EXPECT_EQ(on(480, 100), !c.rightWall) << n;
        EXPECT_EQ(on(170, 30), !c.leftWall) << n;                // far face of an opening
        EXPECT_EQ(on(180, 100), c.leftWall == c.wallAhead) << n; // far corners
        EXPECT_EQ(on(460, 100), c.rightWall == c.wallAhead) << n;
        ++n;
    }

    View far;
    i16 depth = -40;
    view::DrawOutlineOOO(far.sv(), depth, far.face, far.sky, far.shiftY, far.spread, far.shiftX);
    EXPECT_EQ(far.px(320, 100), far.face); // the vanishing point
}

TEST(ViewDraw, OutlineWWOGivesTheDepthBackAndDrawsOnlyTheDiagonals)
{
    View v;
    i16 depth = 140;
    float exitDistance = 0;
    v.sky = 3;
    view::DrawOutlineWWO(v.sv(), depth, v.face, v.sky, exitDistance, v.shiftY, v.spread, v.shiftX);
    EXPECT_EQ(depth, 140);
    EXPECT_EQ(v.row(0, 120, 120) + v.row(5, 130, 130) + v.row(10, 140, 140) + v.row(10, 500, 500) +
                  v.row(195, 130, 130) + v.row(199, 122, 122),
              "bbbbbb");
    EXPECT_EQ(v.px(320, 10) + v.px(140, 100), 0);
    EXPECT_EQ(v.h.screen().palette_entry(0), svc::kDefaultPalette[3]); // the sky behind
}

TEST(ViewDraw, WallClockSizeFollowsTheDepthAndTheDepthComesBack)
{
    struct Case {
        i16 depth;
        int left, right, top, bottom, frame;
    };
    const Case cases[] = {{140, 210, 410, 50, 150, 10},
                          {120, 230, 390, 60, 140, 8},
                          {100, 250, 370, 70, 130, 6},
                          {80, 270, 350, 80, 120, 4},
                          {60, 290, 330, 90, 110, 2}};
    for (const Case& c : cases) {
        View v;
        i16 depth = c.depth;
        v.sky = 1;
        view::DrawWallClock(v.sv(), depth, v.sky, v.spread, v.shiftX);
        EXPECT_EQ(depth, c.depth);
        EXPECT_EQ(v.h.screen().palette_entry(0), svc::kDefaultPalette[1]);
        // Grey face; the frame lies beside it and over its top and bottom rows.
        const std::string frame = times(c.frame, '3');
        EXPECT_EQ(v.row(95, c.left - c.frame - 1, c.left + 1), "0" + frame + "77") << c.depth;
        EXPECT_EQ(v.row(95, c.right - 1, c.right + c.frame + 1), "77" + frame + "0") << c.depth;
        EXPECT_EQ(v.col(300, c.top - c.frame, c.top + 1), "0" + frame + "7") << c.depth;
        EXPECT_EQ(v.col(300, c.bottom - 1, c.bottom + c.frame), "7" + frame + "0") << c.depth;
        EXPECT_EQ(v.row(99, 310, 310) + v.row(100, 311, 311), "11") << c.depth; // 3 o'clock
    }
    for (const i16 d : {i16{40}, i16{-40}}) {
        View v;
        i16 depth = d;
        view::DrawWallClock(v.sv(), depth, v.sky, v.spread, v.shiftX);
        EXPECT_EQ(depth, d);
        EXPECT_EQ(v.count(0), 640 * 200);                                  // nothing drawn
        EXPECT_EQ(v.h.screen().palette_entry(0), svc::kDefaultPalette[7]); // but grey behind
    }
}

TEST(ViewDraw, KeyRingShaftAndBit)
{
    View v;
    i16 depth = 140;
    view::DrawKey(v.sv(), depth);
    // Four rings round (286, 100), horizontal radii 18.5 .. 21.5, the outermost white.
    EXPECT_EQ(v.row(100, 263, 268), "0feee0");
    EXPECT_EQ(v.col(286, 90, 92), "0fe");
    // Shaft x = 303..373 with white edges on rows 99 and 101; bit rows 101..106 from x = 340.
    EXPECT_EQ(v.row(99, 302, 303) + v.row(99, 373, 374), "0ff0");
    EXPECT_EQ(v.col(339, 98, 103), "0fef00");
    EXPECT_EQ(v.col(356, 98, 107), "0feeeeeee0");
    EXPECT_EQ(v.col(373, 98, 102), "0fef0");

    View near80; // three rings of radius 11 .. 13, no white edges, bit rows 101..103
    depth = 80;
    view::DrawKey(near80.sv(), depth);
    EXPECT_EQ(near80.row(100, 278, 282), "0fee0");
    EXPECT_EQ(near80.col(320, 99, 101), "0e0");
    EXPECT_EQ(near80.col(330, 100, 104), "eeee0");
}

TEST(ViewDraw, ExitTunnelEndsTheScanAndHasDarkWalls)
{
    View v;
    i16 depth = -40;
    i16 exitDepth = 100;
    view::DrawExitTunnel(v.sv(), depth, exitDepth, v.face, v.sky, v.shiftY, v.spread, v.shiftX);
    EXPECT_EQ(depth, -60);
    // In the exit cell's frame (FL 180, FR 460, FT 30, FB 170): the opening's edges at
    // x = 210 and 430, dark walls widening from y = 41..159 beside it to 31..169 at the frame.
    EXPECT_EQ(v.row(100, 179, 181) + v.row(100, 459, 461), "0b88b0");
    EXPECT_EQ(v.row(100, 209, 211) + v.row(100, 429, 431), "8b00b8");
    EXPECT_EQ(v.col(209, 40, 41) + v.col(209, 159, 160), "b88b");
    EXPECT_EQ(v.col(431, 40, 41) + v.col(431, 159, 160), "0880");
    EXPECT_EQ(v.col(181, 30, 32) + v.col(459, 30, 32), "b88088");
    EXPECT_EQ(v.h.screen().foreground, 8);
}

} // namespace
