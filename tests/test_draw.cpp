// Checks of which pixels lines, points and ellipse outlines set, and of the drawing colours.
#include "services/video/raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/harness.h"

namespace {

using svc::raster::ClipRect;
using svc::raster::Segment;
using Pixel = std::pair<int, int>;
using Pixels = std::vector<Pixel>;

const ClipRect kScreen8{0, 0, 639, 199};

Pixels walk(const Segment& s)
{
    Pixels out;
    svc::raster::walk_segment(s, [&](int x, int y) { out.emplace_back(x, y); });
    return out;
}

// ---- rounding ----

TEST(DrawRounding, EndPointsRoundTiesToEvenAndWalkRoundsHalvesAwayFromZero)
{
    const std::pair<float, int> ties[] = {{2.5f, 2},   {3.5f, 4},   {-0.5f, 0}, {-1.5f, -2},
                                          {71.5f, 72}, {72.5f, 72}, {0.49f, 0}, {0.51f, 1}};
    for (auto [v, want] : ties) {
        int got = 12345;
        ASSERT_TRUE(svc::raster::to_coordinate(v, got)) << v;
        EXPECT_EQ(got, want) << v;
    }
    EXPECT_EQ(svc::raster::round_away(-2.5f), -3);
    EXPECT_EQ(svc::raster::round_away(0.4999999f), 0);

    // Coordinates that do not fit 16 bits are refused instead of wrapping.
    int out = 0;
    EXPECT_TRUE(svc::raster::to_coordinate(32767.4f, out) && out == 32767);
    EXPECT_TRUE(svc::raster::to_coordinate(-32768.5f, out) && out == -32768);
    for (float bad : {32767.5f, -32769.0f, 1e20f, std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_FALSE(svc::raster::to_coordinate(bad, out)) << bad;
    }
}

// ---- line walk ----

TEST(LineWalk, DirectionMattersBecauseTheStepAccumulatesInSinglePrecision)
{
    // 0.1 added five times is just above 0.5 forwards, 1 - 0.5 just below it backwards.
    const Pixels forward = walk({0, 0, 10, 1});
    const Pixels backward = walk({10, 1, 0, 0});
    ASSERT_EQ(forward.size(), 11u);
    ASSERT_EQ(backward.size(), 11u);
    EXPECT_EQ(forward[5], Pixel(5, 1));
    EXPECT_EQ(backward[5], Pixel(5, 0));
    EXPECT_EQ(walk({0, 0, 6, 1})[3], Pixel(3, 1));
    EXPECT_EQ(walk({6, 1, 0, 0})[3], Pixel(3, 0));
    // 1/6 added nine times stays below 1.5 in single precision (exactly: 1.5 -> 2).
    EXPECT_EQ(walk({0, 0, 12, 2})[9], Pixel(9, 1));
}

// ---- clipping ----

struct ClipCase {
    const char* what;
    Segment in;
    bool drawn;
    Segment out;
};

TEST(LineClip, EdgesOrderAndRounding)
{
    const ClipCase cases[] = {
        {"off the left", {-10, 10, 10, 30}, true, {0, 20, 10, 30}},
        // y = 94.5 -> 94 and 95.5 -> 96: the crossing itself rounds ties to even.
        {"off the right, tie down", {650, 100, 630, 90}, true, {639, 94, 630, 90}},
        {"off the right, tie up", {650, 101, 630, 91}, true, {639, 96, 630, 91}},
        {"off the top", {100, -5, 110, 5}, true, {105, 0, 110, 5}},
        {"one row off the top", {100, -1, 110, 0}, true, {110, 0, 110, 0}},
        {"one column off the left", {-1, 50, 0, 60}, true, {0, 60, 0, 60}},
        {"second off the bottom", {300, 190, 320, 210}, true, {300, 190, 309, 199}},
        {"column through the bottom", {120, 0, 120, 200}, true, {120, 0, 120, 199}},
        {"across from left to right", {-50, 100, 700, 100}, true, {0, 100, 639, 100}},
        // Beyond right and bottom: the right crossing (y 208.5) is off the edge, so the
        // bottom one is taken.
        {"corner, right then bottom", {700, 300, 600, 150}, true, {633, 199, 600, 150}},
        {"wholly below", {0, 200, 639, 200}, false, {}},
        {"both beyond the left", {-5, 10, -1, 100}, false, {}},
        {"both above", {10, -1, 600, -30}, false, {}},
        {"same point outside", {700, 50, 700, 50}, false, {}},
        {"misses the corner", {-10, 5, 5, -10}, false, {}},
    };
    for (const ClipCase& c : cases) {
        Segment s = c.in;
        EXPECT_EQ(svc::raster::clip_segment(s, kScreen8), c.drawn) << c.what;
        if (c.drawn) {
            EXPECT_EQ(walk(s), walk(c.out)) << c.what;
        }
    }
}

TEST(LineClip, SecondEndPointFollowsTheMovedFirstOne)
{
    // First end: y = 54/22 = 2.45 -> 2. Second end on the line through (0, 2):
    // 2 + 70/16 = 6.375 -> 6 (the unmoved line would give 6.55 -> 7).
    Segment s{-6, 0, 16, 9};
    ASSERT_TRUE(svc::raster::clip_segment(s, {0, 0, 10, 10}));
    EXPECT_EQ(walk(s), walk({0, 2, 10, 6}));
}

// ---- on the screen ----

using testing_support::Harness;

TEST(DrawColours, RefusalsRaiseError5AndChangeNothing)
{
    Harness h;
    h.sv().set_screen_mode(8);
    h.sv().set_foreground(3);

    struct Bad {
        int f, b, third, given;
    };
    for (const Bad& bad : {Bad{16, 0, 0, 1}, Bad{2, 16, 0, 3}, Bad{-1, 0, 0, 1}, Bad{2, 7, 1, 7}}) {
        h.sv().set_colour(bad.f, bad.b, bad.third, bad.given);
        EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall) << bad.f << "," << bad.b;
        EXPECT_EQ(h.screen().foreground, 3);
        EXPECT_EQ(h.screen().palette_entry(0), 0u);
    }
    h.sv().set_colour(16, 16, 16, 0); // nothing given: nothing happens
    EXPECT_EQ(h.sv().pending_error(), 0);
    EXPECT_EQ(h.screen().foreground, 3);

    // Mode 12 stores the background index; the palette stays.
    h.sv().set_screen_mode(12);
    h.sv().set_colours(9, 5);
    EXPECT_EQ(h.screen().foreground, 9);
    EXPECT_EQ(h.screen().background, 5);
    EXPECT_EQ(h.screen().palette_entry(0), 0u);
    h.sv().set_colour(1, 1, 1, 7);
    EXPECT_EQ(h.answerError(), svc::kIllegalFunctionCall);

    // Text mode takes foregrounds to 31 and keeps the background's low three bits.
    h.sv().set_screen_mode(0);
    h.sv().set_colours(31, 9);
    EXPECT_EQ(h.screen().foreground, 31);
    EXPECT_EQ(h.screen().background, 1);
    h.sv().set_foreground(32);
    EXPECT_EQ(h.sv().pending_error(), svc::kIllegalFunctionCall);
    EXPECT_EQ(h.screen().foreground, 31);
}

// ---- ellipse outlines worked out by hand on paper ----

// The centre and every offset rounded half away from zero, the outline thinned to one pixel,
// the four quarters mirrored.
struct Outline {
    const char* name;
    int mode;
    float x, y, radius;
    int left, top;                    // where the picture below starts on the screen
    std::vector<std::string> picture; // '#' a set pixel; nothing else is set anywhere
};

// Working for each row: n = pi r / 2 rounded, the angle walked from 0 to -90 degrees in n
// steps, offsets (rx cos, ry sin) rounded, an offset that stays within one pixel of the last
// set one only replacing the pending one.
// clang-format off
const Outline kOutlines[] = {
    // Centre (10.5, 20.5) -> (11, 21). rx 2.5, ry 2.5 * 5/12 = 1.04, n = 4 (22.5 degrees):
    // offsets (3,0) (2,0) (2,-1) (1,-1) (0,-1); (2,0) is thinned away. The 2.5 at 0 degrees
    // gives 3: the sides stand three pixels out.
    {"tie on the horizontal radius, mode 8", 8, 10.5f, 20.5f, 2.5f, 8, 20,
     {".#####.",
      "#.....#",
      ".#####."}},
    // rx 4, ry 1.67, n = 6 (15 degrees): x 4 3.86 3.46 2.83 2 1.04 0 -> 4 4 3 3 2 1 0,
    // y 0 -.43 -.83 -1.18 -1.44 -1.61 -1.67 -> 0 0 -1 -1 -1 -2 -2; set (4,0) (3,-1) (2,-1)
    // (1,-2) (0,-2). The radius is taken without its sign.
    {"the sun's disc of radius 4, given as -4, mode 8", 8, 100.0f, 50.0f, -4.0f, 96, 48,
     {"...###...",
      ".##...##.",
      "#.......#",
      ".##...##.",
      "...###..."}},
    // Centre (4.5, 6.5) -> (5, 7). rx 0.5, n = 0.79 -> 1: offsets (1,0) (0,0): three pixels
    // where rounding the half down would leave one.
    {"half a pixel of radius, mode 8", 8, 4.5f, 6.5f, 0.5f, 4, 7,
     {"###"}},
    // The same with the centre at (1, 1): only what lies on the screen.
    {"across the top left corner", 8, 1.0f, 1.0f, 4.0f, 0, 0,
     {"...##.",
      ".....#",
      "...##.",
      "###..."}},
    // No radius: n = 0, the centre alone.
    {"a point", 8, 7.0f, 9.0f, 0.0f, 7, 9, {"#"}},
    // A circle: rx = ry = 3, n = 4.71 -> 5 (18 degrees): x 3 2.85 2.43 1.76 .93 0 -> 3 3 2 2 1 0,
    // y 0 -.93 -1.76 -2.43 -2.85 -3 -> 0 -1 -2 -2 -3 -3; set (3,0) (3,-1) (2,-2) (1,-3) (0,-3).
    {"circle of radius 3, mode 12", 12, 50.0f, 50.0f, 3.0f, 47, 47,
     {"..###..",
      ".#...#.",
      "#.....#",
      "#.....#",
      "#.....#",
      ".#...#.",
      "..###.."}},
};
// clang-format on

TEST(EllipseOutline, WorkedOutlinesPixelForPixel)
{
    for (const Outline& row : kOutlines) {
        SCOPED_TRACE(row.name);
        Harness h;
        h.sv().set_screen_mode(row.mode);
        h.sv().draw_ellipse(row.x, row.y, row.radius);
        ASSERT_EQ(h.sv().pending_error(), 0);
        // The picture's part of the screen, and nothing set beside it.
        const svc::ScreenImage& img = h.screen();
        std::vector<std::string> seen = row.picture;
        int set = 0;
        for (std::size_t y = 0; y < seen.size(); ++y) {
            for (std::size_t x = 0; x < seen[y].size(); ++x) {
                seen[y][x] = img.pixel(row.left + x, row.top + y) != 0 ? '#' : '.';
                set += row.picture[y][x] == '#';
            }
        }
        EXPECT_EQ(seen, row.picture);
        EXPECT_EQ(testing_support::count_colour(img, 0, 0, 0, img.width() - 1, img.height() - 1),
                  img.width() * img.height() - set);
    }
}

} // namespace
