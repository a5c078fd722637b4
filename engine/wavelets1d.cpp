#include "engine/wavelets1d.h"

#include "engine/vector_clones.h"
#include "engine/vector_math.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// exp of anything below this is exactly 0 in double (the smallest subnormal is e^-744.4).
constexpr double kExpUnderflow = -746.0;

TULVO_INLINE double MorletExponent(double W, double K0, double Sigma)
{
    const double d = W - K0;
    return -(Sigma * Sigma) * (d * d) / 2.0;
}

TULVO_INLINE double HalfSquare(double W) { return W * W / 2.0; }

// The exponents at the frequencies omega[i] x scale.
TULVO_WIDE_VECTORS void MorletExponents(const double* omega, std::size_t count, double scale,
                                        double K0, double Sigma, double* out)
{
    for (std::size_t i = 0; i < count; ++i)
        out[i] = MorletExponent(omega[i] * scale, K0, Sigma);
}

// The exponents of the difference's two Gaussians, -t and -alpha^2 t for t = W^2 / 2, at the
// frequencies W = omega[i] x scale.
TULVO_WIDE_VECTORS void GaussianExponents(const double* omega, std::size_t count, double scale,
                                          double alpha2, double* first, double* second)
{
    for (std::size_t i = 0; i < count; ++i) {
        const double t = HalfSquare(omega[i] * scale);
        first[i] = -t;
        second[i] = -alpha2 * t;
    }
}

TULVO_WIDE_VECTORS void Differences(double* a, const double* b, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        a[i] = a[i] - b[i];
}

// Whether the four values from v on all lie below the underflow.
TULVO_INLINE bool FourUnderflow(const double* v)
{
    TDoubleLanes x;
    std::memcpy(&x, v, sizeof x);
    const auto below = x < (TDoubleLanes{} + kExpUnderflow); // lanes of all ones or zero
    return (below[0] & below[1] & below[2] & below[3]) != 0;
}

// How many values from the front lie below the underflow.
TULVO_WIDE_VECTORS std::size_t LeadingUnderflows(const double* v, std::size_t count)
{
    std::size_t n = 0;
    while (n + 4 <= count && FourUnderflow(v + n))
        n += 4;
    while (n < count && v[n] < kExpUnderflow)
        ++n;
    return n;
}

// Where the values below the underflow at the back start, at `first` or after.
TULVO_WIDE_VECTORS std::size_t TrailingUnderflows(const double* v, std::size_t first,
                                                  std::size_t count)
{
    std::size_t last = count;
    while (last >= first + 4 && FourUnderflow(v + last - 4))
        last -= 4;
    while (last > first && v[last - 1] < kExpUnderflow)
        --last;
    return last;
}

// exp over the values at or above the underflow, 0 elsewhere. The exponents of a row are
// a parabola in the bin frequency, so the values worth evaluating form one block in the
// middle; the ends are zeros.
void ExpAboveUnderflow(double* v, std::size_t count)
{
    const std::size_t first = LeadingUnderflows(v, count);
    const std::size_t last = TrailingUnderflows(v, first, count);
    std::fill(v, v + first, 0.0);
    std::fill(v + last, v + count, 0.0);
    ExpInPlace(v + first, last - first);
}

} // namespace

TComplex TMorlet1D::Spectrum(double W) const
{
    return {std::exp(MorletExponent(W, K0, Sigma)), 0.0};
}

void TMorlet1D::RealSpectra(const double* Omega, std::size_t count, double Scale,
                            double* Re) const
{
    MorletExponents(Omega, count, Scale, K0, Sigma, Re);
    ExpAboveUnderflow(Re, count);
}

TComplex TSDog1D::Spectrum(double W) const
{
    const double t = HalfSquare(W);
    const long double difference =
        static_cast<long double>(std::exp(-t)) - std::exp(-(Alpha * Alpha) * t);
    return {static_cast<double>(difference), 0.0};
}

void TSDog1D::RealSpectra(const double* Omega, std::size_t count, double Scale, double* Re,
                          double* scratch) const
{
    GaussianExponents(Omega, count, Scale, Alpha * Alpha, Re, scratch);
    ExpAboveUnderflow(Re, count);
    ExpAboveUnderflow(scratch, count);
    // The difference of two doubles in double: correctly rounded, where the extended
    // difference rounded to double may be off by one rounding (a unit in the last place).
    Differences(Re, scratch, count);
}
