// The window's shape: the window or full-screen mode for the image, its scale and 4:3, and
// the keys that change them (F9, F10, Alt+Enter) and F12.
#include <SDL.h>

#include <algorithm>
#include <vector>

#include "services/platform/sdl/sdl_platform.h"

namespace svc {

int SdlPlatform::fitting_scale(int wanted, int shownH) const
{
    int scale = std::max(wanted, 1);
    while (scale > 1 && desktopW_ > 0 &&
           (imageW_ * scale > desktopW_ || shownH * scale > desktopH_)) {
        --scale;
    }
    return scale;
}

bool SdlPlatform::window_key(Key key)
{
    switch (key) {
    case Key::F9: // 4:3 on or off
        choice_.aspect = !choice_.aspect;
        break;
    case Key::F10: { // the next scale that fits, then back to 1
        const int shownH = choice_.aspect ? imageW_ * 3 / 4 : imageH_;
        const int next = choice_.scale + 1;
        choice_.scale = next <= choice_.maxScale && fitting_scale(next, shownH) == next ? next : 1;
        break;
    }
    case Key::F12:
        save_screenshot();
        return true;
    default:
        return false;
    }
    choice_.chosen = true;
    if (imageW_ > 0) {
        remake_video();
    }
    // The new shape holds even when it cannot be remembered.
    const std::string problem = keep_ ? keep_(choice_) : std::string();
    if (!problem.empty()) {
        tell("Scelta della finestra non ricordata", problem);
    }
    return true;
}

void SdlPlatform::cycle_fullscreen()
{
    if (!video_.load() || imageW_ == 0) {
        return;
    }
    switch (screenStep_) {
    case ScreenStep::Window:
        screenStep_ = ScreenStep::FullScreen;
        break;
    case ScreenStep::FullScreen:
        screenStep_ = ScreenStep::SecondFullScreen;
        break;
    case ScreenStep::SecondFullScreen:
        screenStep_ = ScreenStep::Window;
        break;
    }
    remake_video();
}

void SdlPlatform::remake_video()
{
    make_video();
    if (lastPixels_ != nullptr) { // the new surface is blank: the picture goes on it at once
        present(lastPixels_, imageW_, imageH_, 0, imageH_ - 1, 0, imageW_ - 1);
    }
}

void SdlPlatform::make_video()
{
    // Full-screen modes that can hold the image, largest first as SDL lists them.
    // A driver that takes any size (no list) gets the desktop's.
    std::vector<SDL_Rect> modes;
    SDL_Rect** list = SDL_ListModes(nullptr, SDL_FULLSCREEN | SDL_SWSURFACE);
    SDL_Rect desktop{0, 0, static_cast<Uint16>(desktopW_), static_cast<Uint16>(desktopH_)};
    SDL_Rect* anySize[] = {&desktop, nullptr};
    if (list == reinterpret_cast<SDL_Rect**>(-1)) {
        list = anySize;
    }
    for (int i = 0; list != nullptr && list[i] != nullptr; ++i) {
        if (list[i]->w >= imageW_ && list[i]->h >= imageH_) {
            modes.push_back(*list[i]);
        }
    }
    if (screenStep_ == ScreenStep::SecondFullScreen && modes.size() < 2) {
        screenStep_ = ScreenStep::Window; // no second suitable mode: back to the window
    }
    if (screenStep_ != ScreenStep::Window && modes.empty()) {
        screenStep_ = ScreenStep::Window;
    }
    // Without a choice the picture is the image's size (doubled in full screen when small);
    // with one it is shown at 4:3 if asked, at the chosen scale in a window and at the
    // largest whole scale that fits in full screen.
    const int shownH = choice_.chosen && choice_.aspect ? imageW_ * 3 / 4 : imageH_;
    SDL_Surface* s = nullptr;
    if (screenStep_ != ScreenStep::Window) {
        // The second step uses the smallest suitable mode, the first the largest.
        const SDL_Rect m = screenStep_ == ScreenStep::FullScreen ? modes.front() : modes.back();
        s = SDL_SetVideoMode(m.w, m.h, 32, SDL_SWSURFACE | SDL_FULLSCREEN);
        if (s != nullptr) {
            const int scale = choice_.chosen ? std::max(1, std::min(m.w / imageW_, m.h / shownH))
                                             : ((imageW_ <= 512 && imageH_ <= 384) ? 2 : 1);
            outW_ = imageW_ * scale;
            outH_ = shownH * scale;
            offsetX_ = (m.w - outW_) / 2;
            offsetY_ = (m.h - outH_) / 2;
            SDL_FillRect(s, nullptr, 0);
        }
    }
    if (s == nullptr) {
        screenStep_ = ScreenStep::Window;
        const int scale = choice_.chosen ? fitting_scale(choice_.scale, shownH) : 1;
        outW_ = imageW_ * scale;
        outH_ = shownH * scale;
        offsetX_ = offsetY_ = 0;
        s = SDL_SetVideoMode(outW_, outH_, 32, SDL_SWSURFACE);
    }
    SDL_EnableKeyRepeat(500, 30);
}

} // namespace svc
