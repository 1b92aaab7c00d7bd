// The X-ray hint: the scanning tones, and whether the exit lies ahead behind the wall reached.
#include "view/xray_hint.h"

#include "core/items.h"
#include "core/maze.h"

namespace view {

bool RunXrayHint(svc::Services& sv, game::GameState& st)
{
    const game::ScanState& s = st.scan;
    const game::PlayerState& p = st.player;
    const game::i16 n = st.level.mazeSize;
    // Deliberate mend: the hint tells whether the exit lies straight ahead behind the wall the
    // scan has reached (anywhere along the line of sight), not at the transposed (scanCol, along).
    bool exitAhead = false;
    for (int row = s.scanRow + p.stepRow, col = s.scanCol + p.stepCol;
         row >= 1 && row <= n && col >= 1 && col <= n && !exitAhead;
         row += p.stepRow, col += p.stepCol) {
        exitAhead = st.level.maze(sv, row, col) == game::kExitCell;
    }
    game::XrayScanTones(sv, st);
    return exitAhead;
}

void DrawXrayHintLine(svc::Services& sv, game::i16 depth)
{
    const float d = depth;
    sv.set_foreground(svc::kYellow);
    sv.draw_line(300 - d, 100, 300 + d, 100);
}

} // namespace view
