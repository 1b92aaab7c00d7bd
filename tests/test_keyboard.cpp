// The key table and the key buffer, alone and through the window thread's pass (the golden runs
// read every key of the game through read_key), and the browser's key codes and modifier bits
// on through the PC's key table to what the game reads; the game pad's state read as key
// presses: each button's key once, then its repeats as a held key's, the stick's dead zone and
// its stronger axis.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "services/input/keyboard.h"
#include "services/input/pad_reader.h"
#include "services/platform/web/web_keys.h"
#include "tests/support/harness.h"

using svc::Key;
using svc::KeyCode;
using svc::KeyPress;
using testing_support::Harness;

// The whole table against tests/golden/keys.table, one line per key: its codes alone, with
// Shift, Ctrl, Alt, Caps Lock, Shift and Caps Lock, Num Lock, Shift and Num Lock ("-": no code).
// MUV_GOLDEN_UPDATE=1 rewrites the file; read the diff against the PC's table before keeping it.
TEST(KeyTable, EveryKeyInEveryColumnAsRecorded)
{
    std::string got;
    for (int k = 1; k < 0x200; ++k) {
        std::string line;
        for (int m = 0; m < 8; ++m) {
            const bool shift = m == 1 || m == 5 || m == 7;
            const auto c = svc::translate_key(
                KeyPress{static_cast<Key>(k), shift, m == 2, m == 3, m == 4 || m == 5, m >= 6});
            char cell[8] = " -";
            if (c) {
                std::snprintf(cell, sizeof cell, " %02X/%02X", c->ch, c->scan);
            }
            line += cell;
        }
        if (line.find('/') != std::string::npos) {
            char key[8];
            std::snprintf(key, sizeof key, "%03X:", k);
            got += key + line + "\n";
        }
    }
    const std::string path = MUV_SOURCE_DIR "/tests/golden/keys.table";
    if (std::getenv("MUV_GOLDEN_UPDATE") != nullptr) {
        testing_support::write_file(path, got);
    }
    EXPECT_EQ(testing_support::read_file(path), got);
}

TEST(KeyBuffer, HoldsFifteenPressesInOrder)
{
    svc::KeyBuffer b;
    EXPECT_TRUE(b.empty());
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(b.push(KeyCode{static_cast<std::uint8_t>('a' + i), 0}), i < 15) << i;
    }
    for (int i = 0; i < 15; ++i) {
        ASSERT_EQ(b.pop()->ch, 'a' + i);
    }
    EXPECT_FALSE(b.pop()); // the golden runs' moves take it round its ring many times
}

TEST(WaitKeys, CollectsFirstBytesAndStopsOnExitRequest)
{
    Harness h;
    h.platform.press_key(Key::Up);
    h.platform.type_text("L");
    EXPECT_EQ(h.sv().wait_keys(2), std::string("\0L", 2));
    h.platform.close_window();
    EXPECT_EQ(h.sv().wait_keys(1), "");
}

TEST(WebKeys, EveryKeyTheGameReadsHasItsBrowserCode)
{
    struct Row {
        const char* code;
        Key key;
    };
    // clang-format off
    const Row rows[] = {
        {"ArrowUp", Key::Up},     {"ArrowDown", Key::Down},   {"ArrowLeft", Key::Left},
        {"ArrowRight", Key::Right}, {"Enter", Key::Enter},    {"NumpadEnter", Key::KpEnter},
        {"Space", Key::Space},    {"Escape", Key::Escape},    {"KeyA", Key::A},
        {"KeyL", Key::L},         {"KeyN", Key::N},           {"KeyS", Key::S},
        {"KeyX", Key::X},         {"KeyZ", Key::Z},           {"Digit0", Key::D0},
        {"Digit1", Key::D1},      {"Digit9", Key::D9},        {"Pause", Key::Pause},
        {"F1", Key::F1},          {"F10", Key::F10},          {"Numpad0", Key::Kp0},
        {"Numpad8", Key::Kp8},    {"NumpadDecimal", Key::KpPeriod}, {"Home", Key::Home},
        {"Delete", Key::Delete},  {"ShiftLeft", Key::LeftShift}, {"ControlRight", Key::RightCtrl},
        {"NumLock", Key::NumLock}, {"ScrollLock", Key::ScrollLock}, {"Backquote", Key::Backquote},
        // Codes a PC keyboard has no key for are left out, as are made-up ones.
        {"MetaLeft", Key::None},  {"ContextMenu", Key::None}, {"", Key::None},
        {"keya", Key::None},      {"KeyAA", Key::None},
    };
    // clang-format on
    for (const Row& r : rows) {
        EXPECT_EQ(svc::translate_code(r.code), r.key) << r.code;
    }
}

TEST(WebKeys, ModifierBitsReachTheGameAsOnThePc)
{
    struct Row {
        const char* code;
        unsigned modifiers;
        int ch; // what the PC's key table makes of it (-1: nothing)
        int scan;
    };
    using namespace svc;
    // clang-format off
    const Row rows[] = {
        {"KeyN", 0,                      'n', 0x31},
        {"KeyN", kWebShift,              'N', 0x31},
        {"KeyN", kWebCapsLock,           'N', 0x31},
        {"KeyN", kWebShift | kWebCapsLock, 'n', 0x31},
        {"KeyS", kWebCtrl,               19,  0x1F}, // Ctrl+S: the save key
        // Two modifiers at once, which the key table's columns leave out.
        {"KeyS", kWebCtrl | kWebAlt,     0,   0x1F}, // Alt wins over Ctrl
        {"KeyS", kWebShift | kWebCtrl,   19,  0x1F}, // Ctrl+S whatever Shift says
        {"ArrowUp", kWebShift | kWebCtrl, 0,  0x8D}, // Ctrl's column
        {"Numpad8", kWebNumLock,         '8', 0x48}, // the keypad's digit with Num Lock
        {"Numpad8", 0,                   0,   0x48}, // and its arrow without
        {"MetaLeft", 0,                  -1,  -1},
    };
    // clang-format on
    for (const Row& r : rows) {
        const svc::KeyPress press = svc::web_key_press(r.code, r.modifiers);
        const auto code = svc::translate_key(press);
        SCOPED_TRACE(std::string(r.code) + " modifiers " + std::to_string(r.modifiers));
        ASSERT_EQ(code.has_value(), r.ch >= 0);
        if (code) {
            EXPECT_EQ(code->ch, r.ch);
            EXPECT_EQ(code->scan, r.scan);
        }
    }
}

using svc::PadButton;

constexpr std::uint32_t bit(PadButton b)
{
    return 1u << static_cast<int>(b);
}

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
