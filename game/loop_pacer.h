// Paces a polling loop to a fixed number of passes a second on any machine.
#pragma once

#include <algorithm>

#include "services/services.h"

namespace game {

// The idle loop polls the keyboard without end, and the X-ray aid is measured in its
// passes; unpaced it would last a fraction of a second and keep a processor busy. The pacer
// gives every pass a slot of kPassMs on the clock and sleeps once the passes are kSleepMs
// ahead of their slots, so a few passes run together and the thread wakes about 125 times a
// second; a pass that took longer, or a sleep that overslept, is made up after it. After a
// long break (a frame drawn, a sound waited for) it starts afresh instead of racing; but a
// sleep of its own that overran (a browser wakes a background tab's timers once a second or
// less) is made up in full, up to kMakeUpMs, so the passes counted keep pace with the clock.
class LoopPacer {
  public:
    static constexpr double kPassMs = 0.5; // 2 000 passes a second
    static constexpr double kSleepMs = 8;
    static constexpr double kCatchUpMs = 20;
    static constexpr double kMakeUpMs = 60000;

    explicit LoopPacer(svc::Services& sv) : sv_(sv), dueMs_(now()) {}

    // Called once at the end of every pass.
    void pass()
    {
        dueMs_ += kPassMs;
        const double t = now();
        if (dueMs_ - t >= kSleepMs) {
            sv_.pause_ms(dueMs_ - t);
            owedMs_ = std::clamp(now() - dueMs_, 0.0, kMakeUpMs);
        } else if (t - dueMs_ > kCatchUpMs + owedMs_) {
            dueMs_ = t;
            owedMs_ = 0;
        }
    }

  private:
    double now() { return sv_.platform().ticks_ms(); }

    svc::Services& sv_;
    double dueMs_;
    double owedMs_ = 0; // how far the last sleep overran: passes still to be made up
};

} // namespace game
