// The window thread's rest: poll() on the display's connection and on an event counter the
// game's thread writes to.
#include "services/platform/sdl/window_wait.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace svc {

WindowWait::WindowWait() : wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WindowWait::~WindowWait()
{
    if (wakeFd_ >= 0) {
        close(wakeFd_);
    }
}

void WindowWait::watch_display()
{
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) > 0 && info.subsystem == SDL_SYSWM_X11 &&
        info.info.x11.display != nullptr) {
        display_ = info.info.x11.display;
        displayFd_ = ConnectionNumber(info.info.x11.display);
    }
#endif
}

bool WindowWait::events_waiting() const
{
    SDL_Event e;
    if (SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0) {
        return true;
    }
#if defined(SDL_VIDEO_DRIVER_X11)
    // Events the connection has already read (while the picture was sent) wait in its own
    // queue, and the socket has nothing more to say about them.
    if (display_ != nullptr && XQLength(static_cast<Display*>(display_)) > 0) {
        return true;
    }
#endif
    return false;
}

void WindowWait::rest(double ms, bool listen, const std::function<bool()>& busy)
{
    if (displayFd_ < 0) {
        watch_display();
    }
    if (displayFd_ < 0 || wakeFd_ < 0) {
        SDL_Delay(static_cast<Uint32>(std::min(ms, kBlindRestMs)));
        return;
    }
    // Both sides make a full barrier of their flag (store here, exchange in wake()), so
    // either the game sees the window resting or the window sees the game's change.
    resting_.store(listen, std::memory_order_seq_cst);
    if (!(listen && busy()) && !events_waiting()) {
        pollfd fds[2] = {{displayFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        poll(fds, 2, static_cast<int>(std::max(ms, 0.0)));
    }
    resting_.store(false);
    std::uint64_t count = 0;
    while (read(wakeFd_, &count, sizeof count) > 0) {
    }
}

bool WindowWait::display_stirred()
{
    if (displayFd_ < 0) {
        return true; // not watched (the rest before this pass tried): SDL reads as it may
    }
    pollfd fd = {displayFd_, POLLIN, 0};
    return poll(&fd, 1, 0) != 0 || events_waiting();
}

void WindowWait::wake()
{
    if (wakeFd_ >= 0 && resting_.exchange(false, std::memory_order_seq_cst)) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(wakeFd_, &one, sizeof one);
    }
}

} // namespace svc
