// The sky's random tables and the level music, alongside DrawSky and UpdateTimeOfDay.
#pragma once

#include "game/state.h"
#include "services/services.h"

namespace game {

// Fills the star and cloud tables at random and draws the day and night cloud spacings
// (every level start, right after the generator is seeded).
void FillSkyTables(svc::Services& sv, GameState& st);

// The level's background music, started on its first frame.
void StartLevelMusic(svc::Services& sv, GameState& st);

} // namespace game
