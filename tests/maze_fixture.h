// Test helpers for movement and the view: a game on a built-in level or on a small maze drawn
// by hand, on the headless platform, with screen counts and the pitch of recorded tones.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/core/items.h"
#include "game/core/maze.h"
#include "services/block_codec.h"
#include "services/tone_synth.h"
#include "tests/support/harness.h"
#include "view/view.h"

namespace maze_fixture {

using game::i16;

// A game state on the headless platform, away from the wall clock's minute beat.
struct Game {
    testing_support::Harness h{12, 0, 30};
    std::unique_ptr<game::GameState> owned = std::make_unique<game::GameState>();
    game::GameState& st = *owned;

    svc::Services& sv() { return h.sv(); }
    svc::HeadlessAudio& audio() { return h.platform.audio; }

    // As the frame loop: clear, mode 8, scan.
    view::ScanOutcome frame()
    {
        sv().clear_screen();
        sv().set_screen_mode(8);
        return view::DepthScan(sv(), st);
    }
    void key(char k) { game::ApplyMovementKey(sv(), st, k); }

    // Puts the player (and the scan) on a cell, facing 0 north, 1 west, 2 south or 3 east.
    void place(int row, int col, int heading) { game::place_player(st, row, col, heading); }

    // Level k of the built-in table as a level start leaves it: on the start cell, north.
    bool load_level(int level)
    {
        static constexpr i16 kWallColours[10] = {1, 2, 3, 6, 2, 3, 6, 2, 3, 6};
        game::LevelState& lv = st.level;
        if (level > 1) {
            lv.reader.restore_level(level);
        }
        lv.wallColour = kWallColours[level - 1];
        const bool read = game::read_header(lv) && game::load_level_maze(lv);
        place(lv.startRow, lv.startCol, 0);
        return read;
    }

    // A square maze from rows of '#' wall, '.' open, 'X' exit, 'c' key, 'D' door; outlines
    // and floor in colour 11, side walls in colour 2.
    void hand_maze(const std::vector<std::string>& rows)
    {
        game::LevelState& lv = st.level;
        lv.mazeSize = static_cast<i16>(rows.size());
        lv.faceColour = 11;
        lv.wallColour = 2;
        for (int r = 1; r <= lv.mazeSize; ++r) {
            for (int c = 1; c <= lv.mazeSize; ++c) {
                const char cell = rows[r - 1][c - 1];
                if (cell == 'X') {
                    lv.exitRow = static_cast<i16>(r);
                    lv.exitCol = static_cast<i16>(c);
                }
                lv.maze.set(r, c,
                            cell == '#'   ? game::kWallCell
                            : cell == '.' ? game::kOpenCell
                            : cell == 'D' ? game::kDoorCell
                                          : cell);
            }
        }
    }

    // Pixels of one colour in the rectangle (x0, y0)-(x1, y1), inclusive.
    int count(int colour, int x0, int y0, int x1, int y1)
    {
        int n = 0;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                n += h.screen().pixel(x, y) == colour ? 1 : 0;
            }
        }
        return n;
    }

    // The pitches of the tones started from index `from` on (silent buffers left out), after
    // the tone queue has had time to start everything queued: whole cycles over the length.
    std::vector<double> pitches(std::size_t from)
    {
        h.platform.advance(3000);
        std::vector<double> out;
        for (std::size_t t = from; t < audio().tones.size(); ++t) {
            const std::vector<std::int16_t>& f = audio().tones[t].frames;
            int cycles = f.size() >= 2 && f[0] > 0 ? 1 : 0;
            for (std::size_t i = 2; i < f.size(); i += 2) {
                cycles += f[i - 2] <= 0 && f[i] > 0 ? 1 : 0;
            }
            if (cycles > 0) {
                out.push_back(cycles * 2.0 * svc::kToneRate / static_cast<double>(f.size()));
            }
        }
        return out;
    }
};

// A w x h picture of one colour in a picture buffer, as a level start would load it.
inline void solid_picture(std::vector<std::int16_t>& buffer, int w, int h, std::uint8_t colour)
{
    const std::vector<std::uint8_t> indices(static_cast<std::size_t>(w * h), colour);
    const std::vector<std::uint8_t> block = svc::encode_block(w, h, indices.data());
    std::fill(buffer.begin(), buffer.end(), 0);
    std::copy(block.begin(), block.end(), reinterpret_cast<std::uint8_t*>(buffer.data()));
}

} // namespace maze_fixture
