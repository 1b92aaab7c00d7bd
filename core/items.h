// Movement, facing and the objects met on walls: keys, doors, wall clocks, the X-ray eye.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace game {

// The movement keys: 'H' forward, 'P' back, 'M' turn right, 'K' turn left (an arrow's
// scan-code character or the capital letter alike).
bool is_movement_key(char key);

// Applies a movement key; any other key does nothing.
void ApplyMovementKey(svc::Services& sv, GameState& st, char key);

// One step forward: (-1, 0) facing north (heading 0), (0, -1) west, (1, 0) south, (0, 1) east.
struct Step {
    i16 row, col;
};
Step heading_step(int heading);

// Puts the player and the scan cell on (row, col) facing heading 0..3: a level start on its
// start cell, and tools, benchmarks and tests anywhere.
void place_player(GameState& st, int row, int col, int heading);

// Objects taking effect at the nearest depth (called by the facing wall).
void OpenDoor(svc::Services& sv, GameState& st);      // the door cell becomes open
void TakeWallClock(svc::Services& sv, GameState& st); // two more minutes
void TakeKey(svc::Services& sv, GameState& st);       // after DrawKey; puts keyBackground back
void TakeEye(svc::Services& sv, GameState& st);       // after the eye is put; switches X-ray on

// The three distances in metres from the player's cell (5 m per cell).
void WorkOutDistances(svc::Services& sv, GameState& st);

// The six scanning tones after the X-ray hint.
void XrayScanTones(svc::Services& sv, GameState& st);

} // namespace game
