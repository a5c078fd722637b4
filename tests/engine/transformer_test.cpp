#include "tests/engine/dft_oracle.h"
#include "engine/scales.h"
#include "engine/transformer1d.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<double> RandomSeries(int n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(0.0, 1.0);
    std::vector<double> v(static_cast<std::size_t>(n));
    for (double& x : v)
        x = dist(gen);
    return v;
}

double WrappedDifference(double a, double b)
{
    double d = std::fmod(a - b, 2 * kPi);
    if (d > kPi)
        d -= 2 * kPi;
    if (d < -kPi)
        d += 2 * kPi;
    return d;
}

struct WaveletChoice {
    const char* name;
    std::shared_ptr<TWave1D> wave;
};

// Every length, both wavelets, every output form: the FFT path must agree with the direct
// evaluation. This catches bin order, sign, conjugation and scale-weighting faults.
TEST(WaveletTransform1D, AgreesWithDirectEvaluation)
{
    const WaveletChoice wavelets[] = {{"morlet", std::make_shared<TMorlet1D>(6, 1)},
                                      {"dog", std::make_shared<TSDog1D>(1.25)}};
    const int steps = 4;
    for (int n : {1, 2, 7, 8, 30}) {
        const std::vector<double> series = RandomSeries(n, 17u + n);
        const T1WaveTransformer transformer(n);
        for (const WaveletChoice& w : wavelets)
            for (int form = 0; form < 3; ++form) {
                const bool phase = form == 2;
                const bool l1 = form == 0;
                std::vector<double> coefs;
                WaveletTransform1D(transformer, steps, *w.wave, 8, 1, series, l1, ssLinear,
                                   phase, coefs);
                ASSERT_EQ(coefs.size(), static_cast<std::size_t>(steps * n));
                const std::vector<double> grid = LinearScales(8, 1, steps);
                for (int k = 0; k < steps; ++k) {
                    const auto ref = OracleFilter(series, *w.wave, grid[k]);
                    for (int j = 0; j < n; ++j) {
                        const double got = coefs[k * n + j];
                        const double re = static_cast<double>(ref[j].re);
                        const double im = static_cast<double>(ref[j].im);
                        const double magnitude = std::hypot(re, im);
                        if (phase) {
                            if (magnitude < 1e-6 * n)
                                continue; // the phase of rounding noise means nothing
                            EXPECT_NEAR(WrappedDifference(got, std::atan2(im, re)), 0, 1e-9)
                                << w.name << " n=" << n << " row " << k << " sample " << j;
                        } else {
                            const double want = l1 ? re : re * grid[k];
                            EXPECT_NEAR(got, want, 1e-9 * std::fmax(1.0, std::fabs(want)))
                                << w.name << " form " << form << " n=" << n << " row " << k
                                << " sample " << j;
                        }
                    }
                }
            }
    }
}

// Rows are shared between threads and start from one forward transform of the series: the
// matrix must still be, bit for bit, what a row-by-row transform gives.
TEST(WaveletTransform1D, SharedWorkGivesTheRowByRowResult)
{
    const int n = 1000, steps = 37;
    const std::vector<double> series = RandomSeries(n, 11);
    const T1WaveTransformer transformer(n);
    const TSDog1D wave(1.25);
    std::vector<double> coefs;
    WaveletTransform1D(transformer, steps, wave, 300, 2, series, false, ssQuadratic, false,
                       coefs);
    const std::vector<double> grid = QuadraticScales(300, 2, steps);
    ComplexBuffer buf = transformer.NewBuffer();
    std::vector<double> row(n);
    for (int k = 0; k < steps; ++k) {
        TransformRow(transformer, wave, series.data(), grid[k], false, false, buf.get(),
                     row.data());
        for (int j = 0; j < n; ++j)
            ASSERT_EQ(coefs[k * n + j], row[j]) << "row " << k << " sample " << j;
    }
}

TEST(WaveletTransform1D, RowZeroIsTheLargestScale)
{
    const int n = 16;
    const T1WaveTransformer transformer(n);
    const TMorlet1D wave(6, 1);
    const std::vector<double> series = RandomSeries(n, 3);
    std::vector<double> coefs;
    WaveletTransform1D(transformer, 100, wave, 100, 1, series, false, ssLogarithmic, false,
                       coefs);
    std::vector<double> first, last;
    WaveletTransform1D(transformer, 2, wave, 100, 100, series, false, ssLinear, false, first);
    WaveletTransform1D(transformer, 2, wave, 1, 1, series, false, ssLinear, false, last);
    for (int j = 0; j < n; ++j) {
        EXPECT_DOUBLE_EQ(coefs[j], first[j]);
        EXPECT_NEAR(coefs[99 * n + j], last[j], 1e-12);
    }
}

