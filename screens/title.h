// The title screen with the instructions and the picture menu (play, sound, leave).
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace screens {

// Draws the title on the 640 x 480 screen, plays the opening sound once, runs the menu and
// returns with titleChoice 54 (play) or 422 (leave). The screen stays drawn.
void ShowTitleScreen(svc::Services& sv, game::i16 faceColour, game::i16 skyColour,
                     game::i16& silentMode, game::i16 soundMode, game::i16& introPlayed,
                     game::i16& titleChoice);

} // namespace screens
