// The level clock: whole minutes taken off at each wall-clock second "00".
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace game {

// Full form (every status panel call): seconds left, re-arming, and the minute beat.
void CountClockFull(svc::Services& sv, GameState& st);
// Short form (every depth step of the scan): the minute beat alone, never re-arming.
void CountClockShort(svc::Services& sv, GameState& st);

} // namespace game
