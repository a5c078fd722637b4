#include "engine/stats.h"

#include "engine/parallel_rows.h"
#include "engine/vector_clones.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {

// Beyond every finite double, so the first value always replaces them.
constexpr long double kMaxSentinel = -1.1e4932L;
constexpr long double kMinSentinel = 1.1e4932L;
constexpr long double kRangeGuard = 1e-100L;

// Element-wise passes and extremes do not depend on the order of the elements, so they are
// shared between the cores; sums are not (their rounding depends on the order).
constexpr std::size_t kLeastElementsPerShare = 1 << 16;

long double Guarded(long double divisor)
{
    return std::fabs(divisor) < kRangeGuard ? kRangeGuard : divisor;
}

struct Extremes {
    long double hi = kMaxSentinel;
    long double lo = kMinSentinel;

    void Add(long double v)
    {
        if (v > hi)
            hi = v;
        if (v < lo)
            lo = v;
    }
    void Add(const Extremes& other)
    {
        Add(other.hi);
        Add(other.lo);
    }
};

template <typename Work>
void ForEachElement(DoubleView V, const Work& work)
{
    ForEachRowRange(V.size, kLeastElementsPerShare, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i)
            work(V[i]);
    });
}

// The extremes after `transform` has replaced each element (identity by default).
template <typename Transform>
Extremes TransformAndFindExtremes(DoubleView V, const Transform& transform)
{
    Extremes all;
    std::mutex lock;
    ForEachRowRange(V.size, kLeastElementsPerShare, [&](std::size_t begin, std::size_t end) {
        Extremes share;
        for (std::size_t i = begin; i < end; ++i) {
            transform(V[i]);
            share.Add(V[i]);
        }
        const std::lock_guard<std::mutex> guard(lock);
        all.Add(share);
    });
    return all;
}

Extremes ExtremesOf(DoubleView V)
{
    return TransformAndFindExtremes(V, [](double&) {});
}

void Rescale(DoubleView V, long double lo, long double range)
{
    ForEachElement(V, [&](double& v) { v = static_cast<double>((v - lo) / range); });
}

} // namespace

DoubleView ViewOf(std::vector<double>& v) { return {v.data(), v.size(), 1}; }

DoubleView RealPartsOf(TComplex* plane, std::size_t count)
{
    return {&plane->Re, count, sizeof(TComplex) / sizeof(double)};
}

TSeriesStats SeriesStats(DoubleView V)
{
    long double sum = 0;
    Extremes e;
    for (std::size_t i = 0; i < V.size; ++i) {
        sum += V[i];
        e.Add(V[i]);
    }
    const long double m = static_cast<long double>(V.size);
    const long double mean = sum / m;
    long double q = 0;
    for (std::size_t i = 0; i < V.size; ++i) {
        const long double d = mean - V[i];
        q += d * d;
    }
    return {mean, std::sqrt(q / (m - 1)), e.hi, e.lo};
}

void NormalizeMinMax(DoubleView V)
{
    const Extremes e = ExtremesOf(V);
    Rescale(V, e.lo, Guarded(e.hi - e.lo));
}

void NormalizeLog(DoubleView V)
{
    const Extremes e = ExtremesOf(V);
    const long double r = Guarded(e.hi - e.lo);
    ForEachElement(V, [&](double& v) {
        const double u = static_cast<double>((v - e.lo) / r);
        v = u <= 1e-100 ? 0.0 : std::log(u);
    });
}

void NormalizeStdDev(DoubleView V)
{
    const long double s = Guarded(SeriesStats(V).StdDev);
    const Extremes e =
        TransformAndFindExtremes(V, [&](double& v) { v = static_cast<double>(v / s); });
    Rescale(V, e.lo, Guarded(e.hi - e.lo));
}

void ClipNormalize(DoubleView V, long double K)
{
    const TSeriesStats S = SeriesStats(V);
    const long double hi = std::fmin(S.Mean + K * S.StdDev, S.MaxValue);
    const long double lo = std::fmax(S.Mean - K * S.StdDev, S.MinValue);
    const long double r = Guarded(hi - lo);
    ForEachElement(V, [&](double& element) {
        // The smaller, then the larger, each stored as a double, as fmin and fmax would.
        double v = element;
        v = static_cast<double>(v < hi ? static_cast<long double>(v) : hi);
        v = static_cast<double>(v > lo ? static_cast<long double>(v) : lo);
        element = static_cast<double>((v - lo) / r);
    });
}

void TBlockStats::Merge(const TBlockStats& other)
{
    if (other.Count == 0)
        return;
    if (Count == 0) {
        *this = other;
        return;
    }
    const double total = static_cast<double>(Count + other.Count);
    const double delta = other.Mean - Mean;
    const double share = static_cast<double>(other.Count) / total;
    Mean += delta * share;
    M2 += other.M2 + delta * delta * static_cast<double>(Count) * share;
    Count += other.Count;
    Min = std::fmin(Min, other.Min);
    Max = std::fmax(Max, other.Max);
}

