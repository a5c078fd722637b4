#include "spectrogram/oned_estimate.h"

#include "engine/memory_budget.h"

namespace {

// The rows below the bands (the sample labels), and the frame ComposeResult adds.
constexpr std::size_t kLabelRows = 14;
constexpr std::size_t kFrameWidth = 30;
constexpr std::size_t kFrameHeight = 5;

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
            CheckedAdd(bands, kLabelRows + kFrameHeight, "the picture")};
}
