// The status panel's cost (one call per idle pass), and one whole frame of level 1 plus panel.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/level_reader.h"
#include "core/maze.h"
#include "core/state.h"
#include "game/flow.h"
#include "screens/status_panel.h"
#include "services/platform/headless/headless_platform.h"
#include "services/services.h"
#include "view/view.h"

namespace {

// Level 1 at its start, facing north by day, with the level's seagull and tree pictures.
struct Game {
    svc::HeadlessPlatform platform;
    std::unique_ptr<svc::Services> services;
    std::unique_ptr<game::GameState> st = std::make_unique<game::GameState>();

    Game()
    {
        platform.set_time_of_day(12, 0, 30); // away from the minute beat
        services = std::make_unique<svc::Services>(platform);
        game::GameState& s = *st;
        game::LevelState& lv = s.level;
        game::read_header(*services, lv);
        game::load_level_maze(*services, lv);
        lv.levelNumber = 1;
        lv.wallColour = svc::kBlue;
        s.player.playerRow = lv.startRow;
        s.player.playerCol = lv.startCol;
        s.scan.facingDepth = -20; // every seagull in view
        const std::string dir = MUV_DATA_DIR;
        for (auto [name, buffer] :
             {std::pair{"gab.grh", &s.pictures.gab}, std::pair{"gab2.grh", &s.pictures.gab2},
              std::pair{"gab3.grh", &s.pictures.gab3}, std::pair{"gab4.grh", &s.pictures.gab4},
              std::pair{"alber.grh", &s.pictures.exitTreesBlock}}) {
            if (std::filesystem::exists(dir + "/" + name)) {
                services->load_block_file(dir + "/" + name, game::words(*buffer));
            }
        }
        services->set_screen_mode(svc::kMode640x200);
    }
};

void BM_StatusPanel(benchmark::State& state)
{
    Game g;
    for (auto _ : state) {
        screens::DrawStatusPanel(*g.services, *g.st);
        benchmark::DoNotOptimize(g.services->screen().pixel(530, 60));
    }
}
BENCHMARK(BM_StatusPanel);

void BM_FrameAndPanel(benchmark::State& state)
{
    Game g;
    svc::Services& sv = *g.services;
    game::GameState& st = *g.st;
    for (auto _ : state) {
        view::DrawFrame(sv, st);
        screens::DrawStatusPanel(sv, st);
        benchmark::DoNotOptimize(sv.screen().pixel(320, 100));
    }
}
BENCHMARK(BM_FrameAndPanel);

} // namespace
