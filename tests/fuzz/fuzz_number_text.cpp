// Fuzz target: any float or double prints as a text that reads back close and settles.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "tests/fuzz/number_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= sizeof(float)) {
        float x = 0;
        std::memcpy(&x, data, sizeof x);
        if (number_round_trip::fault(x) != nullptr) {
            __builtin_trap();
        }
    }
    if (size >= sizeof(double)) {
        double x = 0;
        std::memcpy(&x, data, sizeof x);
        if (number_round_trip::fault(x) != nullptr) {
            __builtin_trap();
        }
    }
    return 0;
}
