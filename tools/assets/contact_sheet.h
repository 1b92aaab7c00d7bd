// The review sheet: every picture at twice its size on the game's palette, with its name.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assets/picture_source.h"

namespace assets {

struct Sheet {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB
};

// Lays the pictures out in rows, in the order given.
Sheet make_contact_sheet(const std::vector<Picture>& pictures);

} // namespace assets
