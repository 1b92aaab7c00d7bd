// Paces the idle loop to a fixed number of passes a second on any machine, and lets it sleep
// through the passes that would change nothing.
#pragma once

#include <algorithm>
#include <limits>

#include "services/services.h"
#include "services/window/window_loop.h"

namespace game {

// When the idle loop must run its next pass for something to change on its own.
struct IdleDue {
    double atMs = std::numeric_limits<double>::infinity(); // on the clock (a step, a second)
    int passes = 0; // the pass that counts (1: the next one); 0: none is counted
};

// The idle loop polls the keyboard without end, and the X-ray aid is measured in its passes:
// every pass has a slot of kPassMs on the clock.
// Where the platform allows it, the loop sleeps from one pass that changes something to the
// next (a key, a due time, the pass that counts) and the sleep stands for the slots it spans,
// so the count goes on at 2 000 a second. Otherwise the passes run one by one: the pacer
// sleeps once they are kSleepMs ahead of their slots, so a few run together and the thread
// wakes about 125 times a second. Either way a pass that took longer, or a sleep that
// overslept, is made up after it, and after a long break (a frame drawn, a sound waited for)
// the count starts afresh instead of racing; but a sleep of the pacer's own that overran (a
// browser wakes a background tab's timers once a second or less) is made up in full, up to
// kMakeUpMs, so the passes counted keep pace with the clock.
class LoopPacer {
  public:
    static constexpr double kPassMs = 0.5; // 2 000 passes a second
    static constexpr double kSleepMs = 8;
    static constexpr double kCatchUpMs = 20;
    // The longest sleep: the loop wakes every second for the clock anyway.
    static constexpr double kLongestSleepMs = 1000;
    static constexpr double kMakeUpMs = 60000;

    explicit LoopPacer(svc::Services& sv)
        : sv_(sv), sleeps_(sv.sleeps_through_idle()), dueMs_(now())
    {
    }

    // True when pass() sleeps until something is due (and wants to know when).
    bool sleeps_through() const { return sleeps_; }

    // Called once at the end of every pass. Returns how many passes the sleep after it stood
    // for (never the one that counts, which runs).
    int pass(const IdleDue& due = {})
    {
        dueMs_ += kPassMs;
        if (sleeps_) {
            return sleep_until_due(due);
        }
        const double t = now();
        if (dueMs_ - t >= kSleepMs) {
            sv_.pause_ms(dueMs_ - t);
            owedMs_ = std::clamp(now() - dueMs_, 0.0, kMakeUpMs);
        } else if (t - dueMs_ > kCatchUpMs + owedMs_) {
            dueMs_ = t;
            owedMs_ = 0;
        }
        return 0;
    }

  private:
    double now() { return sv_.clock_ms(); }

    int sleep_until_due(const IdleDue& due)
    {
        double wakeMs = std::min(due.atMs, now() + kLongestSleepMs);
        if (due.passes > 0) {
            wakeMs = std::min(wakeMs, dueMs_ + (due.passes - 1) * kPassMs);
        }
        if (sv_.sleep_until_key(wakeMs)) {
            // A sleep that overran (a browser wakes a background tab's timers once a second)
            // is made up in full, as in pass(): what lies beyond the pass that counts is
            // counted by the next passes instead of being dropped by the catch-up below.
            owedMs_ = std::clamp(now() - wakeMs, 0.0, kMakeUpMs);
        }
        // The slots gone by while asleep, but the one the next pass takes.
        const double t = now();
        int slept = t > dueMs_ ? static_cast<int>((t - dueMs_) / kPassMs) : 0;
        if (due.passes > 0) {
            slept = std::min(slept, due.passes - 1);
        }
        dueMs_ += slept * kPassMs;
        if (t - dueMs_ > kCatchUpMs + owedMs_) {
            dueMs_ = t;
        }
        return slept;
    }

    svc::Services& sv_;
    bool sleeps_;
    double dueMs_;
    double owedMs_ = 0; // how far the last sleep overran: passes still to be made up
};

} // namespace game
