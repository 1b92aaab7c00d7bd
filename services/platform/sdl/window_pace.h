// How often the real window wakes and sends pictures to the display.
#pragma once

namespace svc::window_pace {

// The rest between window passes: short while the player is at the keys, longer once the
// window has had no event for a while (the first key after a quiet spell is collected a few
// milliseconds later, and the idle game's window wakes half as often).
constexpr int kPassRestMs = 4;
constexpr int kQuietRestMs = 16;
constexpr double kQuietAfterMs = 1000;
// While the keys are quiet, pictures the game changes on its own (the birds, the clock) go to
// the display at most this often: each one costs the window system a copy of the whole
// window, whatever the size of the change. Two steps of the birds.
constexpr double kQuietPictureMs = 40;

inline bool quiet(double nowMs, double lastEventMs)
{
    return nowMs - lastEventMs > kQuietAfterMs;
}

inline int rest_ms(double nowMs, double lastEventMs)
{
    return quiet(nowMs, lastEventMs) ? kQuietRestMs : kPassRestMs;
}

// True when a changed picture may go to the display now.
inline bool picture_due(double nowMs, double lastEventMs, double sentAtMs)
{
    return !quiet(nowMs, lastEventMs) || nowMs - sentAtMs >= kQuietPictureMs;
}

} // namespace svc::window_pace
