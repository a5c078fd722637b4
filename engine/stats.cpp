#include "engine/stats.h"

#include "engine/parallel_rows.h"
#include "engine/vector_clones.h"

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

TULVO_WIDE_VECTORS TBlockStats BlockStatsOf(const double* v, std::size_t count, bool moments)
{
    TBlockStats s;
    if (count == 0)
        return s;
    // Four independent lanes (lane l takes the elements i with i % 4 == l), combined in a fixed
    // order; written as vectors, which the compiler does not find by itself in the selects.
    TDoubleLanes lo = {v[0], v[0], v[0], v[0]}, hi = lo, sums = {0, 0, 0, 0};
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        TDoubleLanes x;
        std::memcpy(&x, v + i, sizeof x);
        lo = x < lo ? x : lo;
        hi = x > hi ? x : hi;
        sums += x;
    }
    for (; i < count; ++i) {
        lo[0] = v[i] < lo[0] ? v[i] : lo[0];
        hi[0] = v[i] > hi[0] ? v[i] : hi[0];
        sums[0] += v[i];
    }
    constexpr std::size_t kLanes = 4;
    const double sum[kLanes] = {sums[0], sums[1], sums[2], sums[3]};
    s.Count = count;
    s.Min = std::fmin(std::fmin(lo[0], lo[1]), std::fmin(lo[2], lo[3]));
    s.Max = std::fmax(std::fmax(hi[0], hi[1]), std::fmax(hi[2], hi[3]));
    if (!moments)
        return s;
    s.Mean = ((sum[0] + sum[1]) + (sum[2] + sum[3])) / static_cast<double>(count);
    double q[kLanes] = {0, 0, 0, 0};
    i = 0;
    for (; i + kLanes <= count; i += kLanes)
#pragma GCC unroll 4
        for (std::size_t l = 0; l < kLanes; ++l) {
            const double d = s.Mean - v[i + l];
            q[l] += d * d;
        }
    for (; i < count; ++i)
        q[0] += (s.Mean - v[i]) * (s.Mean - v[i]);
    s.M2 = (q[0] + q[1]) + (q[2] + q[3]);
    return s;
}

TBlockStats MergedStats(const std::vector<TBlockStats>& blocks)
{
    TBlockStats all;
    for (const TBlockStats& b : blocks)
        all.Merge(b);
    return all;
}

double GuardedDivisor(double divisor) { return std::fabs(divisor) < 1e-100 ? 1e-100 : divisor; }
