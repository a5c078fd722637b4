// Which scale and period each band row stands for, checked against what the transform does,
// and where the rulers put their ticks.
#include "engine/scales.h"
#include "spectrogram/oned_command.h"
#include "spectrogram/row_axes.h"
#include "spectrogram/ruler_ticks.h"
#include "spectrogram/sample_labels.h"
#include "tests/spectrogram/table_fixture.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(LabelStep, EvenNumbersDatesAndUnevenLabels)
{
    struct TCase {
        const char* name;
        std::vector<double> labels;
        bool dates;
        bool even;
        double step;
    } cases[] = {
        {"halves", {0, 0.5, 1, 1.5, 2}, false, true, 0.5},
        {"decimals read from text", {0.1, 0.2, 0.3, 0.4}, false, true, 0.1},
        {"days", {44562, 44563, 44564}, true, true, 1},
        {"weeks", {44562, 44569, 44576}, true, true, 7},
        {"a gap", {1, 2, 3, 5, 6}, false, false, 0},
        {"one row", {3}, false, false, 0},
        {"all equal", {2, 2, 2}, false, false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TLabelStep step = LabelStepOf(c.labels, c.dates);
        EXPECT_EQ(step.Even, c.even);
        EXPECT_EQ(step.Dates, c.dates);
        if (c.even) {
            EXPECT_NEAR(step.Step, c.step, 1e-12);
        }
    }
}

TEST(RowAxes, FollowTheCommandsGridTopToBottom)
{
    TAnalysisParams p;
    p.WaveletKind = wkMorlet;
    p.K0 = 5;
    p.Sigma = 1.5;
    p.MaxScale = 80;
    p.MinScale = -20;
    p.Steps = 37;
    p.StepKind = ssQuadratic;
    const std::vector<double> grid = ScaleGrid(ssQuadratic, 80, -20, 37);
    const std::vector<TRowAxis> rows = RowAxes(p, {true, false, 0.25});
    ASSERT_EQ(rows.size(), grid.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].Scale, grid[i]);
        EXPECT_NEAR(rows[i].PeriodSamples, 2 * kPi * std::fabs(grid[i]) / 5, 1e-9);
        EXPECT_NEAR(rows[i].PeriodLabel, 0.25 * rows[i].PeriodSamples, 1e-9);
        EXPECT_NEAR(rows[i].CoiSamples, std::sqrt(2.0) * 1.5 * std::fabs(grid[i]), 1e-9);
    }
    EXPECT_TRUE(std::isnan(RowAxes(p, {}).front().PeriodLabel));
}

// The mean power of each row of the raw matrix, over the middle half of the samples.
std::vector<double> RowPower(const std::vector<double>& coefs, int steps, int n)
{
    std::vector<double> power(static_cast<std::size_t>(steps));
    for (int k = 0; k < steps; ++k)
        for (int j = n / 4; j < 3 * n / 4; ++j)
            power[k] += coefs[static_cast<std::size_t>(k) * n + j] * coefs[static_cast<std::size_t>(k) * n + j];
    return power;
}

class TKeepRaw : public TOneDObserver {
public:
    std::vector<double> Raw;
    void RawCoefficients(int, const std::vector<double>& c) override { Raw = c; }
    void FinalCoefficients(int, const std::vector<double>&) override {}
};

TEST(RowAxes, TwoSinesPeakAtTheRowsOfTheirPeriods)
{
    constexpr int n = 4096;
    constexpr double kShort = 9, kLong = 120; // periods in samples
    std::vector<double> labels(n), sum(n);
    for (int j = 0; j < n; ++j) {
        labels[j] = 10 + 0.5 * j; // a label step other than 1
        sum[j] = std::sin(2 * kPi * j / kShort) + std::sin(2 * kPi * j / kLong);
    }
    const TDataTable table = MakeTable("T", ckNumber, labels, {sum});
    for (const TWaveletKind kind : {wkGaussian, wkMorlet}) {
        SCOPED_TRACE(kind == wkMorlet ? "Morlet" : "Gaussian difference");
        TAnalysisParams p;
        p.WaveletKind = kind;
        p.Alpha = 2; // narrow enough in frequency to part the two sines
        p.MaxScale = 200;
        p.MinScale = 1;
        p.Steps = 200;
        TFixedParameters source(p);
        TRecordingProgress progress;
        TKeepRaw raw;
        ASSERT_TRUE(DoTulvo1D(table, source, progress, &raw).has_value());
        const std::vector<double> power = RowPower(raw.Raw, p.Steps, n);
        const std::vector<TRowAxis> rows = RowAxes(p, LabelStepOf(labels, false));
        // Local maxima that matter: Morlet leaks a trace of power near the sampling limit.
        const double strongest = *std::max_element(power.begin(), power.end());
        std::vector<int> peaks;
        for (int k = 1; k + 1 < p.Steps; ++k)
            if (power[k] > power[k - 1] && power[k] >= power[k + 1] && power[k] > 0.01 * strongest)
                peaks.push_back(k);
        ASSERT_EQ(peaks.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            const int k = peaks[i];
            const double expected = i == 0 ? kLong : kShort; // row 0 is the largest scale
            const double gridStep = std::fabs(rows[k + 1].PeriodSamples - rows[k - 1].PeriodSamples) / 2;
            EXPECT_NEAR(rows[k].PeriodSamples, expected, gridStep);
            EXPECT_NEAR(rows[k].PeriodLabel, 0.5 * expected, 0.5 * gridStep);
        }
    }
}

