// Fuzz target: reading a number from any bytes ends, gives no NaN, and prints stably.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/fuzz/number_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = svc::text_number(text);
    if (std::isnan(value) || number_round_trip::fault(value) != nullptr ||
        number_round_trip::fault(static_cast<float>(value)) != nullptr) {
        __builtin_trap();
    }
    return 0;
}
