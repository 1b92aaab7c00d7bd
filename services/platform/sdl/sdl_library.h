// Which SDL 1.2 the back end runs on: the compatibility library over SDL 2 or the classic one.
#pragma once

#include <SDL.h>

namespace svc {

// The compatibility library numbers itself 1.2.50 and on; the classic SDL 1.2 ended at 1.2.15.
inline bool over_sdl2()
{
    const SDL_version* v = SDL_Linked_Version();
    return v != nullptr && SDL_VERSIONNUM(v->major, v->minor, v->patch) >= SDL_VERSIONNUM(1, 2, 50);
}

} // namespace svc
