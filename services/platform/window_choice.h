// The player's choice of window shape and size: launcher options, and the small file in the
// game folder that remembers it for the next start.
#pragma once

#include <string>

namespace svc {

// Without a choice the window equals the image (one to one) and full screen behaves as ever.
struct WindowChoice {
    bool chosen = false;
    int scale = 1;       // whole multiple of the image's width (and of its shown height)
    bool aspect = false; // every screen shown at 4:3 (640 x 200 and 640 x 400 as 640 x 480)
    bool fullscreen = false;
};

inline constexpr int kMaxWindowScale = 8;
inline constexpr const char* kWindowChoiceFile = "finestra.cfg";

// Reads the remembered choice; a missing or damaged file gives no choice.
WindowChoice read_window_choice(const std::string& path);
// Writes it to a temporary file in the same folder and renames that over the old one.
bool write_window_choice(const std::string& path, const WindowChoice& choice);
// Applies --scale N, --aspect and --fullscreen to choice; false with a message for anything
// else. Any option makes a choice.
bool parse_window_options(int argc, const char* const* argv, WindowChoice& choice,
                          std::string& error);

} // namespace svc
