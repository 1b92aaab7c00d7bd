// Ellipse outlines worked out by hand on paper: the centre and every offset rounded half away
// from zero, the outline thinned to one pixel, the four quarters mirrored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/harness.h"

namespace {

struct Row {
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
const Row kRows[] = {
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
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        testing_support::Harness h;
        h.sv().set_screen_mode(row.mode);
        h.sv().draw_ellipse(row.x, row.y, row.radius);
        ASSERT_EQ(h.sv().pending_error(), 0);
        const svc::ScreenImage& img = h.screen();
        std::vector<std::string> seen;
        int setOutside = 0;
        for (int y = 0; y < img.height(); ++y) {
            const int line = y - row.top;
            const bool inRows = line >= 0 && line < static_cast<int>(row.picture.size());
            if (inRows) {
                seen.emplace_back();
            }
            for (int x = 0; x < img.width(); ++x) {
                const bool set = img.pixel(x, y) != 0;
                const int column = x - row.left;
                if (inRows && column >= 0 && column < static_cast<int>(row.picture[0].size())) {
                    seen.back() += set ? '#' : '.';
                } else {
                    setOutside += set ? 1 : 0;
                }
            }
        }
        EXPECT_EQ(seen, row.picture);
        EXPECT_EQ(setOutside, 0);
    }
}

} // namespace
