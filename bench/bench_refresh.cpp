// The window refresh: turning the indexed screen image into 32-bit pixels.
#include <benchmark/benchmark.h>

#include <vector>

#include "services/video/screen_image.h"
#include "services/video/screen_picture.h"

namespace {

void fill_pattern(svc::ScreenImage& s)
{
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            s.set_pixel(x, y, static_cast<std::uint8_t>((x * 7 + y) & 15));
        }
    }
}

void BM_Refresh(benchmark::State& state)
{
    svc::ScreenImage s;
    s.reset(static_cast<int>(state.range(0)));
    if (!s.text_mode()) {
        fill_pattern(s);
    }
    std::vector<std::uint32_t> out;
    int w = 0;
    int h = 0;
    for (auto _ : state) {
        svc::render_screen(s, out, w, h);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h));
}

} // namespace

BENCHMARK(BM_Refresh)->Arg(8)->Arg(12)->Arg(0)->Unit(benchmark::kMicrosecond);
