#include "plane/plane_passes.h"

#include "engine/vector_clones.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr double kRangeGuard = 1e-100;

double Guarded(double divisor)
{
    return std::fabs(divisor) < kRangeGuard ? kRangeGuard : divisor;
}

enum : int { kLog = 0, kMinMax = 1, kMinMaxToo = 2, kStdDev = 3, kNone = -1 };

// The normalised value of one element: v = Factor * y, then by Kind. Lo and Scale (the
// reciprocal range) are those of v, or of v / Divisor for NormalizeStdDev.
struct TNormalisation {
    double Factor;
    double Divisor;
    double Lo;
    double Scale;
};

struct TRowExtremes {
    double Lo, Hi;
};

// The extremes of a row, starting from lo and hi. The compiler vectorises no reduction by
// comparison without -ffinite-math-only, so on x86-64 it is written with SSE2, whose min and
// max are exactly the comparisons below (a < b ? a : b).
TULVO_INLINE TRowExtremes RowExtremes(const double* x, std::size_t n, double lo, double hi)
{
#if defined(__SSE2__)
    __m128d vlo = _mm_set1_pd(lo), vhi = _mm_set1_pd(hi);
    std::size_t c = 0;
    for (; c + 2 <= n; c += 2) {
        const __m128d v = _mm_loadu_pd(x + c);
        vlo = _mm_min_pd(v, vlo);
        vhi = _mm_max_pd(v, vhi);
    }
    double l[2], h[2];
    _mm_storeu_pd(l, vlo);
    _mm_storeu_pd(h, vhi);
    double lo0 = l[0], lo1 = l[1], hi0 = h[0], hi1 = h[1];
#else
    double lo0 = lo, lo1 = lo, hi0 = hi, hi1 = hi;
    std::size_t c = 0;
    for (; c + 2 <= n; c += 2) {
        lo0 = x[c] < lo0 ? x[c] : lo0;
        lo1 = x[c + 1] < lo1 ? x[c + 1] : lo1;
        hi0 = x[c] > hi0 ? x[c] : hi0;
        hi1 = x[c + 1] > hi1 ? x[c + 1] : hi1;
    }
#endif
    if (c < n) {
        lo0 = x[c] < lo0 ? x[c] : lo0;
        hi0 = x[c] > hi0 ? x[c] : hi0;
    }
    return {std::min(lo0, lo1), std::max(hi0, hi1)};
}

} // namespace

// The statistics of a row, as the passes compile them into their loops.
struct TMomentsOfPasses {
    TULVO_INLINE static void AddRow(TMoments& m, const double* x, std::size_t n);
};

TULVO_INLINE void TMomentsOfPasses::AddRow(TMoments& m, const double* x, std::size_t n)
{
    if (n == 0)
        return;
    if (!m.HasShift) {
        m.HasShift = true;
        m.Shift = x[0];
        m.Min_ = m.Max_ = x[0];
    }
    const double shift = m.Shift;
    double s0 = 0, s1 = 0, q0 = 0, q1 = 0;
    std::size_t c = 0;
    for (; c + 2 <= n; c += 2) {
        const double d0 = x[c] - shift, d1 = x[c + 1] - shift;
        s0 += d0;
        s1 += d1;
        q0 += d0 * d0;
        q1 += d1 * d1;
    }
    if (c < n) {
        const double d = x[c] - shift;
        s0 += d;
        q0 += d * d;
    }
    const TRowExtremes e = RowExtremes(x, n, m.Min_, m.Max_);
    m.Sum += static_cast<long double>(s0 + s1);
    m.SumOfSquares += static_cast<long double>(q0 + q1);
    m.Min_ = e.Lo;
    m.Max_ = e.Hi;
    m.Count_ += n;
}

