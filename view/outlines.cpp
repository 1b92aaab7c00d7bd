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

void draw_outline(Services& sv, std::span<const FrameLine> lines, i16 depth, i16 faceColour,
                  i16 skyColour, i16 viewShiftY, i16 viewSpread, i16 viewShiftX)
{
    draw_frame_lines(
        sv, begin_outline(sv, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX),
        lines);
}

// The lines of each outline in order (left side, right side, ahead: W wall, O open). A side wall
// gives its top and bottom edges; a side opening its near corner and the top and bottom of the
// far face seen through it; a wall ahead its top and bottom, run on through an open side.
// clang-format off
constexpr FrameLine kLinesOWW[] = {
    {kNl, kFt, kFr, kFt}, {kNl, kFb, kFr, kFb}, {kFr, kFt, kFr, kFb},
    {kNl, kNt, kNl, kNb}, {kFr, kFt, kNr, kNt}, {kFr, kFb, kNr, kNb},
};
constexpr FrameLine kLinesWOW[] = {
    {kFl, kFt, kNr, kFt}, {kFl, kFb, kNr, kFb}, {kFl, kFt, kFl, kFb},
    {kNr, kNt, kNr, kNb}, {kFl, kFt, kNl, kNt}, {kFl, kFb, kNl, kNb},
};
constexpr FrameLine kLinesOOW[] = {
    {kNl, kFt, kNr, kFt}, {kNl, kFb, kNr, kFb}, {kNl, kNt, kNl, kNb}, {kNr, kNt, kNr, kNb},
};
constexpr FrameLine kFarEdgesWWW[] = {{kFl, kFt, kFr, kFt}, {kFl, kFb, kFr, kFb}};
constexpr FrameLine kLinesOWO[] = {
    {kNl, kFt, kFl, kFt}, {kNl, kFb, kFl, kFb}, {kFl, kFt, kFl, kFb},
    {kNl, kNt, kNl, kNb}, {kFr, kFt, kNr, kNt}, {kFr, kFb, kNr, kNb},
};
constexpr FrameLine kLinesWOO[] = {
    {kFr, kFt, kNr, kFt}, {kFr, kFb, kNr, kFb}, {kFr, kFt, kFr, kFb},
    {kNr, kNt, kNr, kNb}, {kFl, kFt, kNl, kNt}, {kFl, kFb, kNl, kNb},
};
constexpr FrameLine kLinesOOO[] = {
    {kNl, kFt, kFl, kFt}, {kFr, kFt, kNr, kFt}, {kNl, kFb, kFl, kFb}, {kFr, kFb, kNr, kFb},
    {kFl, kFt, kFl, kFb}, {kFr, kFt, kFr, kFb}, {kNl, kNt, kNl, kNb}, {kNr, kNt, kNr, kNb},
};
constexpr FrameLine kLinesWWO[] = {
    {kFl, kFt, kNl, kNt}, {kFr, kFt, kNr, kNt}, {kFl, kFb, kNl, kNb}, {kFr, kFb, kNr, kNb},
};
// clang-format on

} // namespace

void DrawOutlineOWW(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    draw_outline(sv, kLinesOWW, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
}

void DrawOutlineWOW(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    draw_outline(sv, kLinesWOW, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
}

void DrawOutlineOOW(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    draw_outline(sv, kLinesOOW, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
}

void DrawOutlineWWW(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    const CellFrame f =
        begin_outline(sv, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
    draw_frame_lines(sv, f, kFarEdgesWWW);
    draw_frame_lines(sv, f, kBothSideWalls);
}

void DrawOutlineOWO(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    draw_outline(sv, kLinesOWO, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
}

void DrawOutlineWOO(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    draw_outline(sv, kLinesWOO, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
}

void DrawOutlineOOO(Services& sv, i16 depth, i16 faceColour, i16 skyColour, i16 viewShiftY,
                    i16 viewSpread, i16 viewShiftX)
{
    draw_outline(sv, kLinesOOO, depth, faceColour, skyColour, viewShiftY, viewSpread, viewShiftX);
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
    draw_frame_lines(sv, f, kLinesWWO);
    depth = static_cast<i16>(depth - 40);
}

} // namespace view
