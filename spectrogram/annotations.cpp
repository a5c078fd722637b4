#include "spectrogram/annotations.h"

#include "picture/indexed_picture.h"
#include "spectrogram/indexed_drawing.h"
#include "spectrogram/sample_labels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kLegendLeft = 5;
constexpr int kLegendRight = 20;
constexpr int kLegendRows = 256;

// The palette index that shows `colour`: the legend holds palette colours only.
int LevelOfColour(const TPalette64& palette, QRgb colour)
{
    for (int level = 63; level > 0; --level)
        if (qRgb(palette[level].R, palette[level].G, palette[level].B) == colour)
            return level;
    return 0;
}

// The legend stretched to rows top..bottom - 1: each row takes the legend row it lands on.
void DrawLegend(QImage& result, const TPalette64& palette, int top, int bottom)
{
    const QImage legend = MakeLegendBitmap(palette);
    const int height = std::max(bottom - top, 1);
    for (int row = top; row < bottom; ++row) {
        const int legendRow =
            static_cast<int>(static_cast<long long>(row - top) * legend.height() / height);
        const int level = LevelOfColour(palette, legend.pixel(0, legendRow));
        std::memset(result.scanLine(row) + kLegendLeft, level, kLegendRight - kLegendLeft);
    }
}

} // namespace

void DrawSampleLabel(QImage& spectrogram, const TDataTable& table, double firstLabel, int y,
                     int x, int c)
{
    const std::string label = SampleLabel(table, firstLabel, c);
    if (label.empty())
        return;
    DrawIndexedText(spectrogram, x, y, QString::fromStdString(label), AnnotationFont(6, false),
                    kBlackIndex, kWhiteIndex);
    DrawVerticalLine(spectrogram, x - 1, 0, y, kBlackIndex);
}

void DrawDataCurve(QImage& spectrogram, int baseRow, int steps,
                   const std::vector<double>& series)
{
    const int width = std::min<int>(spectrogram.width(), static_cast<int>(series.size()));
    uchar* const bits = spectrogram.bits(); // once: scanLine checks for sharing at every call
    const std::ptrdiff_t stride = spectrogram.bytesPerLine();
    for (int s = 0; s < width; ++s) {
        // The product of a small whole number and a double is exact in extended precision.
        // rint rounds as nearbyint does; it only adds the inexact flag, which is no fault,
        // and saves nearbyint's costly save and restore of the floating-point state.
        const long double lift = std::rint(static_cast<long double>(steps - 2) * series[s]);
        const long double row = baseRow - lift - 1;
        if (!(row >= 0 && row < spectrogram.height()))
            continue;
        uchar& pixel = bits[static_cast<std::ptrdiff_t>(row) * stride + s];
        pixel = pixel > 15 ? kBlackIndex : kWhiteIndex;
    }
}

void DrawSeriesName(QImage& spectrogram, int y, int x, const std::string& name)
{
    DrawIndexedText(spectrogram, x, y, QString::fromLocal8Bit(name.c_str()),
                    AnnotationFont(8, true), kBlackIndex, kWhiteIndex);
}

QImage ComposeResult(const QImage& spectrogram, const TPalette64& palette)
{
    const int width = spectrogram.width() + 30;
    const int height = spectrogram.height() + 5;
    QImage result = NewIndexedPicture(width, height, MakePalette66(palette), kWhiteIndex);
    const int copiedRows = std::min(spectrogram.height(), height - 10);
    for (int row = 0; row < copiedRows; ++row)
        std::memcpy(result.scanLine(row + 10) + 25, spectrogram.constScanLine(row),
                    static_cast<std::size_t>(spectrogram.width()));
    const int bottom = height - 10;
    const int top = height - kLegendRows >= 0 ? height - kLegendRows : 10;
    DrawLegend(result, palette, top, bottom);
    return result;
}
