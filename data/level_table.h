// The built-in level table: the ten labyrinths as one comma-separated text read in sequence.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace data {

inline constexpr int kLevelCount = 10;

// The table as the game reads it. Each level record is the header (mazeSize, "levelName",
// startRow, startCol, timeMinutes, timeSeconds, faceColour) and then the maze rows as quoted
// strings of code page 437 cell bytes; every item, the last one included, ends with a comma.
// recordOffsets[k - 1] is the byte offset at which level k's record starts.
struct LevelTable {
    std::string text;
    std::array<std::size_t, kLevelCount> recordOffsets{};
};

// The table, built once on first use and never changed.
const LevelTable& level_table();

} // namespace data