std::vector<double> Values(const std::vector<TTick>& ticks)
{
    std::vector<double> values;
    for (const TTick& t : ticks)
        values.push_back(t.Value);
    return values;
}

TEST(RulerTicks, ScaleTicksForEachKindOfGrid)
{
    struct TCase {
        const char* name;
        int kind;
        double first, last;
        int steps;
        double rowPixels;
        std::vector<double> expected;
    } cases[] = {
        {"linear", ssLinear, 100, 1, 100, 1.0, {100, 80, 60, 40, 20}},
        {"logarithmic", ssLogarithmic, 100, 1, 100, 1.0, {100, 50, 20, 10, 5, 2, 1}},
        {"logarithmic, short band", ssLogarithmic, 100, 1, 30, 1.0, {100, 10, 1}},
        {"quadratic", ssQuadratic, 100, 0, 100, 2.0, {100, 70, 50, 40, 30, 20, 10, 0}},
        {"negative minimum", ssLinear, 50, -50, 101, 1.0, {40, 20, 0, -20, -40}},
        {"maximum below minimum", ssLinear, 1, 100, 100, 1.0, {20, 40, 60, 80, 100}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> grid = ScaleGrid(c.kind, c.first, c.last, c.steps);
        const std::vector<TTick> ticks = ScaleTicks(grid, c.kind, c.rowPixels, 14);
        EXPECT_EQ(Values(ticks), c.expected);
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            // Each tick stands where the grid takes its value, and no two crowd each other.
            const int row = static_cast<int>(ticks[i].Position);
            const double next = grid[std::min<std::size_t>(row + 1, grid.size() - 1)];
            EXPECT_LE((grid[row] - ticks[i].Value) * (next - ticks[i].Value), 1e-9);
            if (i > 0) {
                EXPECT_GE((ticks[i].Position - ticks[i - 1].Position) * c.rowPixels, 14);
            }
        }
    }
}

TEST(RulerTicks, LabelTicksShowFractionsAndMonths)
{
    std::vector<double> fractions(251);
    for (int j = 0; j < 251; ++j)
        fractions[j] = 0.004 * j;
    const std::vector<TTick> ticks = LabelTicks(fractions, true, false, 2.0, 90);
    EXPECT_EQ(Values(ticks).size(), 6u);
    EXPECT_NEAR(ticks[1].Value, 0.2, 1e-12);
    EXPECT_NEAR(ticks[1].Position, 50, 1e-9);
    EXPECT_EQ(DecimalsFor(ticks[1].Value - ticks[0].Value), 1);
    EXPECT_EQ(DecimalsFor(0.25), 2);
    EXPECT_EQ(DecimalsFor(20), 0);

    std::vector<double> days(730); // 2022-01-01 and on, one sample a day
    for (int j = 0; j < 730; ++j)
        days[j] = 44562 + j;
    // 90 pixels hold quarters but not months: the starts of 2022 and 2023 and their quarters.
    const std::vector<TTick> months = LabelTicks(days, true, true, 1.0, 90);
    ASSERT_EQ(months.size(), 8u);
    for (std::size_t i = 0; i < months.size(); ++i) {
        const TCalendarDate d = DateOfDayCount(static_cast<long long>(months[i].Value));
        EXPECT_EQ(d.Year, 2022 + static_cast<int>(i / 4));
        EXPECT_EQ(d.Month, 1 + 3 * static_cast<int>(i % 4));
        EXPECT_EQ(d.Day, 1);
        EXPECT_EQ(months[i].Position, months[i].Value - 44562);
    }
}

TEST(RulerTicks, NiceSteps)
{
    EXPECT_EQ(NiceStep(0.7), 1);
    EXPECT_EQ(NiceStep(1.2), 2);
    EXPECT_EQ(NiceStep(3), 5);
    EXPECT_EQ(NiceStep(5), 5);
    EXPECT_NEAR(NiceStep(0.013), 0.02, 1e-15);
}

} // namespace
