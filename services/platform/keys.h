// Physical keys of a PC keyboard, named by their set-1 scan codes, and one key press.
#pragma once

#include <cstdint>

namespace svc {

// A physical key. The value is the PC scan code; keys that share a scan code with a
// keypad key (arrows, Home, Insert ...) are told apart by 0x100 added to their code.
// clang-format off
enum class Key : std::uint16_t {
    None = 0,
    Escape = 0x01, D1 = 0x02, D2, D3, D4, D5, D6, D7, D8, D9, D0 = 0x0B, Minus = 0x0C,
    Equals = 0x0D, Backspace = 0x0E, Tab = 0x0F,
    Q = 0x10, W, E, R, T, Y, U, I, O, P = 0x19, LeftBracket = 0x1A, RightBracket = 0x1B,
    Enter = 0x1C, LeftCtrl = 0x1D,
    A = 0x1E, S, D, F, G, H, J, K, L = 0x26, Semicolon = 0x27, Quote = 0x28, Backquote = 0x29,
    LeftShift = 0x2A, Backslash = 0x2B,
    Z = 0x2C, X, C, V, B, N, M = 0x32, Comma = 0x33, Period = 0x34, Slash = 0x35,
    RightShift = 0x36, KpMultiply = 0x37, LeftAlt = 0x38, Space = 0x39, CapsLock = 0x3A,
    F1 = 0x3B, F2, F3, F4, F5, F6, F7, F8, F9, F10 = 0x44,
    NumLock = 0x45, ScrollLock = 0x46,
    Kp7 = 0x47, Kp8 = 0x48, Kp9 = 0x49, KpMinus = 0x4A, Kp4 = 0x4B, Kp5 = 0x4C, Kp6 = 0x4D,
    KpPlus = 0x4E, Kp1 = 0x4F, Kp2 = 0x50, Kp3 = 0x51, Kp0 = 0x52, KpPeriod = 0x53,
    F11 = 0x57, F12 = 0x58,
    // Extended keys: scan code + 0x100.
    KpEnter = 0x11C, RightCtrl = 0x11D, KpDivide = 0x135, PrintScreen = 0x137,
    RightAlt = 0x138, Pause = 0x145, Break = 0x146,
    Home = 0x147, Up = 0x148, PageUp = 0x149, Left = 0x14B, Right = 0x14D, End = 0x14F,
    Down = 0x150, PageDown = 0x151, Insert = 0x152, Delete = 0x153,
};
// clang-format on

// One key press (or key repeat) as it reaches the services' key table.
struct KeyPress {
    Key key = Key::None;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool capsLock = false;
    bool numLock = false;
};

} // namespace svc
