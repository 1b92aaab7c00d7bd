// Side walls of a scan cell (shading, bricks, outer-wall stripes) and the far faces seen
// through side openings.
#include "view/view.h"

#include "view/frame.h"

namespace view {

namespace {

// Whether the right-hand wall is the maze's outer wall, told from the player's own cell and
// heading; the left wall asks with the heading's step reversed. The outer wall gets stripes
// (every second column) and no bricks.
int shading_step(i16 playerCol, i16 playerRow, i16 mazeSize, i16 stepRow, i16 stepCol)
{
    const bool outer = (stepRow == -1 && playerCol + 1 == mazeSize) ||
                       (stepCol == 1 && playerRow + 1 == mazeSize) ||
                       (playerRow == 2 && stepCol == -1) || (playerCol == 2 && stepRow == 1);
    return outer ? 2 : 1;
}

// The shading: vertical lines i = 1..20 by `step` outward from the far corner at x (`outward`
// +1 on the right, -1 on the left), growing towards the viewer.
void shade_wall(Services& sv, const CellFrame& f, float x, int outward, int step)
{
    for (int i = 1; i <= 20; i += step) {
        const float half = static_cast<float>(i) / 2.0f;
        sv.draw_line(x + outward * i, f.ft + 1.0f - half, x + outward * i, f.fb - 1.0f + half);
    }
}

// The far face seen through an opening: vertical lines k = 2..19 outward from the far corner.
void draw_opening(Services& sv, const CellFrame& f, float x, int outward, i16 skyColour)
{
    sv.set_colours(svc::kLightBlue, skyColour);
    for (int k = 2; k <= 19; ++k) {
        sv.draw_line(x + outward * k, f.ft + 1.0f, x + outward * k, f.fb - 1.0f);
    }
}

} // namespace

// The two walls' bricks are mirrored with constants of their own: parallel by design.
void DrawRightWall(Services& sv, i16 depth, i16 skyColour, i16 playerCol, i16 playerRow,
                   i16 mazeSize, i16 stepRow, i16 stepCol, const game::ViewOffsets& v,
                   i16 wallColour)
{
    const CellFrame f = cell_frame(depth, v);
    const float d = depth;
    const float my = horizon_y(v);
    sv.set_colours(wallColour, skyColour);
    const int step = shading_step(playerCol, playerRow, mazeSize, stepRow, stepCol);
    shade_wall(sv, f, f.fr, 1, step);

    sv.set_foreground(svc::kLightGrey);
    if (step == 1 && depth >= -39) {
        const float q = d / 4.0f;
        sv.draw_line(f.fr, my - 15.0f - q, f.nr, my - 20.0f - q);
        sv.draw_line(f.fr, my, f.nr, my);
        sv.draw_line(f.fr, my + 15.0f + q, f.nr, my + 20.0f + q);
        const int last = loop_limit(sv, d / 30.0f);
        for (int k = 0; k <= last; ++k) {
            if (k >= 3) {
                sv.set_foreground(svc::kDarkGrey);
            }
            sv.draw_line(f.fr + 10.0f + k, f.ft - 5.0f, f.fr + 10.0f + k, my - 19.0f - q);
            sv.draw_line(f.fr + 2.0f + k, my - 16.0f - q, f.fr + 2.0f + k, my);
            sv.draw_line(f.fr + 5.0f + k, my, f.fr + 5.0f + k, my + 17.0f + q);
            sv.draw_line(f.fr + 14.0f + k, my + 20.0f + q, f.fr + 14.0f + k, f.nb - 4.0f);
        }
    }
    sv.set_foreground(svc::kLightGrey);
    if (step == 1) {
        sv.draw_line(f.fr, my, f.nr, my);
    }
}

void DrawLeftWall(Services& sv, i16 depth, i16 skyColour, i16 playerCol, i16 playerRow,
                  i16 mazeSize, i16 stepRow, i16 stepCol, const game::ViewOffsets& v,
                  i16 wallColour)
{
    const CellFrame f = cell_frame(depth, v);
    const float d = depth;
    const float my = horizon_y(v);
    sv.set_colours(wallColour, skyColour);
    const int step = shading_step(playerCol, playerRow, mazeSize, static_cast<i16>(-stepRow),
                                  static_cast<i16>(-stepCol));
    shade_wall(sv, f, f.fl, -1, step);

    sv.set_foreground(svc::kLightGrey);
    if (step == 1 && depth >= -39) {
        const float q = d / 4.0f;
        sv.draw_line(f.nl, my - 20.0f - q, f.fl - 1.0f, my - 15.0f - q);
        sv.draw_line(f.fl - 1.0f, my + 15.0f + q, f.nl, my + 20.0f + q);
        sv.draw_line(f.nl, my, f.fl, my);
        // The left wall's joint columns start at 1, one fewer than the right wall's.
        const int last = loop_limit(sv, d / 30.0f);
        for (int k = 1; k <= last; ++k) {
            if (k >= 3) {
                sv.set_foreground(svc::kDarkGrey);
            }
            sv.draw_line(f.nl + 3.0f + k, f.ft - 7.0f, f.nl + 3.0f + k, my - 19.0f - q);
            sv.draw_line(f.nl + 11.0f + k, my - 16.0f - q, f.nl + 11.0f + k, my - 1.0f);
            sv.draw_line(f.nl + 5.0f + k, my + 1.0f, f.nl + 5.0f + k, my + 17.0f + q);
            sv.draw_line(f.nl + 14.0f + k, my + 17.0f + q, f.nl + 14.0f + k, f.nb - 9.0f);
        }
    }
    sv.set_foreground(svc::kLightGrey);
    if (step == 1) {
        sv.draw_line(f.nl, my, f.fl, my);
    }
}

void DrawRightOpening(Services& sv, i16 depth, i16 skyColour, const game::ViewOffsets& v)
{
    const CellFrame f = cell_frame(depth, v);
    draw_opening(sv, f, f.fr, 1, skyColour);
}

void DrawLeftOpening(Services& sv, i16 depth, i16 skyColour, const game::ViewOffsets& v)
{
    const CellFrame f = cell_frame(depth, v);
    draw_opening(sv, f, f.fl, -1, skyColour);
}

} // namespace view
