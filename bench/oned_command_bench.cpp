// The whole 1-D command, load excluded: transform, post-processing, picture, annotations.
// Run one case per process (--benchmark_filter) to read its peak memory.
#include "spectrogram/oned_command.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>
#include <sys/resource.h>

namespace {

class TSilentProgress : public TCommandProgress {
public:
    void SetStatusText(const std::string&) override {}
    void ProcessPendingMessages() override {}
};

TDataTable SyntheticTable(int series, int samples)
{
    TDataTable table;
    table.AddColumn("N", ckNumber);
    for (int k = 0; k < series; ++k)
        table.AddColumn("S" + std::to_string(k), ckNumber);
    table.Open();
    table.ReserveRows(static_cast<std::size_t>(samples));
    std::vector<double> row(static_cast<std::size_t>(series) + 1);
    const std::vector<std::uint8_t> full(row.size(), 0);
    for (int i = 0; i < samples; ++i) {
        row[0] = i + 1;
        for (int k = 0; k < series; ++k)
            row[k + 1] = std::sin(i * (0.01 + 0.003 * k)) + 0.3 * std::sin(i * 0.17);
        table.AppendRow(row, full);
    }
    return table;
}

void BM_DoTulvo1D(benchmark::State& state)
{
    const TDataTable table = SyntheticTable(static_cast<int>(state.range(0)),
                                            static_cast<int>(state.range(1)));
    TAnalysisParams p;
    p.Steps = static_cast<int>(state.range(2));
    p.WaveletKind = state.range(3) == 1 ? wkMorlet : wkGaussian;
    TFixedParameters params(p);
    TSilentProgress progress;
    for (auto _ : state) {
        std::optional<QImage> picture = DoTulvo1D(table, params, progress);
        benchmark::DoNotOptimize(picture);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.SetLabel(state.range(3) == 1 ? "morlet" : "gauss");
}

} // namespace

BENCHMARK(BM_DoTulvo1D)
    ->ArgNames({"series", "samples", "steps", "wavelet"})
    ->Args({1, 100000, 100, 0})
    ->Args({1, 100000, 100, 1})
    ->Args({1, 100000, 1000, 0})
    ->Args({1, 100000, 1000, 1})
    ->Args({8, 10000, 300, 0})
    ->Args({8, 10000, 300, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
