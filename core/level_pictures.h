// The thirteen level pictures: their files, the buffers they load into, and the loading.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/state.h"
#include "services/services.h"

namespace game {

// One picture file and the buffer of Pictures it loads into.
struct LevelPicture {
    const char* file;
    std::vector<std::int16_t> Pictures::*buffer;
};

// In the order a level start loads them: the six X-ray eyes, the day and evening clouds, the
// four seagulls and the exit's trees.
// clang-format off
inline constexpr std::array<LevelPicture, 13> kLevelPictures = {{
    {"occhil.grh", &Pictures::occhil},
    {"ocip.grh",   &Pictures::ocip},
    {"oc22.grh",   &Pictures::oc22},
    {"ochig.grh",  &Pictures::ochig},
    {"oc43.grh",   &Pictures::oc43},
    {"occh43.grh", &Pictures::occh43},
    {"nu51.grh",   &Pictures::cloudDay},
    {"nuser.grh",  &Pictures::cloudEvening},
    {"gab.grh",    &Pictures::gab},
    {"gab2.grh",   &Pictures::gab2},
    {"gab3.grh",   &Pictures::gab3},
    {"gab4.grh",   &Pictures::gab4},
    {"alber.grh",  &Pictures::exitTreesBlock},
}};
// clang-format on

// Reloads every level picture whole into its buffer (every level start).
inline void load_level_pictures(svc::Services& sv, Pictures& pictures)
{
    for (const LevelPicture& picture : kLevelPictures) {
        sv.load_block_file(picture.file, words(pictures.*picture.buffer));
    }
    ++pictures.loads;
}

} // namespace game
