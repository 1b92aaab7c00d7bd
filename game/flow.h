// The main flow: sound choice, level loop, frame loop, idle loop, time-out and victory.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace game {

// Runs the game from the sound choice to its end (returns only by svc::ProgramExit).
[[noreturn]] void RunGame(svc::Services& sv, GameState& st);

// The top of the level loop (program start, each completed level, restart and time-out): the
// level's pictures and random tables, the title when no level is loaded, the maze and the
// player facing north on the start cell.
void start_level(svc::Services& sv, GameState& st);

// Reads the next header at the level's read cursor and puts the player on its start cell.
void read_next_header(svc::Services& sv, GameState& st);

// The level end: floor rows, the fifteen trees, and the next header (or victory).
// Returns true when the game continues with the next level.
bool EndLevel(svc::Services& sv, GameState& st);

} // namespace game
