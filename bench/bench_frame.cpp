// One complete corridor frame (clear, mode 8, depth scan with its facing walls) at the
// slowest positions of the largest level, with the X-ray aid off and on.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/items.h"
#include "core/level_reader.h"
#include "core/maze.h"
#include "core/state.h"
#include "services/platform/headless/headless_platform.h"
#include "services/services.h"
#include "view/view.h"

namespace {

using game::i16;

struct Position {
    int row = 0, col = 0, heading = 0;
};

struct Frame {
    svc::HeadlessPlatform platform;
    std::unique_ptr<svc::Services> services;
    std::unique_ptr<game::GameState> st = std::make_unique<game::GameState>();

    explicit Frame(bool xray)
    {
        platform.set_time_of_day(12, 0, 30); // away from the minute beat
        services = std::make_unique<svc::Services>(platform);
        game::LevelState& lv = st->level;
        lv.reader.restore_level(*services, 10);
        game::read_header(*services, lv);
        game::load_level_maze(*services, lv);
        lv.wallColour = svc::kBrown;
        // The scanning tones wait for the tone queue in play; they are sound, not drawing.
        st->sound.silentMode = 1;
        st->player.xrayOn = xray ? 1 : 0;
        const std::string trees = std::string(MUV_DATA_DIR) + "/alber.grh";
        if (std::filesystem::exists(trees)) {
            services->load_block_file(trees, game::words(st->pictures.exitTreesBlock));
        }
    }

    void place(const Position& p) { game::place_player(*st, p.row, p.col, p.heading); }

    void run()
    {
        services->clear_screen();
        services->set_screen_mode(svc::kMode640x200);
        view::DepthScan(*services, *st);
    }

    // True for a position whose frame changes nothing of the game (a key right in front
    // would be taken), so it can be drawn again and again.
    bool repeatable(const Position& p) const
    {
        const game::MazeGrid& m = st->level.maze;
        const game::Step ahead = game::heading_step(p.heading);
        return m(*services, p.row, p.col) == game::kOpenCell &&
               m(*services, p.row + ahead.row, p.col + ahead.col) != game::kKeyCell;
    }

    // The position whose frame takes longest (best of five runs each).
    Position slowest()
    {
        Position worst;
        double worstNs = -1;
        const int n = st->level.mazeSize;
        for (int r = 1; r <= n; ++r) {
            for (int c = 1; c <= n; ++c) {
                for (int h = 0; h < 4; ++h) {
                    const Position p{r, c, h};
                    if (!repeatable(p)) {
                        continue;
                    }
                    place(p);
                    double best = 1e18;
                    for (int k = 0; k < 5; ++k) {
                        const auto t0 = std::chrono::steady_clock::now();
                        run();
                        const auto t1 = std::chrono::steady_clock::now();
                        best = std::min(best,
                                        std::chrono::duration<double, std::nano>(t1 - t0).count());
                    }
                    if (best > worstNs) {
                        worstNs = best;
                        worst = p;
                    }
                }
            }
        }
        return worst;
    }
};

// Searched once per mode, so that every repetition draws the same frame.
Position slowest_position(bool xray)
{
    static std::optional<Position> found[2];
    std::optional<Position>& slot = found[xray ? 1 : 0];
    if (!slot) {
        Frame f(xray);
        slot = f.slowest();
    }
    return *slot;
}

void BM_Frame(benchmark::State& state)
{
    const bool xray = state.range(0) == 1;
    Frame f(xray);
    const Position p = slowest_position(xray);
    f.place(p);
    for (auto _ : state) {
        f.run();
        benchmark::DoNotOptimize(f.services->screen().pixel(320, 100));
    }
    state.counters["row"] = p.row;
    state.counters["col"] = p.col;
    state.counters["heading"] = p.heading;
    state.SetLabel(xray ? "X-ray on" : "X-ray off");
}
BENCHMARK(BM_Frame)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace
