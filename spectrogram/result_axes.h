#pragma once
// The rulers and the cone of influence around and over a composed 1-D picture: scale and
// period ticks beside every band, label values under the bands, the legend's values and the
// name of its quantity. They are drawn outside the picture (or over it, for the cone), at any
// zoom, so the picture itself stays what Save writes.

#include "data/data_table.h"
#include "spectrogram/row_axes.h"

#include <QImage>
#include <QMargins>
#include <QPainter>
#include <QString>
#include <string>
#include <vector>

struct TResultAxes {
    int Steps = 0;
    int Samples = 0;
    int StepKind = 0;
    int OutputKind = 0;
    TWaveletShape Wave;
    std::vector<std::string> Names;
    std::vector<TRowAxis> Rows; // one per band row, top to bottom
    std::vector<double> Labels; // one per sample: numbers or day counts
    TLabelStep LabelStep;

    bool Empty() const { return Rows.empty(); }
    int Series() const { return static_cast<int>(Names.size()); }
};

// The axes of a run over `table` with the parameters it read.
TResultAxes DescribeResult(const TDataTable& table, const TAnalysisParams& used);

// The room the rulers take around the picture, in screen pixels.
inline constexpr QMargins kAxesMargins{150, 32, 12, 40};

// Where the composed picture puts band row j of series k, and sample c.
inline int BandRowInPicture(int steps, int series, int row) { return 10 + series * (steps + 1) + row; }
inline int SampleColumnInPicture(int sample) { return 25 + sample; }

// The normalised quantity of an output choice, as the legend names it.
QString QuantityName(int outputKind);
// A label as people read it: a date (yyyy-mm-dd) or a number with `decimals` places
// (negative: up to six significant digits).
QString LabelText(double label, bool dates, int decimals = -1);
// A period in the units the rulers give it: label units when even, else samples.
QString PeriodUnit(const TLabelStep& labels);

// Draws the rulers around `target`, where a picture of `pictureSize` is shown.
void PaintAxes(QPainter& painter, const TResultAxes& axes, const QRectF& target,
               QSize pictureSize);
// Shades, in every band, the samples within the cone of influence of either end.
void PaintCone(QPainter& painter, const TResultAxes& axes, const QRectF& target,
               QSize pictureSize);

// The picture as a 24-bit image, with the rulers around it and/or the cone over it.
QImage PictureWithAxes(const QImage& picture, const TResultAxes& axes, bool withAxes,
                       bool withCone);
