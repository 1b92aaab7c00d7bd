// The PC key table and the lock-free key buffer.
#include "services/input/keyboard.h"

#include <cctype>
#include <utility>

namespace svc {
namespace {

// One key's codes, each as (character << 8) | second byte; 0 = the combination gives nothing.
struct KeyRow {
    std::uint16_t normal, shift, ctrl, alt;
};

constexpr std::uint16_t code(int ch, int scan)
{
    return static_cast<std::uint16_t>((ch << 8) | scan);
}

// Keys other than letters and the keypad, by scan code.
// clang-format off
struct TableEntry { Key key; KeyRow row; };
constexpr TableEntry kTable[] = {
    {Key::Escape,       {code(27, 0x01), code(27, 0x01), code(27, 0x01), code(0, 0x01)}},
    {Key::D1,           {code('1', 0x02), code('!', 0x02), 0,                code(0, 0x78)}},
    {Key::D2,           {code('2', 0x03), code('@', 0x03), code(0, 0x03),    code(0, 0x79)}},
    {Key::D3,           {code('3', 0x04), code('#', 0x04), 0,                code(0, 0x7A)}},
    {Key::D4,           {code('4', 0x05), code('$', 0x05), 0,                code(0, 0x7B)}},
    {Key::D5,           {code('5', 0x06), code('%', 0x06), 0,                code(0, 0x7C)}},
    {Key::D6,           {code('6', 0x07), code('^', 0x07), code(30, 0x07),   code(0, 0x7D)}},
    {Key::D7,           {code('7', 0x08), code('&', 0x08), 0,                code(0, 0x7E)}},
    {Key::D8,           {code('8', 0x09), code('*', 0x09), 0,                code(0, 0x7F)}},
    {Key::D9,           {code('9', 0x0A), code('(', 0x0A), 0,                code(0, 0x80)}},
    {Key::D0,           {code('0', 0x0B), code(')', 0x0B), 0,                code(0, 0x81)}},
    {Key::Minus,        {code('-', 0x0C), code('_', 0x0C), code(31, 0x0C),   code(0, 0x82)}},
    {Key::Equals,       {code('=', 0x0D), code('+', 0x0D), 0,                code(0, 0x83)}},
    {Key::Backspace,    {code(8, 0x0E),   code(8, 0x0E),   code(127, 0x0E),  code(0, 0x0E)}},
    {Key::Tab,          {code(9, 0x0F),   code(0, 0x0F),   code(0, 0x94),    code(0, 0xA5)}},
    {Key::LeftBracket,  {code('[', 0x1A), code('{', 0x1A), code(27, 0x1A),   code(0, 0x1A)}},
    {Key::RightBracket, {code(']', 0x1B), code('}', 0x1B), code(29, 0x1B),   code(0, 0x1B)}},
    {Key::Enter,        {code(13, 0x1C),  code(13, 0x1C),  code(10, 0x1C),   code(0, 0x1C)}},
    {Key::KpEnter,      {code(13, 0x1C),  code(13, 0x1C),  code(10, 0x1C),   code(0, 0xA6)}},
    {Key::Semicolon,    {code(';', 0x27), code(':', 0x27), 0,                code(0, 0x27)}},
    {Key::Quote,        {code('\'', 0x28), code('"', 0x28), 0,               code(0, 0x28)}},
    {Key::Backquote,    {code('`', 0x29), code('~', 0x29), 0,                code(0, 0x29)}},
    {Key::Backslash,    {code('\\', 0x2B), code('|', 0x2B), code(28, 0x2B),  code(0, 0x2B)}},
    {Key::Comma,        {code(',', 0x33), code('<', 0x33), 0,                code(0, 0x33)}},
    {Key::Period,       {code('.', 0x34), code('>', 0x34), 0,                code(0, 0x34)}},
    {Key::Slash,        {code('/', 0x35), code('?', 0x35), 0,                code(0, 0x35)}},
    {Key::KpDivide,     {code('/', 0x35), code('/', 0x35), code(0, 0x95),    code(0, 0xA4)}},
    {Key::KpMultiply,   {code('*', 0x37), code('*', 0x37), code(0, 0x96),    code(0, 0x37)}},
    {Key::KpMinus,      {code('-', 0x4A), code('-', 0x4A), code(0, 0x8E),    code(0, 0x4A)}},
    {Key::KpPlus,       {code('+', 0x4E), code('+', 0x4E), code(0, 0x90),    code(0, 0x4E)}},
    {Key::Space,        {code(' ', 0x39), code(' ', 0x39), code(' ', 0x39),  code(' ', 0x39)}},
    {Key::F11,          {code(0, 0x85),   code(0, 0x87),   code(0, 0x89),    code(0, 0x8B)}},
    {Key::F12,          {code(0, 0x86),   code(0, 0x88),   code(0, 0x8A),    code(0, 0x8C)}},
    // The grey movement keys give the keypad's codes (Num Lock does not affect them).
    {Key::Home,         {code(0, 0x47), code(0, 0x47), code(0, 0x77), code(0, 0x97)}},
    {Key::Up,           {code(0, 0x48), code(0, 0x48), code(0, 0x8D), code(0, 0x98)}},
    {Key::PageUp,       {code(0, 0x49), code(0, 0x49), code(0, 0x84), code(0, 0x99)}},
    {Key::Left,         {code(0, 0x4B), code(0, 0x4B), code(0, 0x73), code(0, 0x9B)}},
    {Key::Right,        {code(0, 0x4D), code(0, 0x4D), code(0, 0x74), code(0, 0x9D)}},
    {Key::End,          {code(0, 0x4F), code(0, 0x4F), code(0, 0x75), code(0, 0x9F)}},
    {Key::Down,         {code(0, 0x50), code(0, 0x50), code(0, 0x91), code(0, 0xA0)}},
    {Key::PageDown,     {code(0, 0x51), code(0, 0x51), code(0, 0x76), code(0, 0xA1)}},
    {Key::Insert,       {code(0, 0x52), code(0, 0x52), code(0, 0x92), code(0, 0xA2)}},
    {Key::Delete,       {code(0, 0x53), code(0, 0x53), code(0, 0x93), code(0, 0xA3)}},
};

// The keypad: movement codes with Num Lock off, digits with it on (Shift inverts).
struct PadEntry { Key key; char digit; std::uint16_t move, ctrl; };
constexpr PadEntry kPad[] = {
    {Key::Kp7, '7', code(0, 0x47), code(0, 0x77)}, {Key::Kp8, '8', code(0, 0x48), code(0, 0x8D)},
    {Key::Kp9, '9', code(0, 0x49), code(0, 0x84)}, {Key::Kp4, '4', code(0, 0x4B), code(0, 0x73)},
    {Key::Kp5, '5', 0,             code(0, 0x8F)}, {Key::Kp6, '6', code(0, 0x4D), code(0, 0x74)},
    {Key::Kp1, '1', code(0, 0x4F), code(0, 0x75)}, {Key::Kp2, '2', code(0, 0x50), code(0, 0x91)},
    {Key::Kp3, '3', code(0, 0x51), code(0, 0x76)}, {Key::Kp0, '0', code(0, 0x52), code(0, 0x92)},
    {Key::KpPeriod, '.', code(0, 0x53), code(0, 0x93)},
};
// clang-format on

constexpr char kLetters[] = "QWERTYUIOPASDFGHJKLZXCVBNM";
constexpr Key kLetterKeys[] = {Key::Q, Key::W, Key::E, Key::R, Key::T, Key::Y, Key::U,
                               Key::I, Key::O, Key::P, Key::A, Key::S, Key::D, Key::F,
                               Key::G, Key::H, Key::J, Key::K, Key::L, Key::Z, Key::X,
                               Key::C, Key::V, Key::B, Key::N, Key::M};

std::optional<KeyCode> pick(const KeyRow& row, const KeyPress& p)
{
    const std::uint16_t v = p.alt ? row.alt : p.ctrl ? row.ctrl : p.shift ? row.shift : row.normal;
    if (v == 0) {
        return std::nullopt;
    }
    return KeyCode{static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v & 0xFF)};
}

} // namespace

