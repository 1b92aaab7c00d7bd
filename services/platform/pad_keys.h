// The game pad's buttons as keys: the buttons a player may give a key, the keys they can give
// (by the names the settings file uses), and the pad's reading of the keyboard's arrows.
#pragma once

#include <array>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "services/platform/keys.h"

namespace svc {

// The buttons in the standard controller order, the same places on every pad.
// clang-format off
enum class PadButton : std::uint8_t {
    A, B, X, Y, Back, Guide, Start, LeftStick, RightStick, LeftShoulder, RightShoulder,
    Up, Down, Left, Right
};
// clang-format on
inline constexpr int kPadButtonCount = 15;
// The buttons before the d-pad may be given a key; the d-pad and the left stick are arrows.
inline constexpr int kPadMappedButtons = static_cast<int>(PadButton::Up);

// A key a button can give, by its name in the settings file.
struct PadKey {
    const char* name;
    KeyPress press; // Key::None for "niente"
};

// clang-format off
inline constexpr PadKey kPadKeys[] = {
    {"niente", {}},
    {"invio", {Key::Enter}}, {"esc", {Key::Escape}}, {"spazio", {Key::Space}},
    {"su", {Key::Up}}, {"giu", {Key::Down}}, {"sinistra", {Key::Left}}, {"destra", {Key::Right}},
    {"n", {Key::N}}, {"l", {Key::L}}, {"x", {Key::X}},
    {"ctrl_s", {Key::S, false, true}},
};
// clang-format on
inline constexpr int kPadKeyCount = static_cast<int>(std::size(kPadKeys));

// The place of a key's name in kPadKeys; -1 for a name it does not hold.
constexpr int pad_key(std::string_view name)
{
    for (int i = 0; i < kPadKeyCount; ++i) {
        if (name == kPadKeys[i].name) {
            return i;
        }
    }
    return -1;
}

// Which key each button before the d-pad gives (places in kPadKeys); Guide gives none, as the
// desktop often keeps it for itself.
struct PadMap {
    std::array<std::uint8_t, kPadMappedButtons> keyOf{};
};

// The left stick counts as an arrow only beyond this much of its travel (of 32767), so that a
// stick resting a little off its centre moves nothing.
inline constexpr int kStickDeadZone = 16000;
// A held button repeats its key as a held key does: first after 500 ms, then every 30 ms.
inline constexpr double kPadRepeatDelayMs = 500;
inline constexpr double kPadRepeatEveryMs = 30;

} // namespace svc
