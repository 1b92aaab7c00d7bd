// Number-to-text and text-to-number conversions of the services layer.
#include "services/common/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "services/common/bits.h"

namespace svc {

namespace {

// Formats a finite value with `digits` significant digits (7 or 16): fixed notation when
// the exponent is below `digits` and no more than digits + 1 places would follow the point,
// else scientific with `letter`.
std::string format_real(double value, int digits, char letter)
{
    if (std::isnan(value)) {
        return " NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : " INF";
    }
    // Scientific form of the magnitude: d.dddddd...E+xx, correctly rounded.
    std::array<char, 64> buf{};
    const int len = std::snprintf(buf.data(), buf.size(), "%.*E", digits - 1, std::fabs(value));
    const std::string_view sci(buf.data(), static_cast<std::size_t>(len));
    const std::size_t ePos = sci.find('E');
    std::string mantissa; // the significant digits, without the point
    mantissa += sci[0];
    mantissa.append(sci.substr(2, ePos - 2));
    int exponent = 0;
    std::from_chars(sci.data() + ePos + (sci[ePos + 1] == '+' ? 2 : 1), sci.data() + sci.size(),
                    exponent);

    int n = digits;
    while (n > 1 && mantissa[static_cast<std::size_t>(n - 1)] == '0') {
        --n;
    }
    if (n == 1 && mantissa[0] == '0') {
        return " 0";
    }
    const char sign = std::signbit(value) ? '-' : ' ';
    std::string out(1, sign);
    if (exponent < digits && exponent - n >= -(digits + 1)) {
        if (exponent >= 0) {
            // exponent < digits, so every integer digit is in the mantissa.
            out.append(mantissa, 0, static_cast<std::size_t>(exponent + 1));
            if (n > exponent + 1) {
                out += '.';
                out.append(mantissa, static_cast<std::size_t>(exponent + 1),
                           static_cast<std::size_t>(n - exponent - 1));
            }
        } else {
            // Below 1: the "0" before the point is dropped on purpose (" .5").
            out += '.';
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out.append(mantissa, 0, static_cast<std::size_t>(n));
        }
        return out;
    }
    out += mantissa[0];
    if (n > 1) {
        out += '.';
        out.append(mantissa, 1, static_cast<std::size_t>(n - 1));
    }
    out += letter;
    out += exponent < 0 ? '-' : '+';
    const std::string magnitude = std::to_string(std::abs(exponent));
    if (magnitude.size() < 2) {
        out += '0';
    }
    out += magnitude;
    return out;
}

} // namespace

std::string number_text(int value)
{
    std::string out = std::to_string(value);
    if (value >= 0) {
        out.insert(out.begin(), ' ');
    }
    return out;
}

std::string number_text(float value)
{
    // The status panel prints the same few distances on every idle pass: the last forms made
    // on this thread are kept, by the value's exact bits.
    struct Made {
        std::uint32_t bits;
        std::string text;
    };
    thread_local std::array<Made, 4> made{};
    thread_local std::size_t next = 0;
    const auto bits = bits_of<std::uint32_t>(value);
    for (const Made& m : made) {
        if (!m.text.empty() && m.bits == bits) {
            return m.text;
        }
    }
    Made& m = made[next];
    next = (next + 1) % made.size();
    m = Made{bits, format_real(static_cast<double>(value), 7, 'E')};
    return m.text;
}

std::string number_text(double value)
{
    return format_real(value, 16, 'D');
}

namespace {

// The value of the decimal digits times ten to `power`, rounded to the nearest double; out of
// range, infinity or zero by the place of the leading digit.
double decimal_value(const std::string& digits, long power)
{
    const std::string literal = digits + 'e' + std::to_string(power);
    double value = 0;
#if __cpp_lib_to_chars >= 201611L
    const auto result = std::from_chars(literal.data(), literal.data() + literal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const long leading = power + static_cast<long>(digits.size()) - 1;
        value = leading > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
#else
    // The browser build's library reads no double with from_chars; strtod rounds the same
    // way and gives infinity or zero where the value is out of range.
    value = std::strtod(literal.c_str(), nullptr);
#endif
    return value;
}

} // namespace

double text_number(std::string_view text)
{
    // Enough digits to round any double correctly; later digits only count for the scale.
    constexpr std::size_t kMaxDigits = 40;
    constexpr long kExponentCap = 100000;

    std::string digits;
    long scale = 0; // power of ten to apply to `digits`
    bool negative = false;
    bool anyDigit = false;
    long exponent = 0;
    bool exponentNegative = false;

    enum class Stage { Sign, Integer, Fraction, ExponentSign, ExponentDigits };
    Stage stage = Stage::Sign;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            continue;
        }
        const bool isDigit = c >= '0' && c <= '9';
        if (stage == Stage::Sign) {
            stage = Stage::Integer;
            if (c == '-' || c == '+') {
                negative = c == '-';
                continue;
            }
        }
        if (stage == Stage::Integer || stage == Stage::Fraction) {
            if (isDigit) {
                anyDigit = true;
                if (digits.empty() && c == '0') {
                    // Leading zeros carry no digit; after the point they shift the scale.
                    scale -= stage == Stage::Fraction ? 1 : 0;
                } else if (digits.size() < kMaxDigits) {
                    digits += c;
                    scale -= stage == Stage::Fraction ? 1 : 0;
                } else {
                    scale += stage == Stage::Integer ? 1 : 0;
                }
                continue;
            }
            if (c == '.' && stage == Stage::Integer) {
                stage = Stage::Fraction;
                continue;
            }
            if (anyDigit && (c == 'E' || c == 'e' || c == 'D' || c == 'd')) {
                stage = Stage::ExponentSign;
                continue;
            }
            break;
        }
        if (stage == Stage::ExponentSign) {
            stage = Stage::ExponentDigits;
            if (c == '-' || c == '+') {
                exponentNegative = c == '-';
                continue;
            }
        }
        if (!isDigit) {
            break;
        }
        exponent = std::min(exponent * 10 + (c - '0'), kExponentCap);
    }
    if (digits.empty()) {
        return 0.0;
    }
    const double value = decimal_value(digits, scale + (exponentNegative ? -exponent : exponent));
    return negative ? -value : value;
}

} // namespace svc
