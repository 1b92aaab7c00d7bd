// The wall clock on the facing wall: grey face, frame, marks and hands at three o'clock.
#include "view/view.h"

#include "view/frame.h"

namespace view {

void DrawWallClock(Services& sv, i16& depth, i16 skyColour, const game::ViewOffsets& v)
{
    // The clock works with depth - 80 kept in the caller's own variable until it is done.
    depth = static_cast<i16>(depth - 80);
    const float e = depth;

    // Nothing is drawn in colour 4; the background 7 turns the undrawn pixels grey, and stays
    // so for a clock too far to be drawn, until the next background is given (on purpose).
    sv.set_colours(svc::kRed, svc::kLightGrey);
    if (depth < -39) {
        depth = static_cast<i16>(depth + 80);
        return;
    }

    const float x0 =
        250.0f + static_cast<float>(v.viewShiftX); // 270 with the game's offsets; no spread
    const float left = x0 - e;
    const float right = x0 + 80.0f + e;
    const float half = e / 2.0f;
    const float tenth = e / 10.0f;
    const float fifth = e / 5.0f;

    sv.set_colours(svc::kLightGrey, skyColour);
    const int faceTop = loop_limit(sv, 80.0f - half);
    const int faceBottom = loop_limit(sv, 120.0f + half);
    for (int y = faceTop; y <= faceBottom; ++y) {
        sv.draw_line(left, static_cast<float>(y), right, static_cast<float>(y));
    }

    sv.set_foreground(svc::kCyan);
    const int frame = loop_limit(sv, tenth + 4.0f);
    for (int g = 1; g <= frame; ++g) {
        sv.draw_line(left, 119.0f + half + g, right, 119.0f + half + g);
        sv.draw_line(left, 81.0f - half - g, right, 81.0f - half - g);
    }
    for (int g = 1; g <= frame; ++g) {
        sv.draw_line(left - g, 77.0f - tenth - half, left - g, 123.0f + tenth + half);
        sv.draw_line(right + g, 77.0f - tenth - half, right + g, 123.0f + tenth + half);
    }

    sv.set_foreground(svc::kBlue);
    const float mid = x0 + 40.0f; // 310
    sv.draw_line(left + 3.0f, 100.0f, x0 + 8.0f - e + fifth, 100.0f);
    sv.draw_line(x0 + 72.0f + e - fifth, 100.0f, right - 3.0f, 100.0f);
    sv.draw_line(mid, 82.0f - half, mid, 87.0f - half + tenth);
    sv.draw_line(mid, 113.0f + half - tenth, mid, 118.0f + half);
    sv.draw_line(mid, 100.0f, mid, 90.0f - half + tenth);
    sv.draw_line(mid, 100.0f, x0 + 60.0f + e - fifth, 100.0f);

    depth = static_cast<i16>(depth + 80);
}

} // namespace view
