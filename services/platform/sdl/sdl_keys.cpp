// SDL's key symbols to the PC keyboard's physical keys, as one table.
#include "services/platform/sdl/sdl_keys.h"

#include <array>

namespace svc {
namespace {

struct SymKey {
    SDLKey sym;
    Key key;
};

// clang-format off
constexpr SymKey kSymKeys[] = {
    {SDLK_a, Key::A}, {SDLK_b, Key::B}, {SDLK_c, Key::C}, {SDLK_d, Key::D}, {SDLK_e, Key::E},
    {SDLK_f, Key::F}, {SDLK_g, Key::G}, {SDLK_h, Key::H}, {SDLK_i, Key::I}, {SDLK_j, Key::J},
    {SDLK_k, Key::K}, {SDLK_l, Key::L}, {SDLK_m, Key::M}, {SDLK_n, Key::N}, {SDLK_o, Key::O},
    {SDLK_p, Key::P}, {SDLK_q, Key::Q}, {SDLK_r, Key::R}, {SDLK_s, Key::S}, {SDLK_t, Key::T},
    {SDLK_u, Key::U}, {SDLK_v, Key::V}, {SDLK_w, Key::W}, {SDLK_x, Key::X}, {SDLK_y, Key::Y},
    {SDLK_z, Key::Z},

    {SDLK_1, Key::D1}, {SDLK_2, Key::D2}, {SDLK_3, Key::D3}, {SDLK_4, Key::D4}, {SDLK_5, Key::D5},
    {SDLK_6, Key::D6}, {SDLK_7, Key::D7}, {SDLK_8, Key::D8}, {SDLK_9, Key::D9}, {SDLK_0, Key::D0},

    {SDLK_F1,  Key::F1},  {SDLK_F2,  Key::F2},  {SDLK_F3,  Key::F3},  {SDLK_F4,  Key::F4},
    {SDLK_F5,  Key::F5},  {SDLK_F6,  Key::F6},  {SDLK_F7,  Key::F7},  {SDLK_F8,  Key::F8},
    {SDLK_F9,  Key::F9},  {SDLK_F10, Key::F10}, {SDLK_F11, Key::F11}, {SDLK_F12, Key::F12},

    {SDLK_ESCAPE,       Key::Escape},       {SDLK_MINUS,        Key::Minus},
    {SDLK_EQUALS,       Key::Equals},       {SDLK_BACKSPACE,    Key::Backspace},
    {SDLK_TAB,          Key::Tab},          {SDLK_RETURN,       Key::Enter},
    {SDLK_LEFTBRACKET,  Key::LeftBracket},  {SDLK_RIGHTBRACKET, Key::RightBracket},
    {SDLK_SEMICOLON,    Key::Semicolon},    {SDLK_QUOTE,        Key::Quote},
    {SDLK_BACKQUOTE,    Key::Backquote},    {SDLK_BACKSLASH,    Key::Backslash},
    {SDLK_COMMA,        Key::Comma},        {SDLK_PERIOD,       Key::Period},
    {SDLK_SLASH,        Key::Slash},        {SDLK_SPACE,        Key::Space},

    {SDLK_KP0, Key::Kp0}, {SDLK_KP1, Key::Kp1}, {SDLK_KP2, Key::Kp2}, {SDLK_KP3, Key::Kp3},
    {SDLK_KP4, Key::Kp4}, {SDLK_KP5, Key::Kp5}, {SDLK_KP6, Key::Kp6}, {SDLK_KP7, Key::Kp7},
    {SDLK_KP8, Key::Kp8}, {SDLK_KP9, Key::Kp9},

    {SDLK_KP_PERIOD,   Key::KpPeriod},   {SDLK_KP_DIVIDE,   Key::KpDivide},
    {SDLK_KP_MULTIPLY, Key::KpMultiply}, {SDLK_KP_MINUS,    Key::KpMinus},
    {SDLK_KP_PLUS,     Key::KpPlus},     {SDLK_KP_ENTER,    Key::KpEnter},

    {SDLK_UP,       Key::Up},       {SDLK_DOWN,     Key::Down},     {SDLK_LEFT,     Key::Left},
    {SDLK_RIGHT,    Key::Right},    {SDLK_INSERT,   Key::Insert},   {SDLK_DELETE,   Key::Delete},
    {SDLK_HOME,     Key::Home},     {SDLK_END,      Key::End},      {SDLK_PAGEUP,   Key::PageUp},
    {SDLK_PAGEDOWN, Key::PageDown},

    {SDLK_NUMLOCK,   Key::NumLock},     {SDLK_SCROLLOCK, Key::ScrollLock},
    {SDLK_CAPSLOCK,  Key::CapsLock},    {SDLK_PAUSE,     Key::Pause},
    {SDLK_BREAK,     Key::Break},       {SDLK_PRINT,     Key::PrintScreen},
    {SDLK_LSHIFT,    Key::LeftShift},   {SDLK_RSHIFT,    Key::RightShift},
    {SDLK_LCTRL,     Key::LeftCtrl},    {SDLK_RCTRL,     Key::RightCtrl},
    {SDLK_LALT,      Key::LeftAlt},     {SDLK_RALT,      Key::RightAlt},
};
// clang-format on

// The table spread out by symbol, once, for a lookup per key press.
constexpr auto kKeyBySym = [] {
    std::array<Key, SDLK_LAST> bySym{};
    for (const SymKey& k : kSymKeys) {
        bySym[k.sym] = k.key;
    }
    return bySym;
}();

} // namespace

Key translate_sym(SDLKey sym)
{
    return sym >= 0 && sym < SDLK_LAST ? kKeyBySym[sym] : Key::None;
}

} // namespace svc
