// The eight cell outlines: edges of one scan cell in the face colour, by which sides are open.
#include "view/view.h"

#include "view/frame.h"

namespace view {

namespace {

// Every outline first asks for the play mode (already in force: no effect) and its colours.
CellFrame begin_outline(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                        i16 viewSpread, i16 viewShiftX)
{
    sv.set_screen_mode(svc::kMode640x200);
    sv.set_colours(faceColour, skyColour);
    return cell_frame(depth, viewShiftY, viewSpread, viewShiftX);
}

} // namespace

void DrawOutlineOWW(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    const CellFrame f =
        begin_outline(sv, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
    sv.draw_line(f.nl, f.ft, f.fr, f.ft);
    sv.draw_line(f.nl, f.fb, f.fr, f.fb);
    sv.draw_line(f.fr, f.ft, f.fr, f.fb);
    sv.draw_line(f.nl, f.nt, f.nl, f.nb);
    sv.draw_line(f.fr, f.ft, f.nr, f.nt);
    sv.draw_line(f.fr, f.fb, f.nr, f.nb);
}

void DrawOutlineWOW(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    const CellFrame f =
        begin_outline(sv, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
    sv.draw_line(f.fl, f.ft, f.nr, f.ft);
    sv.draw_line(f.fl, f.fb, f.nr, f.fb);
    sv.draw_line(f.fl, f.ft, f.fl, f.fb);
    sv.draw_line(f.nr, f.nt, f.nr, f.nb);
    sv.draw_line(f.fl, f.ft, f.nl, f.nt);
    sv.draw_line(f.fl, f.fb, f.nl, f.nb);
}

void DrawOutlineOOW(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    const CellFrame f =
        begin_outline(sv, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
    sv.draw_line(f.nl, f.ft, f.nr, f.ft);
    sv.draw_line(f.nl, f.fb, f.nr, f.fb);
    sv.draw_line(f.nl, f.nt, f.nl, f.nb);
    sv.draw_line(f.nr, f.nt, f.nr, f.nb);
}

void DrawOutlineWWW(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    const CellFrame f =
        begin_outline(sv, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
    sv.draw_line(f.fl, f.ft, f.fr, f.ft);
    sv.draw_line(f.fl, f.fb, f.fr, f.fb);
    sv.draw_line(f.fl, f.ft, f.fl, f.fb);
    sv.draw_line(f.fl, f.ft, f.nl, f.nt);
    sv.draw_line(f.fl, f.fb, f.nl, f.nb);
    sv.draw_line(f.fr, f.ft, f.nr, f.nt);
    sv.draw_line(f.fr, f.fb, f.nr, f.nb);
    sv.draw_line(f.fr, f.ft, f.fr, f.fb);
}

void DrawOutlineOWO(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    const CellFrame f =
        begin_outline(sv, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
    sv.draw_line(f.nl, f.ft, f.fl, f.ft);
    sv.draw_line(f.nl, f.fb, f.fl, f.fb);
    sv.draw_line(f.fl, f.ft, f.fl, f.fb);
    sv.draw_line(f.nl, f.nt, f.nl, f.nb);
    sv.draw_line(f.fr, f.ft, f.nr, f.nt);
    sv.draw_line(f.fr, f.fb, f.nr, f.nb);
}

void DrawOutlineWOO(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    const CellFrame f =
        begin_outline(sv, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
    sv.draw_line(f.fr, f.ft, f.nr, f.ft);
    sv.draw_line(f.fr, f.fb, f.nr, f.fb);
    sv.draw_line(f.fr, f.ft, f.fr, f.fb);
    sv.draw_line(f.nr, f.nt, f.nr, f.nb);
    sv.draw_line(f.fl, f.ft, f.nl, f.nt);
    sv.draw_line(f.fl, f.fb, f.nl, f.nb);
}

void DrawOutlineOOO(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    const CellFrame f =
        begin_outline(sv, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
    sv.draw_line(f.nl, f.ft, f.fl, f.ft);
    sv.draw_line(f.fr, f.ft, f.nr, f.ft);
    sv.draw_line(f.nl, f.fb, f.fl, f.fb);
    sv.draw_line(f.fr, f.fb, f.nr, f.fb);
    sv.draw_line(f.fl, f.ft, f.fl, f.fb);
    sv.draw_line(f.fr, f.ft, f.fr, f.fb);
    sv.draw_line(f.nl, f.nt, f.nl, f.nb);
    sv.draw_line(f.nr, f.nt, f.nr, f.nb);
}

void DrawOutlineWWO(Services& sv, i16& depth, i16 faceColour, i16 skyColour, float /*exitDistance*/,
                    i16 viewShiftY, i16 viewSpread, i16 viewShiftX)
{
    // The game works from depth + 40 in the caller's own variable, with base values shifted
    // back by the same amount, and gives the depth back afterwards: the same four diagonals.
    depth = static_cast<i16>(depth + 40);
    CellFrame f =
        begin_outline(sv, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
    f.nl += 40.0f;
    f.fl += 40.0f;
    f.fr -= 40.0f;
    f.nr -= 40.0f;
    f.nt += 20.0f;
    f.ft += 20.0f;
    f.fb -= 20.0f;
    f.nb -= 20.0f;
    sv.draw_line(f.fl, f.ft, f.nl, f.nt);
    sv.draw_line(f.fr, f.ft, f.nr, f.nt);
    sv.draw_line(f.fl, f.fb, f.nl, f.nb);
    sv.draw_line(f.fr, f.fb, f.nr, f.nb);
    depth = static_cast<i16>(depth - 40);
}

} // namespace view
