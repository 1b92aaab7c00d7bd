// The browser's key table: the page's key codes and modifier bits to the game's key presses,
// and on through the PC's key table to what the game reads.
#include <gtest/gtest.h>

#include <string>

#include "services/input/keyboard.h"
#include "services/platform/web/web_keys.h"

using svc::Key;

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
        {"KeyS", kWebCtrl | kWebAlt,     0,   0x1F}, // Alt wins over Ctrl
        {"ArrowUp", 0,                   0,   0x48},
        {"Numpad8", kWebNumLock,         '8', 0x48}, // the keypad's digit with Num Lock
        {"Numpad8", 0,                   0,   0x48}, // and its arrow without
        {"Enter", 0,                     13,  0x1C},
        {"Space", kWebShift,             ' ', 0x39},
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
