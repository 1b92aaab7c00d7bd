// Fuzz target: any float or double (the input's first bytes) prints as a text that reads back
// close and settles; reading a number from any bytes (the whole input) ends, gives no NaN, and
// prints stably.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "services/common/number_text.h"

namespace {

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

template <typename T> bool bytes_fault(const std::uint8_t* data, std::size_t size)
{
    T x = 0;
    return size >= sizeof x && (std::memcpy(&x, data, sizeof x), fault(x) != nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const double value =
        svc::text_number(std::string_view(reinterpret_cast<const char*>(data), size));
    if (bytes_fault<float>(data, size) || bytes_fault<double>(data, size) || std::isnan(value) ||
        fault(value) != nullptr || fault(static_cast<float>(value)) != nullptr) {
        __builtin_trap();
    }
    return 0;
}
