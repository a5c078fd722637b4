#include "spectrogram/series_passes.h"

#include "engine/analysis_kinds.h"
#include "engine/parallel_rows.h"
#include "engine/vector_clones.h"
#include "engine/vector_math.h"
#include "picture/palette.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// A share of a pass is at least this many values: less costs more to hand out than to do.
std::size_t LeastRowsPerShare(std::size_t cols) { return std::max<std::size_t>(1, 32768 / cols); }

template <typename RowWork>
void ForEachMatrixRow(const TSeriesMatrix& m, const RowWork& work)
{
    const std::size_t rowsPerCheck = LeastRowsPerShare(m.Cols);
    ForEachRowRange(m.Rows, rowsPerCheck, [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
            if (m.Progress && (k - begin) % rowsPerCheck == 0)
                m.Progress->CheckCancelled();
            work(k, m.Values + k * m.Cols);
        }
    });
}

// A row's worth of values for a share's work that is not kept.
double* ScratchRow(std::size_t cols)
{
    thread_local std::vector<double> scratch;
    scratch.resize(cols);
    return scratch.data();
}

// NormalizeLog of `in` with the matrix's lo and range, into `out` (which may be `in`).
TULVO_WIDE_VECTORS void LogRescale(const double* in, std::size_t cols, double lo, double range,
                                   double* out)
{
    // Rescaled values at or below 1e-100 become 0: log of 1 gives that exactly.
    for (std::size_t j = 0; j < cols; ++j) {
        const double u = (in[j] - lo) / range;
        out[j] = u <= 1e-100 ? 1.0 : u;
    }
    LogInPlace(out, cols);
}

// The rescaled logarithm of a row, written back over the raw values (the observer has had
// those already): the clip pass then reads the logarithms instead of making them again.
struct TLogStep {
    double Lo;
    double Range;

    void operator()(double* row, std::size_t cols) const { LogRescale(row, cols, Lo, Range, row); }
};

// The last pass: each value becomes final(value), kept in the matrix or not, and turned into
// its colour level. Plain loops, which vectorise.
template <typename Final>
void FinishRows(const TSeriesMatrix& m, bool keepValues, TLevelRows levels, const Final& final)
{
    ForEachMatrixRow(m, [&](std::size_t k, double* row) {
        double* out = keepValues ? row : ScratchRow(m.Cols);
        for (std::size_t j = 0; j < m.Cols; ++j)
            out[j] = final(row[j]);
        if (levels.First)
            ColorIndices(out, m.Cols, levels.First + static_cast<std::ptrdiff_t>(k) * levels.Stride);
    });
}

// The bounds of ClipNormalize's last step.
struct TClipBounds {
    double Lo;
    double Hi;
    double Range;
};

// ClipNormalize's last step on a row: each value clipped to Lo..Hi and rescaled, into `out`
// and as its colour level into `levels`, each when given; four values at a time.
TULVO_WIDE_VECTORS void ClipRow(const double* row, std::size_t cols, TClipBounds b, double* out,
                                std::uint8_t* levels)
{
    const TDoubleLanes zero = {0, 0, 0, 0};
    const TDoubleLanes lo = zero + b.Lo, hi = zero + b.Hi;
    std::size_t j = 0;
    for (; j + 4 <= cols; j += 4) {
        TDoubleLanes v;
        std::memcpy(&v, row + j, sizeof v);
        v = v < hi ? v : hi;
        v = v > lo ? v : lo;
        v = (v - lo) / b.Range;
        if (out)
            std::memcpy(out + j, &v, sizeof v);
        if (levels)
            StoreColorIndices(v, levels + j);
    }
    for (; j < cols; ++j) {
        double v = row[j];
        v = v < b.Hi ? v : b.Hi;
        v = v > b.Lo ? v : b.Lo;
        v = (v - b.Lo) / b.Range;
        if (out)
            out[j] = v;
        if (levels)
            levels[j] = static_cast<std::uint8_t>(ColorIndex(v));
    }
}

// ClipNormalize with the statistics of the whole matrix.
void ClipRows(const TSeriesMatrix& m, const TBlockStats& all, double k, bool keepValues,
              TLevelRows levels)
{
    const TSeriesStats s = all.Stats();
    const double mean = static_cast<double>(s.Mean);
    const double sd = static_cast<double>(s.StdDev);
    const double hi = std::fmin(mean + k * sd, all.Max);
    const double lo = std::fmax(mean - k * sd, all.Min);
    const TClipBounds bounds{lo, hi, GuardedDivisor(hi - lo)};
    ForEachMatrixRow(m, [&](std::size_t r, double* row) {
        ClipRow(row, m.Cols, bounds, keepValues ? row : nullptr,
                levels.First ? levels.First + static_cast<std::ptrdiff_t>(r) * levels.Stride
                             : nullptr);
    });
}

} // namespace

bool NeedsMoments(int outputKind)
{
    return outputKind == okRealPart || outputKind == okPhase || outputKind == okRealByStdDev;
}

void PostProcessRows(const TSeriesMatrix& m, int outputKind, bool keepValues, TLevelRows levels)
{
    const TBlockStats raw = MergedStats(*m.RowStats);
    switch (outputKind) {
    case okLogRealPart: {
        const TLogStep log{raw.Min, GuardedDivisor(raw.Max - raw.Min)};
        ForEachMatrixRow(m, [&](std::size_t k, double* row) {
            log(row, m.Cols);
            (*m.RowStats)[k] = BlockStatsOf(row, m.Cols, true);
        });
        ClipRows(m, MergedStats(*m.RowStats), 3.5, keepValues, levels);
        break;
    }
    case okRealPart:
        ClipRows(m, raw, 3.5, keepValues, levels);
        break;
    case okPhase:
        ClipRows(m, raw, 1.5, keepValues, levels);
        break;
    case okRealByStdDev: {
        // Division by a positive number keeps the order: the extremes of the divided values
        // are the divided extremes.
        const double s = GuardedDivisor(static_cast<double>(raw.Stats().StdDev));
        const double lo = raw.Min / s;
        const double range = GuardedDivisor(raw.Max / s - lo);
        FinishRows(m, keepValues, levels,
                   [&](double v) { return (v / s - lo) / range; });
        break;
    }
    default:
        FinishRows(m, keepValues, levels, [](double v) { return v; });
        break;
    }
}
