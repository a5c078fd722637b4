#include "engine/wavelets1d.h"

#include "engine/vector_clones.h"
#include "engine/vector_math.h"

#include <algorithm>
#include <cmath>

namespace {

// exp of anything below this is exactly 0 in double (the smallest subnormal is e^-744.4).
constexpr double kExpUnderflow = -746.0;

TULVO_INLINE double MorletExponent(double W, double K0, double Sigma)
{
    const double d = W - K0;
    return -(Sigma * Sigma) * (d * d) / 2.0;
}

TULVO_INLINE double HalfSquare(double W) { return W * W / 2.0; }

TULVO_WIDE_VECTORS void MorletExponents(const double* W, std::size_t count, double K0,
                                        double Sigma, double* out)
{
    for (std::size_t i = 0; i < count; ++i)
        out[i] = MorletExponent(W[i], K0, Sigma);
}

// The exponents of the difference's two Gaussians, -t and -alpha^2 t for t = W^2 / 2.
TULVO_WIDE_VECTORS void GaussianExponents(const double* W, std::size_t count, double alpha2,
                                          double* first, double* second)
{
    for (std::size_t i = 0; i < count; ++i) {
        const double t = HalfSquare(W[i]);
        first[i] = -t;
        second[i] = -alpha2 * t;
    }
}

TULVO_WIDE_VECTORS void Differences(double* a, const double* b, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        a[i] = a[i] - b[i];
}

// exp over the values at or above the underflow, 0 elsewhere. The exponents of a row are
// a parabola in the bin frequency, so the values worth evaluating form one block in the
// middle; the ends are zeros.
void ExpAboveUnderflow(double* v, std::size_t count)
{
    std::size_t first = 0;
    while (first < count && v[first] < kExpUnderflow)
        v[first++] = 0.0;
    std::size_t last = count;
    while (last > first && v[last - 1] < kExpUnderflow)
        v[--last] = 0.0;
    ExpInPlace(v + first, last - first);
}

} // namespace

TComplex TMorlet1D::Spectrum(double W) const
{
    return {std::exp(MorletExponent(W, K0, Sigma)), 0.0};
}

void TMorlet1D::RealSpectra(const double* W, std::size_t count, double* Re) const
{
    MorletExponents(W, count, K0, Sigma, Re);
    ExpAboveUnderflow(Re, count);
}

TComplex TSDog1D::Spectrum(double W) const
{
    const double t = HalfSquare(W);
    const long double difference =
        static_cast<long double>(std::exp(-t)) - std::exp(-(Alpha * Alpha) * t);
    return {static_cast<double>(difference), 0.0};
}

void TSDog1D::RealSpectra(const double* W, std::size_t count, double* Re,
                          double* scratch) const
{
    GaussianExponents(W, count, Alpha * Alpha, Re, scratch);
    ExpAboveUnderflow(Re, count);
    ExpAboveUnderflow(scratch, count);
    // The difference of two doubles in double: correctly rounded, where the extended
    // difference rounded to double may be off by one rounding (a unit in the last place).
    Differences(Re, scratch, count);
}
