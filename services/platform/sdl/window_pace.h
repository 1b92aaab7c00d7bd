// How often the real window wakes and sends pictures to the display.
#pragma once

#include <algorithm>

#include "services/platform/platform.h"

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

// True when a changed picture may go to the display now.
inline bool picture_due(double nowMs, double lastEventMs, double sentAtMs)
{
    return !quiet(nowMs, lastEventMs) || nowMs - sentAtMs >= kQuietPictureMs;
}

// With nothing to do while the keys are quiet, the window rests until an event or the game's
// word that the picture changed; it still looks once a second (a covered window gets its
// picture back).
constexpr double kIdleRestMs = 1000;

// SDL reads the window's events with a round trip to the display. While the keys are quiet
// it is asked only when the display has said something, and once a second for its own
// upkeep (it keeps the screen saver away that way).
constexpr double kQuietPumpMs = 1000;

inline bool pump_due(double nowMs, double lastEventMs, double pumpedAtMs)
{
    return !quiet(nowMs, lastEventMs) || nowMs - pumpedAtMs >= kQuietPumpMs;
}

// The rest before the next pass: other work (tones, a dialog) is looked at every
// kQuietRestMs; otherwise the window rests until the next picture's turn (whatever the game
// changes meanwhile waits for it), and then, with nothing to send, until further notice.
inline double rest_ms(double nowMs, double lastEventMs, double sentAtMs, WindowWork work)
{
    if (!quiet(nowMs, lastEventMs)) {
        return kPassRestMs;
    }
    if (work == WindowWork::Other) {
        return kQuietRestMs;
    }
    const double turnMs = kQuietPictureMs - (nowMs - sentAtMs);
    if (turnMs > 0) {
        return std::max(1.0, turnMs);
    }
    return work == WindowWork::Picture ? 1.0 : kIdleRestMs;
}

// True when the rest should end at the game's word that the picture changed: with nothing
// to do and a changed picture free to go at once.
inline bool listens(double nowMs, double lastEventMs, double sentAtMs, WindowWork work)
{
    return work == WindowWork::None && picture_due(nowMs, lastEventMs, sentAtMs);
}

} // namespace svc::window_pace
