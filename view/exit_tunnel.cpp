// The exit passage: an opening in the exit cell's far frame with dark side walls, and the
// trees beyond the exit.
#include "view/view.h"

#include "view/frame.h"

namespace view {
namespace {

// Walls on both sides: the far corner on each side, and each wall's top and bottom edges, as
// the outline WWW draws them after the facing wall's top and bottom.
// clang-format off
constexpr FrameLine kBothSideWalls[] = {
    {kFl, kFt, kFl, kFb}, {kFl, kFt, kNl, kNt}, {kFl, kFb, kNl, kNb},
    {kFr, kFt, kNr, kNt}, {kFr, kFb, kNr, kNb}, {kFr, kFt, kFr, kFb},
};
// clang-format on

} // namespace

void DrawTreeRow(Services& sv, game::Pictures& pictures, int firstX, int lastX)
{
    for (int x = firstX; x <= lastX; x += 41) {
        sv.put_block(static_cast<float>(x), 74, game::words(pictures.exitTreesBlock),
                     svc::kPutCopy);
    }
}

void DrawExitTunnel(Services& sv, i16& depth, i16 exitDepth, i16 faceColour, i16 skyColour,
                    const game::ViewOffsets& v)
{
    sv.set_screen_mode(svc::kMode640x200);
    sv.set_colours(faceColour, skyColour);
    depth = exitDepth;
    const CellFrame f = cell_frame(depth, v);

    // The right-hand connecting lines run one pixel inside the left-hand ones at top and
    // bottom (91/81 and 109/119 against 90/80 and 110/120): the game draws them so.
    sv.draw_line(f.fl, f.ft, f.fl + 30.0f, f.ft + 10.0f);
    sv.draw_line(f.fl, f.fb, f.fl + 30.0f, f.fb - 10.0f);
    sv.draw_line(f.fr - 30.0f, f.fb - 11.0f, f.fr, f.fb - 1.0f);
    sv.draw_line(f.fr - 30.0f, f.ft + 11.0f, f.fr, f.ft + 1.0f);
    sv.draw_line(f.fl + 30.0f, f.ft + 10.0f, f.fl + 30.0f, f.fb - 10.0f);
    sv.draw_line(f.fr - 30.0f, f.ft + 10.0f, f.fr - 30.0f, f.fb - 10.0f);
    draw_frame_lines(sv, f, kBothSideWalls);

    // The passage's dark side walls, widening towards the viewer.
    sv.set_colours(svc::kDarkGrey, skyColour);
    for (int k = 1; k <= 29; ++k) {
        const float third = static_cast<float>(k) / 3.0f;
        const float top = f.ft + 11.0f - third;
        const float bottom = f.fb - 11.0f + third;
        sv.draw_line(f.fr - 30.0f + k, top, f.fr - 30.0f + k, bottom);
        sv.draw_line(f.fl + 30.0f - k, top, f.fl + 30.0f - k, bottom);
    }

    // Ends the depth scan.
    depth = -60;
}

} // namespace view
