// The text forms of numbers the game prints and stores, and the reading of numbers from text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace svc {

// Integers: one space (0 or more) or "-", then the decimal digits: 5 -> " 5", -12 -> "-12".
std::string number_text(int value);
inline std::string number_text(std::int16_t value)
{
    return number_text(static_cast<int>(value));
}

// Single precision: 7 significant digits, fixed notation while it stays short
// (" .5", "-.25", " 1600"), otherwise scientific with "E" (" 1.5E+10", " 1E-10").
// Infinities and NaN (never met by the game) give " INF", "-INF" and " NAN".
std::string number_text(float value);

// Double precision: the same with 16 significant digits and "D" in the scientific form.
std::string number_text(double value);

// A number as an item of a printed line: its text form followed by one space.
template <typename T> std::string number_item(T value)
{
    return number_text(value) + ' ';
}

// Reads a number from text: spaces and tabs are ignored wherever they stand; an optional
// sign, digits with an optional point, an optional exponent (E or D, either case, with its
// own sign); reading stops at the first other character. No digits give 0.
// A value too large for a double gives an infinity, one too small gives 0.
double text_number(std::string_view text);

} // namespace svc