std::optional<KeyCode> translate_key(const KeyPress& p)
{
    for (int i = 0; i < 26; ++i) {
        if (kLetterKeys[i] == p.key) {
            const int scan = static_cast<int>(p.key);
            const char upper = kLetters[i];
            KeyRow row{code(std::tolower(upper), scan), code(upper, scan),
                       code(upper - 'A' + 1, scan), code(0, scan)};
            if (p.capsLock) {
                std::swap(row.normal, row.shift);
            }
            return pick(row, p);
        }
    }
    if (p.key >= Key::F1 && p.key <= Key::F10) {
        const int n = static_cast<int>(p.key) - static_cast<int>(Key::F1);
        return pick(
            KeyRow{code(0, 0x3B + n), code(0, 0x54 + n), code(0, 0x5E + n), code(0, 0x68 + n)}, p);
    }
    for (const PadEntry& e : kPad) {
        if (e.key == p.key) {
            if (p.alt) {
                return std::nullopt; // Alt + keypad digits compose codes; not used here
            }
            if (p.ctrl) {
                return pick(KeyRow{0, 0, e.ctrl, 0}, p);
            }
            const bool digits = p.numLock != p.shift;
            const int scan = static_cast<int>(p.key);
            const std::uint16_t v = digits ? code(e.digit, scan) : e.move;
            return pick(KeyRow{v, v, 0, 0}, KeyPress{p.key});
        }
    }
    for (const TableEntry& e : kTable) {
        if (e.key == p.key) {
            return pick(e.row, p);
        }
    }
    return std::nullopt;
}

bool KeyBuffer::push(KeyCode c)
{
    const int w = write_.load(std::memory_order_relaxed);
    const int next = (w + 1) % kSlots;
    if (next == read_.load(std::memory_order_acquire)) {
        return false; // full: the press is dropped
    }
    slots_[w].store(static_cast<std::uint16_t>(c.ch | (c.scan << 8)), std::memory_order_relaxed);
    write_.store(next, std::memory_order_release);
    bell_.ring();
    return true;
}

std::optional<KeyCode> KeyBuffer::pop()
{
    const int r = read_.load(std::memory_order_relaxed);
    if (r == write_.load(std::memory_order_acquire)) {
        return std::nullopt;
    }
    const std::uint16_t v = slots_[r].load(std::memory_order_relaxed);
    read_.store((r + 1) % kSlots, std::memory_order_release);
    return KeyCode{static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)};
}

void KeyBuffer::clear()
{
    read_.store(write_.load(std::memory_order_acquire), std::memory_order_release);
}

bool KeyBuffer::empty() const
{
    return read_.load(std::memory_order_relaxed) == write_.load(std::memory_order_acquire);
}

} // namespace svc
