// Periods and cones of influence against what the wavelets actually do: the spectrum's peak
// found by scanning, and the power of a transformed spike.
#include "engine/transformer1d.h"
#include "engine/wavelet_periods.h"
#include "engine/wavelets1d.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr double kTwoPi = 6.283185307179586;

std::unique_ptr<TWave1D> MakeWave(const TWaveletShape& shape)
{
    if (shape.Kind == wkMorlet)
        return std::make_unique<TMorlet1D>(shape.K0, shape.Sigma);
    return std::make_unique<TSDog1D>(shape.Alpha);
}

const TWaveletShape kShapes[] = {
    {wkMorlet, 0, 6, 1},    {wkMorlet, 0, 6, 2},      {wkMorlet, 0, 3, 0.7},
    {wkMorlet, 0, -5, 1.5}, {wkGaussian, 1.25, 0, 0}, {wkGaussian, 2, 0, 0},
    {wkGaussian, 4, 0, 0},  {wkGaussian, 0.6, 0, 0},  {wkGaussian, -1.5, 0, 0},
};

std::string Name(const TWaveletShape& s)
{
    return s.Kind == wkMorlet
               ? "Morlet K0=" + std::to_string(s.K0) + " Sigma=" + std::to_string(s.Sigma)
               : "Gaussian difference Alpha=" + std::to_string(s.Alpha);
}

TEST(WaveletPeriods, PeakFrequencyIsWhereTheSpectrumPeaks)
{
    for (const TWaveletShape& shape : kShapes) {
        SCOPED_TRACE(Name(shape));
        const auto wave = MakeWave(shape);
        double best = 0, bestValue = -1;
        for (double w = -30; w <= 30; w += 1e-4) {
            const double value = std::fabs(wave->Spectrum(w).Re);
            if (value > bestValue)
                best = w, bestValue = value;
        }
        EXPECT_NEAR(PeakFrequency(shape), std::fabs(best), 2e-4);
        EXPECT_NEAR(FourierPeriod(shape, -20), kTwoPi * 20 / std::fabs(best), 1e-2);
    }
}

TEST(WaveletPeriods, DegenerateWaveletsHaveNoPeriodAndScaleZeroNone)
{
    EXPECT_TRUE(std::isnan(PeakFrequency({wkGaussian, 1.0, 0, 0})));
    EXPECT_TRUE(std::isnan(PeakFrequency({wkGaussian, 0.0, 0, 0})));
    EXPECT_TRUE(std::isnan(PeakFrequency({wkMorlet, 0, 0.0, 1})));
    EXPECT_TRUE(std::isnan(EFoldingTime({wkGaussian, -1.0, 0, 0})));
    EXPECT_EQ(FourierPeriod({wkMorlet, 0, 6, 1}, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(EFoldingTime({wkMorlet, 0, 6, 2}), 2 * std::sqrt(2.0));
}

// The outermost distance from a spike where the transform's power is still e^-2 of its peak.
double SpikeEFolding(const TWave1D& wave, double scale)
{
    constexpr int n = 8192;
    const T1WaveTransformer transformer(n);
    ComplexBuffer buf = transformer.NewBuffer();
    buf[n / 2] = {1.0, 0.0};
    transformer.ApplyWavelet(wave, buf.get(), scale);
    std::vector<double> power(n);
    double peak = 0;
    for (int j = 0; j < n; ++j) {
        power[j] = buf[j].Re * buf[j].Re + buf[j].Im * buf[j].Im;
        peak = std::max(peak, power[j]);
    }
    int reach = 0;
    for (int j = 0; j < n; ++j)
        if (power[j] >= peak * std::exp(-2.0))
            reach = std::max(reach, std::abs(j - n / 2));
    return reach;
}

TEST(WaveletPeriods, ConeIsTheEFoldingOfATransformedSpike)
{
    for (const TWaveletShape& shape : kShapes) {
        const auto wave = MakeWave(shape);
        for (double scale : {12.0, 40.0, 150.0}) {
            SCOPED_TRACE(Name(shape) + " scale " + std::to_string(scale));
            const double cone = ConeOfInfluence(shape, scale);
            // The spike's reach is a whole number of samples below the exact crossing.
            EXPECT_NEAR(SpikeEFolding(*wave, scale), cone, 1.0 + 0.01 * cone);
        }
    }
}

} // namespace
