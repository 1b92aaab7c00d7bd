// The screen frame of one scan cell and the view's centre, worked out from the view offsets.
#pragma once

#include <span>

#include "core/state.h"
#include "services/common/strings.h"
#include "services/services.h"

namespace view {

// The edges of the scan cell at one depth: its near frame (the edge towards the player) and
// its far frame (the near frame of the next cell). Perspective is linear in the depth: a step
// of 20 moves every edge 20 pixels towards the centre horizontally and 10 vertically.
// Values stay single precision (D/2 is a real division); the line primitive rounds them.
struct CellFrame {
    float nl; // near left x
    float fl; // far left x
    float fr; // far right x
    float nr; // near right x
    float nt; // near top y
    float ft; // far top y
    float fb; // far bottom y
    float nb; // near bottom y
};

// The frame of depth D: spread is added outwards, shiftX to every x, shiftY to every y.
inline CellFrame cell_frame(game::i16 depth, const game::ViewOffsets& v)
{
    const float d = depth;
    const float spread = v.viewSpread;
    const float shiftX = v.viewShiftX;
    const float shiftY = v.viewShiftY;
    CellFrame f{};
    f.nl = 240.0f - d - spread + shiftX;
    f.fl = 260.0f - d - spread + shiftX;
    f.fr = 340.0f + d + spread + shiftX;
    f.nr = 360.0f + d + spread + shiftX;
    f.nt = 60.0f - d / 2.0f + shiftY;
    f.ft = 70.0f - d / 2.0f + shiftY;
    f.fb = 110.0f + d / 2.0f + shiftY;
    f.nb = 120.0f + d / 2.0f + shiftY;
    return f;
}

// The eight values of a frame by the names the line lists give them, and one line between two
// of its corners: (x1, y1)-(x2, y2).
using FrameValue = float CellFrame::*;
inline constexpr FrameValue kNl = &CellFrame::nl;
inline constexpr FrameValue kFl = &CellFrame::fl;
inline constexpr FrameValue kFr = &CellFrame::fr;
inline constexpr FrameValue kNr = &CellFrame::nr;
inline constexpr FrameValue kNt = &CellFrame::nt;
inline constexpr FrameValue kFt = &CellFrame::ft;
inline constexpr FrameValue kFb = &CellFrame::fb;
inline constexpr FrameValue kNb = &CellFrame::nb;

struct FrameLine {
    FrameValue x1, y1, x2, y2;
};

// Draws a list of frame lines in order, in the colours in force.
inline void draw_frame_lines(svc::Services& sv, const CellFrame& f,
                             std::span<const FrameLine> lines)
{
    for (const FrameLine& l : lines) {
        sv.draw_line(f.*l.x1, f.*l.y1, f.*l.x2, f.*l.y2);
    }
}

// The vanishing point's x (320 with the game's offsets): the corridor's centre line.
inline float centre_x(const game::ViewOffsets& v)
{
    return 300.0f + static_cast<float>(v.viewShiftX);
}

// The vanishing point's y (100 with the game's offsets): the horizon.
inline float horizon_y(const game::ViewOffsets& v)
{
    return 90.0f + static_cast<float>(v.viewShiftY);
}

// A loop limit that is not whole is rounded to the nearest integer, ties to even, before
// the loop starts (as a 16-bit loop counter's limit is).
inline int loop_limit(svc::ErrorSink& errors, float limit)
{
    return svc::round_to_int16(errors, limit);
}

} // namespace view
