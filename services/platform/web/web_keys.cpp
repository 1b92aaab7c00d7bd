// The browser's key codes to the PC keyboard's physical keys, as one table.
#include "services/platform/web/web_keys.h"

namespace svc {
namespace {

struct CodeKey {
    std::string_view code;
    Key key;
};

// clang-format off
constexpr CodeKey kCodeKeys[] = {
    {"KeyA", Key::A}, {"KeyB", Key::B}, {"KeyC", Key::C}, {"KeyD", Key::D}, {"KeyE", Key::E},
    {"KeyF", Key::F}, {"KeyG", Key::G}, {"KeyH", Key::H}, {"KeyI", Key::I}, {"KeyJ", Key::J},
    {"KeyK", Key::K}, {"KeyL", Key::L}, {"KeyM", Key::M}, {"KeyN", Key::N}, {"KeyO", Key::O},
    {"KeyP", Key::P}, {"KeyQ", Key::Q}, {"KeyR", Key::R}, {"KeyS", Key::S}, {"KeyT", Key::T},
    {"KeyU", Key::U}, {"KeyV", Key::V}, {"KeyW", Key::W}, {"KeyX", Key::X}, {"KeyY", Key::Y},
    {"KeyZ", Key::Z},

    {"Digit1", Key::D1}, {"Digit2", Key::D2}, {"Digit3", Key::D3}, {"Digit4", Key::D4},
    {"Digit5", Key::D5}, {"Digit6", Key::D6}, {"Digit7", Key::D7}, {"Digit8", Key::D8},
    {"Digit9", Key::D9}, {"Digit0", Key::D0},

    {"F1",  Key::F1},  {"F2",  Key::F2},  {"F3",  Key::F3},  {"F4",  Key::F4},
    {"F5",  Key::F5},  {"F6",  Key::F6},  {"F7",  Key::F7},  {"F8",  Key::F8},
    {"F9",  Key::F9},  {"F10", Key::F10}, {"F11", Key::F11}, {"F12", Key::F12},

    {"Escape",       Key::Escape},       {"Minus",        Key::Minus},
    {"Equal",        Key::Equals},       {"Backspace",    Key::Backspace},
    {"Tab",          Key::Tab},          {"Enter",        Key::Enter},
    {"BracketLeft",  Key::LeftBracket},  {"BracketRight", Key::RightBracket},
    {"Semicolon",    Key::Semicolon},    {"Quote",        Key::Quote},
    {"Backquote",    Key::Backquote},    {"Backslash",    Key::Backslash},
    {"Comma",        Key::Comma},        {"Period",       Key::Period},
    {"Slash",        Key::Slash},        {"Space",        Key::Space},
    {"IntlBackslash", Key::Backslash},

    {"Numpad0", Key::Kp0}, {"Numpad1", Key::Kp1}, {"Numpad2", Key::Kp2}, {"Numpad3", Key::Kp3},
    {"Numpad4", Key::Kp4}, {"Numpad5", Key::Kp5}, {"Numpad6", Key::Kp6}, {"Numpad7", Key::Kp7},
    {"Numpad8", Key::Kp8}, {"Numpad9", Key::Kp9},

    {"NumpadDecimal",  Key::KpPeriod},   {"NumpadDivide",   Key::KpDivide},
    {"NumpadMultiply", Key::KpMultiply}, {"NumpadSubtract", Key::KpMinus},
    {"NumpadAdd",      Key::KpPlus},     {"NumpadEnter",    Key::KpEnter},

    {"ArrowUp",  Key::Up},     {"ArrowDown", Key::Down},   {"ArrowLeft", Key::Left},
    {"ArrowRight", Key::Right}, {"Insert",   Key::Insert}, {"Delete",    Key::Delete},
    {"Home",     Key::Home},   {"End",       Key::End},    {"PageUp",    Key::PageUp},
    {"PageDown", Key::PageDown},

    {"NumLock",    Key::NumLock},    {"ScrollLock",  Key::ScrollLock},
    {"CapsLock",   Key::CapsLock},   {"Pause",       Key::Pause},
    {"PrintScreen", Key::PrintScreen},
    {"ShiftLeft",  Key::LeftShift},  {"ShiftRight",  Key::RightShift},
    {"ControlLeft", Key::LeftCtrl},  {"ControlRight", Key::RightCtrl},
    {"AltLeft",    Key::LeftAlt},    {"AltRight",    Key::RightAlt},
};
// clang-format on

} // namespace

Key translate_code(std::string_view code)
{
    for (const CodeKey& k : kCodeKeys) {
        if (k.code == code) {
            return k.key;
        }
    }
    return Key::None;
}

KeyPress web_key_press(std::string_view code, unsigned modifiers)
{
    KeyPress press;
    press.key = translate_code(code); // Ctrl+Break comes as "Pause" with Ctrl held
    press.shift = (modifiers & kWebShift) != 0;
    press.ctrl = (modifiers & kWebCtrl) != 0;
    press.alt = (modifiers & kWebAlt) != 0;
    press.capsLock = (modifiers & kWebCapsLock) != 0;
    press.numLock = (modifiers & kWebNumLock) != 0;
    return press;
}

} // namespace svc
