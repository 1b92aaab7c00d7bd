// The facing wall's own picture: the fill (stripes on the outer wall), the door and the bricks.
#include "view/view.h"

#include "view/frame.h"

namespace view {

namespace {

// Draws the door: the gap between the two leaves, with one green line in its middle, and the
// two handle plates. Nothing at depth 0 or less.
void draw_door(Services& sv, float d, float c, float ft, float fb, float my)
{
    const float tenth = d / 10.0f;
    const int gapLast = loop_limit(sv, tenth - 1.0f);
    for (int j = 1; j <= gapLast; ++j) {
        sv.set_foreground(static_cast<float>(j) == d / 20.0f ? svc::kGreen : svc::kDarkGrey);
        const float x = c - tenth + j;
        sv.draw_line(x, ft, x, fb);
    }
    sv.set_foreground(svc::kGreen);
    const float fifth = d / 5.0f;
    const int plateLast = loop_limit(sv, tenth);
    for (int j = 1; j <= plateLast; ++j) {
        const float y = my - 16.0f + tenth + j;
        sv.draw_line(c + fifth, y, c + tenth, y);
        sv.draw_line(c - fifth - tenth, y, c - fifth, y);
    }
}

} // namespace

void DrawFacingWallFace(Services& sv, game::GameState& st)
{
    const game::ScanState& scan = st.scan;
    const i16 mazeSize = st.level.mazeSize;
    const i16 depth = scan.depth;
    const float d = depth;
    const CellFrame f = cell_frame(depth, st.view);
    const float mx = centre_x(st.view);
    const float my = horizon_y(st.view);

    // A facing cell on the maze border is the outer wall.
    const i16 facingLineStep = (scan.scanRow == 1 || scan.scanRow == mazeSize ||
                                scan.scanCol == 1 || scan.scanCol == mazeSize)
                                   ? 2
                                   : 1;

    // Fill: reaches the near corner on an open side, so the far face of the opening is
    // filled with the wall; every second line only on the outer wall.
    const float left = f.nl + scan.facingLeftExtent;
    const float right = f.fr + scan.facingRightExtent;
    sv.set_foreground(scan.facingFillColour);
    for (int y = 1; y <= depth + 39; y += facingLineStep) {
        sv.draw_line(left, f.ft + y, right, f.ft + y);
    }

    if (depth >= -39) {
        sv.set_foreground(svc::kLightGrey + st.player.xrayOn);
    }

    if (scan.doorAhead == 1) {
        draw_door(sv, d, mx - 20.0f + scan.facingLeftExtent, f.ft, f.fb, my);
    }

    if (facingLineStep == 1 && scan.along < mazeSize && scan.scanCol < mazeSize &&
        scan.doorAhead == 0) {
        const float q = d / 4.0f;
        sv.draw_line(left, my - 10.0f - q, right, my - 10.0f - q);
        sv.draw_line(left, my, right, my);
        sv.draw_line(left, my + 10.0f + q, right, my + 10.0f + q);
        sv.draw_line(mx - 10.0f, my + 10.0f + q, mx - 10.0f, my);
        sv.draw_line(mx - 10.0f, f.ft + 1.0f, mx - 10.0f, my - 10.0f - q);

        if (depth >= 1) {
            // Thick joints, thicker towards the player; columns at 283 - D, 310, 335 + D
            // in the two outer courses and at 310 -+ D in the two inner ones.
            const float outer[3] = {f.fl + 3.0f, mx - 10.0f, f.fr - 25.0f};
            const float inner[2] = {mx - 10.0f - d, mx - 10.0f + d};
            const i16 thick =
                scan.facingFillColour == svc::kDarkGrey ? svc::kMagenta : svc::kDarkGrey;
            const int last = loop_limit(sv, d / 25.0f);
            for (int j = 0; j <= last; ++j) {
                if (j >= 2) {
                    sv.set_foreground(thick);
                }
                for (const float x : outer) {
                    sv.draw_line(x + j, f.ft + 1.0f, x + j, my - 11.0f - q);
                }
                for (const float x : inner) {
                    sv.draw_line(x + j, my - 9.0f - q, x + j, my - 1.0f);
                }
                for (const float x : outer) {
                    sv.draw_line(x + j, my + 9.0f + q, x + j, my + 1.0f);
                }
                for (const float x : inner) {
                    sv.draw_line(x + j, my + 11.0f + q, x + j, f.fb - 1.0f);
                }
            }
        }
    }
}

} // namespace view