namespace {

// NormalizeLog: rescaled values at most 1e-100 become 0, the others their logarithm. The
// choice is a loop of its own over the rescaled values kept in `u`: GCC leaves a loop scalar
// that both takes the logarithm and chooses.
TULVO_INLINE void LogRow(double* __restrict x, double* __restrict u, std::size_t n,
                         const TNormalisation& m)
{
    for (std::size_t c = 0; c < n; ++c) {
        u[c] = (x[c] * m.Factor - m.Lo) * m.Scale;
        x[c] = LogOfNormal(u[c]);
    }
    for (std::size_t c = 0; c < n; ++c)
        x[c] = u[c] > 1e-100 ? x[c] : 0.0;
}

template <int Kind>
TULVO_INLINE void NormaliseRow(double* x, std::size_t n, const TNormalisation& m)
{
    for (std::size_t c = 0; c < n; ++c) {
        const double v = x[c] * m.Factor;
        if constexpr (Kind == kMinMax) {
            x[c] = (v - m.Lo) * m.Scale;
        } else if constexpr (Kind == kStdDev) {
            x[c] = (v / m.Divisor - m.Lo) * m.Scale;
        } else {
            x[c] = v;
        }
    }
}

template <int Kind>
TULVO_INLINE TMoments NormaliseRows(const TRealPlane& plane, const TNormalisation& m,
                                    bool measure)
{
    TMoments out;
    std::vector<double> rescaled(Kind == kLog ? plane.Cols : 0);
    for (std::size_t r = 0; r < plane.Rows; ++r) {
        double* row = plane.Row(r);
        if constexpr (Kind == kLog)
            LogRow(row, rescaled.data(), plane.Cols, m);
        else
            NormaliseRow<Kind>(row, plane.Cols, m);
        if (measure)
            TMomentsOfPasses::AddRow(out, row, plane.Cols);
    }
    return out;
}

// The extremes of Factor * y from those of y: rounding is monotonic, so the products of the
// extremes are the extremes of the products (swapped for a negative factor).
void ScaledExtremes(TExtremes raw, double factor, double& lo, double& hi)
{
    const double a = raw.Lo * factor, b = raw.Hi * factor;
    lo = std::min(a, b);
    hi = std::max(a, b);
}

} // namespace

void TMoments::AddRow(const double* x, std::size_t n) { TMomentsOfPasses::AddRow(*this, x, n); }

void TMoments::Add(const TMoments& later)
{
    if (later.Count_ == 0)
        return;
    if (Count_ == 0) {
        *this = later;
        return;
    }
    // The later sums moved to this shift: sum (x - a) = sum (x - b) + n (b - a), and the
    // squares likewise.
    const long double delta = static_cast<long double>(later.Shift) - Shift;
    const long double n = static_cast<long double>(later.Count_);
    Sum += later.Sum + n * delta;
    SumOfSquares += later.SumOfSquares + 2 * delta * later.Sum + n * delta * delta;
    Min_ = std::min(Min_, later.Min_);
    Max_ = std::max(Max_, later.Max_);
    Count_ += later.Count_;
}

TSeriesStats TMoments::Stats() const
{
    const long double m = static_cast<long double>(Count_);
    const long double mean = Shift + Sum / m;
    // Rounding may leave the spread of equal values a hair below 0.
    const long double q = std::fmax(SumOfSquares - Sum * Sum / m, 0.0L);
    return {mean, std::sqrt(q / (m - 1)), Max_, Min_};
}

TClipRange ClipRangeOf(const TSeriesStats& S, long double K)
{
    const long double hi = std::fmin(S.Mean + K * S.StdDev, S.MaxValue);
    const long double lo = std::fmax(S.Mean - K * S.StdDev, S.MinValue);
    const long double r = hi - lo;
    return {static_cast<double>(lo), static_cast<double>(hi),
            static_cast<double>(1 / (std::fabs(r) < 1e-100L ? 1e-100L : r))};
}

