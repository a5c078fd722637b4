#include "spectrogram/annotations.h"

#include "engine/parallel_rows.h"
#include "picture/indexed_picture.h"
#include "spectrogram/indexed_drawing.h"
#include "spectrogram/sample_labels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

constexpr int kLegendLeft = 5;
constexpr int kLegendRight = 20;
constexpr int kLegendRows = 256;
// The spectrogram's place in the framed picture.
constexpr int kFrameLeft = 25;
constexpr int kFrameTop = 10;

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

TSampleMarks SampleMarks(const TDataTable& table, double firstLabel, int width)
{
    TSampleMarks marks;
    for (int c = 0; c < width; ++c) {
        std::string label = SampleLabel(table, firstLabel, c);
        if (label.empty())
            continue;
        marks.Columns.push_back(c);
        marks.Texts.push_back(std::move(label));
    }
    return marks;
}

void DrawSampleLabels(const TIndexedCanvas& spectrogram, const TSampleMarks& marks, int y)
{
    TCaptionWriter labels(AnnotationFont(6, false), kBlackIndex, kWhiteIndex);
    for (std::size_t m = 0; m < marks.Columns.size(); ++m)
        labels.Write(spectrogram, marks.Columns[m] + 1, y,
                     QString::fromStdString(marks.Texts[m]));
}

void DrawGridLines(const TIndexedCanvas& spectrogram, const TSampleMarks& marks, int top,
                   int bottom)
{
    DrawVerticalLines(spectrogram, marks.Columns, top, bottom, kBlackIndex);
}

void DrawDataCurve(const TIndexedCanvas& spectrogram, int baseRow, int steps,
                   const std::vector<double>& series)
{
    const int width = std::min<int>(spectrogram.Width(), static_cast<int>(series.size()));
    for (int s = 0; s < width; ++s) {
        // The product of a small whole number and a double is exact in extended precision.
        // rint rounds as nearbyint does; it only adds the inexact flag, which is no fault,
        // and saves nearbyint's costly save and restore of the floating-point state.
        const long double lift = std::rint(static_cast<long double>(steps - 2) * series[s]);
        const long double row = baseRow - lift - 1;
        if (!(row >= 0 && row < spectrogram.Height()))
            continue;
        std::uint8_t& pixel = spectrogram.Row(static_cast<int>(row))[s];
        pixel = pixel > 15 ? kBlackIndex : kWhiteIndex;
    }
}

QFont SeriesNameFont() { return AnnotationFont(8, true); }

TAnnotationFontsWarmUp::TAnnotationFontsWarmUp()
{
    auto loaded = std::make_shared<std::promise<void>>();
    Loaded = loaded->get_future();
    RunInBackground([loaded] {
        try {
            QFontMetrics(SeriesNameFont()).height();
            QFontMetrics(AnnotationFont(6, false)).height();
        } catch (...) {
            // Only a head start: the first caption loads whatever is missing.
        }
        loaded->set_value();
    });
}

TAnnotationFontsWarmUp::~TAnnotationFontsWarmUp() { Loaded.wait(); }

void DrawSeriesName(TCaptionWriter& names, const TIndexedCanvas& spectrogram, int y, int x,
                    const std::string& name)
{
    names.Write(spectrogram, x, y, QString::fromLocal8Bit(name.c_str()));
}

QImage NewFramedPicture(int width, int height, const TPalette64& palette)
{
    QImage framed = NewIndexedPicture(width + kFrameWidth, height + kFrameHeight,
                                      MakePalette66(palette), kWhiteIndex);
    const int bottom = framed.height() - kFrameTop;
    const int top = framed.height() - kLegendRows >= 0 ? framed.height() - kLegendRows : kFrameTop;
    DrawLegend(framed, palette, top, bottom);
    return framed;
}

TIndexedCanvas SpectrogramCanvas(QImage& framed)
{
    return TIndexedCanvas(framed, kFrameLeft, kFrameTop, framed.width() - kFrameWidth,
                          framed.height() - kFrameTop);
}
