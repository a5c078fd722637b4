#include "plane/wavelets2d.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr double kTwoPi = 6.283185307179586;

struct SpectrumCase {
    const char* what;
    const TWave2D& wave;
    long double kx, ky;
    double re, im;
    double tolerance; // 0: exact
};

void ExpectValue(double got, double want, double tolerance, const char* what, const char* part)
{
    if (tolerance == 0)
        EXPECT_EQ(got, want) << what << " " << part;
    else
        EXPECT_NEAR(got, want, tolerance) << what << " " << part;
}

// Values at chosen frequencies, from the closed forms.
TEST(Wavelets2D, QuotedValues)
{
    const TMorlet2D morlet(6, 1);
    const TMorlet2D narrow(3, 2);
    const TGaussz2D gradient(1, 1);
    const TGaussz2D square(2, 0.5L);
    const TSQDog2D dog1(1);
    const TSQDog2D dog125(1.25L);
    const double halfE = std::exp(-0.5);
    const double c = 1.5625;
    const double r2 = 2.0 * 2.0 + 1.0 * 1.0;
    const double dogAt21 = (0.5 * std::exp(-r2 / 4) + 1 / (2 * c) * std::exp(-c * r2 / 4) -
                            2 / (c + 1) * std::exp(-c * r2 / (2 * (c + 1)))) / kTwoPi;
    const double dogAtOrigin = (c - 1) * (c - 1) / (2 * c * (c + 1)) / kTwoPi; // about 0.006289
    // (-1 + 2i)^2 = -3 - 4i; widths 0.5 at (2, 1): exp(-(1 + 0.25) / 2).
    const double squareG = std::exp(-0.625);
    const SpectrumCase cases[] = {
        {"morlet at its centre", morlet, 6, 0, 1, 0, 0},
        {"morlet at the origin", morlet, 0, 0, std::exp(-18.0), 0, 1e-22},
        {"morlet at the least double", morlet, 6 + std::sqrt(1490.0L), 0, std::exp(-745.0), 0, 0},
        {"morlet beyond the doubles", morlet, 46, 0, 0, 0, 0},
        {"morlet off axis", narrow, 2, -1, std::exp(-4.0 * (1 + 1) / 2), 0, 1e-16},
        {"gradient at the origin", gradient, 0, 0, 0, 0, 0},
        {"gradient along x", gradient, 1, 0, 0, halfE, 1e-15},
        {"gradient along y", gradient, 0, 1, -halfE, 0, 1e-15},
        {"squared gradient, narrow", square, 2, 1, -3 * squareG, -4 * squareG, 1e-14},
        {"dog alpha 1 at the origin", dog1, 0, 0, 0, 0, 0},
        {"dog alpha 1.25 at the origin", dog125, 0, 0, dogAtOrigin, 0, 1e-17},
        {"dog alpha 1.25 at (2, 1)", dog125, 2, 1, dogAt21, 0, 1e-16},
        {"dog alpha 1.25 rotated", dog125, -1, 2, dogAt21, 0, 1e-16},
    };
    for (const SpectrumCase& t : cases) {
        TComplex p = {99, 99};
        t.wave.Spectrum(t.kx, t.ky, p);
        ExpectValue(p.Re, t.re, t.tolerance, t.what, "Re");
        ExpectValue(p.Im, t.im, t.tolerance, t.what, "Im");
    }
    EXPECT_NEAR(dogAtOrigin, 0.006289, 5e-7);
}

// Only the complex wavelet has an imaginary part; the others must give exactly 0, or the
// filtered planes of real matrices would pick up rounding noise in their imaginary parts.
TEST(Wavelets2D, RealKindsHaveNoImaginaryPart)
{
    const TMorlet2D morlet(6, 1);
    const TSQDog2D dog(1.25L);
    for (long double kx : {-3.1L, -0.4L, 0.0L, 2.2L, 7.0L})
        for (long double ky : {-2.5L, 0.0L, 1.3L}) {
            TComplex p = {1, 1};
            morlet.Spectrum(kx, ky, p);
            EXPECT_EQ(p.Im, 0.0) << kx << "," << ky;
            dog.Spectrum(kx, ky, p);
            EXPECT_EQ(p.Im, 0.0) << kx << "," << ky;
        }
}

} // namespace
