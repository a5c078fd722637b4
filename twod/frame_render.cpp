#include "twod/frame_render.h"

#include "engine/fp_checkpoint.h"
#include "engine/parallel_rows.h"
#include "picture/indexed_picture.h"
#include "plane/plane_passes.h"

namespace {

constexpr long double kRenderClip = 3.5L;

} // namespace

QImage Render(const TBitmapFilter& Filter, const TPalette64& Palette)
{
    if (!Filter.HasSums())
        return QImage();
    // The sums are clipped on the way into the picture, so they keep their raw values; the
    // statistics come from the pass that last added to them when it measured them.
    const TClipRange clip = ClipRangeOf(Filter.SumStats(), kRenderClip);
    CheckFpFaults();
    QImage image = NewIndexedPicture(Filter.Cols(), Filter.Rows(), MakePalette64(Palette), 0);
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const double* sums = Filter.SumsRe();
    const std::size_t cols = static_cast<std::size_t>(Filter.Cols());
    ForEachRowRange(static_cast<std::size_t>(Filter.Rows()), LeastRowsPerShare(Filter.Cols()),
                    [&](std::size_t begin, std::size_t end) {
                        for (std::size_t r = begin; r < end; ++r) {
                            uchar* line = bits + static_cast<qsizetype>(r) * stride;
                            const double* s = sums + r * cols;
                            for (std::size_t c = 0; c < cols; ++c)
                                line[c] = static_cast<uchar>(ColorIndex(clip.Apply(s[c])));
                        }
                    });
    CheckFpFaults();
    return image;
}
