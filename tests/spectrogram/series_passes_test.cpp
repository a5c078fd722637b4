#include "engine/analysis_kinds.h"
#include "picture/palette.h"
#include "spectrogram/series_passes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace {

// Rows of an odd length, so that every row ends with values the four-lane loops leave over,
// and with a wide spread, so that clipping and the low end of the logarithm both happen.
constexpr std::size_t kRows = 5;
constexpr std::size_t kCols = 37;

std::vector<double> RawMatrix()
{
    std::vector<double> v(kRows * kCols);
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = 40 * std::sin(0.7 * i) * std::exp(-0.02 * i) + (i % 11 == 0 ? 300.0 : 0.0);
    return v;
}

struct TPassesResult {
    std::vector<double> Values;
    std::vector<std::uint8_t> Levels; // rows of kCols + 3 bytes: the picture's stride
};

constexpr std::ptrdiff_t kStride = kCols + 3;
constexpr int kUnknownKind = 7;

TPassesResult RunPasses(int outputKind, bool keepValues)
{
    TPassesResult r{RawMatrix(), std::vector<std::uint8_t>(kRows * kStride, 99)};
    std::vector<TBlockStats> stats(kRows);
    for (std::size_t k = 0; k < kRows; ++k)
        stats[k] = BlockStatsOf(r.Values.data() + k * kCols, kCols, NeedsMoments(outputKind));
    const TSeriesMatrix m{r.Values.data(), kRows, kCols, &stats};
    PostProcessRows(m, outputKind, keepValues, {r.Levels.data(), kStride});
    return r;
}

// The output quantities by the engine's whole-matrix normalisations.
const struct {
    int Kind;
    std::function<void(std::vector<double>&)> Reference;
} kOutputs[] = {
    {okLogRealPart, [](std::vector<double>& v) { NormalizeLog(v); ClipNormalize(v, 3.5L); }},
    {okRealPart, [](std::vector<double>& v) { ClipNormalize(v, 3.5L); }},
    {okPhase, [](std::vector<double>& v) { ClipNormalize(v, 1.5L); }},
    {okRealByStdDev, [](std::vector<double>& v) { NormalizeStdDev(v); }},
};

TEST(PostProcessRows, KeepsTheValuesOfTheWholeMatrixNormalisations)
{
    for (const auto& output : kOutputs) {
        SCOPED_TRACE(output.Kind);
        std::vector<double> expected = RawMatrix();
        output.Reference(expected);
        const TPassesResult r = RunPasses(output.Kind, true);
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_NEAR(expected[i], r.Values[i], 1e-9) << "value " << i;
    }
}

// The levels are those of the final values, in the picture's rows and nowhere else, whether
// the values are kept or not; for an unknown kind they are those of the raw values.
TEST(PostProcessRows, WritesTheLevelsOfTheFinalValuesIntoThePictureRows)
{
    for (const int kind : {int{okLogRealPart}, int{okRealPart}, int{okPhase}, int{okRealByStdDev},
                           kUnknownKind}) {
        SCOPED_TRACE(kind);
        const TPassesResult kept = RunPasses(kind, true);
        const std::vector<double> finals = kind == kUnknownKind ? RawMatrix() : kept.Values;
        for (std::size_t k = 0; k < kRows; ++k) {
            for (std::size_t j = 0; j < kCols; ++j)
                ASSERT_EQ(ColorIndex(finals[k * kCols + j]), kept.Levels[k * kStride + j])
                    << "row " << k << " column " << j;
            for (std::ptrdiff_t j = kCols; j < kStride; ++j)
                ASSERT_EQ(99, kept.Levels[k * kStride + j]) << "row " << k << " padding";
        }
        EXPECT_EQ(kept.Levels, RunPasses(kind, false).Levels);
    }
}

} // namespace
