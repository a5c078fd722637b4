#include "spectrogram/oned_estimate.h"

#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"
#include "spectrogram/annotations.h"

#include <algorithm>

#include <string>

namespace {

// The transform keeps the series' spectrum and a work row, both complex.
constexpr std::size_t kTransformBuffers = 2;
constexpr std::size_t kComplexBytes = 2 * sizeof(double);

// Series whose matrix holds at most this many values go side by side, one a core: their rows
// are too few to share out, and a matrix more per core is little.
constexpr std::size_t kSideBySideValues = std::size_t{1} << 20;

// Shared weights of at most this many bytes: more would take much memory for a saving that
// is small beside the rest of each series' work.
constexpr std::size_t kSharedWeightsBytes = std::size_t{32} << 20;

// The wavelet's values at each bin and at its mirror, for every scale.
std::size_t WeightsBytes(int steps, std::size_t samples)
{
    const char* const what = "the wavelet weights";
    const std::size_t values =
        CheckedMul(static_cast<std::size_t>(std::max(steps, 0)), samples / 2 + 1, what);
    return CheckedMul(values, 2 * sizeof(double), what);
}

std::size_t SeriesCount(const TDataTable& table)
{
    return table.ColumnCount() > 1 ? static_cast<std::size_t>(table.ColumnCount() - 1) : 0;
}

} // namespace

TPictureSize OneDPictureSize(const TDataTable& table, int steps)
{
    const std::size_t bands =
        CheckedMul(SeriesCount(table), static_cast<std::size_t>(steps) + 1, "the picture");
    return {CheckedAdd(static_cast<std::size_t>(table.RowCount()), kFrameWidth, "the picture"),
            CheckedAdd(bands, kOneDLabelRows + kFrameHeight, "the picture")};
}

std::size_t OneDRunBytes(const TDataTable& table, int steps)
{
    const char* const what = "the 1-D run";
    const auto samples = static_cast<std::size_t>(table.RowCount());
    const std::size_t series = CheckedMul(CheckedMul(SeriesCount(table), samples, what),
                                          sizeof(double), what);
    const std::size_t lanes = OneDSeriesLanes(SeriesCount(table), steps, samples);
    const std::size_t matrix =
        CheckedMul(CheckedMul(static_cast<std::size_t>(steps), samples, what), sizeof(double), what);
    const std::size_t coefs = CheckedMul(matrix, lanes, what);
    const std::size_t weights = OneDSharesWeights(SeriesCount(table), steps, samples)
                                    ? WeightsBytes(steps, samples)
                                    : 0;
    const std::size_t buffers = CheckedMul(samples, kTransformBuffers * kComplexBytes, what);
    const TPictureSize picture = OneDPictureSize(table, steps);
    const std::size_t pixels = CheckedMul(picture.Width, picture.Height, what);
    return CheckedAdd(CheckedAdd(CheckedAdd(series, coefs, what), weights, what),
                      CheckedAdd(buffers, pixels, what), what);
}

std::size_t OneDSeriesLanes(std::size_t series, int steps, std::size_t samples)
{
    const std::size_t values = static_cast<std::size_t>(std::max(steps, 0)) * samples;
    if (series < 2 || values > kSideBySideValues)
        return 1;
    return std::min(series, WorkerSlots());
}

bool OneDSharesWeights(std::size_t series, int steps, std::size_t samples)
{
    return series > 1 && WeightsBytes(steps, samples) <= kSharedWeightsBytes;
}

void RequireOneDMemory(const TDataTable& table, int steps)
{
    const std::string what = "the 1-D run (" + std::to_string(SeriesCount(table)) +
                             " series of " + std::to_string(table.RowCount()) + " samples, " +
                             std::to_string(steps) + " scales)";
    RequireMemory(OneDRunBytes(table, steps), what.c_str());
}
