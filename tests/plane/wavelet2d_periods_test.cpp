// The wavelength a 2-D frame passes, against the wavelets' spectra scanned over the plane.
#include "plane/wavelet2d_periods.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr double kTwoPi = 6.283185307179586;

// The radius of the largest |Spectrum| on a grid over the plane.
double ScannedPeakRadius(const TWave2D& wave)
{
    double best = 0, bestValue = -1;
    for (double kx = -12; kx <= 12; kx += 0.01)
        for (double ky = -1; ky <= 1; ky += 0.25) { // a few rows off the axis as well
            TComplex v;
            wave.Spectrum(kx, ky, v);
            const double m = std::hypot(v.Re, v.Im);
            if (m > bestValue)
                best = std::hypot(kx, ky), bestValue = m;
        }
    return best;
}

TEST(Wavelength2D, IsTwoPiScaleOverTheSpectrumPeak)
{
    TAnalysisParams morlet;
    morlet.WaveletKind = wkMorlet;
    for (const double k0 : {4.0, 6.0, -5.0}) {
        morlet.K0 = k0;
        const TMorlet2D wave(k0, 1);
        EXPECT_NEAR(ScannedPeakRadius(wave), std::fabs(k0), 0.01);
        EXPECT_NEAR(PeakRadialFrequency(wave), std::fabs(k0), 1e-6);
        EXPECT_NEAR(Wavelength2D(morlet, -10), kTwoPi * 10 / std::fabs(k0), 1e-6);
    }
    EXPECT_EQ(Wavelength2D(morlet, 0), 0);
}

// The 2-D Gaussian difference is largest at frequency 0: a low-pass with no wavelength.
TEST(Wavelength2D, GaussianPeaksAtZeroAndHasNone)
{
    for (const double alpha : {1.25, 2.0, 3.5}) {
        SCOPED_TRACE(alpha);
        EXPECT_LT(ScannedPeakRadius(TSQDog2D(alpha)), 0.01);
        TAnalysisParams p;
        p.WaveletKind = wkGaussian;
        p.Alpha = alpha;
        EXPECT_TRUE(std::isnan(Wavelength2D(p, 30)));
    }
}

} // namespace
