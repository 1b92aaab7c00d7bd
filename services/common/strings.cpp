// The text and number functions of the services layer and the rounding into integers.
#include "services/common/strings.h"

#include <algorithm>
#include <cmath>

namespace svc {

std::string character_from_code(ErrorSink& errors, int c)
{
    if (c < 0 || c > 255) {
        errors.raise(kIllegalFunctionCall);
        return {};
    }
    return std::string(1, static_cast<char>(c));
}

std::string spaces(ErrorSink& errors, int n)
{
    return repeated_byte(errors, n, ' ');
}

std::string repeated_byte(ErrorSink& errors, int n, int b)
{
    if (b < 0 || b > 255 || n > kMaxTextLength) {
        errors.raise(kIllegalFunctionCall);
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

int first_code(ErrorSink& errors, std::string_view t)
{
    if (t.empty()) {
        errors.raise(kIllegalFunctionCall);
        return 0;
    }
    return static_cast<unsigned char>(t.front());
}

double square_root(ErrorSink& errors, double x)
{
    if (x < 0) {
        errors.raise(kIllegalFunctionCall);
        return 0;
    }
    return std::sqrt(x);
}

double power(ErrorSink& errors, double x, double y)
{
    if (x < 0 && std::isfinite(y) && y != std::trunc(y)) {
        errors.raise(kIllegalFunctionCall);
        return 0;
    }
    const double result = std::pow(x, y);
    if (std::isinf(result) && std::isfinite(x) && std::isfinite(y)) {
        errors.raise(kOverflow);
        return 0;
    }
    return result;
}

std::int16_t round_to_int16(ErrorSink& errors, double value)
{
    // nearbyint rounds ties to even in the default rounding mode, as the game expects.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        errors.raise(kOverflow);
        return 0;
    }
    return static_cast<std::int16_t>(rounded);
}

} // namespace svc
