// The chequered floor band of one depth step.
#include "view/view.h"

#include "view/frame.h"

namespace view {

void DrawFloorRow(Services& sv, i16 depth, i16 along, i16 faceColour, const game::ViewOffsets& v)
{
    const CellFrame f = cell_frame(depth, v);
    const float half = static_cast<float>(depth) / 2.0f;
    const float mx = centre_x(v);
    sv.set_foreground(faceColour);

    // Five receding lines split the band into four columns.
    sv.draw_line(mx + 20.0f + half, f.fb, mx + 30.0f + half, f.nb);
    sv.draw_line(mx, f.fb, mx, f.nb);
    sv.draw_line(mx - 20.0f - half, f.fb, mx - 30.0f - half, f.nb);
    sv.draw_line(f.fl, f.fb, f.nl, f.nb);
    sv.draw_line(f.fr, f.fb, f.nr, f.nb);

    // Even rows fill the outer left and inner right columns, odd rows the other two; the
    // pattern follows the cell's coordinate along the heading, so it moves with the player.
    const bool even = along % 2 == 0;
    for (int j = 0; j <= 9; ++j) {
        const float y = f.fb + 1.0f + j;
        if (even) {
            sv.draw_line(f.fl - 2.0f - 2.0f * j, y, mx - 22.0f - j - half, y);
            sv.draw_line(mx + 1.0f, y, mx + 20.0f + j + half, y);
        } else {
            sv.draw_line(mx - 21.0f - half - j, y, mx - 1.0f, y);
            sv.draw_line(mx + 22.0f + j + half, y, f.fr + 2.0f * j, y);
        }
    }
}

} // namespace view
