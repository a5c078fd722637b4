// Speed of the 1-D transform: a long series over few scales and a short one over many.
#include "engine/analysis_kinds.h"
#include "engine/transformer1d.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {

std::unique_ptr<TWave1D> MakeWave(int kind)
{
    if (kind == 1)
        return std::make_unique<TMorlet1D>(6, 1);
    return std::make_unique<TSDog1D>(1.25);
}

void BM_WaveletTransform1D(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const int steps = static_cast<int>(state.range(1));
    const auto wave = MakeWave(static_cast<int>(state.range(2)));
    std::vector<double> series(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j)
        series[j] = 0.5 + 0.5 * std::sin(j * 0.01) * std::cos(j * 0.0007);
    const T1WaveTransformer transformer(n);
    std::vector<double> coefs;
    for (auto _ : state) {
        WaveletTransform1D(transformer, steps, *wave, 100, 1, series, true, ssLogarithmic,
                           false, coefs);
        benchmark::DoNotOptimize(coefs.data());
    }
    state.SetLabel(state.range(2) == 1 ? "morlet" : "dog");
    state.SetItemsProcessed(state.iterations() * n * steps);
}

} // namespace

BENCHMARK(BM_WaveletTransform1D)
    ->ArgNames({"n", "steps", "wavelet"})
    ->Args({65536, 100, 0})
    ->Args({65536, 100, 1})
    ->Args({4096, 1000, 0})
    ->Args({4096, 1000, 1})
    ->Unit(benchmark::kMillisecond);
