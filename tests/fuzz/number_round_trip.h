// The round trip of printed numbers, shared by the randomised test and the fuzz target.
#pragma once

#include <cmath>
#include <limits>
#include <string>

#include "services/common/number_text.h"

namespace number_round_trip {

// What is wrong with printing x and reading the text back, or nullptr when nothing is.
// A text exactly halfway between two values reads back to the even one, which may print
// one digit differently; from then on the text stays the same. A text above the largest
// double (its top values print rounded up) reads as an infinity.
template <typename T> const char* fault(T x)
{
    if (!std::isfinite(x)) {
        return nullptr;
    }
    constexpr bool single = std::is_same_v<T, float>;
    const std::string text = svc::number_text(x);
    if (text.empty() || (text[0] != ' ' && text[0] != '-') || text.size() > (single ? 14u : 24u)) {
        return "malformed text";
    }
    const auto back = static_cast<T>(svc::text_number(text));
    if (std::isinf(back)) {
        return std::fabs(x) >= std::numeric_limits<T>::max() * (1 - 1e-15) ? nullptr
                                                                           : "read as infinite";
    }
    const T bound = single ? T(6e-7) : T(7e-16); // half a last digit and half a binary step
    if (std::isnormal(x) && std::fabs(back - x) > std::fabs(x) * bound) {
        return "read back too far off";
    }
    const std::string again = svc::number_text(back);
    if (again != text && svc::number_text(static_cast<T>(svc::text_number(again))) != again) {
        return "text does not settle";
    }
    return nullptr;
}

} // namespace number_round_trip
