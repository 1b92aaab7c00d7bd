// A signal one thread rings to cut another's sleep short: a key typed while the game sleeps.
#pragma once

#include <atomic>
#include <chrono>
#ifndef __EMSCRIPTEN__
#include <semaphore>
#endif

namespace svc {

// The ringing thread (the window's) calls ring(); the sleeping one (the game's) clears it,
// checks whatever it waits for, and then sleeps with wait_ms, which returns at once if the
// bell rang after the clear. Nothing is guarded by it: the state itself stays in atomics.
class Wakeup {
  public:
    void ring()
    {
        rung_.store(true, std::memory_order_release);
#ifndef __EMSCRIPTEN__
        signal_.release();
#endif
    }
    bool rung() const
    {
        return rung_.load(std::memory_order_acquire);
    }
    void clear()
    {
        rung_.store(false, std::memory_order_relaxed);
#ifndef __EMSCRIPTEN__
        while (signal_.try_acquire()) {
        }
#endif
    }
    // Sleeps up to ms unless the bell rings; true if it rang.
    bool wait_ms(double ms)
    {
#ifndef __EMSCRIPTEN__
        if (!rung() && ms > 0) {
            signal_.try_acquire_for(std::chrono::duration<double, std::milli>(ms));
        }
#else
        static_cast<void>(ms);
#endif
        return rung();
    }

  private:
    std::atomic<bool> rung_{false};
#ifndef __EMSCRIPTEN__
    // The browser's game runs on one thread with the page: no one can ring while it waits.
    std::counting_semaphore<1 << 20> signal_{0};
#endif
};

} // namespace svc
