// Test helpers for movement and the view: a game state on a built-in level or on a small maze
// drawn by hand, screen counts and the pitch of recorded tones.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "game/level_reader.h"
#include "game/maze.h"
#include "game/state.h"
#include "services/block_codec.h"
#include "services/headless_audio.h"
#include "services/services.h"
#include "services/tone_synth.h"

namespace maze_fixture {

using game::GameState;
using game::i16;

// Faces the player along a heading (0 north, 1 west, 2 south, 3 east).
inline void face(GameState& st, int heading)
{
    static constexpr i16 kStep[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    st.player.heading = static_cast<i16>(heading);
    st.player.stepRow = kStep[heading][0];
    st.player.stepCol = kStep[heading][1];
}

// Puts the player (and the scan) on a cell.
inline void place(GameState& st, int row, int col, int heading)
{
    st.player.playerRow = st.scan.scanRow = static_cast<i16>(row);
    st.player.playerCol = st.scan.scanCol = static_cast<i16>(col);
    face(st, heading);
}

// Level k of the built-in table as a level start leaves it: player on the start cell facing
// north, the day's sky, the level's wall colour.
inline bool load_level(GameState& st, int level)
{
    static constexpr i16 kWallColours[10] = {1, 2, 3, 6, 2, 3, 6, 2, 3, 6};
    game::LevelState& lv = st.level;
    if (level > 1) {
        lv.reader.restore_level(level);
    }
    if (!game::read_level_header(lv.reader, lv.mazeSize, lv.levelName, lv.startRow, lv.startCol,
                                 lv.minutesLeft, lv.secondsLeft, lv.faceColour) ||
        !game::load_maze(lv.reader, lv.maze, lv.rows, lv.exitRow, lv.exitCol, lv.doorRow,
                         lv.doorCol, lv.keyRow, lv.keyCol, lv.mazeSize)) {
        return false;
    }
    lv.levelNumber = static_cast<i16>(level);
    lv.wallColour = kWallColours[level - 1];
    place(st, lv.startRow, lv.startCol, 0);
    return true;
}

// A square maze from rows written with '#' wall, '.' open, 'X' exit, 'c' key, 'D' door.
inline void hand_maze(GameState& st, const std::vector<std::string>& rows, i16 faceColour = 11,
                      i16 wallColour = 2)
{
    game::LevelState& lv = st.level;
    lv.mazeSize = static_cast<i16>(rows.size());
    lv.faceColour = faceColour;
    lv.wallColour = wallColour;
    for (int r = 1; r <= lv.mazeSize; ++r) {
        for (int c = 1; c <= lv.mazeSize; ++c) {
            char cell = rows[r - 1][c - 1];
            const auto at = [&](i16& row, i16& col) {
                row = static_cast<i16>(r);
                col = static_cast<i16>(c);
            };
            switch (cell) {
            case '#':
                cell = game::kWallCell;
                break;
            case '.':
                cell = game::kOpenCell;
                break;
            case 'D':
                cell = game::kDoorCell;
                at(lv.doorRow, lv.doorCol);
                break;
            case 'X':
                at(lv.exitRow, lv.exitCol);
                break;
            case 'c':
                at(lv.keyRow, lv.keyCol);
                break;
            default:
                break;
            }
            lv.maze.set(r, c, cell);
        }
    }
}

// A w x h picture of one colour, put into a picture buffer as a level start would load it.
inline void solid_picture(std::vector<std::int16_t>& buffer, int w, int h, std::uint8_t colour)
{
    const std::vector<std::uint8_t> indices(static_cast<std::size_t>(w * h), colour);
    const std::vector<std::uint8_t> block = svc::encode_block(w, h, indices.data());
    std::fill(buffer.begin(), buffer.end(), 0);
    for (std::size_t i = 0; i < block.size(); ++i) {
        reinterpret_cast<std::uint8_t*>(buffer.data())[i] = block[i];
    }
}

// Pixels of one colour in the rectangle (x0, y0)-(x1, y1), inclusive.
inline int count_colour(const svc::ScreenImage& img, int colour, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            n += img.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

// The pitch of a recorded tone: whole cycles (rising zero crossings) over its length.
inline double tone_hz(const svc::HeadlessAudio::Tone& tone)
{
    const std::size_t frames = tone.frames.size() / 2;
    int cycles = frames > 0 && tone.frames[0] > 0 ? 1 : 0;
    for (std::size_t i = 1; i < frames; ++i) {
        cycles += tone.frames[2 * (i - 1)] <= 0 && tone.frames[2 * i] > 0 ? 1 : 0;
    }
    return frames == 0 ? 0 : cycles * static_cast<double>(svc::kToneRate) / frames;
}

// The pitches of the tones started since index `from`, silent buffers left out.
inline std::vector<double> pitches(const svc::HeadlessAudio& audio, std::size_t from = 0)
{
    std::vector<double> out;
    for (std::size_t i = from; i < audio.tones.size(); ++i) {
        const double hz = tone_hz(audio.tones[i]);
        if (hz > 0) {
            out.push_back(hz);
        }
    }
    return out;
}

} // namespace maze_fixture
