// A game pad's state turned into key presses, as the keyboard would give them: a key when a
// button goes down, then its repeats while it is held. No SDL here.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "services/platform/pad_keys.h"

namespace svc {

// What the pad holds at one moment.
struct PadState {
    std::uint32_t buttons = 0; // bit i: button i of the standard order (PadButton) held
    int stickX = 0;            // the left stick, -32768 (left, up) to 32767 (right, down)
    int stickY = 0;
};

class PadReader {
  public:
    explicit PadReader(const PadMap& map) : map_(map) { release_all(); }

    // Adds to `out` the key presses of the pad's state at nowMs (milliseconds, any origin).
    void read(const PadState& state, double nowMs, std::vector<KeyPress>& out);
    // Forgets what was held: the pad went, or was counted afresh.
    void release_all() { nextRepeatMs_.fill(kReleased); }
    // Whether any button or direction is held.
    bool any_held() const;

  private:
    static constexpr double kReleased = -1;
    PadMap map_;
    // Per button (the d-pad's four standing for the arrows from the d-pad or the stick):
    // when its key is next repeated, or kReleased.
    std::array<double, kPadButtonCount> nextRepeatMs_{};
};

} // namespace svc
