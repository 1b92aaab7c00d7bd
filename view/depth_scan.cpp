// The depth scan: walks the corridor from the player's cell outward, one cell per depth
// step, and draws each cell's piece of the picture, the facing wall and the exit.
#include <string>

#include "game/core/items.h"
#include "game/core/level_clock.h"
#include "game/core/maze.h"
#include "game/core/sound_rule.h"
#include "view/view.h"
#include "view/xray_hint.h"

namespace view {
namespace {

using game::AheadState;
using game::GameState;

const std::string kOpenText(1, game::kOpenCell);
const std::string kWallText(1, game::kWallCell);
const std::string kExitText(1, game::kExitCell);
const std::string kKeyText(1, game::kKeyCell);
const std::string kDoorText(1, game::kDoorCell);

// The one-character string of a cell; a cell never written is the empty string.
void read_cell(const game::MazeGrid& maze, int row, int col, std::string& out)
{
    const char c = maze(row, col);
    if (c == 0) {
        out.clear();
    } else {
        out.assign(1, c);
    }
}

// Steps 1 and 2: the three cells around the scan cell, doors and keys seen as walls.
void read_cells(GameState& st)
{
    game::ScanState& s = st.scan;
    const game::PlayerState& p = st.player;
    const i16 n = st.level.mazeSize;
    if (s.scanRow >= 1 && s.scanRow < n && s.scanCol >= 1 && s.scanCol < n) {
        read_cell(st.level.maze, s.scanRow - p.stepCol, s.scanCol + p.stepRow, s.leftCell);
        read_cell(st.level.maze, s.scanRow + p.stepRow, s.scanCol + p.stepCol, s.aheadCell);
        read_cell(st.level.maze, s.scanRow + p.stepCol, s.scanCol - p.stepRow, s.rightCell);
    }
    // Outside the rows and columns 1..N-1 the strings of the previous step stay, on purpose.
    s.doorAhead = 0;
    if (s.aheadCell == kDoorText) {
        s.aheadCell = kWallText;
        s.doorAhead = 1;
    }
    if (s.leftCell == kDoorText) {
        s.leftCell = kWallText;
    }
    if (s.rightCell == kDoorText) {
        s.rightCell = kWallText;
    }
    if (s.aheadCell == kKeyText) {
        s.aheadCell = kWallText;
        s.keyAhead = 1;
    }
    if (s.rightCell == kKeyText) {
        s.rightCell = kWallText;
    }
    if (s.leftCell == kKeyText) {
        s.leftCell = kWallText;
    }
}

// Step 6: the nine cases, each tested on its own in this order.
void draw_cell(Services& sv, GameState& st)
{
    game::ScanState& s = st.scan;
    game::PlayerState& p = st.player;
    game::LevelState& lv = st.level;
    game::ViewOffsets& v = st.view;
    i16& sky = st.time.skyColour;
    i16& d = s.depth;

    const bool leftO = s.leftCell == kOpenText, leftW = s.leftCell == kWallText;
    const bool rightO = s.rightCell == kOpenText, rightW = s.rightCell == kWallText;
    const bool aheadO = s.aheadCell == kOpenText, aheadW = s.aheadCell == kWallText;

    auto floorRow = [&] {
        DrawFloorRow(sv, d, s.along, v.viewShiftY, lv.faceColour, v.viewSpread, v.viewShiftX);
    };
    auto rightWall = [&] {
        DrawRightWall(sv, d, sky, p.playerCol, p.playerRow, lv.mazeSize, p.stepRow, p.stepCol,
                      v.viewShiftY, v.viewSpread, v.viewShiftX, lv.wallColour);
    };
    auto leftWall = [&] {
        DrawLeftWall(sv, d, sky, p.playerCol, p.playerRow, lv.mazeSize, p.stepRow, p.stepCol,
                     v.viewShiftY, v.viewSpread, v.viewShiftX, lv.wallColour);
    };
    auto rightOpening = [&] {
        DrawRightOpening(sv, d, sky, v.viewShiftY, v.viewSpread, v.viewShiftX);
    };
    auto leftOpening = [&] {
        DrawLeftOpening(sv, d, sky, v.viewShiftY, v.viewSpread, v.viewShiftX);
    };

    if (leftO && rightW && aheadW) {
        s.aheadState = AheadState::Wall;
        DrawOutlineOWW(sv, d, lv.faceColour, sky, v.viewShiftY, v.viewSpread, v.viewShiftX);
        s.facingRightExtent = -1;
        s.facingLeftExtent = 1;
        floorRow();
        rightWall();
        s.facingFillColour = 8;
    }
    if (leftW && rightO && aheadW) {
        s.aheadState = AheadState::Wall;
        DrawOutlineWOW(sv, d, lv.faceColour, sky, v.viewShiftY, v.viewSpread, v.viewShiftX);
        s.facingRightExtent = 19;
        s.facingLeftExtent = 21;
        floorRow();
        leftWall();
        s.facingFillColour = 5;
    }
    if (leftO && rightO && aheadW) {
        s.aheadState = AheadState::Wall;
        DrawOutlineOOW(sv, d, lv.faceColour, sky, v.viewShiftY, v.viewSpread, v.viewShiftX);
        s.facingLeftExtent = 1;
        s.facingRightExtent = 19;
        floorRow();
        s.facingFillColour = 12;
    }
    if (s.aheadCell == kExitText) {
        for (int x = 175; x <= 424; x += 41) {
            sv.put_block(static_cast<float>(x), 74, game::words(st.pictures.exitTreesBlock), 1);
        }
        s.aheadState = AheadState::Exit;
        s.exitDepth = d;
        sv.set_colours(1, sky);
        floorRow();
        rightWall();
        leftWall();
    }
    if (leftW && rightW && aheadW) {
        s.aheadState = AheadState::Wall;
        DrawOutlineWWW(sv, d, lv.faceColour, sky, v.viewShiftY, v.viewSpread, v.viewShiftX);
        floorRow();
        s.facingLeftExtent = 21;
        s.facingRightExtent = -1;
        leftWall();
        rightWall();
        s.facingFillColour = 4;
    }
    if (leftO && rightW && aheadO) {
        DrawOutlineOWO(sv, d, lv.faceColour, sky, v.viewShiftY, v.viewSpread, v.viewShiftX);
        floorRow();
        rightWall();
        leftOpening();
    }
    if (leftW && rightO && aheadO) {
        DrawOutlineWOO(sv, d, lv.faceColour, sky, v.viewShiftY, v.viewSpread, v.viewShiftX);
        floorRow();
        leftWall();
        rightOpening();
    }
    if (leftW && rightW && aheadO) {
        DrawOutlineWWO(sv, d, lv.faceColour, sky, p.exitDistance, v.viewShiftY, v.viewSpread,
                       v.viewShiftX);
        floorRow();
        leftWall();
        rightWall();
    }
    if (leftO && rightO && aheadO) {
        DrawOutlineOOO(sv, d, lv.faceColour, sky, v.viewShiftY, v.viewSpread, v.viewShiftX);
        floorRow();
        rightOpening();
        leftOpening();
    }
}

} // namespace

bool RunXrayHint(Services& sv, GameState& st)
{
    const game::ScanState& s = st.scan;
    const game::PlayerState& p = st.player;
    const i16 n = st.level.mazeSize;
    // Deliberate mend: the hint tells whether the exit lies straight ahead behind the wall the
    // scan has reached (anywhere along the line of sight), not at the transposed (scanCol, along).
    bool exitAhead = false;
    for (int row = s.scanRow + p.stepRow, col = s.scanCol + p.stepCol;
         row >= 1 && row <= n && col >= 1 && col <= n && !exitAhead;
         row += p.stepRow, col += p.stepCol) {
        exitAhead = st.level.maze(row, col) == game::kExitCell;
    }
    game::XrayScanTones(sv, st);
    return exitAhead;
}

void DrawXrayHintLine(Services& sv, i16 depth)
{
    const float d = depth;
    sv.set_foreground(14);
    sv.draw_line(300 - d, 100, 300 + d, 100);
}

ScanOutcome DepthScan(Services& sv, GameState& st)
{
    game::ScanState& s = st.scan;
    game::PlayerState& p = st.player;
    game::LevelState& lv = st.level;
    game::ViewOffsets& v = st.view;

    s.depth = 140;
    s.scanRow = p.playerRow;
    s.scanCol = p.playerCol;
    s.aheadState = AheadState::Open;
    // Deliberate mend: a key seen through walls by X-ray must not hang on the next plain wall.
    s.keyAhead = 0;
    do {
        read_cells(st);

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

        s.facingBlocked = s.depth == 140 && s.aheadState == AheadState::Wall ? 1 : 0;

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
            sv.set_colours(1, st.time.skyColour);
            DrawFloorRow(sv, s.depth, s.along, v.viewShiftY, lv.faceColour, v.viewSpread,
                         v.viewShiftX);
            if (s.depth == -40) {
                DrawExitTunnel(sv, s.depth, s.exitDepth, lv.faceColour, st.time.skyColour,
                               v.viewShiftY, v.viewSpread, v.viewShiftX);
            }
        }
    } while (s.depth >= -40);
    return ScanOutcome::Finished;
}

} // namespace view
