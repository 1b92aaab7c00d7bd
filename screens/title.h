// The title screen with the instructions and the picture menu (play, sound, leave).
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace screens {

// Draws the title on the 640 x 480 screen, plays the opening sound once (introPlayed), runs
// the menu, where Enter switches silentMode, and returns with titleChoice kTitlePlay or
// kTitleLeave. The screen stays drawn.
void ShowTitleScreen(svc::Services& sv, game::SoundState& snd);

} // namespace screens
