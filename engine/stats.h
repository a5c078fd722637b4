#pragma once
// Statistics and normalisations of a coefficient matrix, taken over the whole flat array.
// Each works in place on a strided view, so that the same code serves a plain array of
// doubles and the real parts of a complex plane. Accumulation is in extended precision;
// every element is rounded to double at each store. Ranges and standard deviations below
// 1e-100 are replaced by 1e-100 before dividing, so a constant array comes out as zeros.

#include "engine/complex.h"

#include <cstddef>
#include <vector>

struct TSeriesStats {
    long double Mean;
    long double StdDev; // sample standard deviation, divisor count - 1
    long double MaxValue;
    long double MinValue;
};

// `size` doubles, `stride` doubles apart.
struct DoubleView {
    double* data;
    std::size_t size;
    std::size_t stride = 1;

    double& operator[](std::size_t i) const { return data[i * stride]; }
};

DoubleView ViewOf(std::vector<double>& v);
// The real parts of `count` complex values.
DoubleView RealPartsOf(TComplex* plane, std::size_t count);

// Needs at least two values: with one it divides 0 by 0, with none it divides by zero.
TSeriesStats SeriesStats(DoubleView V);

// Rescaled to [0, 1] by minimum and maximum; an empty array stays empty.
void NormalizeMinMax(DoubleView V);

// Rescaled to [0, 1], then the natural logarithm; rescaled values <= 1e-100 (the minimum among
// them) become 0, like the maximum.
void NormalizeLog(DoubleView V);

// Divided by the standard deviation (mean not subtracted), then rescaled to [0, 1].
void NormalizeStdDev(DoubleView V);

// Clipped to Mean +- K StdDev (never beyond its own extremes), then rescaled to [0, 1].
void ClipNormalize(DoubleView V, long double K);

inline TSeriesStats SeriesStats(std::vector<double>& V) { return SeriesStats(ViewOf(V)); }
inline void NormalizeMinMax(std::vector<double>& V) { NormalizeMinMax(ViewOf(V)); }
inline void NormalizeLog(std::vector<double>& V) { NormalizeLog(ViewOf(V)); }
inline void NormalizeStdDev(std::vector<double>& V) { NormalizeStdDev(ViewOf(V)); }
inline void ClipNormalize(std::vector<double>& V, long double K) { ClipNormalize(ViewOf(V), K); }

// Statistics of a matrix gathered block by block (a row of the transform, a share of a
// pass) and merged in a fixed order, so that the result does not depend on which thread
// did which block. In double: each block's mean and sum of squared deviations (Chan's
// merge), which for the matrices of a run stays within a few units in the 15th digit of
// the extended-precision sums of SeriesStats.
struct TBlockStats {
    std::size_t Count = 0;
    double Min = 0; // meaningful when Count > 0
    double Max = 0;
    double Mean = 0;
    double M2 = 0; // sum of squared deviations from Mean; 0 unless gathered with moments

    void Merge(const TBlockStats& other);
    // As SeriesStats: mean, sample standard deviation, extremes.
    TSeriesStats Stats() const;
};

// The extremes of v[0..count - 1], and with `moments` its mean and squared deviations.
TBlockStats BlockStatsOf(const double* v, std::size_t count, bool moments);

// BlockStatsOf of each of `rows` consecutive rows of `count` values from `first`, into
// stats[0..rows - 1]: the same figures, faster for short rows, which go several at a time.
void BlockStatsOfRows(const double* first, std::size_t rows, std::size_t count, bool moments,
                      TBlockStats* stats);

// The blocks merged in their order.
TBlockStats MergedStats(const std::vector<TBlockStats>& blocks);

// The divisor rule of the normalisations: below 1e-100 in magnitude it becomes 1e-100.
double GuardedDivisor(double divisor);
