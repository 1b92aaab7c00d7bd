// The labyrinth grid, and the loader that fills it and the level's header from the level table.
#pragma once

#include <array>
#include <string>

#include "services/common/errors.h"

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
    // The cell byte; an index outside 0..32 raises "Subscript out of range" on errors and
    // reads 0.
    char operator()(svc::ErrorSink& errors, int row, int col) const;
    // Writes one cell; an index outside 0..32 raises "Subscript out of range" on errors and
    // writes nothing.
    void set(svc::ErrorSink& errors, int row, int col, char cell);

    std::array<std::array<char, kMazeBound + 1>, kMazeBound + 1> cells{};
};

// The row strings of the current level as read, indices 0..32.
using MazeRows = std::array<std::string, kMazeBound + 1>;

struct LevelState;

// Reads the seven header values of the record at the level's read cursor into the level's own
// variables, in order: mazeSize, levelName, startRow, startCol, minutesLeft (the level's
// minutes), secondsLeft (its seconds) and faceColour. A failed read stops there (its error
// raised on errors) and returns false.
bool read_header(svc::ErrorSink& errors, LevelState& lv);

// Reads mazeSize row strings into the level's rows 1..mazeSize, then fills its cells (1..N,
// 1..N) from them and records the exit, door and key cells: the last of each found reading row
// by row from the top, left to right. A landmark not found keeps its previous value. Stops with
// false if a row cannot be read or mazeSize exceeds the grid (the error raised on errors).
bool load_level_maze(svc::ErrorSink& errors, LevelState& lv);

} // namespace game
