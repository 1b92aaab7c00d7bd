// The time of day and the sky's random tables, the dusk and dawn music and the level music.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace game {

// Fills the star and cloud tables at random and draws the day and night cloud spacings
// (every level start, right after the generator is seeded).
void FillSkyTables(svc::Services& sv, GameState& st);

// Night falls after day phase 65: the stars are out, the evening cloud and its wider spacing
// stand in the south, and the seagulls are gone.
inline bool night(const TimeState& t)
{
    return t.dayPhase > 65;
}

// Updates the time-of-day colours and the dusk and dawn music (every idle pass).
void UpdateTimeOfDay(svc::Services& sv, GameState& st);

// The level's background music, started on its first frame.
void StartLevelMusic(svc::Services& sv, GameState& st);

} // namespace game
