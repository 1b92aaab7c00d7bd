// The X-ray hint: a yellow line across the view when the scan has reached the exit's cell.
#pragma once

#include "game/state.h"
#include "services/services.h"

namespace view {

// Run by the depth scan at a closed step while X-ray is on and sound is on: the line
// (300 - depth, 100)-(300 + depth, 100) in colour 14 if the scan cell holds the exit,
// then the scanning tones.
void RunXrayHint(svc::Services& sv, game::GameState& st);

} // namespace view
