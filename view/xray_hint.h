// The X-ray hint: a yellow line across the view when the exit lies ahead behind the wall.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace view {

// Run by the depth scan at a closed step while X-ray is on and sound is on: plays the
// scanning tones and tells whether the exit lies straight ahead behind the wall reached.
bool RunXrayHint(svc::Services& sv, game::GameState& st);

// The hint line (300 - depth, 100)-(300 + depth, 100) in colour 14.
void DrawXrayHintLine(svc::Services& sv, game::i16 depth);

} // namespace view
