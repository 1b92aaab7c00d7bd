// One complete corridor frame of level 10 in the browser build (WebAssembly), at a position
// given by bench/web_frame.mjs (bench_frame finds the slowest on the desktop), for comparison
// with the desktop's figure. Prints "frame ROW COL HEADING XRAY: MEDIAN us".
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/items.h"
#include "core/level_reader.h"
#include "core/maze.h"
#include "core/state.h"
#include "services/services.h"
#include "view/view.h"

namespace {

// A platform with no window, clock or sound: only the drawing is measured.
struct Quiet final : svc::Platform {
    void start(svc::WindowTask&) override {}
    void stop() override {}
    bool threaded() const override { return false; }
    double ticks_ms() override { return 0; }
    bool local_time(svc::LocalTime& out) override
    {
        out = {};
        out.hours = 12;
        out.seconds = 30;
        return true;
    }
    void sleep_ms(double) override {}
    void yield() override {}
    void present(const std::uint32_t*, int, int, int, int, int, int) override {}
    bool poll_event(svc::PlatformEvent&) override { return false; }
    void cycle_fullscreen() override {}
    bool audio_open() override { return false; }
    void tone_start(const std::int16_t*, std::size_t) override {}
    bool tone_playing() override { return false; }
    bool play_sample_file(const std::string&) override { return false; }
    bool play_stream_file(const std::string&) override { return false; }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::printf("usage: web_frame ROW COL HEADING XRAY\n");
        return 2;
    }
    const int row = std::atoi(argv[1]), col = std::atoi(argv[2]), heading = std::atoi(argv[3]);
    const bool xray = std::atoi(argv[4]) != 0;
    Quiet platform;
    svc::Services sv(platform);
    auto st = std::make_unique<game::GameState>();
    game::LevelState& lv = st->level;
    lv.reader.restore_level(sv, 10);
    game::read_header(sv, lv);
    game::load_level_maze(sv, lv);
    lv.wallColour = svc::kBrown;
    st->sound.silentMode = 1;
    st->player.xrayOn = xray ? 1 : 0;
    sv.load_block_file("/data/alber.grh", game::words(st->pictures.exitTreesBlock));
    game::place_player(*st, row, col, heading);
    // The browser's clock is coarse (0.1 ms): each sample times a batch of frames.
    constexpr int kBatch = 200;
    std::vector<double> perFrame;
    for (int sample = 0; sample < 15; ++sample) {
        const double t0 = emscripten_get_now();
        for (int i = 0; i < kBatch; ++i) {
            sv.clear_screen();
            sv.set_screen_mode(svc::kMode640x200);
            view::DepthScan(sv, *st);
        }
        perFrame.push_back((emscripten_get_now() - t0) * 1000.0 / kBatch);
    }
    std::sort(perFrame.begin(), perFrame.end());
    std::printf("frame %d %d %d %d: %.1f us (fastest sample %.1f)\n", row, col, heading,
                xray ? 1 : 0, perFrame[perFrame.size() / 2], perFrame.front());
    return 0;
}
