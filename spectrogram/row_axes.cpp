#include "spectrogram/row_axes.h"

#include "engine/scales.h"

#include <algorithm>
#include <cmath>
#include <limits>

std::vector<double> LabelValues(const TDataTable& table)
{
    std::vector<double> labels(static_cast<std::size_t>(std::max(table.RowCount(), 0)));
    for (int row = 1; row <= table.RowCount(); ++row)
        labels[static_cast<std::size_t>(row - 1)] = table.CellAsNumber(row, 0);
    return labels;
}

TLabelStep LabelStepOf(const std::vector<double>& labels, bool dates)
{
    TLabelStep result;
    result.Dates = dates;
    if (labels.size() < 2)
        return result;
    const double step = (labels.back() - labels.front()) / static_cast<double>(labels.size() - 1);
    if (!(step > 0) || !std::isfinite(step))
        return result;
    // Decimal labels read from text differ from exact multiples by rounding only.
    const double largest = std::max(std::fabs(labels.front()), std::fabs(labels.back()));
    const double tolerance = 1e-6 * step + 1e-12 * largest;
    for (std::size_t i = 1; i < labels.size(); ++i)
        if (std::fabs(labels[i] - labels[i - 1] - step) > tolerance)
            return result;
    result.Even = true;
    result.Step = step;
    return result;
}

TWaveletShape WaveletShapeOf(const TAnalysisParams& params)
{
    return {params.WaveletKind, params.Alpha, params.K0, params.Sigma};
}

std::vector<TRowAxis> RowAxes(const TAnalysisParams& params, const TLabelStep& labels)
{
    const TWaveletShape wave = WaveletShapeOf(params);
    // The cone is proportional to the scale; its factor takes a search, done once.
    const double eFolding = EFoldingTime(wave);
    const std::vector<double> grid =
        ScaleGrid(params.StepKind, params.MaxScale, params.MinScale, params.Steps);
    std::vector<TRowAxis> rows;
    rows.reserve(grid.size());
    for (const double scale : grid) {
        const double period = FourierPeriod(wave, scale);
        rows.push_back({scale, period,
                        labels.Even ? period * labels.Step
                                    : std::numeric_limits<double>::quiet_NaN(),
                        eFolding * std::fabs(scale)});
    }
    return rows;
}
