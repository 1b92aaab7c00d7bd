// Filling the labyrinth grid from the level table.
#include "core/maze.h"

#include "core/state.h"
#include "services/common/errors.h"

namespace game {
namespace {

bool in_grid(int index)
{
    return index >= 0 && index <= kMazeBound;
}

} // namespace

char MazeGrid::operator()(svc::ErrorSink& errors, int row, int col) const
{
    if (!in_grid(row) || !in_grid(col)) {
        errors.raise(svc::kSubscriptOutOfRange);
        return 0;
    }
    return cells[row][col];
}

void MazeGrid::set(svc::ErrorSink& errors, int row, int col, char cell)
{
    if (!in_grid(row) || !in_grid(col)) {
        errors.raise(svc::kSubscriptOutOfRange);
        return;
    }
    cells[row][col] = cell;
}

bool read_header(svc::ErrorSink& errors, LevelState& lv)
{
    LevelReader& reader = lv.reader;
    return reader.read_number(errors, lv.mazeSize) && reader.read_string(errors, lv.levelName) &&
           reader.read_number(errors, lv.startRow) && reader.read_number(errors, lv.startCol) &&
           reader.read_number(errors, lv.minutesLeft) &&
           reader.read_number(errors, lv.secondsLeft) && reader.read_number(errors, lv.faceColour);
}

bool load_level_maze(svc::ErrorSink& errors, LevelState& lv)
{
    // A size beyond the grid would write past it; refuse it before reading anything.
    if (lv.mazeSize > kMazeBound) {
        errors.raise(svc::kSubscriptOutOfRange);
        return false;
    }
    for (int i = 1; i <= lv.mazeSize; ++i) {
        if (!lv.reader.read_string(errors, lv.rows[i])) {
            return false;
        }
    }
    for (int i = 1; i <= lv.mazeSize; ++i) {
        const std::string& row = lv.rows[i];
        for (int j = 1; j <= lv.mazeSize; ++j) {
            // The j-th character; a row too short gives the empty string, as a middle part does.
            const char cell = j <= static_cast<int>(row.size()) ? row[j - 1] : 0;
            lv.maze.cells[i][j] = cell;
            const auto r = static_cast<i16>(i);
            const auto c = static_cast<i16>(j);
            if (cell == kExitCell) {
                lv.exitRow = r;
                lv.exitCol = c;
            } else if (cell == kDoorCell) {
                lv.doorRow = r;
                lv.doorCol = c;
            } else if (cell == kKeyCell) {
                lv.keyRow = r;
                lv.keyCol = c;
            }
        }
    }
    return true;
}

} // namespace game
