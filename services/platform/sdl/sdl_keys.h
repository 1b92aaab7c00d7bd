// The SDL back end's key table: SDL's key symbols to the physical keys of the PC keyboard.
#pragma once

#include <SDL.h>

#include "services/platform/keys.h"

namespace svc {

// The physical key an SDL key symbol stands for; Key::None for keys the table leaves out.
Key translate_sym(SDLKey sym);

} // namespace svc
