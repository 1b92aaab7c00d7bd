// Paces a polling loop to a fixed number of passes a second on any machine.
#pragma once

#include "services/services.h"

namespace game {

// The idle loop polls the keyboard without end, and the X-ray aid is measured in its
// passes; unpaced it would last a fraction of a second and keep a processor busy. The pacer
// gives every pass a slot of kPassMs on the clock and sleeps once the passes are kSleepMs
// ahead of their slots, so a few passes run together and the thread wakes about 125 times a
// second; a pass that took longer, or a sleep that overslept, is made up after it. After a
// long break (a frame drawn, a sound waited for) it starts afresh instead of racing.
class LoopPacer {
  public:
    static constexpr double kPassMs = 0.5; // 2 000 passes a second
    static constexpr double kSleepMs = 8;
    static constexpr double kCatchUpMs = 20;

    explicit LoopPacer(svc::Services& sv) : sv_(sv), dueMs_(now()) {}

    // Called once at the end of every pass.
    void pass()
    {
        dueMs_ += kPassMs;
        const double t = now();
        if (dueMs_ - t >= kSleepMs) {
            sv_.pause_ms(dueMs_ - t);
        } else if (t - dueMs_ > kCatchUpMs) {
            dueMs_ = t;
        }
    }

  private:
    double now() { return sv_.platform().ticks_ms(); }

    svc::Services& sv_;
    double dueMs_;
};

} // namespace game
