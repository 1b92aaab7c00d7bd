// The game pad on SDL 1.2's joystick interface.
//
// Under the SDL 1.2 compatibility library the window thread asks for pads presented in the
// standard controller order (SDL12COMPAT_USE_GAME_CONTROLLERS), so a button has the same place
// on every pad. SDL 1.2 tells of no pad plugged in or pulled out: the pads are counted afresh
// every 2 s while none is open, and when the open one has been left alone for 10 s, so that a
// pad pulled out and put back is found again. A pad pulled out mid-level reads as all
// released: the keyboard plays on. Like the keyboard, a pad reaches only the window that has
// the focus (SDL 2 drops its input otherwise).
//
// The compatibility library counts its pads only when its joystick part starts, and starting
// it afresh from nothing (udev, the controller database) every 2 s was most of the idle
// window's work. So SDL 2's own joystick part beneath is held for the pad's lifetime: the look
// asks SDL 2 for its count, and SDL 1.2's part (now a cheap start over SDL 2's running one) is
// started only when there is a pad to find.
#include "services/platform/sdl/sdl_pad.h"

#include "services/platform/sdl/sdl_library.h"

#include <SDL.h>

#include <algorithm>
#include <utility>

namespace svc {

namespace {

constexpr double kLookWithoutPadMs = 2000;
constexpr double kLookWhenIdleMs = 10000;

PadState state_of(SDL_Joystick* joystick)
{
    PadState s;
    const int buttons = std::min(SDL_JoystickNumButtons(joystick), kPadButtonCount);
    for (int b = 0; b < buttons; ++b) {
        if (SDL_JoystickGetButton(joystick, b) != 0) {
            s.buttons |= 1u << b;
        }
    }
    // A plain joystick (the classic SDL 1.2) may have its d-pad as a hat.
    if (SDL_JoystickNumHats(joystick) > 0) {
        const Uint8 hat = SDL_JoystickGetHat(joystick, 0);
        const std::pair<Uint8, PadButton> arrows[] = {{SDL_HAT_UP, PadButton::Up},
                                                      {SDL_HAT_DOWN, PadButton::Down},
                                                      {SDL_HAT_LEFT, PadButton::Left},
                                                      {SDL_HAT_RIGHT, PadButton::Right}};
        for (const auto& [bit, arrow] : arrows) {
            if ((hat & bit) != 0) {
                s.buttons |= 1u << static_cast<int>(arrow);
            }
        }
    }
    if (SDL_JoystickNumAxes(joystick) >= 2) {
        s.stickX = SDL_JoystickGetAxis(joystick, 0);
        s.stickY = SDL_JoystickGetAxis(joystick, 1);
    }
    return s;
}

} // namespace

bool SdlPad::take(double nowMs, KeyPress& press)
{
    if (given_ == waiting_.size()) {
        waiting_.clear();
        given_ = 0;
        if (joystick_ == nullptr ? nowMs >= lookAtMs_ : nowMs - lastHeldMs_ >= kLookWhenIdleMs) {
            look_for_pad(nowMs);
        }
        if (joystick_ == nullptr) {
            return false;
        }
        SDL_JoystickUpdate();
        reader_.read(state_of(joystick_), nowMs, waiting_);
        if (reader_.any_held()) {
            lastHeldMs_ = nowMs;
        }
    }
    if (given_ == waiting_.size()) {
        return false;
    }
    press = waiting_[given_++];
    return true;
}

void SdlPad::look_for_pad(double nowMs)
{
    close_pad();
    lookAtMs_ = nowMs + kLookWithoutPadMs;
    lastHeldMs_ = nowMs;
    reader_.release_all();
    if (!triedSdl2_) {
        triedSdl2_ = true;
        if (over_sdl2()) {
            sdl2_.hold();
        }
    }
    // Over SDL 2, its list says whether there is a pad to find (a joystick it does not know as
    // a controller starts SDL 1.2's part at each look: cheap over SDL 2's running part). The
    // classic SDL 1.2 counts its pads afresh at every start.
    if (sdl2_.held() && sdl2_.count() == 0) {
        return;
    }
    started_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (!started_) {
        return;
    }
    // Read each pass instead: the pad's events would only keep the window thread awake.
    SDL_JoystickEventState(SDL_IGNORE);
    if (SDL_NumJoysticks() > 0) {
        joystick_ = SDL_JoystickOpen(0);
    }
}

void SdlPad::close()
{
    close_pad();
    sdl2_.release();
    triedSdl2_ = false;
}

void SdlPad::close_pad()
{
    if (joystick_ != nullptr) {
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
    }
    if (started_) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        started_ = false;
    }
}

} // namespace svc
