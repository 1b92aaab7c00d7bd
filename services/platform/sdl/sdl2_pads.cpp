// SDL 2 reached through the dynamic loader: its names are SDL 1.2's, so it cannot be linked
// beside it. Only a library the compatibility library has loaded already is taken.
#include "services/platform/sdl/sdl2_pads.h"

#include <dlfcn.h>

namespace svc {

namespace {

constexpr unsigned kSdl2InitJoystick = 0x200; // SDL_INIT_JOYSTICK
constexpr int kSdl2Ignore = 0;                // SDL_IGNORE

template <class F> F* symbol(void* library, const char* name)
{
    return reinterpret_cast<F*>(dlsym(library, name));
}

} // namespace

bool Sdl2Pads::hold()
{
    if (library_ != nullptr) {
        return true;
    }
    void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOLOAD | RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return false;
    }
    auto* init = symbol<int(unsigned)>(library, "SDL_InitSubSystem");
    auto* joystickEvents = symbol<int(int)>(library, "SDL_JoystickEventState");
    auto* controllerEvents = symbol<int(int)>(library, "SDL_GameControllerEventState");
    update_ = symbol<void()>(library, "SDL_JoystickUpdate");
    count_ = symbol<int()>(library, "SDL_NumJoysticks");
    quit_ = symbol<void(unsigned)>(library, "SDL_QuitSubSystem");
    if (init == nullptr || joystickEvents == nullptr || controllerEvents == nullptr ||
        update_ == nullptr || count_ == nullptr || quit_ == nullptr ||
        init(kSdl2InitJoystick) != 0) {
        dlclose(library);
        return false;
    }
    // The pads are read each pass and looked for every 2 s: with their events on, SDL 2's
    // event pump would look for pads at every pass of the window.
    joystickEvents(kSdl2Ignore);
    controllerEvents(kSdl2Ignore);
    library_ = library;
    return true;
}

int Sdl2Pads::count()
{
    // SDL 2 takes in pads plugged in or pulled out when it updates its joysticks (udev's news,
    // or the virtual ones); counting alone reads the list it has.
    update_();
    return count_();
}

void Sdl2Pads::release()
{
    if (library_ != nullptr) {
        quit_(kSdl2InitJoystick);
        dlclose(library_);
        library_ = nullptr;
    }
}

} // namespace svc
