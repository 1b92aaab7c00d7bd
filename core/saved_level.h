// The saved level "LEVEL.MGS" and the level menu that offers to resume it.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace game {

// Reads "LEVEL.MGS" into levelNumber (a missing file counts as level 1).
void ReadSavedLevel(svc::Services& sv, GameState& st);

// The menu "Nuova Partita" / "Livello Salvato" on the title screen; on "l" places the read
// cursor at the saved level's record and sets its wall colour.
void LevelMenu(svc::Services& sv, GameState& st);

// Ctrl+S in the idle loop: writes the level reached, shows the message, then blanks it.
void SaveLevel(svc::Services& sv, GameState& st);

} // namespace game
