#include "stats.h"

#include <cmath>

namespace {

// Beyond every finite double, so the first value always replaces them.
constexpr long double kMaxSentinel = -1.1e4932L;
constexpr long double kMinSentinel = 1.1e4932L;
constexpr long double kRangeGuard = 1e-100L;

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
};

Extremes ExtremesOf(DoubleView V)
{
    Extremes e;
    for (std::size_t i = 0; i < V.size; ++i)
        e.Add(V[i]);
    return e;
}

void Rescale(DoubleView V, long double lo, long double range)
{
    for (std::size_t i = 0; i < V.size; ++i)
        V[i] = static_cast<double>((V[i] - lo) / range);
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
    for (std::size_t i = 0; i < V.size; ++i) {
        const double u = static_cast<double>((V[i] - e.lo) / r);
        V[i] = u <= 1e-100 ? 0.0 : std::log(u);
    }
}

void NormalizeStdDev(DoubleView V)
{
    const long double s = Guarded(SeriesStats(V).StdDev);
    Extremes e;
    for (std::size_t i = 0; i < V.size; ++i) {
        V[i] = static_cast<double>(V[i] / s);
        e.Add(V[i]);
    }
    Rescale(V, e.lo, Guarded(e.hi - e.lo));
}

void ClipNormalize(DoubleView V, long double K)
{
    const TSeriesStats S = SeriesStats(V);
    const long double hi = std::fmin(S.Mean + K * S.StdDev, S.MaxValue);
    const long double lo = std::fmax(S.Mean - K * S.StdDev, S.MinValue);
    const long double r = Guarded(hi - lo);
    for (std::size_t i = 0; i < V.size; ++i) {
        double v = V[i];
        v = static_cast<double>(std::fmin(static_cast<long double>(v), hi));
        v = static_cast<double>(std::fmax(static_cast<long double>(v), lo));
        V[i] = static_cast<double>((v - lo) / r);
    }
}
