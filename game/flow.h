// The main flow: sound choice, level loop, frame loop, idle loop, time-out and victory.
#pragma once

#include "game/core/state.h"
#include "services/services.h"

namespace game {

// Runs the game from the sound choice to its end (returns only by svc::ProgramExit).
[[noreturn]] void RunGame(svc::Services& sv, GameState& st);

// The level end: floor rows, the fifteen trees, and the next header (or victory).
// Returns true when the game continues with the next level.
bool EndLevel(svc::Services& sv, GameState& st);

} // namespace game
