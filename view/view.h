// The first-person view: the depth scan and the procedures that draw one cell's piece of
// the corridor with straight lines (the cell outlines in view/outlines.h). The scan hands on
// its own variables: by value where a procedure only reads them, by reference where it writes
// through them (the depth, below); the fixed view offsets go together.
#pragma once

#include <cstdint>

#include "core/state.h"
#include "services/services.h"

namespace view {

using game::i16;
using svc::Services;

// The chequered floor band of one depth step.
void DrawFloorRow(Services& sv, i16 depth, i16 along, i16 faceColour, const game::ViewOffsets& v);

// Side wall shading and bricks (stripes on the maze's outer wall).
void DrawRightWall(Services& sv, i16 depth, i16 skyColour, i16 playerCol, i16 playerRow,
                   i16 mazeSize, i16 stepRow, i16 stepCol, const game::ViewOffsets& v,
                   i16 wallColour);
void DrawLeftWall(Services& sv, i16 depth, i16 skyColour, i16 playerCol, i16 playerRow,
                  i16 mazeSize, i16 stepRow, i16 stepCol, const game::ViewOffsets& v,
                  i16 wallColour);

// The far face seen through a side opening while the corridor goes on.
void DrawRightOpening(Services& sv, i16 depth, i16 skyColour, const game::ViewOffsets& v);
void DrawLeftOpening(Services& sv, i16 depth, i16 skyColour, const game::ViewOffsets& v);

// The facing wall's own picture: fill (stripes on the outer wall), door and bricks, for the
// scan state's depth and facing values. Sets the joint colour it leaves in force.
void DrawFacingWallFace(Services& sv, game::GameState& st);

// The wall clock: works with depth - 80 written into the caller's depth, restored at the end.
void DrawWallClock(Services& sv, i16& depth, i16 skyColour, const game::ViewOffsets& v);

// The key hanging on the facing wall.
void DrawKey(Services& sv, i16 depth);

// A row of the trees beyond the exit at y 74, one every 41 pixels from x = firstX up to lastX.
void DrawTreeRow(Services& sv, game::Pictures& pictures, int firstX, int lastX);

// The exit passage: sets the caller's depth to exitDepth, then to -60 (ends the scan).
void DrawExitTunnel(Services& sv, i16& depth, i16 exitDepth, i16 faceColour, i16 skyColour,
                    const game::ViewOffsets& v);

// What became of one picture's scan.
enum class ScanOutcome {
    Finished,   // the picture is complete
    LevelEnded, // the player stands on the exit: the level-end sequence must follow
    Redraw,     // a door was opened: abandon this picture and draw a new one at once
};

// Builds the corridor picture from the player's cell outward (after the sky is drawn),
// running the objects on the facing wall and working out the three distances.
ScanOutcome DepthScan(Services& sv, game::GameState& st);

// The picture of one frame: the screen cleared in the play mode, the sky, the stars and the
// depth scan.
ScanOutcome DrawFrame(Services& sv, game::GameState& st);

// The wall that closes the corridor, with the objects on it; at the nearest depth they take
// effect.
// Returns false when the door was opened (the picture is abandoned).
bool DrawFacingWall(Services& sv, game::GameState& st);

} // namespace view
