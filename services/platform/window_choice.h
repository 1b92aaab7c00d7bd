// The player's choice of window shape and size, as a back end shows it, and the way a back
// end's own keys hand a new choice on to be remembered.
#pragma once

#include <functional>
#include <string>

namespace svc {

// Without a choice the window equals the image (one to one) and full screen behaves as ever.
struct WindowChoice {
    bool chosen = false;
    int scale = 1;       // whole multiple of the image's width (and of its shown height)
    bool aspect = false; // every screen shown at 4:3 (640 x 200 and 640 x 400 as 640 x 480)
    bool fullscreen = false;
    int maxScale = 8; // the largest scale the scale key steps to
};

// Remembers a choice made with the window's keys; returns "" or what went wrong, in one line
// ("impostazioni.cfg: Read-only file system"). Called on the window thread.
using KeepWindowChoice = std::function<std::string(const WindowChoice&)>;

} // namespace svc
