// A signal one thread rings to cut another's sleep short: a key typed while the game sleeps.
#pragma once

#include <atomic>
#include <chrono>
#ifndef __EMSCRIPTEN__
#include <condition_variable>
#include <mutex>
#endif

namespace svc {

// The ringing thread (the window's) calls ring(); the sleeping one (the game's) clears it,
// checks whatever it waits for, and then sleeps with wait_ms, which returns at once if the
// bell rang after the clear. Nothing is guarded by it: the state itself stays in atomics.
class Wakeup {
  public:
    void ring()
    {
#ifndef __EMSCRIPTEN__
        {
            // Under the lock: a sleeper between its look at the bell and its wait still hears it.
            const std::lock_guard<std::mutex> held(lock_);
            rung_.store(true, std::memory_order_release);
        }
        signal_.notify_one();
#else
        rung_.store(true, std::memory_order_release);
#endif
    }
    bool rung() const
    {
        return rung_.load(std::memory_order_acquire);
    }
    void clear()
    {
        rung_.store(false, std::memory_order_relaxed);
    }
    // Sleeps up to ms unless the bell rings; true if it rang.
    bool wait_ms(double ms)
    {
#ifndef __EMSCRIPTEN__
        if (!rung() && ms > 0) {
            std::unique_lock<std::mutex> held(lock_);
            signal_.wait_for(held, std::chrono::duration<double, std::milli>(ms),
                             [this] { return rung(); });
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
    // A condition rather than a semaphore: the library's semaphore spins, yielding the
    // processor over and over, before every sleep, and the idle game sleeps fifty times a
    // second.
    std::mutex lock_;
    std::condition_variable signal_;
#endif
};

} // namespace svc
