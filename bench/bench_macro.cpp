// Music-macro synthesis of the game's longest tune: the victory fanfare.
#include <benchmark/benchmark.h>

#include "services/audio/macro.h"

namespace {

void BM_MacroVictory(benchmark::State& state)
{
    for (auto _ : state) {
        svc::MacroState settings; // as at program start, so each pass makes the same tune
        auto tune = svc::synth_macro("L16abababababababababababababab", settings);
        if (!tune) {
            state.SkipWithError("the fanfare did not parse");
            break;
        }
        benchmark::DoNotOptimize(tune);
    }
}

} // namespace

BENCHMARK(BM_MacroVictory)->Unit(benchmark::kMicrosecond);
