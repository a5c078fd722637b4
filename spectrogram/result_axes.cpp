#include "spectrogram/result_axes.h"

#include "engine/errors.h"
#include "engine/memory_budget.h"
#include "spectrogram/ruler_ticks.h"
#include "spectrogram/sample_labels.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinScaleTickGap = 12; // pixels between scale ticks: a line of text
constexpr double kMinLabelTickGap = 90; // pixels between label ticks
constexpr double kScaleAxisOffset = 30; // the scale ruler's line, left of the legend values
const QColor kInk(0, 0, 0);

struct TMapping {
    QRectF Target;
    double Sx, Sy; // screen pixels per picture pixel
    QPointF At(double column, double row) const
    {
        return {Target.left() + column * Sx, Target.top() + row * Sy};
    }
};

TMapping MappingOf(const QRectF& target, QSize pictureSize)
{
    return {target, target.width() / pictureSize.width(), target.height() / pictureSize.height()};
}

QString Number(double value)
{
    return QString::number(value, 'g', 4);
}

std::vector<double> BandScales(const TResultAxes& axes)
{
    std::vector<double> scales;
    for (const TRowAxis& row : axes.Rows)
        scales.push_back(row.Scale);
    return scales;
}

QString PeriodText(const TResultAxes& axes, double scale)
{
    const double samples = FourierPeriod(axes.Wave, scale);
    if (std::isnan(samples))
        return {};
    return Number(axes.LabelStep.Even ? samples * axes.LabelStep.Step : samples);
}

// Right-aligned text ending at x, centred on y.
void DrawRightAligned(QPainter& painter, double x, double y, const QString& text)
{
    const QFontMetrics metrics(painter.font());
    painter.drawText(QPointF(x - metrics.horizontalAdvance(text), y + metrics.ascent() / 2.0 - 1),
                     text);
}

// Left of the bands, so that it is in view wherever the picture is scrolled to its start:
// the scale ticks next to the legend's values, the periods further out.
void PaintScaleRulers(QPainter& painter, const TResultAxes& axes, const TMapping& map)
{
    const double axis = map.Target.left() - kScaleAxisOffset;
    const double scaleRight = axis - 6, periodRight = axis - 60;
    const std::vector<TTick> ticks = ScaleTicks(BandScales(axes), axes.StepKind, map.Sy,
                                                kMinScaleTickGap);
    for (int k = 0; k < axes.Series(); ++k) {
        const double top = map.At(0, BandRowInPicture(axes.Steps, k, 0)).y();
        const double bottom = map.At(0, BandRowInPicture(axes.Steps, k, axes.Steps)).y();
        painter.drawLine(QPointF(axis, top), QPointF(axis, bottom));
        for (const TTick& tick : ticks) {
            // Leave the foot of a band to the next band's top tick, one row further down.
            const bool crowdsNextBand = k + 1 < axes.Series() &&
                (axes.Steps - 1 - tick.Position) * map.Sy < kMinScaleTickGap * 0.6;
            if (crowdsNextBand)
                continue;
            const double y = map.At(0, BandRowInPicture(axes.Steps, k, 0) + tick.Position + 0.5).y();
            painter.drawLine(QPointF(axis - 4, y), QPointF(axis, y));
            DrawRightAligned(painter, scaleRight, y, Number(tick.Value));
            DrawRightAligned(painter, periodRight, y, PeriodText(axes, tick.Value));
        }
    }
    const double header = map.Target.top() - 18;
    DrawRightAligned(painter, scaleRight, header + 12, QStringLiteral("масштаб"));
    DrawRightAligned(painter, periodRight, header, QStringLiteral("период,"));
    DrawRightAligned(painter, periodRight, header + 12, PeriodUnit(axes.LabelStep));
}

void PaintLabelRuler(QPainter& painter, const TResultAxes& axes, const TMapping& map)
{
    const double y = map.Target.bottom() + 2;
    const QFontMetrics metrics(painter.font());
    painter.drawLine(map.At(SampleColumnInPicture(0), 0).x(), y,
                     map.At(SampleColumnInPicture(axes.Samples), 0).x(), y);
    const bool dates = axes.LabelStep.Dates;
    const std::vector<TTick> ticks =
        LabelTicks(axes.Labels, axes.LabelStep.Even, dates, map.Sx, kMinLabelTickGap);
    int decimals = -1;
    if (axes.LabelStep.Even && !dates && ticks.size() >= 2)
        decimals = DecimalsFor(std::fabs(ticks[1].Value - ticks[0].Value));
    for (const TTick& tick : ticks) {
        const double x = map.At(SampleColumnInPicture(0) + tick.Position + 0.5, 0).x();
        painter.drawLine(QPointF(x, y), QPointF(x, y + 4));
        const QString text = LabelText(tick.Value, dates, decimals);
        painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2.0, y + 6 + metrics.ascent()),
                         text);
    }
}

