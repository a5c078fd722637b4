#include "app/cursor_readout.h"

#include "engine/memory_budget.h"
#include "engine/stats.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kLevels = 65535; // steps of the 16-bit copy of a value in [0, 1]
} // namespace

void TReadoutRecorder::FinalCoefficients(int series, const std::vector<double>& coefs)
{
    if (!FDecided) {
        FDecided = true;
        const std::size_t count =
            CheckedMul(static_cast<std::size_t>(FSeriesCount), coefs.size(), "the readout");
        // Without room the readout goes without values; the run itself must not fail for it.
        if (count <= MemoryBudget() / sizeof(std::uint16_t))
            FFinal.resize(count);
    }
    if (FFinal.empty())
        return;
    const std::size_t offset = static_cast<std::size_t>(series) * coefs.size();
    for (std::size_t i = 0; i < coefs.size() && offset + i < FFinal.size(); ++i)
        FFinal[offset + i] = static_cast<std::uint16_t>(
            std::nearbyint(std::clamp(coefs[i], 0.0, 1.0) * kLevels));
}

std::shared_ptr<TOneDReading> ReadingOfRun(const TDataTable& table, const TAnalysisParams& used,
                                           std::vector<std::uint16_t> final)
{
    auto reading = std::make_shared<TOneDReading>();
    reading->Axes = DescribeResult(table, used);
    reading->Used = used;
    reading->Final = std::move(final);
    for (const std::string& name : reading->Axes.Names) {
        reading->Series.push_back(table.ReadColumn(name));
        NormalizeMinMax(reading->Series.back()); // as the run normalised its input
    }
    return reading;
}

void TCursorReadout::SetReading(std::shared_ptr<const TOneDReading> reading)
{
    FReading = std::move(reading);
    FTransformer.reset();
    FRowSeries = FRowIndex = -1;
    FRow.clear();
}

double TCursorReadout::RawValue(int series, int row, int sample)
{
    const TOneDReading& r = *FReading;
    if (series != FRowSeries || row != FRowIndex) {
        if (!FTransformer)
            FTransformer = std::make_unique<T1WaveTransformer>(r.Axes.Samples);
        const TWaveletShape& shape = r.Axes.Wave;
        const std::unique_ptr<TWave1D> wave =
            shape.Kind == wkMorlet
                ? std::unique_ptr<TWave1D>(std::make_unique<TMorlet1D>(shape.K0, shape.Sigma))
                : std::make_unique<TSDog1D>(shape.Alpha);
        ComplexBuffer buffer = FTransformer->NewBuffer();
        FRow.resize(static_cast<std::size_t>(r.Axes.Samples));
        TransformRow(*FTransformer, *wave, r.Series[series].data(), r.Axes.Rows[row].Scale,
                     r.Used.L1Norm, r.Used.OutputKind == okPhase, buffer.get(), FRow.data());
        FRowSeries = series;
        FRowIndex = row;
    }
    return FRow[static_cast<std::size_t>(sample)];
}

QString TCursorReadout::TextAt(QPoint pixel)
{
    if (!FReading)
        return {};
    const TResultAxes& axes = FReading->Axes;
    const int sample = pixel.x() - SampleColumnInPicture(0);
    const int offset = pixel.y() - BandRowInPicture(axes.Steps, 0, 0);
    if (sample < 0 || sample >= axes.Samples || offset < 0)
        return {};
    const int series = offset / (axes.Steps + 1);
    const int row = offset % (axes.Steps + 1);
    if (series >= axes.Series() || row >= axes.Steps)
        return {};
    const TRowAxis& r = axes.Rows[row];
    QString text = QString::fromStdString(axes.Names[series]) + QStringLiteral("  |  метка ") +
                   LabelText(axes.Labels[sample], axes.LabelStep.Dates) +
                   QStringLiteral("  |  масштаб ") + QString::number(r.Scale, 'g', 6) +
                   QStringLiteral("  |  период ") + QString::number(r.PeriodSamples, 'g', 4) +
                   QStringLiteral(" отсч.");
    if (!std::isnan(r.PeriodLabel))
        text += QStringLiteral(" = ") + QString::number(r.PeriodLabel, 'g', 4) + QLatin1Char(' ') +
                PeriodUnit(axes.LabelStep);
    if (!FReading->Final.empty()) {
        const std::size_t at = (static_cast<std::size_t>(series) * axes.Steps + row) * axes.Samples +
                               static_cast<std::size_t>(sample);
        text += QStringLiteral("  |  норм. ") + QString::number(FReading->Final[at] / kLevels, 'f', 4);
    }
    text += QStringLiteral("  |  исх. ") + QString::number(RawValue(series, row, sample), 'g', 6);
    return text;
}