TEST(WaveletTransform1D, ScaleZeroAndNegativeScales)
{
    const int n = 9;
    const std::vector<double> series = RandomSeries(n, 5);
    const T1WaveTransformer transformer(n);
    const TSDog1D dog(1.25);
    const TMorlet1D morlet(6, 1);
    std::vector<double> rows, positive;
    // Linear grid 0, -1, -2.
    WaveletTransform1D(transformer, 3, dog, 0, -2, series, true, ssLinear, false, rows);
    WaveletTransform1D(transformer, 2, dog, 1, 1, series, true, ssLinear, false, positive);
    for (int j = 0; j < n; ++j) {
        EXPECT_NEAR(rows[j], 0, 1e-15) << "dog at scale 0";
        EXPECT_NEAR(rows[n + j], positive[j], 1e-12) << "dog is even in the scale";
    }
    WaveletTransform1D(transformer, 3, dog, 0, -2, series, false, ssLinear, false, rows);
    for (int j = 0; j < n; ++j)
        EXPECT_NEAR(rows[n + j], -positive[j], 1e-12) << "L2 weighting flips the sign";

    WaveletTransform1D(transformer, 3, morlet, 0, -2, series, true, ssLinear, false, rows);
    for (int j = 0; j < n; ++j)
        EXPECT_NEAR(rows[j], series[j] * n * std::exp(-18.0), 1e-18) << "morlet at scale 0";
    WaveletTransform1D(transformer, 3, morlet, 0, -2, series, false, ssLinear, false, rows);
    for (int j = 0; j < n; ++j)
        EXPECT_EQ(rows[j], 0.0) << "L2 at scale 0";
}

TEST(WaveletTransform1D, ConstantSeriesVanishesUnderTheDifferenceOfGaussians)
{
    const std::vector<double> series(64, 0.75);
    const T1WaveTransformer transformer(64);
    std::vector<double> coefs;
    WaveletTransform1D(transformer, 30, TSDog1D(1.25), 100, 1, series, true, ssLogarithmic,
                       false, coefs);
    for (double c : coefs)
        EXPECT_NEAR(c, 0, 1e-12);
}

TEST(WaveletTransform1D, SingleSampleRowsAreTheValueTimesTheSpectrumAtZero)
{
    const T1WaveTransformer transformer(1);
    std::vector<double> coefs;
    WaveletTransform1D(transformer, 30, TMorlet1D(6, 1), 100, 1, {0.5}, true, ssLogarithmic,
                       false, coefs);
    for (double c : coefs)
        EXPECT_DOUBLE_EQ(c, 0.5 * std::exp(-18.0));
}

// A sine of period P has its energy at the scale where the Morlet peak K0 / s meets the
// sine's angular frequency 2 pi / P.
TEST(WaveletTransform1D, SineEnergyPeaksAtTheMatchingScale)
{
    const int n = 1024;
    const int steps = 60;
    const TMorlet1D wave(6, 1);
    const T1WaveTransformer transformer(n);
    for (double period : {10.0, 20.0, 45.0}) {
        std::vector<double> series(n);
        for (int j = 0; j < n; ++j)
            series[j] = std::sin(2 * kPi * j / period);
        std::vector<double> coefs;
        WaveletTransform1D(transformer, steps, wave, 60, 1, series, true, ssLinear, false,
                           coefs);
        const std::vector<double> grid = LinearScales(60, 1, steps);
        int best = 0;
        double bestEnergy = -1;
        for (int k = 0; k < steps; ++k) {
            double energy = 0;
            for (int j = 0; j < n; ++j)
                energy += coefs[k * n + j] * coefs[k * n + j];
            if (energy > bestEnergy) {
                bestEnergy = energy;
                best = k;
            }
        }
        const double expected = 6 * period / (2 * kPi);
        int nearest = 0;
        for (int k = 0; k < steps; ++k)
            if (std::fabs(grid[k] - expected) < std::fabs(grid[nearest] - expected))
                nearest = k;
        EXPECT_EQ(best, nearest) << "period " << period << ": peak at scale " << grid[best]
                                 << ", expected near " << expected;
    }
}

} // namespace