void PaintLegendValues(QPainter& painter, const TResultAxes& axes, const TMapping& map,
                       QSize pictureSize)
{
    const int height = pictureSize.height();
    const int bottom = height - 10;
    const int top = height - 256 >= 0 ? height - 256 : 10;
    const QFontMetrics metrics(painter.font());
    const double x = map.Target.left() - 3;
    for (const double value : {0.0, 0.5, 1.0}) {
        const double row = bottom - value * (bottom - top);
        const double y = map.At(0, row).y();
        const QString text = QString::number(value);
        painter.drawText(QPointF(x - metrics.horizontalAdvance(text), y + metrics.ascent() / 2.0), text);
    }
    painter.save();
    const QPointF middle = map.At(0, (top + bottom) / 2.0);
    painter.translate(map.Target.left() - kAxesMargins.left() + 12, middle.y());
    painter.rotate(-90);
    const QString name = QuantityName(axes.OutputKind);
    painter.drawText(QPointF(-metrics.horizontalAdvance(name) / 2.0, 0), name);
    painter.restore();
}

} // namespace

TResultAxes DescribeResult(const TDataTable& table, const TAnalysisParams& used)
{
    TResultAxes axes;
    axes.Steps = used.Steps;
    axes.Samples = table.RowCount();
    axes.StepKind = used.StepKind;
    axes.OutputKind = used.OutputKind;
    axes.Wave = WaveletShapeOf(used);
    for (int column = 1; column < table.ColumnCount(); ++column)
        axes.Names.push_back(table.ColumnName(column));
    axes.Labels = LabelValues(table);
    axes.LabelStep = LabelStepOf(axes.Labels, table.ColumnKind(0) == ckDate);
    axes.Rows = RowAxes(used, axes.LabelStep);
    return axes;
}

QString QuantityName(int outputKind)
{
    switch (outputKind) {
    case okLogRealPart: return QStringLiteral("логарифм Re, норм.");
    case okRealPart: return QStringLiteral("Re, норм.");
    case okPhase: return QStringLiteral("фаза, норм.");
    case okRealByStdDev: return QStringLiteral("Re/StdDev(Re), норм.");
    default: return QStringLiteral("норм.");
    }
}

QString LabelText(double label, bool dates, int decimals)
{
    if (dates) {
        const TCalendarDate d = DateOfDayCount(static_cast<long long>(std::floor(label)));
        return QString::asprintf("%04d-%02d-%02d", d.Year, d.Month, d.Day);
    }
    if (decimals >= 0)
        return QString::number(label, 'f', decimals);
    return QString::number(label, 'g', 6);
}

QString PeriodUnit(const TLabelStep& labels)
{
    if (!labels.Even)
        return QStringLiteral("отсч.");
    return labels.Dates ? QStringLiteral("сут.") : QStringLiteral("ед. метки");
}

void PaintAxes(QPainter& painter, const TResultAxes& axes, const QRectF& target,
               QSize pictureSize)
{
    if (axes.Empty() || pictureSize.isEmpty() || target.isEmpty())
        return;
    painter.save();
    painter.setPen(kInk);
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    painter.setFont(font);
    const TMapping map = MappingOf(target, pictureSize);
    PaintScaleRulers(painter, axes, map);
    PaintLabelRuler(painter, axes, map);
    PaintLegendValues(painter, axes, map, pictureSize);
    painter.restore();
}

void PaintCone(QPainter& painter, const TResultAxes& axes, const QRectF& target,
               QSize pictureSize)
{
    if (axes.Empty() || pictureSize.isEmpty() || target.isEmpty())
        return;
    const TMapping map = MappingOf(target, pictureSize);
    QPainterPath cone;
    for (int k = 0; k < axes.Series(); ++k)
        for (int j = 0; j < axes.Steps && j < static_cast<int>(axes.Rows.size()); ++j) {
            const double reach = std::min(axes.Rows[j].CoiSamples, axes.Samples / 2.0);
            if (!(reach > 0))
                continue;
            const double row = BandRowInPicture(axes.Steps, k, j);
            const QPointF leftTop = map.At(SampleColumnInPicture(0), row);
            const QPointF leftEnd = map.At(SampleColumnInPicture(0) + reach, row + 1);
            cone.addRect(QRectF(leftTop, leftEnd));
            const QPointF rightTop = map.At(SampleColumnInPicture(axes.Samples) - reach, row);
            const QPointF rightEnd = map.At(SampleColumnInPicture(axes.Samples), row + 1);
            cone.addRect(QRectF(rightTop, rightEnd));
        }
    cone.setFillRule(Qt::WindingFill);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 120));
    painter.drawPath(cone);
    painter.setBrush(QBrush(QColor(0, 0, 0, 140), Qt::BDiagPattern));
    painter.drawPath(cone);
    painter.restore();
}

QImage PictureWithAxes(const QImage& picture, const TResultAxes& axes, bool withAxes,
                       bool withCone)
{
    const QMargins margins = withAxes ? kAxesMargins : QMargins();
    const QSize size = picture.size().grownBy(margins);
    RequireMemory(CheckedMul(CheckedMul(static_cast<std::size_t>(size.width()),
                                        static_cast<std::size_t>(size.height()), "the picture"),
                             7, "the picture"), // drawn in 4 bytes a pixel, written in 3
                  "the picture");
    QImage out(size, QImage::Format_RGB32);
    if (out.isNull())
        throw EOutOfMemory("Not enough memory for the picture");
    out.fill(Qt::white);
    const QRectF target(QPointF(margins.left(), margins.top()), QSizeF(picture.size()));
    QPainter painter(&out);
    painter.drawImage(target.topLeft(), picture);
    if (withCone)
        PaintCone(painter, axes, target, picture.size());
    if (withAxes)
        PaintAxes(painter, axes, target, picture.size());
    painter.end();
    return out.convertToFormat(QImage::Format_RGB888);
}
