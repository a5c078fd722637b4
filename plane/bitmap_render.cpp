#include "bitmap_filter.h"

#include "fp_checkpoint.h"
#include "memory_budget.h"

#include <string>

namespace {

constexpr long double kRenderClip = 3.5L;

// The sums clip-normalised on a copy, so the accumulator keeps its raw values even when the
// picture cannot be made.
std::vector<double> ClipNormalisedRealParts(TComplex* Sums, std::size_t Count)
{
    RequireMemory(CheckedMul(Count, sizeof(double), "the picture levels"), "the picture levels");
    const DoubleView sums = RealPartsOf(Sums, Count);
    std::vector<double> levels(Count);
    for (std::size_t i = 0; i < Count; ++i)
        levels[i] = sums[i];
    ClipNormalize(levels, kRenderClip);
    CheckFpFaults();
    return levels;
}

} // namespace

QImage TBitmapFilter::Render(const TPalette64& Palette) const
{
    if (!Accumulator)
        return QImage();
    const std::vector<double> levels = ClipNormalisedRealParts(Accumulator.get(), Count_);
    QImage image(Cols_, Rows_, QImage::Format_Indexed8);
    if (image.isNull())
        throw EOutOfMemory("Not enough memory for a picture of " + std::to_string(Cols_) +
                           " x " + std::to_string(Rows_) + " pixels");
    image.setColorTable(MakePalette64(Palette));
    for (int r = 0; r < Rows_; ++r) {
        uchar* line = image.scanLine(r);
        const double* row = levels.data() + static_cast<std::size_t>(r) * Cols_;
        for (int c = 0; c < Cols_; ++c)
            line[c] = static_cast<uchar>(ColorIndex(row[c]));
    }
    return image;
}
