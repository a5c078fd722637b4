#include "engine/wavelet_periods.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559005768;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool GaussianDifferenceDegenerate(double a)
{
    return a == 0.0 || a == 1.0 || !std::isfinite(a);
}

// The Gaussian difference in time at scale 1, up to a constant factor.
double GaussianDifferenceInTime(double t, double a)
{
    return std::exp(-t * t / 2) - std::exp(-t * t / (2 * a * a)) / a;
}

// The outermost t where |f(t)| >= level, for a function that vanishes beyond `reach`.
double OutermostCrossing(const std::function<double(double)>& f, double level, double reach)
{
    constexpr int kSamples = 20000;
    const double dt = reach / kSamples;
    int last = 0;
    for (int i = 0; i <= kSamples; ++i)
        if (std::fabs(f(i * dt)) >= level)
            last = i;
    double inside = last * dt;
    double outside = inside + dt;
    for (int i = 0; i < 60; ++i) {
        const double mid = (inside + outside) / 2;
        (std::fabs(f(mid)) >= level ? inside : outside) = mid;
    }
    return inside;
}

} // namespace

double FindPeak(const std::function<double(double)>& magnitude, double lo, double hi)
{
    constexpr int kSamples = 4000;
    const double step = (hi - lo) / kSamples;
    int best = 0;
    for (int i = 1; i <= kSamples; ++i)
        if (magnitude(lo + i * step) > magnitude(lo + best * step))
            best = i;
    double a = lo + std::max(best - 1, 0) * step;
    double b = lo + std::min(best + 1, kSamples) * step;
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    for (int i = 0; i < 100 && b - a > 1e-14 * std::max(1.0, std::fabs(b)); ++i) {
        const double c = b - ratio * (b - a);
        const double d = a + ratio * (b - a);
        if (magnitude(c) >= magnitude(d))
            b = d;
        else
            a = c;
    }
    return (a + b) / 2;
}

double PeakFrequency(const TWaveletShape& wave)
{
    if (wave.Kind == wkMorlet)
        return wave.K0 == 0.0 ? kNaN : std::fabs(wave.K0);
    const double a = std::fabs(wave.Alpha);
    if (GaussianDifferenceDegenerate(a))
        return kNaN;
    // d/dw (exp(-w^2/2) - exp(-a^2 w^2/2)) = 0 at w^2 = 4 ln a / (a^2 - 1).
    return 2 * std::sqrt(std::log(a) / (a * a - 1));
}

double FourierPeriod(const TWaveletShape& wave, double scale)
{
    if (scale == 0.0)
        return 0.0;
    return kTwoPi * std::fabs(scale) / PeakFrequency(wave);
}

double EFoldingTime(const TWaveletShape& wave)
{
    if (wave.Kind == wkMorlet)
        return std::sqrt(2.0) * std::fabs(wave.Sigma);
    const double a = std::fabs(wave.Alpha);
    if (GaussianDifferenceDegenerate(a))
        return kNaN;
    const auto psi = [a](double t) { return GaussianDifferenceInTime(t, a); };
    const double reach = 12 * std::max(1.0, a); // both Gaussians are below 1e-31 there
    const double peak = std::fabs(psi(FindPeak([&](double t) { return std::fabs(psi(t)); },
                                                0.0, reach)));
    // Power e^-2 of the peak is amplitude e^-1.
    return OutermostCrossing(psi, peak * std::exp(-1.0), reach);
}

double ConeOfInfluence(const TWaveletShape& wave, double scale)
{
    return EFoldingTime(wave) * std::fabs(scale);
}
