// The window's request that the game end: its close button, Ctrl+Break.
#pragma once

#include <atomic>

#include "services/common/errors.h"

namespace svc {

// Set from the window side; the game's thread takes it up at its next step or wait.
class StopRequest {
  public:
    bool requested() const { return stop_.load(std::memory_order_relaxed); }
    void request() { stop_.store(true, std::memory_order_relaxed); }
    // Game's thread: a requested stop ends the game here, by throwing ProgramExit{0}.
    void exit_if_requested() const
    {
        if (requested()) {
            throw ProgramExit{0};
        }
    }

  private:
    std::atomic<bool> stop_{false};
};

} // namespace svc
