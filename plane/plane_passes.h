#pragma once
// The element-wise passes of a 2-D run, fused so that each reads a plane once: a filtered
// plane is scaled, normalised and measured in one pass, and clipped while it is summed.
//
// Planes here are real: Rows rows of Cols values, Stride doubles apart (the padded rows of a
// half-spectrum buffer, or Cols for a dense plane).
//
// Precision: the engine's normalisations and statistics accumulate and divide in extended
// precision. Here the element arithmetic is double, in loops the compiler vectorises: a
// division by a range becomes a product with its reciprocal (one more rounding), the
// logarithm is LogOfNormal below, and sums are taken row by row in double with interleaved
// partial sums about a shift (the plane's first value), the rows' sums added in extended
// precision. For the planes of a run (some millions of values in [0, 1], or a few hundred
// wide after the logarithm) mean and standard deviation agree with the extended ones to
// about 1e-13 of the plane's range, which moves no colour bin edge by anything near 1e-6.

#include "engine/stats.h"

#include <bit>
#include <cstddef>
#include <cstdint>

// The view of a real plane.
struct TRealPlane {
    double* Data;
    std::size_t Rows;
    std::size_t Cols;
    std::size_t Stride;

    double* Row(std::size_t r) const { return Data + r * Stride; }
};

// Count, sums about a shift, and the extremes of the values added so far.
class TMoments {
public:
    // Adds n values, one row.
    void AddRow(const double* x, std::size_t n);
    // Adds what a later share of the plane gathered.
    void Add(const TMoments& later);
    // Mean, sample standard deviation (divisor count - 1: a single value gives the invalid
    // operation 0 / 0, as the engine's statistics do), extremes.
    TSeriesStats Stats() const;
    std::size_t Count() const { return Count_; }
    double Min() const { return Min_; }
    double Max() const { return Max_; }

private:
    friend struct TMomentsOfPasses; // AddRow as the passes compile it into their loops

    bool HasShift = false;
    double Shift = 0;
    long double Sum = 0;
    long double SumOfSquares = 0;
    double Min_ = 0;
    double Max_ = 0;
    std::size_t Count_ = 0;
};

// The limits of ClipNormalize(K) for a plane of these statistics: values clipped to [Lo, Hi]
// (never beyond the plane's own extremes) and mapped to (v - Lo) / Range.
struct TClipRange {
    double Lo;
    double Hi;
    double Scale; // 1 / Range, the range guarded against 0 like the engine's

    double Apply(double v) const
    {
        v = v < Hi ? v : Hi;
        v = v > Lo ? v : Lo;
        return (v - Lo) * Scale;
    }
};
TClipRange ClipRangeOf(const TSeriesStats& S, long double K);

struct TExtremes {
    double Lo;
    double Hi;
};
// The extremes of a plane of at least one value.
TExtremes ExtremesOf(const TRealPlane& plane);
// All the statistics of a plane.
TMoments MomentsOf(const TRealPlane& plane);

// Whether the output quantity of this item index normalises its plane (which leaves no
// imaginary part), and whether its normalisation needs the plane's standard deviation.
inline bool IsNormalisation(int Kind) { return Kind >= 0 && Kind <= 3; }
inline bool NeedsStdDev(int Kind) { return Kind == 3; }

// Every value times Factor.
void ScalePlane(const TRealPlane& plane, double Factor);

// The normalisations of the 2-D command (by the item index of the output quantity: 0
// NormalizeLog, 1 and 2 NormalizeMinMax, 3 NormalizeStdDev, any other none) applied to the
// plane Factor * y, where y is what the plane holds: each value becomes its normalised
// Factor * y. `raw` are the extremes of y and RawStdDev its standard deviation (read only for
// NormalizeStdDev). Returns the statistics of the result when `measure`, else nothing worth
// reading.
TMoments NormalisePlane(const TRealPlane& plane, TExtremes raw, double RawStdDev, double Factor,
                        int Kind, bool measure);

// The gradient magnitude sqrt((Factor x)^2 + (Factor y)^2) of the planes x (replaced by it)
// and y. Returns its statistics.
TMoments ModulusPlane(const TRealPlane& x, const TRealPlane& y, double Factor);

// Every value clipped and rescaled by `clip`; returns the statistics of the result.
TMoments ClipPlane(const TRealPlane& plane, const TClipRange& clip);

// Rows [RowBegin, RowEnd) of Sums (dense rows of Cols values): each plane clipped by its
// clip range added in turn, as ClipNormalize and Accumulate(1.0) after each would add them;
// row r's statistics of the result into RowMoments[r] when it is not null.
void AddClippedRows(double* Sums, std::size_t Cols, const TRealPlane* Planes,
                    const TClipRange* Clips, int Count, std::size_t RowBegin, std::size_t RowEnd,
                    TMoments* RowMoments);

// ln x for a positive normal x, within one unit in the last place of the exact value, with
// the polynomial of fdlibm's log and no branches, so that loops around it vectorise (the C
// library's log is a call per element). Other arguments give a finite value of no meaning
// and raise no floating-point fault.
// Inline, so that the loops around it vectorise.
inline double LogOfNormal(double x)
{
    // fdlibm's log: x = 2^k m with m in [sqrt(2) / 2, sqrt(2)), f = m - 1, s = f / (2 + f),
    // ln m = f - f^2 / 2 + s (f^2 / 2 + R(s^2)).
    constexpr double ln2Hi = 6.93147180369123816490e-01, ln2Lo = 1.90821492927058770002e-10;
    constexpr double lg1 = 6.666666666666735130e-01, lg2 = 3.999999999940941908e-01,
                     lg3 = 2.857142874366239149e-01, lg4 = 2.222219843214978396e-01,
                     lg5 = 1.818357216161805012e-01, lg6 = 1.531383769920937332e-01,
                     lg7 = 1.479819860511658591e-01;
    // Moving the bits by 1 - sqrt(2) / 2 in the exponent field puts m where it belongs.
    const std::uint64_t u = std::bit_cast<std::uint64_t>(x) + 0x00095f6200000000ULL;
    // The exponent k, made a double without an integer conversion (which would not vectorise).
    const double k = std::bit_cast<double>(0x4330000000000000ULL | (u >> 52)) - (0x1p52 + 1023.0);
    const double m = std::bit_cast<double>((u & 0x000fffffffffffffULL) + 0x3fe6a09e00000000ULL);
    const double f = m - 1.0;
    const double hfsq = 0.5 * f * f;
    const double s = f / (2.0 + f);
    const double z = s * s;
    const double w = z * z;
    const double t1 = w * (lg2 + w * (lg4 + w * lg6));
    const double t2 = z * (lg1 + w * (lg3 + w * (lg5 + w * lg7)));
    const double r = t2 + t1;
    return k * ln2Hi - ((hfsq - (s * (hfsq + r) + k * ln2Lo)) - f);
}
