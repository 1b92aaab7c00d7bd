// The start-up sound choice: "PC Speaker" or "Scheda Audio", kept in "sound.cop".
#pragma once

#include "core/state.h"
#include "services/services.h"

namespace screens {

// Shows the choice on the start-up text screen and sets soundMode to the confirmed choice;
// Escape ends the program without writing the file.
void ChooseSound(svc::Services& sv, game::i16& soundMode);

} // namespace screens
