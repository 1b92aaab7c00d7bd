// The level menu on the title screen, offered when a saved level beyond the first is found.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace screens {

// The menu "Nuova Partita" / "Livello Salvato": "n" starts again from level 1, "l" resumes
// the saved level (its record and wall colour).
void LevelMenu(svc::Services& sv, game::GameState& st);

} // namespace screens
