// The top of every frame: the sky for the current heading and, at night, the stars.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace view {

// The sky for the current heading: moon to the west, clouds to the south, sun to the east.
void DrawSky(svc::Services& sv, game::GameState& st);

// The stars of the current heading, once the day phase is past 65.
void DrawStars(svc::Services& sv, game::GameState& st);

} // namespace view
