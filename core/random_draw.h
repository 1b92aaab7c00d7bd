// How the game draws a whole number at random: INT(RND * n) + base, in single precision.
#pragma once

#include <cmath>

#include "core/state.h"
#include "services/services.h"

namespace game {

// INT(RND * n) + base: base .. base + n - 1 (base alone for n of 0).
inline i16 random_in(svc::Services& sv, int n, int base)
{
    return static_cast<i16>(std::floor(sv.random_single() * static_cast<float>(n)) + base);
}

} // namespace game
