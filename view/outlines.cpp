// The cell outlines: edges of one scan cell in the face colour, by which sides are open.
#include "view/outlines.h"

namespace view {

namespace {

// Every outline first asks for the play mode (already in force: no effect) and its colours.
CellFrame begin_outline(Services& sv, i16 depth, i16 faceColour, i16 skyColour,
                        const game::ViewOffsets& v)
{
    sv.set_screen_mode(svc::kMode640x200);
    sv.set_colours(faceColour, skyColour);
    return cell_frame(depth, v);
}

// clang-format off
constexpr FrameLine kLinesWWO[] = {
    {kFl, kFt, kNl, kNt}, {kFr, kFt, kNr, kNt}, {kFl, kFb, kNl, kNb}, {kFr, kFb, kNr, kNb},
};
// clang-format on

} // namespace

void DrawOutline(Services& sv, Outline lines, i16 depth, i16 faceColour, i16 skyColour,
                 const game::ViewOffsets& v)
{
    draw_frame_lines(sv, begin_outline(sv, depth, faceColour, skyColour, v), lines);
}

void DrawOutlineWWO(Services& sv, i16& depth, i16 faceColour, i16 skyColour,
                    const game::ViewOffsets& v)
{
    // The game works from depth + 40 in the caller's own variable, with base values shifted
    // back by the same amount, and gives the depth back afterwards: the same four diagonals.
    depth = static_cast<i16>(depth + 40);
    CellFrame f = begin_outline(sv, depth, faceColour, skyColour, v);
    f.nl += 40.0f;
    f.fl += 40.0f;
    f.fr -= 40.0f;
    f.nr -= 40.0f;
    f.nt += 20.0f;
    f.ft += 20.0f;
    f.fb -= 20.0f;
    f.nb -= 20.0f;
    draw_frame_lines(sv, f, kLinesWWO);
    depth = static_cast<i16>(depth - 40);
}

} // namespace view
