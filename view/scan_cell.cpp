// One step of the depth scan: the three cells around the scan cell, and the cell's piece of
// the corridor by the nine cases.
#include "view/scan_cell.h"

#include <string>

#include "core/maze.h"
#include "view/outlines.h"
#include "view/view.h"

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
void read_cell(svc::ErrorSink& errors, const game::MazeGrid& maze, int row, int col,
               std::string& out)
{
    const char c = maze(errors, row, col);
    if (c == 0) {
        out.clear();
    } else {
        out.assign(1, c);
    }
}

// Doors and the key are drawn as walls: only the facing wall shows them. True when `cell` was
// `thing`.
bool seen_as_wall(std::string& cell, const std::string& thing)
{
    if (cell != thing) {
        return false;
    }
    cell = kWallText;
    return true;
}

} // namespace

void read_cells(svc::ErrorSink& errors, GameState& st)
{
    game::ScanState& s = st.scan;
    const game::PlayerState& p = st.player;
    const i16 n = st.level.mazeSize;
    if (s.scanRow >= 1 && s.scanRow < n && s.scanCol >= 1 && s.scanCol < n) {
        read_cell(errors, st.level.maze, s.scanRow - p.stepCol, s.scanCol + p.stepRow, s.leftCell);
        read_cell(errors, st.level.maze, s.scanRow + p.stepRow, s.scanCol + p.stepCol, s.aheadCell);
        read_cell(errors, st.level.maze, s.scanRow + p.stepCol, s.scanCol - p.stepRow, s.rightCell);
    }
    // Outside the rows and columns 1..N-1 the strings of the previous step stay, on purpose.
    s.doorAhead = seen_as_wall(s.aheadCell, kDoorText) ? 1 : 0;
    seen_as_wall(s.leftCell, kDoorText);
    seen_as_wall(s.rightCell, kDoorText);
    if (seen_as_wall(s.aheadCell, kKeyText)) {
        s.keyAhead = 1;
    }
    seen_as_wall(s.rightCell, kKeyText);
    seen_as_wall(s.leftCell, kKeyText);
}

namespace {

// The outlines by their shape, and for a wall ahead the facing wall's fill colour.
struct ClosedCell {
    Outline outline;
    i16 fillColour;
};
// clang-format off
// [left is a wall][right is a wall]
constexpr ClosedCell kClosedCells[2][2] = {
    {{kOutlineOOW, svc::kLightRed}, {kOutlineOWW, svc::kDarkGrey}},
    {{kOutlineWOW, svc::kMagenta},  {kOutlineWWW, svc::kRed}},
};
// With both sides walls the corridor goes on through DrawOutlineWWO, which writes the depth.
constexpr Outline kOpenOutlines[2][2] = {
    {kOutlineOOO, kOutlineOWO},
    {kOutlineWOO, {}},
};
// clang-format on

void draw_outline(Services& sv, GameState& st, Outline outline)
{
    DrawOutline(sv, outline, st.scan.depth, st.level.faceColour, st.time.skyColour, st.view);
}

void floor_row(Services& sv, GameState& st)
{
    DrawFloorRow(sv, st.scan.depth, st.scan.along, st.level.faceColour, st.view);
}

// A side of the scan cell: its wall, or the far face seen through its opening.
enum class Side { Left, Right };

void draw_side(Services& sv, GameState& st, Side side, bool wall)
{
    const game::PlayerState& p = st.player;
    const game::LevelState& lv = st.level;
    const i16 d = st.scan.depth;
    const i16 sky = st.time.skyColour;
    if (wall) {
        const auto drawWall = side == Side::Right ? DrawRightWall : DrawLeftWall;
        drawWall(sv, d, sky, p.playerCol, p.playerRow, lv.mazeSize, p.stepRow, p.stepCol, st.view,
                 lv.wallColour);
    } else {
        const auto drawOpening = side == Side::Right ? DrawRightOpening : DrawLeftOpening;
        drawOpening(sv, d, sky, st.view);
    }
}

// A wall ahead closes the corridor: the facing wall reaches the near corner on an open side.
void draw_closed_cell(Services& sv, GameState& st, bool leftWall, bool rightWall)
{
    game::ScanState& s = st.scan;
    const ClosedCell& cell = kClosedCells[leftWall][rightWall];
    s.aheadState = AheadState::Wall;
    draw_outline(sv, st, cell.outline);
    s.facingLeftExtent = leftWall ? 21 : 1;
    s.facingRightExtent = rightWall ? -1 : 19;
    floor_row(sv, st);
    if (leftWall) {
        draw_side(sv, st, Side::Left, true);
    }
    if (rightWall) {
        draw_side(sv, st, Side::Right, true);
    }
    s.facingFillColour = cell.fillColour;
}

// The corridor goes on. A wall on the left is drawn before the right side, otherwise the right
// side comes first.
void draw_open_cell(Services& sv, GameState& st, bool leftWall, bool rightWall)
{
    if (leftWall && rightWall) {
        DrawOutlineWWO(sv, st.scan.depth, st.level.faceColour, st.time.skyColour, st.view);
    } else {
        draw_outline(sv, st, kOpenOutlines[leftWall][rightWall]);
    }
    floor_row(sv, st);
    if (leftWall) {
        draw_side(sv, st, Side::Left, true);
        draw_side(sv, st, Side::Right, rightWall);
    } else {
        draw_side(sv, st, Side::Right, rightWall);
        draw_side(sv, st, Side::Left, false);
    }
}

// The exit ahead: the row of trees beyond it, then colour 1, the floor row and both walls.
void draw_exit_cell(Services& sv, GameState& st)
{
    game::ScanState& s = st.scan;
    DrawTreeRow(sv, st.pictures, 175, 424);
    s.aheadState = AheadState::Exit;
    s.exitDepth = s.depth;
    sv.set_colours(svc::kBlue, st.time.skyColour);
    floor_row(sv, st);
    draw_side(sv, st, Side::Right, true);
    draw_side(sv, st, Side::Left, true);
}

} // namespace

void draw_cell(Services& sv, GameState& st)
{
    const game::ScanState& s = st.scan;
    if (s.aheadCell == kExitText) {
        draw_exit_cell(sv, st);
        return;
    }
    const auto known = [](const std::string& cell) {
        return cell == kOpenText || cell == kWallText;
    };
    if (!known(s.leftCell) || !known(s.rightCell) || !known(s.aheadCell)) {
        return;
    }
    const bool leftWall = s.leftCell == kWallText;
    const bool rightWall = s.rightCell == kWallText;
    if (s.aheadCell == kWallText) {
        draw_closed_cell(sv, st, leftWall, rightWall);
    } else {
        draw_open_cell(sv, st, leftWall, rightWall);
    }
}

} // namespace view