TULVO_WIDE_VECTORS TExtremes ExtremesOf(const TRealPlane& plane)
{
    double lo = plane.Data[0], hi = plane.Data[0];
    for (std::size_t r = 0; r < plane.Rows; ++r) {
        const TRowExtremes e = RowExtremes(plane.Row(r), plane.Cols, lo, hi);
        lo = e.Lo;
        hi = e.Hi;
    }
    return {lo, hi};
}

TULVO_WIDE_VECTORS TMoments MomentsOf(const TRealPlane& plane)
{
    TMoments out;
    for (std::size_t r = 0; r < plane.Rows; ++r)
        TMomentsOfPasses::AddRow(out, plane.Row(r), plane.Cols);
    return out;
}

TULVO_WIDE_VECTORS TMoments NormalisePlane(const TRealPlane& plane, TExtremes raw,
                                           double RawStdDev, double Factor, int Kind,
                                           bool measure)
{
    TNormalisation m{Factor, 1.0, 0.0, 1.0};
    double lo = 0, hi = 0;
    ScaledExtremes(raw, Factor, lo, hi);
    switch (Kind) {
    case kLog:
    case kMinMax:
    case kMinMaxToo:
        m.Lo = lo;
        m.Scale = 1 / Guarded(hi - lo);
        return Kind == kLog ? NormaliseRows<kLog>(plane, m, measure)
                            : NormaliseRows<kMinMax>(plane, m, measure);
    case kStdDev: {
        // The standard deviation of Factor * y is |Factor| times that of y; a division by
        // a positive number is monotonic too, so the extremes follow.
        m.Divisor = Guarded(std::fabs(Factor) * RawStdDev);
        m.Lo = lo / m.Divisor;
        m.Scale = 1 / Guarded(hi / m.Divisor - m.Lo);
        return NormaliseRows<kStdDev>(plane, m, measure);
    }
    default:
        return NormaliseRows<kNone>(plane, m, measure);
    }
}

TULVO_WIDE_VECTORS void ScalePlane(const TRealPlane& plane, double Factor)
{
    for (std::size_t r = 0; r < plane.Rows; ++r) {
        double* x = plane.Row(r);
        for (std::size_t c = 0; c < plane.Cols; ++c)
            x[c] *= Factor;
    }
}

TULVO_WIDE_VECTORS TMoments ModulusPlane(const TRealPlane& x, const TRealPlane& y, double Factor)
{
    TMoments out;
    for (std::size_t r = 0; r < x.Rows; ++r) {
        double* a = x.Row(r);
        const double* b = y.Row(r);
        for (std::size_t c = 0; c < x.Cols; ++c) {
            const double p = a[c] * Factor, q = b[c] * Factor;
            a[c] = std::sqrt(p * p + q * q);
        }
        TMomentsOfPasses::AddRow(out, a, x.Cols);
    }
    return out;
}

TULVO_WIDE_VECTORS TMoments ClipPlane(const TRealPlane& plane, const TClipRange& clip)
{
    TMoments out;
    for (std::size_t r = 0; r < plane.Rows; ++r) {
        double* x = plane.Row(r);
        for (std::size_t c = 0; c < plane.Cols; ++c)
            x[c] = clip.Apply(x[c]);
        TMomentsOfPasses::AddRow(out, x, plane.Cols);
    }
    return out;
}

TULVO_WIDE_VECTORS void AddClippedRows(double* Sums, std::size_t Cols, const TRealPlane* Planes,
                                       const TClipRange* Clips, int Count, std::size_t RowBegin,
                                       std::size_t RowEnd, TMoments* RowMoments)
{
    for (std::size_t r = RowBegin; r < RowEnd; ++r) {
        double* s = Sums + r * Cols;
        for (int j = 0; j < Count; ++j) {
            const double* w = Planes[j].Row(r);
            const TClipRange clip = Clips[j];
            for (std::size_t c = 0; c < Cols; ++c)
                s[c] += clip.Apply(w[c]);
        }
        if (RowMoments)
            TMomentsOfPasses::AddRow(RowMoments[r], s, Cols);
    }
}
