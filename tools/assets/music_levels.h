// The levels of the game's fourteen music files as the game plays them: decoded from the
// data folder, measured, and paired the way the game can mix them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/assets/game_files.h"
#include "tools/assets/loudness.h"

namespace assets {

struct MusicLevels {
    MusicSlot slot;
    Levels levels;
    std::uintmax_t bytes = 0;
    // The worst mix with any one file of the other kind (a sample over the stream, or the
    // stream under a sample), and that partner.
    double worstMixPeak = 0;
    std::string worstPartner;
};

// Decodes and measures every file of kGameMusic in dataDir; std::runtime_error if one is
// missing or cannot be decoded.
std::vector<MusicLevels> measure_game_music(const std::filesystem::path& dataDir);

// A Markdown table of the measurements, one row per file.
std::string music_levels_table(const std::vector<MusicLevels>& files);

const char* role_name(MusicRole role);

} // namespace assets
