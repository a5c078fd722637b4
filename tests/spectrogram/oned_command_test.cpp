#include "engine/errors.h"
#include "spectrogram/oned_command.h"
#include "picture/palette.h"
#include "tests/spectrogram/table_fixture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <atomic>
#include <map>

namespace {

constexpr double kPi = 3.14159265358979323846;

class TKeepCoefficients : public TOneDObserver {
public:
    std::map<int, std::vector<double>> Raw, Final;
    void RawCoefficients(int k, const std::vector<double>& c) override { Raw[k] = c; }
    void FinalCoefficients(int k, const std::vector<double>& c) override { Final[k] = c; }
};

std::vector<double> Wave(int n, double period, double phase = 0)
{
    std::vector<double> v(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j)
        v[j] = std::sin(2 * kPi * j / period + phase);
    return v;
}

struct TRun {
    QImage Picture;
    TKeepCoefficients Coefs;
    TRecordingProgress Progress;
};

void RunAnalysis(TRun& run, const TDataTable& table, const TAnalysisParams& params)
{
    TFixedParameters source(params);
    std::optional<QImage> picture = DoTulvo1D(table, source, run.Progress, &run.Coefs);
    ASSERT_TRUE(picture.has_value());
    run.Picture = *picture;
}

// Pixel (row, column) of the spectrogram inside the composed picture.
int SpectrogramPixel(const QImage& result, int row, int column)
{
    return result.pixelIndex(column + 25, row + 10);
}

TEST(DoTulvo1D, BandsHoldTheColourLevelsOfTheFinalCoefficients)
{
    const int w = 200, steps = 30;
    const TDataTable table =
        MakeTable("N", ckNumber, Counting(w), {Wave(w, 17), Wave(w, 40, 1), Wave(w, 9, 2)});
    TAnalysisParams p;
    p.Steps = steps;
    TRun run;
    RunAnalysis(run, table, p);
    ASSERT_EQ(run.Picture.size(), QSize(w + 30, 3 * 31 + 14 + 5));
    int mismatches = 0, compared = 0;
    for (int k = 0; k < 3; ++k) {
        const std::vector<double>& coefs = run.Coefs.Final.at(k);
        for (int j = 0; j < steps; ++j)
            for (int c = 60; c < w; ++c) { // right of the series name
                if (c % 30 == 0)
                    continue; // grid line
                const int pixel = SpectrogramPixel(run.Picture, k * 31 + j, c);
                if (pixel == kBlackIndex || pixel == kWhiteIndex)
                    continue; // the data curve
                ++compared;
                mismatches += pixel != ColorIndex(coefs[j * w + c]);
            }
        for (int c = 1; c < w; ++c) {
            if (c % 30 != 0) {
                ASSERT_EQ(SpectrogramPixel(run.Picture, k * 31 + 30, c), kWhiteIndex)
                    << "separator after band " << k << " column " << c;
            }
        }
    }
    EXPECT_GT(compared, 3 * 30 * 120);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(run.Progress.Texts,
              (std::vector<std::string>{"Current dataset : 0", "Current dataset : 1",
                                        "Current dataset : 2", "O'k"}));
}

// The name is drawn a second time at W / 2 only for series longer than 500 samples.
TEST(DoTulvo1D, SecondSeriesNameOnlyAboveFiveHundredSamples)
{
    for (int w : {500, 501}) {
        const TDataTable table =
            MakeTable("N", ckNumber, Counting(w), {std::vector<double>(w, 0.25)});
        TAnalysisParams p;
        p.Steps = 30;
        TRun run;
        RunAnalysis(run, table, p);
        int white = 0;
        for (int row = 4; row < 16; ++row)
            for (int c = w / 2; c < w / 2 + 18; ++c)
                white += SpectrogramPixel(run.Picture, row, c) == kWhiteIndex;
        if (w == 500)
            EXPECT_EQ(white, 0) << "one name per band at 500 samples";
        else
            EXPECT_GT(white, 10) << "second name at x = 250";
    }
}

TEST(DoTulvo1D, DoesNothingWithoutData)
{
    TFixedParameters params;
    TRecordingProgress progress;
    TDataTable closed;
    EXPECT_FALSE(DoTulvo1D(closed, params, progress).has_value());
    const TDataTable empty = MakeTable("N", ckNumber, {}, {{}});
    EXPECT_FALSE(DoTulvo1D(empty, params, progress).has_value());
    const TDataTable labelsOnly = MakeTable("N", ckNumber, Counting(10), {});
    EXPECT_FALSE(DoTulvo1D(labelsOnly, params, progress).has_value());
    EXPECT_TRUE(progress.Texts.empty());
}

TEST(DoTulvo1D, OutputKindsAndContrastStayInTheUnitRange)
{
    const int w = 128;
    const TDataTable table = MakeTable("N", ckNumber, Counting(w), {Wave(w, 12)});
    for (int kind = 0; kind < 4; ++kind)
        for (bool contrast : {false, true})
            for (TWaveletKind wavelet : {wkGaussian, wkMorlet}) {
                TAnalysisParams p;
                p.Steps = 30;
                p.OutputKind = static_cast<TOutputKind>(kind);
                p.WaveletContrast = contrast;
                p.WaveletKind = wavelet;
                TRun run;
                RunAnalysis(run, table, p);
                double lo = 1, hi = 0;
                for (double v : run.Coefs.Final.at(0)) {
                    lo = std::fmin(lo, v);
                    hi = std::fmax(hi, v);
                }
                // Clipping compares doubles with extended limits: off by an ulp at most.
                EXPECT_NEAR(lo, 0.0, 1e-15) << kind << contrast << wavelet;
                EXPECT_NEAR(hi, 1.0, 1e-15) << kind << contrast << wavelet;
            }
}

TEST(DoTulvo1D, BadParametersEndTheRunWithTheirError)
{
    const TDataTable table = MakeTable("N", ckNumber, Counting(64), {Wave(64, 8)});
    TAnalysisParams p;
    p.WaveletKind = wkGaussian;
    p.Alpha = 1.25;
    p.MinScale = 0; // ln 0 on a logarithmic grid
    p.StepKind = ssLogarithmic;
    TFixedParameters source(p);
    TRecordingProgress progress;
    EXPECT_THROW(DoTulvo1D(table, source, progress), TulvoError);
    EXPECT_EQ(progress.Texts.back(), "Current dataset : 0");
}

// Two sines: the row energies of the raw coefficients peak at the scales where the Morlet
// pass band K0 / s meets each sine's angular frequency.
TEST(DoTulvo1D, TwoSinesPeakAtTheirMatchingScales)
{
    const int w = 1200;
    std::vector<double> series = Wave(w, 10);
    const std::vector<double> slow = Wave(w, 60);
    for (int j = 0; j < w; ++j)
        series[j] += slow[j];
    const TDataTable table = MakeTable("N", ckNumber, Counting(w), {series});
    TAnalysisParams p;
    p.WaveletKind = wkMorlet;
    p.OutputKind = okRealPart;
    p.StepKind = ssLinear;
    p.MaxScale = 100;
    p.MinScale = 1;
    p.Steps = 100;
    TRun run;
    RunAnalysis(run, table, p);
    const std::vector<double>& raw = run.Coefs.Raw.at(0);
    std::vector<double> energy(100, 0.0);
    for (int k = 0; k < 100; ++k)
        for (int j = 0; j < w; ++j)
            energy[k] += raw[k * w + j] * raw[k * w + j];
    auto peakRow = [&](double scale) {
        // grid: 100 - k, so scale s sits at row 100 - s
        const int expected = static_cast<int>(std::lround(100 - scale));
        int best = expected;
        for (int k = std::max(0, expected - 8); k <= std::min(99, expected + 8); ++k)
            if (energy[k] > energy[best])
                best = k;
        return std::pair{best, expected};
    };
    for (double period : {10.0, 60.0}) {
        const auto [best, expected] = peakRow(6 * period / (2 * kPi));
        EXPECT_EQ(best, expected) << "period " << period;
    }
}

// Without an observer small series go side by side and the last pass writes only the colour
// levels; with one the series go in order and the final values are kept too. Both routes must
// paint the same picture.
TEST(DoTulvo1D, PictureIsTheSameWithAndWithoutAnObserver)
{
    const int w = 301;
    const TDataTable table =
        MakeTable("N", ckNumber, Counting(w),
                  {Wave(w, 23), Wave(w, 7, 1), Wave(w, 50, 2), Wave(w, 11, 3), Wave(w, 3, 4)});
    for (int kind = 0; kind < 5; ++kind)
        for (TWaveletKind wavelet : {wkGaussian, wkMorlet}) {
            TAnalysisParams p;
            p.Steps = 40;
            // The fifth round: the default output with the contrast pass.
            p.OutputKind = static_cast<TOutputKind>(kind % 4);
            p.WaveletContrast = kind == 4;
            p.WaveletKind = wavelet;
            TRun observed;
            RunAnalysis(observed, table, p);
            TFixedParameters source(p);
            TRecordingProgress progress;
            const std::optional<QImage> plain = DoTulvo1D(table, source, progress);
            ASSERT_TRUE(plain.has_value());
            EXPECT_EQ(*plain, observed.Picture) << "output " << kind << " wavelet " << wavelet;
        }
}

// Finished rows are reported against the run's total and a cancel asked for between rows ends
// the run.
TEST(DoTulvo1D, ReportsRowsAndStopsWhenCancelled)
{
    class TCountingProgress : public TRecordingProgress {
    public:
        std::atomic<std::int64_t> Rows{0};
        std::atomic<std::int64_t> Total{0};
        std::atomic<int> Checks{0};
        int CancelAfter = -1; // checks before a cancel; -1 never
        void WorkDone(std::int64_t rows, std::int64_t total) override
        {
            Rows += rows;
            Total = total;
        }
        void CheckCancelled() override
        {
            if (CancelAfter >= 0 && Checks++ >= CancelAfter)
                throw ECancelled();
        }
    };
    const int w = 4000;
    const TDataTable table = MakeTable("N", ckNumber, Counting(w), {Wave(w, 50), Wave(w, 9)});
    TAnalysisParams p;
    p.Steps = 200;
    TFixedParameters source(p);
    TCountingProgress counted;
    ASSERT_TRUE(DoTulvo1D(table, source, counted).has_value());
    EXPECT_EQ(counted.Rows.load(), 2 * 200);
    EXPECT_EQ(counted.Total.load(), 2 * 200);

    TCountingProgress cancelled;
    cancelled.CancelAfter = 3;
    EXPECT_THROW(DoTulvo1D(table, source, cancelled), ECancelled);
    EXPECT_LT(cancelled.Rows.load(), 2 * 200);
}

} // namespace
