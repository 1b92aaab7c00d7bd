// The depth scan: walks the corridor from the player's cell outward, one cell per depth
// step, and draws each cell's piece of the picture, the facing wall and the exit.
#include "core/items.h"
#include "core/level_clock.h"
#include "core/sound_rule.h"
#include "view/scan_cell.h"
#include "view/sky.h"
#include "view/view.h"
#include "view/xray_hint.h"

namespace view {

using game::AheadState;
using game::GameState;

ScanOutcome DepthScan(Services& sv, GameState& st)
{
    game::ScanState& s = st.scan;
    game::PlayerState& p = st.player;
    game::LevelState& lv = st.level;

    s.depth = game::kNearestDepth;
    s.scanRow = p.playerRow;
    s.scanCol = p.playerCol;
    s.aheadState = AheadState::Open;
    // Deliberate mend: a key seen through walls by X-ray must not hang on the next plain wall.
    s.keyAhead = 0;
    do {
        read_cells(sv, st);

        s.scanRow = static_cast<i16>(s.scanRow + p.stepRow);
        s.scanCol = static_cast<i16>(s.scanCol + p.stepCol);
        s.along = p.heading % 2 == 0 ? s.scanRow : s.scanCol;

        game::CountClockShort(sv, st);

        // X-ray: the scan goes on through the wall while it is inside the maze.
        if (p.xrayOn == 1 && s.aheadState == AheadState::Wall && s.scanRow <= lv.mazeSize &&
            s.scanCol <= lv.mazeSize) {
            s.aheadState = AheadState::Open;
        }
        if (s.aheadState == AheadState::Open) {
            draw_cell(sv, st);
        }

        bool hintLine = false;
        const i16 hintDepth = s.depth;
        if (s.scanCol < lv.mazeSize && s.along < lv.mazeSize && s.aheadState == AheadState::Wall &&
            p.xrayOn == 1 && !game::silent(st.sound)) {
            hintLine = RunXrayHint(sv, st);
        }

        s.facingBlocked =
            s.depth == game::kNearestDepth && s.aheadState == AheadState::Wall ? 1 : 0;

        if (s.aheadState == AheadState::Wall) {
            s.facingDepth = s.depth;
            if (!DrawFacingWall(sv, st)) {
                return ScanOutcome::Redraw;
            }
        }
        // Deliberate mend: the hint line goes over the wall's fill, which would hide it.
        if (hintLine) {
            DrawXrayHintLine(sv, hintDepth);
        }
        if (s.aheadState == AheadState::Wall && p.xrayOn == 0) {
            s.depth = -40;
        }

        game::WorkOutDistances(sv, st);
        if (p.exitDistance == 0) {
            return ScanOutcome::LevelEnded;
        }

        s.depth = static_cast<i16>(s.depth - 20);

        if (s.aheadState == AheadState::Exit) {
            sv.set_colours(svc::kBlue, st.time.skyColour);
            DrawFloorRow(sv, s.depth, s.along, lv.faceColour, st.view);
            if (s.depth == -40) {
                DrawExitTunnel(sv, s.depth, s.exitDepth, lv.faceColour, st.time.skyColour, st.view);
            }
        }
    } while (s.depth >= -40);
    return ScanOutcome::Finished;
}

ScanOutcome DrawFrame(Services& sv, GameState& st)
{
    sv.clear_screen();
    sv.set_screen_mode(svc::kMode640x200);
    DrawSky(sv, st);
    DrawStars(sv, st);
    return DepthScan(sv, st);
}

} // namespace view
