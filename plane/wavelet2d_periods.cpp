#include "plane/wavelet2d_periods.h"

#include "engine/wavelet_periods.h"

#include <cmath>
#include <limits>
#include <memory>

namespace {
constexpr double kTwoPi = 6.283185307179586476925286766559005768;
constexpr double kReach = 64; // radians per pixel at scale 1: past every peak of interest
} // namespace

double PeakRadialFrequency(const TWave2D& wave)
{
    const auto magnitude = [&wave](double k) {
        TComplex value;
        wave.Spectrum(k, 0, value);
        return std::hypot(value.Re, value.Im);
    };
    const double peak = FindPeak(magnitude, -kReach, kReach);
    if (std::fabs(peak) < 1e-6)
        return std::numeric_limits<double>::quiet_NaN();
    return std::fabs(peak);
}

double Wavelength2D(const TAnalysisParams& params, double scale)
{
    if (scale == 0.0)
        return 0.0;
    std::unique_ptr<TWave2D> wave;
    if (params.WaveletKind == wkGaussian)
        wave = std::make_unique<TSQDog2D>(params.Alpha);
    else
        wave = std::make_unique<TMorlet2D>(params.K0, params.Sigma);
    return kTwoPi * std::fabs(scale) / PeakRadialFrequency(*wave);
}
