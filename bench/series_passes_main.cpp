// The post-processing passes of one long series (PostProcessRows: the output quantity and the
// colour levels of a 1000 x 100 000 matrix) beside a memory floor of the same size, in one
// run: one read of every value and one byte written for it, on the same pool of threads.
//
//     bench_series_passes [--repeat N]
//
// Each time is the median of N runs (default 5) on a fresh copy of the transform's matrix;
// the machine is shared, so read the ratios.

#include "bench/timing.h"
#include "engine/analysis_kinds.h"
#include "engine/parallel_rows.h"
#include "engine/scales.h"
#include "engine/transformer1d.h"
#include "spectrogram/series_passes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int kSamples = 100000;
constexpr int kSteps = 1000;

// The raw matrix of the difference of Gaussians over the default scales, with the row
// statistics the transform gathers for `moments`.
struct TRawMatrix {
    std::vector<double> Values;
    std::vector<TBlockStats> RowStats;
};

TRawMatrix Transformed(bool moments)
{
    std::vector<double> series(kSamples);
    for (int i = 0; i < kSamples; ++i)
        series[i] = std::sin(i * 0.01) + 0.3 * std::sin(i * 0.17) + 0.05 * std::sin(i * i * 1e-7);
    const T1WaveTransformer transformer(kSamples);
    const TSDog1D wave(1.25);
    const std::vector<double> scales = ScaleGrid(2, 100, 1, kSteps);
    TRawMatrix raw{std::vector<double>(static_cast<std::size_t>(kSamples) * kSteps),
                   std::vector<TBlockStats>(kSteps)};
    TRowsRequest request;
    request.Series = series.data();
    request.Scales = &scales;
    request.Coefs = raw.Values.data();
    request.RowStats = &raw.RowStats;
    request.Moments = moments;
    TransformRows(transformer, wave, request);
    return raw;
}

// Reads every value once and writes a byte for it: what no pass over the matrix can beat.
double MemoryFloor(const std::vector<double>& values, std::vector<std::uint8_t>& levels)
{
    return Seconds([&] {
        ForEachRowRange(kSteps, 1, [&](std::size_t begin, std::size_t end) {
            for (std::size_t k = begin; k < end; ++k) {
                const double* row = values.data() + k * kSamples;
                std::uint8_t* out = levels.data() + k * kSamples;
                for (std::size_t j = 0; j < kSamples; ++j)
                    out[j] = row[j] > 0;
            }
        });
    });
}

double PassesTime(const TRawMatrix& raw, int outputKind, bool keepValues,
                  std::vector<double>& work, std::vector<std::uint8_t>& levels)
{
    std::copy(raw.Values.begin(), raw.Values.end(), work.begin());
    std::vector<TBlockStats> stats = raw.RowStats;
    const TSeriesMatrix m{work.data(), kSteps, kSamples, &stats};
    return Seconds([&] { PostProcessRows(m, outputKind, keepValues, {levels.data(), kSamples}); });
}

} // namespace

int main(int argc, char** argv)
{
    int repeat = 5;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
    const struct {
        const char* Name;
        int Kind;
    } outputs[] = {{"logreal", okLogRealPart}, {"real", okRealPart}, {"stddev", okRealByStdDev}};
    std::vector<double> work(static_cast<std::size_t>(kSamples) * kSteps);
    std::vector<std::uint8_t> levels(work.size());
    std::printf("%d x %d values, median of %d\n", kSteps, kSamples, repeat);
    std::printf("output   values kept  floor s   passes s (x)\n");
    for (const auto& output : outputs) {
        const TRawMatrix raw = Transformed(NeedsMoments(output.Kind));
        for (const bool keep : {false, true}) {
            std::vector<double> floor, passes;
            for (int r = 0; r < repeat; ++r) {
                floor.push_back(MemoryFloor(raw.Values, levels));
                passes.push_back(PassesTime(raw, output.Kind, keep, work, levels));
            }
            const double f = Median(floor), p = Median(passes);
            std::printf("%-8s %-12s %7.3f  %7.3f (%5.2fx)\n", output.Name, keep ? "yes" : "no",
                        f, p, p / f);
        }
    }
    return 0;
}
