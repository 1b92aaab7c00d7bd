// The idle loop between two frames: the keyboard polled, the panel, compass and sky kept current.
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace game {

// How one idle loop ends.
enum class IdleExit { Move, Restart, TimeOut };

// Polls the keyboard and keeps the panel, the compass and the sky's colours current until a
// movement key arrives (left in `move`), the restart key, or the end of the time.
IdleExit IdleLoop(svc::Services& sv, GameState& st, char& move);

} // namespace game
