// The spread of frame times over the largest level: one frame as play draws it (clear, mode 8,
// sky, stars, depth scan, status panel) at every open cell and heading of level 10, timed one
// by one; reports the median, the 99th percentile and the slowest frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "core/items.h"
#include "core/level_reader.h"
#include "core/maze.h"
#include "core/state.h"
#include "game/flow.h"
#include "screens/status_panel.h"
#include "services/platform/headless/headless_platform.h"
#include "services/services.h"
#include "view/view.h"

namespace {

using game::i16;

void BM_FrameSpread(benchmark::State& state)
{
    svc::HeadlessPlatform platform;
    platform.set_time_of_day(12, 0, 30); // away from the minute beat
    auto services = std::make_unique<svc::Services>(platform);
    svc::Services& sv = *services;
    auto st = std::make_unique<game::GameState>();
    game::LevelState& lv = st->level;
    lv.reader.restore_level(sv, 10);
    game::read_header(sv, lv);
    game::load_level_maze(sv, lv);
    lv.levelNumber = 10;
    lv.wallColour = svc::kBrown;
    st->sound.silentMode = 1; // the scanning tones are sound, not drawing

    std::vector<double> us;
    for (auto _ : state) {
        const int n = lv.mazeSize;
        for (int r = 1; r <= n; ++r) {
            for (int c = 1; c <= n; ++c) {
                for (int h = 0; h < 4; ++h) {
                    // A key right ahead would be taken, changing the level: skipped.
                    const game::Step ahead = game::heading_step(h);
                    if (lv.maze(sv, r, c) != game::kOpenCell ||
                        lv.maze(sv, r + ahead.row, c + ahead.col) == game::kKeyCell) {
                        continue;
                    }
                    game::place_player(*st, r, c, h);
                    const auto t0 = std::chrono::steady_clock::now();
                    view::DrawFrame(sv, *st);
                    screens::DrawStatusPanel(sv, *st);
                    const auto t1 = std::chrono::steady_clock::now();
                    us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
                }
            }
        }
    }
    if (us.empty()) {
        state.SkipWithError("no frame drawn");
        return;
    }
    std::sort(us.begin(), us.end());
    const auto at = [&](double q) { return us[static_cast<std::size_t>(q * (us.size() - 1))]; };
    state.counters["frames"] = static_cast<double>(us.size());
    state.counters["p50_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = us.back();
}

} // namespace

BENCHMARK(BM_FrameSpread)->Iterations(5)->Unit(benchmark::kMillisecond);
