// The main flow: sound choice, level loop, frame loop, idle loop, time-out and victory.
#pragma once

#include "game/state.h"
#include "services/services.h"

namespace game {

// Runs the game from the sound choice to its end (returns only by svc::ProgramExit).
[[noreturn]] void RunGame(svc::Services& sv, GameState& st);

// The sky for the current heading and, at night, the stars (top of every frame).
void DrawSky(svc::Services& sv, GameState& st);
void DrawStars(svc::Services& sv, GameState& st);

// Updates the time-of-day colours and the dusk and dawn music (every idle pass).
void UpdateTimeOfDay(svc::Services& sv, GameState& st);

// The level end: floor rows, the fifteen trees, and the next header (or victory).
// Returns true when the game continues with the next level.
bool EndLevel(svc::Services& sv, GameState& st);

} // namespace game
