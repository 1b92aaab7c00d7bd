// A game pad's state turned into key presses.
#include "services/input/pad_reader.h"

#include <algorithm>
#include <cstdlib>

namespace svc {

namespace {

constexpr int kUpPlace = static_cast<int>(PadButton::Up);

// The arrows are held by the d-pad or by the stick pushed beyond its dead zone along its
// stronger axis (a slanting push gives one arrow, never two in turn).
std::uint32_t held_buttons(const PadState& s)
{
    std::uint32_t held = s.buttons;
    const bool upright = std::abs(s.stickY) >= std::abs(s.stickX);
    const int along = upright ? s.stickY : s.stickX;
    if (std::abs(along) > kStickDeadZone) {
        const PadButton arrow = upright ? (along < 0 ? PadButton::Up : PadButton::Down)
                                        : (along < 0 ? PadButton::Left : PadButton::Right);
        held |= 1u << static_cast<int>(arrow);
    }
    return held;
}

KeyPress key_of(const PadMap& map, int button)
{
    static constexpr Key kArrows[] = {Key::Up, Key::Down, Key::Left, Key::Right};
    if (button >= kUpPlace) {
        return KeyPress{kArrows[button - kUpPlace]};
    }
    return kPadKeys[map.keyOf[static_cast<std::size_t>(button)] % kPadKeyCount].press;
}

} // namespace

void PadReader::read(const PadState& state, double nowMs, std::vector<KeyPress>& out)
{
    const std::uint32_t held = held_buttons(state);
    for (int b = 0; b < kPadButtonCount; ++b) {
        double& next = nextRepeatMs_[static_cast<std::size_t>(b)];
        const KeyPress press = key_of(map_, b);
        if ((held & (1u << b)) == 0 || press.key == Key::None) {
            next = kReleased;
        } else if (next == kReleased) {
            out.push_back(press);
            next = nowMs + kPadRepeatDelayMs;
        } else if (nowMs >= next) {
            // A late pass gives one repeat, not a burst of the ones it missed.
            out.push_back(press);
            next += kPadRepeatEveryMs;
            next = next > nowMs ? next : nowMs + kPadRepeatEveryMs;
        }
    }
}

bool PadReader::any_held() const
{
    return std::any_of(nextRepeatMs_.begin(), nextRepeatMs_.end(),
                       [](double next) { return next != kReleased; });
}

} // namespace svc
