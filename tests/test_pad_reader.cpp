// The game pad's state read as key presses: each button's key once, then its repeats as a held
// key's; the stick's dead zone and its stronger axis.
#include <gtest/gtest.h>

#include <vector>

#include "services/input/pad_reader.h"

namespace {

using svc::Key;
using svc::PadButton;

constexpr std::uint32_t bit(PadButton b)
{
    return 1u << static_cast<int>(b);
}

} // namespace

TEST(PadReader, ButtonsGiveTheirKeysThenRepeatAndTheStickHasADeadZone)
{
    svc::PadMap map;
    map.keyOf[static_cast<int>(PadButton::A)] = svc::pad_key("invio");
    map.keyOf[static_cast<int>(PadButton::RightShoulder)] = svc::pad_key("ctrl_s");
    svc::PadReader reader(map);
    const svc::PadState a{bit(PadButton::A)};
    const struct {
        double ms;
        svc::PadState state;
        std::vector<Key> keys;
    } steps[] = {
        {0, a, {Key::Enter}},
        {499, a, {}},
        {500, a, {Key::Enter}}, // the first repeat after half a second
        {529, a, {}},
        {530, a, {Key::Enter}}, // then every 30 ms
        {700, a, {Key::Enter}}, // a late pass: one repeat, not the five it missed
        {701, a, {}},
        {730, a, {Key::Enter}},
        {740, {0, 15000, 0}, {}}, // within the dead zone
        {750, {0, -16500, 0}, {Key::Left}},
        {760, {0, -20000, 28000}, {Key::Down}}, // slanting: the stronger axis alone
        {770, {0, -20000, 28000}, {}},
        {780,
         {bit(PadButton::Up) | bit(PadButton::Guide) | bit(PadButton::RightShoulder), 0, 0},
         {Key::S, Key::Up}}, // Guide gives none
        {790, {}, {}},
        {800, a, {Key::Enter}}, // released and pressed again: at once
    };
    for (const auto& step : steps) {
        std::vector<svc::KeyPress> out;
        reader.read(step.state, step.ms, out);
        std::vector<Key> keys;
        for (const svc::KeyPress& k : out) {
            keys.push_back(k.key);
            EXPECT_EQ(k.ctrl, k.key == Key::S) << step.ms;
        }
        EXPECT_EQ(keys, step.keys) << step.ms;
    }
    EXPECT_TRUE(reader.any_held());
    std::vector<svc::KeyPress> none;
    reader.read({}, 900, none);
    EXPECT_FALSE(reader.any_held());
}
