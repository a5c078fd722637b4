#include "twod/frame_render.h"

#include "engine/fp_checkpoint.h"
#include "engine/memory_budget.h"
#include "engine/stats.h"
#include "picture/indexed_picture.h"

#include <vector>

namespace {

constexpr long double kRenderClip = 3.5L;

// The sums clip-normalised on a copy, so the accumulator keeps its raw values even when the
// picture cannot be made.
std::vector<double> ClipNormalisedRealParts(const TComplex* Sums, std::size_t Count)
{
    RequireMemory(CheckedMul(Count, sizeof(double), "the picture levels"), "the picture levels");
    std::vector<double> levels(Count);
    for (std::size_t i = 0; i < Count; ++i)
        levels[i] = Sums[i].Re;
    ClipNormalize(levels, kRenderClip);
    CheckFpFaults();
    return levels;
}

} // namespace

QImage Render(const TBitmapFilter& Filter, const TPalette64& Palette)
{
    if (!Filter.Sums())
        return QImage();
    const std::vector<double> levels = ClipNormalisedRealParts(Filter.Sums(), Filter.Count());
    QImage image = NewIndexedPicture(Filter.Cols(), Filter.Rows(), MakePalette64(Palette), 0);
    PaintLevelRows(image, 0, Filter.Rows(), levels.data());
    return image;
}
