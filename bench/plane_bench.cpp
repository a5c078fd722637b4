// Speed of the 2-D numerics: one Morlet orientation of a large plane through the filter's own
// operation, two side by side as the 2-D command computes them, the contrast pass of a frame,
// and that of a 1-D coefficient matrix.
#include "plane/bitmap_filter.h"
#include "plane/contrast.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A smooth picture with some texture, so that no stage sees only zeros.
void LoadTestPicture(TBitmapFilter& filter)
{
    for (int r = 0; r < filter.Rows(); ++r)
        for (int c = 0; c < filter.Cols(); ++c) {
            const double texture = 0.2 * ((r * 7 + c * 3) % 5) / 5;
            filter.Work()[static_cast<std::size_t>(r) * filter.Cols() + c] = {
                0.5 + 0.3 * std::sin(r * 0.05) * std::cos(c * 0.11) + texture, 0.0};
        }
}

void BM_FilterMorletOrientation(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    TBitmapFilter filter(side, side);
    LoadTestPicture(filter);
    const TMorlet2D morlet(6, 1);
    filter.Filter(morlet, foRealPart, 4.0, 0.0); // fixes the spectrum cache outside the timing
    int orientation = 0;
    for (auto _ : state) {
        filter.Filter(morlet, foRealPart, 4.0, orientation * kPi / 6);
        orientation = (orientation + 1) % 12;
        benchmark::DoNotOptimize(filter.Work());
    }
    state.SetItemsProcessed(state.iterations() * filter.Count());
}

// The 2-D command's unit of work: two orientations side by side, normalised (logarithm),
// optionally contrasted, clipped and summed.
void BM_FusedMorletOrientations(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    const bool contrast = state.range(1) != 0;
    TBitmapFilter filter(side, side);
    LoadTestPicture(filter);
    const TMorlet2D morlet(6, 1);
    const TContrastKernel kernel(side, side);
    filter.ResetAccumulator();
    int orientation = 0;
    for (auto _ : state) {
        const TBitmapFilter::TOrientation o[2] = {
            {4.0, orientation * kPi / 6, 0, contrast ? &kernel : nullptr},
            {4.0, (orientation + 1) * kPi / 6, 0, contrast ? &kernel : nullptr}};
        filter.FilterOrientations(morlet, foRealPart, o, 2, nullptr, 0);
        filter.AccumulateOrientations(0, 2, orientation == 10);
        orientation = (orientation + 2) % 12;
    }
    state.SetItemsProcessed(state.iterations() * 2 * filter.Count());
}

void BM_ContrastPass(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    TBitmapFilter filter(side, side);
    for (auto _ : state) {
        state.PauseTiming();
        LoadTestPicture(filter);
        state.ResumeTiming();
        ContrastPass(filter);
        benchmark::DoNotOptimize(filter.Work());
    }
    state.SetItemsProcessed(state.iterations() * filter.Count());
}

void BM_ApplyWaveletContrast(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const int cols = static_cast<int>(state.range(1));
    std::vector<double> source(static_cast<std::size_t>(rows) * cols);
    for (int k = 0; k < rows; ++k)
        for (int j = 0; j < cols; ++j)
            source[static_cast<std::size_t>(k) * cols + j] = std::sin(j * (k + 1) * 0.002);
    std::vector<double> matrix;
    for (auto _ : state) {
        state.PauseTiming();
        matrix = source;
        state.ResumeTiming();
        ApplyWaveletContrast(rows, cols, matrix);
        benchmark::DoNotOptimize(matrix.data());
    }
    state.SetItemsProcessed(state.iterations() * rows * cols);
}

} // namespace

BENCHMARK(BM_FilterMorletOrientation)->ArgName("side")->Arg(512)->Arg(1024)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FusedMorletOrientations)->ArgNames({"side", "contrast"})
    ->Args({512, 0})->Args({1024, 0})->Args({1024, 1})->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ContrastPass)->ArgName("side")->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyWaveletContrast)->ArgNames({"scales", "samples"})->Args({100, 4096})
    ->Unit(benchmark::kMillisecond);
