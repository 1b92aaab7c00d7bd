// Filling the labyrinth grid from the level table.
#include "game/core/maze.h"

#include "services/errors.h"

namespace game {
namespace {

bool in_grid(int index)
{
    return index >= 0 && index <= kMazeBound;
}

} // namespace

char MazeGrid::operator()(int row, int col) const
{
    if (!in_grid(row) || !in_grid(col)) {
        svc::raise_error(svc::kSubscriptOutOfRange);
        return 0;
    }
    return cells[row][col];
}

void MazeGrid::set(int row, int col, char cell)
{
    if (!in_grid(row) || !in_grid(col)) {
        svc::raise_error(svc::kSubscriptOutOfRange);
        return;
    }
    cells[row][col] = cell;
}

bool read_level_header(LevelReader& reader, std::int16_t& mazeSize, std::string& levelName,
                       std::int16_t& startRow, std::int16_t& startCol, std::int16_t& timeMinutes,
                       std::int16_t& timeSeconds, std::int16_t& faceColour)
{
    return reader.read_number(mazeSize) && reader.read_string(levelName) &&
           reader.read_number(startRow) && reader.read_number(startCol) &&
           reader.read_number(timeMinutes) && reader.read_number(timeSeconds) &&
           reader.read_number(faceColour);
}

bool read_level_header(LevelReader& reader, LevelHeader& header)
{
    return read_level_header(reader, header.mazeSize, header.levelName, header.startRow,
                             header.startCol, header.timeMinutes, header.timeSeconds,
                             header.faceColour);
}

bool load_maze(LevelReader& reader, MazeGrid& grid, MazeRows& rows, std::int16_t& exitRow,
               std::int16_t& exitCol, std::int16_t& doorRow, std::int16_t& doorCol,
               std::int16_t& keyRow, std::int16_t& keyCol, std::int16_t mazeSize)
{
    // A size beyond the grid would write past it; refuse it before reading anything.
    if (mazeSize > kMazeBound) {
        svc::raise_error(svc::kSubscriptOutOfRange);
        return false;
    }
    for (int i = 1; i <= mazeSize; ++i) {
        if (!reader.read_string(rows[i])) {
            return false;
        }
    }
    for (int i = 1; i <= mazeSize; ++i) {
        const std::string& row = rows[i];
        for (int j = 1; j <= mazeSize; ++j) {
            // The j-th character; a row too short gives the empty string, as a middle part does.
            char cell = j <= static_cast<int>(row.size()) ? row[j - 1] : 0;
            grid.cells[i][j] = cell;
            if (cell == kExitCell) {
                exitRow = static_cast<std::int16_t>(i);
                exitCol = static_cast<std::int16_t>(j);
            } else if (cell == kDoorCell) {
                doorRow = static_cast<std::int16_t>(i);
                doorCol = static_cast<std::int16_t>(j);
            } else if (cell == kKeyCell) {
                keyRow = static_cast<std::int16_t>(i);
                keyCol = static_cast<std::int16_t>(j);
            }
        }
    }
    return true;
}

bool load_maze(LevelReader& reader, MazeGrid& grid, MazeRows& rows, MazeLandmarks& landmarks,
               std::int16_t mazeSize)
{
    return load_maze(reader, grid, rows, landmarks.exitRow, landmarks.exitCol, landmarks.doorRow,
                     landmarks.doorCol, landmarks.keyRow, landmarks.keyCol, mazeSize);
}

} // namespace game
