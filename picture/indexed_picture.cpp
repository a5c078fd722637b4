#include "picture/indexed_picture.h"

#include "engine/errors.h"
#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"
#include "engine/system_pages.h"
#include "picture/palette.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// A share of the fill is at least this many bytes: less costs more to hand out than to do.
std::size_t LeastRowsPerShare(int width)
{
    return std::max<std::size_t>(1, (1 << 20) / static_cast<std::size_t>(std::max(width, 1)));
}

} // namespace

QImage NewIndexedPicture(int width, int height, const QList<QRgb>& colours, int index)
{
    const std::size_t bytes = CheckedMul(static_cast<std::size_t>(std::max(width, 1)),
                                         static_cast<std::size_t>(std::max(height, 1)),
                                         "the picture");
    RequireMemory(bytes, "the picture");
    QImage picture(width, height, QImage::Format_Indexed8);
    if (picture.isNull())
        throw EOutOfMemory("Not enough memory for a picture of " + std::to_string(width) +
                           " x " + std::to_string(height) + " pixels");
    picture.setColorTable(colours);
    // Filled by every core: a large picture's fresh pages are most of the cost, and they are
    // mapped up front. The whole lines, so that the padding at their ends is the same in
    // every file.
    PrefaultPages(picture.bits(), static_cast<std::size_t>(picture.sizeInBytes()));
    const TIndexedCanvas canvas(picture);
    const auto line = static_cast<std::size_t>(picture.bytesPerLine());
    ForEachRowRange(static_cast<std::size_t>(height), LeastRowsPerShare(width),
                    [&](std::size_t begin, std::size_t end) {
                        for (std::size_t row = begin; row < end; ++row)
                            std::memset(canvas.Row(static_cast<int>(row)), index, line);
                    });
    return picture;
}

void PaintLevelRows(const TIndexedCanvas& canvas, int firstRow, int rows, const double* values)
{
    const int width = canvas.Width();
    for (int r = 0; r < rows; ++r) {
        std::uint8_t* line = canvas.Row(firstRow + r);
        const double* row = values + static_cast<std::size_t>(r) * width;
        for (int c = 0; c < width; ++c)
            line[c] = static_cast<uchar>(ColorIndex(row[c]));
    }
}

QImage GreyLevelPicture(int width, int height, const std::uint8_t* levels)
{
    QList<QRgb> greys(256);
    for (int level = 0; level < 256; ++level)
        greys[level] = qRgb(level, level, level);
    QImage picture = NewIndexedPicture(width, height, greys, 0);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = levels + static_cast<std::size_t>(y) * width;
        std::copy(row, row + width, picture.scanLine(y));
    }
    return picture;
}
