// The key buffer shared by the window thread (writer) and the game's thread (reader),
// and the key table that turns a key press into its (character, scan code) pair.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

#include "services/common/wakeup.h"
#include "services/platform/keys.h"

namespace svc {

// What a key press gives the game: a character byte and a second byte.
// char != 0: the 1-byte code char; char == 0: the 2-byte code NUL + scan.
struct KeyCode {
    std::uint8_t ch = 0;
    std::uint8_t scan = 0;
};

// Looks a key press up in the PC key table (Alt wins over Ctrl, Ctrl over Shift).
// Empty when the combination gives nothing.
std::optional<KeyCode> translate_key(const KeyPress& press);

// A ring of 16 two-byte slots; read == write means empty, so 15 presses can wait.
// One writer (window thread) and one reader (game's thread), no lock.
class KeyBuffer {
  public:
    static constexpr int kSlots = 16;

    // Appends a slot; false (and the press is dropped) when the buffer is full.
    bool push(KeyCode code);
    // Takes the oldest slot.
    std::optional<KeyCode> pop();
    // Drops every waiting slot (reader side).
    void clear();
    bool empty() const;
    // Rung by every push (and by the window at a stop or pause request): it cuts the idle
    // game's sleep short.
    Wakeup& bell() { return bell_; }

  private:
    std::array<std::atomic<std::uint16_t>, kSlots> slots_{};
    std::atomic<int> read_{0};
    std::atomic<int> write_{0};
    Wakeup bell_;
};

} // namespace svc
