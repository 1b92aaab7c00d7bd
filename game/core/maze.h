// The labyrinth grid, the level header and the loader that fills them from the level table.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/core/level_reader.h"

namespace game {

// Cell bytes of code page 437.
inline constexpr char kWallCell = '\xDB';
inline constexpr char kOpenCell = ' ';
inline constexpr char kExitCell = 'X';
inline constexpr char kKeyCell = 'c';
inline constexpr char kDoorCell = '\xB1';

// Largest index of the grid in both directions; a level uses rows and columns 1..mazeSize.
inline constexpr int kMazeBound = 32;

// The labyrinth: one-character cells indexed (row, column), both 0..32, row 1 at the top and
// column 1 at the left. A cell never written holds 0, the empty string. Cells outside the
// current level keep whatever an earlier level left there.
struct MazeGrid {
    // The cell byte; an index outside 0..32 raises "Subscript out of range" and reads 0.
    char operator()(int row, int col) const;
    // Writes one cell; an index outside 0..32 raises "Subscript out of range" and writes nothing.
    void set(int row, int col, char cell);

    std::array<std::array<char, kMazeBound + 1>, kMazeBound + 1> cells{};
};

// The row strings of the current level as read, indices 0..32.
using MazeRows = std::array<std::string, kMazeBound + 1>;

// The seven header values of a level record.
struct LevelHeader {
    std::int16_t mazeSize = 0;
    std::string levelName;
    std::int16_t startRow = 0;
    std::int16_t startCol = 0;
    std::int16_t timeMinutes = 0;
    std::int16_t timeSeconds = 0;
    std::int16_t faceColour = 0;
};

// Reads the seven header values at the cursor into the given variables, in order; a failed
// read stops there (the error is pending) and returns false.
bool read_level_header(LevelReader& reader, std::int16_t& mazeSize, std::string& levelName,
                       std::int16_t& startRow, std::int16_t& startCol, std::int16_t& timeMinutes,
                       std::int16_t& timeSeconds, std::int16_t& faceColour);
bool read_level_header(LevelReader& reader, LevelHeader& header);

// The cells the loader records for the three distances: the last exit, door and key found
// reading row by row from the top, left to right.
struct MazeLandmarks {
    std::int16_t exitRow = 0;
    std::int16_t exitCol = 0;
    std::int16_t doorRow = 0;
    std::int16_t doorCol = 0;
    std::int16_t keyRow = 0;
    std::int16_t keyCol = 0;
};

// Reads mazeSize row strings into rows 1..mazeSize, then fills cells (1..N, 1..N) from them and
// records the exit, door and key cells. A landmark not found keeps its previous value. Stops
// with false if a row cannot be read or mazeSize exceeds the grid (error pending).
bool load_maze(LevelReader& reader, MazeGrid& grid, MazeRows& rows, std::int16_t& exitRow,
               std::int16_t& exitCol, std::int16_t& doorRow, std::int16_t& doorCol,
               std::int16_t& keyRow, std::int16_t& keyCol, std::int16_t mazeSize);
bool load_maze(LevelReader& reader, MazeGrid& grid, MazeRows& rows, MazeLandmarks& landmarks,
               std::int16_t mazeSize);

} // namespace game
