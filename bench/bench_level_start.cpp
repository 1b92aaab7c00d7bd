// A level start's loading: the thirteen level pictures from the data folder and the maze of
// the largest level from the level table.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "core/level_pictures.h"
#include "core/level_reader.h"
#include "core/maze.h"
#include "core/state.h"
#include "services/platform/headless/headless_platform.h"
#include "services/services.h"

namespace {

void BM_LevelStart(benchmark::State& state)
{
    svc::HeadlessPlatform platform;
    platform.set_time_of_day(12, 0, 30);
    auto services = std::make_unique<svc::Services>(platform);
    svc::Services& sv = *services;
    auto st = std::make_unique<game::GameState>();
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(MUV_DATA_DIR); // the game reads its pictures from here
    game::Pictures& p = st->pictures;
    game::LevelState& lv = st->level;
    for (auto _ : state) {
        game::load_level_pictures(sv, p);
        lv.reader.restore_level(sv, 10);
        game::read_header(sv, lv);
        game::load_level_maze(sv, lv);
        if (sv.pending_error() != 0) {
            state.SkipWithError("a picture or the maze did not load");
            break;
        }
        benchmark::DoNotOptimize(lv.maze);
    }
    std::filesystem::current_path(previous);
}

} // namespace

BENCHMARK(BM_LevelStart)->Unit(benchmark::kMicrosecond);
