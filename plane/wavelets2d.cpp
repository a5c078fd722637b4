#include "plane/wavelets2d.h"

#include <cmath>

namespace {
constexpr long double kTwoPi = 6.283185307179586476925286766559005768L;
// exp(x) below this rounds to 0 as a double (it is under half the least subnormal), so the
// costly extended exponential can be skipped there without changing any result.
constexpr long double kExpRoundsToZero = -746.0L;
} // namespace

void TMorlet2D::Spectrum(long double Kx, long double Ky, TComplex& Result) const
{
    const long double dx = Kx - K0;
    const long double exponent = -(Sigma * Sigma) * (dx * dx + Ky * Ky) / 2;
    if (exponent < kExpRoundsToZero)
        Result = {0.0, 0.0};
    else
        Result = {static_cast<double>(std::exp(exponent)), 0.0};
}

void TGaussz2D::Spectrum(long double Kx, long double Ky, TComplex& Result) const
{
    const TComplex z = {static_cast<double>(-Ky), static_cast<double>(Kx)};
    const TComplex w = CPower(z, Order);
    const long double wx = WidthX * Kx;
    const long double wy = WidthY * Ky;
    const long double g = std::exp(-(wx * wx + wy * wy) / 2);
    Result = {static_cast<double>(w.Re * g), static_cast<double>(w.Im * g)};
}

void TSQDog2D::Spectrum(long double Kx, long double Ky, TComplex& Result) const
{
    const long double r2 = Kx * Kx + Ky * Ky;
    const long double c = Alpha * Alpha;
    // The terms are summed in this order in the double that receives the result, each step
    // rounded to double, so the near-cancellation around the origin is reproducible.
    double re = static_cast<double>(0.5L * std::exp(-r2 / 4));
    re = static_cast<double>(re + 1 / (2 * c) * std::exp(-c * r2 / 4));
    re = static_cast<double>(re - 2 / (c + 1) * std::exp(-c * r2 / (2 * (c + 1))));
    re = static_cast<double>(re / kTwoPi);
    Result = {re, 0.0};
}
