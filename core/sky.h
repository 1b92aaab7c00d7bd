// The sky of every frame, the time of day that colours it, its random tables and the level
// music.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace game {

// Fills the star and cloud tables at random and draws the day and night cloud spacings
// (every level start, right after the generator is seeded).
void FillSkyTables(svc::Services& sv, GameState& st);

// The sky for the current heading and, at night, the stars (top of every frame).
void DrawSky(svc::Services& sv, GameState& st);
void DrawStars(svc::Services& sv, GameState& st);

// Updates the time-of-day colours and the dusk and dawn music (every idle pass).
void UpdateTimeOfDay(svc::Services& sv, GameState& st);

// The level's background music, started on its first frame.
void StartLevelMusic(svc::Services& sv, GameState& st);

} // namespace game
