// Line and ellipse drawing speed: one view's worth of lines, a full-width diagonal, a sun.
#include <benchmark/benchmark.h>

#include <vector>

#include "services/platform/headless/headless_platform.h"
#include "services/services.h"

namespace {

struct Line {
    float x1, y1, x2, y2;
};

// About what one frame of the corridor draws: nested cell outlines shrinking towards the
// vanishing point, their floor lines and the diagonals joining them (150 lines).
std::vector<Line> view_lines()
{
    std::vector<Line> lines;
    const float cx = 230, cy = 110;
    for (int depth = 0; depth < 10; ++depth) {
        const float half = 200.0f / static_cast<float>(depth + 1) + 3.5f;
        const float halfY = half * 0.45f;
        const float l = cx - half, r = cx + half, t = cy - halfY, b = cy + halfY;
        lines.push_back({l, t, r, t});
        lines.push_back({r, t, r, b});
        lines.push_back({r, b, l, b});
        lines.push_back({l, b, l, t});
        const float nextHalf = 200.0f / static_cast<float>(depth + 2) + 3.5f;
        const float nl = cx - nextHalf, nr = cx + nextHalf, nt = cy - nextHalf * 0.45f,
                    nb = cy + nextHalf * 0.45f;
        lines.push_back({l, t, nl, nt});
        lines.push_back({r, t, nr, nt});
        lines.push_back({l, b, nl, nb});
        lines.push_back({r, b, nr, nb});
        for (int k = 1; k <= 7; ++k) {
            const float f = static_cast<float>(k) / 8.0f;
            lines.push_back({l + (r - l) * f, b, nl + (nr - nl) * f, nb});
        }
    }
    return lines;
}

struct Bench {
    svc::HeadlessPlatform platform;
    svc::Services services{platform};
    Bench() { services.set_screen_mode(svc::kMode640x200); }
};

void BM_ViewLines(benchmark::State& state)
{
    Bench b;
    const std::vector<Line> lines = view_lines();
    for (auto _ : state) {
        for (const Line& l : lines) {
            b.services.draw_line(l.x1, l.y1, l.x2, l.y2);
        }
        benchmark::DoNotOptimize(b.services.screen().pixel(230, 110));
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_ViewLines);

void BM_FullDiagonal(benchmark::State& state)
{
    Bench b;
    for (auto _ : state) {
        b.services.draw_line(0, 0, 639, 199);
        benchmark::DoNotOptimize(b.services.screen().pixel(639, 199));
    }
}
BENCHMARK(BM_FullDiagonal);

void BM_Ellipse(benchmark::State& state)
{
    Bench b;
    for (auto _ : state) {
        b.services.draw_ellipse(500, 40, 21.5f);
        benchmark::DoNotOptimize(b.services.screen().pixel(500, 40));
    }
}
BENCHMARK(BM_Ellipse);

} // namespace