TSeriesStats TBlockStats::Stats() const
{
    const long double sd = std::sqrt(static_cast<long double>(M2) / (Count - 1.0L));
    return {Mean, sd, Max, Min};
}

namespace {

constexpr std::size_t kLanes = 4;

TULVO_INLINE void LoadLanes(const double* v, TDoubleLanes& x) { std::memcpy(&x, v, sizeof x); }

// BlockStatsOf of R rows of `count` values each, the first at `v`, into out[0..R - 1]. Each row
// gets its own four lanes (lane l takes the elements i with i % 4 == l), combined in a fixed
// order, so a row's statistics are the same whichever rows it goes with; the rows go side by
// side because each lane's sum waits for its previous value, and one row alone leaves the
// processor idle between the additions. Written as vectors, which the compiler does not find
// by itself in the selects.
template <std::size_t R, bool Moments>
TULVO_INLINE void StatsOfRows(const double* v, std::size_t count, TBlockStats* out)
{
    TDoubleLanes lo[R], hi[R], sums[R];
#pragma GCC unroll 4
    for (std::size_t r = 0; r < R; ++r) {
        const double x = v[r * count];
        lo[r] = TDoubleLanes{x, x, x, x};
        hi[r] = lo[r];
        sums[r] = TDoubleLanes{};
    }
    std::size_t i = 0;
    for (; i + kLanes <= count; i += kLanes)
#pragma GCC unroll 4
        for (std::size_t r = 0; r < R; ++r) {
            TDoubleLanes x;
            LoadLanes(v + r * count + i, x);
            lo[r] = x < lo[r] ? x : lo[r];
            hi[r] = x > hi[r] ? x : hi[r];
            if (Moments)
                sums[r] += x;
        }
    for (; i < count; ++i)
        for (std::size_t r = 0; r < R; ++r) {
            const double x = v[r * count + i];
            lo[r][0] = x < lo[r][0] ? x : lo[r][0];
            hi[r][0] = x > hi[r][0] ? x : hi[r][0];
            if (Moments)
                sums[r][0] += x;
        }
    for (std::size_t r = 0; r < R; ++r) {
        TBlockStats& s = out[r];
        s = TBlockStats{};
        s.Count = count;
        s.Min = std::fmin(std::fmin(lo[r][0], lo[r][1]), std::fmin(lo[r][2], lo[r][3]));
        s.Max = std::fmax(std::fmax(hi[r][0], hi[r][1]), std::fmax(hi[r][2], hi[r][3]));
    }
    if (!Moments)
        return;
    double means[R];
    for (std::size_t r = 0; r < R; ++r)
        means[r] = ((sums[r][0] + sums[r][1]) + (sums[r][2] + sums[r][3])) /
                   static_cast<double>(count);
    TDoubleLanes q[R];
#pragma GCC unroll 4
    for (std::size_t r = 0; r < R; ++r)
        q[r] = TDoubleLanes{};
    for (i = 0; i + kLanes <= count; i += kLanes)
#pragma GCC unroll 4
        for (std::size_t r = 0; r < R; ++r) {
            TDoubleLanes x;
            LoadLanes(v + r * count + i, x);
            const TDoubleLanes d = means[r] - x;
            q[r] += d * d;
        }
    for (; i < count; ++i)
        for (std::size_t r = 0; r < R; ++r) {
            const double d = means[r] - v[r * count + i];
            q[r][0] += d * d;
        }
    for (std::size_t r = 0; r < R; ++r) {
        out[r].Mean = means[r];
        out[r].M2 = (q[r][0] + q[r][1]) + (q[r][2] + q[r][3]);
    }
}

template <bool Moments>
TULVO_INLINE void StatsOfEachRow(const double* first, std::size_t rows, std::size_t count,
                                 TBlockStats* stats)
{
    std::size_t r = 0;
    for (; r + 4 <= rows; r += 4)
        StatsOfRows<4, Moments>(first + r * count, count, stats + r);
    for (; r < rows; ++r)
        StatsOfRows<1, Moments>(first + r * count, count, stats + r);
}

} // namespace

TULVO_WIDE_VECTORS TBlockStats BlockStatsOf(const double* v, std::size_t count, bool moments)
{
    TBlockStats s;
    if (count > 0 && moments)
        StatsOfRows<1, true>(v, count, &s);
    else if (count > 0)
        StatsOfRows<1, false>(v, count, &s);
    return s;
}

TULVO_WIDE_VECTORS void BlockStatsOfRows(const double* first, std::size_t rows, std::size_t count,
                                         bool moments, TBlockStats* stats)
{
    if (count == 0)
        std::fill(stats, stats + rows, TBlockStats{});
    else if (moments)
        StatsOfEachRow<true>(first, rows, count, stats);
    else
        StatsOfEachRow<false>(first, rows, count, stats);
}

TBlockStats MergedStats(const std::vector<TBlockStats>& blocks)
{
    TBlockStats all;
    for (const TBlockStats& b : blocks)
        all.Merge(b);
    return all;
}

double GuardedDivisor(double divisor) { return std::fabs(divisor) < 1e-100 ? 1e-100 : divisor; }
