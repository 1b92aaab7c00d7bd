// A level start's loading: the thirteen level pictures from the data folder and the maze of
// the largest level from the level table.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "game/core/level_reader.h"
#include "game/core/maze.h"
#include "game/core/state.h"
#include "services/platform_headless.h"
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
        sv.load_block_file("occhil.grh", game::words(p.occhil));
        sv.load_block_file("ocip.grh", game::words(p.ocip));
        sv.load_block_file("oc22.grh", game::words(p.oc22));
        sv.load_block_file("ochig.grh", game::words(p.ochig));
        sv.load_block_file("oc43.grh", game::words(p.oc43));
        sv.load_block_file("occh43.grh", game::words(p.occh43));
        sv.load_block_file("nu51.grh", game::words(p.cloudDay));
        sv.load_block_file("nuser.grh", game::words(p.cloudEvening));
        sv.load_block_file("gab.grh", game::words(p.gab));
        sv.load_block_file("gab2.grh", game::words(p.gab2));
        sv.load_block_file("gab3.grh", game::words(p.gab3));
        sv.load_block_file("gab4.grh", game::words(p.gab4));
        sv.load_block_file("alber.grh", game::words(p.exitTreesBlock));
        lv.reader.restore_level(10);
        game::read_header(lv);
        game::load_level_maze(lv);
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
