// The text and number functions of the services layer and the rounding into integers.
#include "services/strings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace svc {

namespace {

// Clamps a 1-based start and a length to the text; empty when nothing is left.
std::string part(std::string_view t, std::int64_t start, std::int64_t length)
{
    if (start < 1) {
        length -= 1 - start; // the positions before the text are lost from the length
        start = 1;
    }
    const std::int64_t size = static_cast<std::int64_t>(t.size());
    if (start > size || length <= 0) {
        return {};
    }
    length = std::min(length, size - start + 1);
    return std::string(
        t.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}

} // namespace

std::string character_from_code(int c)
{
    if (c < 0 || c > 255) {
        raise_error(kIllegalFunctionCall);
        return {};
    }
    return std::string(1, static_cast<char>(c));
}

std::string spaces(int n)
{
    return repeated_byte(n, ' ');
}

std::string repeated_byte(int n, int b)
{
    if (b < 0 || b > 255 || n > kMaxTextLength) {
        raise_error(kIllegalFunctionCall);
        return {};
    }
    if (n <= 0) {
        return {};
    }
    return std::string(static_cast<std::size_t>(n), static_cast<char>(b));
}

std::string right_part(std::string_view t, int n)
{
    if (n <= 0) {
        return {};
    }
    const auto count = std::min(t.size(), static_cast<std::size_t>(n));
    return std::string(t.substr(t.size() - count));
}

std::string middle_part(std::string_view t, int start, int length)
{
    return part(t, start, length);
}

std::string middle_part(std::string_view t, int start)
{
    return part(t, std::max(start, 1), static_cast<std::int64_t>(t.size()));
}

std::string lower_case(std::string_view t)
{
    std::string out(t);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

int first_code(std::string_view t)
{
    if (t.empty()) {
        raise_error(kIllegalFunctionCall);
        return 0;
    }
    return static_cast<unsigned char>(t.front());
}

double square_root(double x)
{
    if (x < 0) {
        raise_error(kIllegalFunctionCall);
        return 0;
    }
    return std::sqrt(x);
}

double power(double x, double y)
{
    if (x < 0 && std::isfinite(y) && y != std::trunc(y)) {
        raise_error(kIllegalFunctionCall);
        return 0;
    }
    const double result = std::pow(x, y);
    if (std::isinf(result) && std::isfinite(x) && std::isfinite(y)) {
        raise_error(kOverflow);
        return 0;
    }
    return result;
}

std::int16_t round_to_int16(double value)
{
    // nearbyint rounds ties to even in the default rounding mode, as the game expects.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        raise_error(kOverflow);
        return 0;
    }
    return static_cast<std::int16_t>(rounded);
}

} // namespace svc
