// The saved level "LEVEL.MGS": reading it, resuming it and Ctrl+S saving.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace game {

// Reads "LEVEL.MGS" into levelNumber (a missing file counts as level 1).
void ReadSavedLevel(svc::Services& sv, GameState& st);

// The wall colour a level has when played from level 1: blue, then green, cyan and brown in
// turn (levels 1..10).
i16 wall_colour_of_level(int level);

// The level menu's "Livello Salvato": places the read cursor at the saved level's record and
// sets its wall colour (levelNumber 2..10; any other number leaves both as they are).
void ResumeSavedLevel(svc::ErrorSink& errors, LevelState& lv);

// Ctrl+S in the idle loop: once per level reached (canSave), writes the level reached, shows
// the message, then blanks it.
void SaveLevel(svc::Services& sv, GameState& st);

} // namespace game
