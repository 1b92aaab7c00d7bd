// The X-ray aid's running down: counted in status-panel calls, a unit of 400 used up on every
// 64th, and its end.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace game {

// The gauge's eight places: full blocks for what is left, shaded ones for what is used.
struct XrayGauge {
    int full, used;
};

// One status-panel call while the aid is on. True on every 64th call, when one more unit is
// used up and the gauge is shown again.
bool CountXrayTick(PlayerState& p);

// While the aid is on, how many status-panel calls until the one that uses up the next unit
// (1: the next call); 0 while it is off.
int PassesToXrayUnit(const PlayerState& p);

// Calls the idle loop slept through instead of making them: counted as ticks while the aid is
// on. The loop wakes for the call that uses up a unit, so these never reach one.
void CountSkippedXrayTicks(PlayerState& p, int calls);

// The gauge for the units used so far (each count at least 0).
XrayGauge xray_gauge(svc::ErrorSink& errors, const PlayerState& p);

// Past 400 units the aid ends: the counts back to 0, the end sound, and facingDepth at the
// nearest depth, which hides every seagull on this call. True when it ended.
bool EndSpentXrayAid(svc::Services& sv, GameState& st);

} // namespace game
