#include "picture/indexed_picture.h"

#include "engine/errors.h"
#include "engine/memory_budget.h"
#include "picture/palette.h"

#include <algorithm>
#include <cstring>
#include <string>

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
    for (int row = 0; row < height; ++row)
        std::memset(picture.scanLine(row), index, static_cast<std::size_t>(width));
    return picture;
}

void PaintLevelRows(QImage& picture, int firstRow, int rows, const double* values)
{
    const int width = picture.width();
    for (int r = 0; r < rows; ++r) {
        uchar* line = picture.scanLine(firstRow + r);
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
