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

// work(k, rows, first) for consecutive groups of at most `group` rows, k the first row of a
// group and `first` its values; the shares of the pass split the rows between the cores.
template <typename GroupWork>
void ForEachRowGroup(const TSeriesMatrix& m, std::size_t group, const GroupWork& work)
{
    const std::size_t rowsPerCheck = LeastRowsPerShare(m.Cols);
    ForEachRowRange(m.Rows, rowsPerCheck, [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin, checked = begin; k < end; k += group) {
            if (m.Progress && (k == begin || k - checked >= rowsPerCheck)) {
                m.Progress->CheckCancelled();
                checked = k;
            }
            work(k, std::min(group, end - k), m.Values + k * m.Cols);
        }
    });
}

template <typename RowWork>
void ForEachMatrixRow(const TSeriesMatrix& m, const RowWork& work)
{
    ForEachRowGroup(m, 1, [&](std::size_t k, std::size_t, double* row) { work(k, row); });
}

// The rows of a group that has its logarithms and then its statistics: at most this many
// values, so that they are still in the cache for the statistics, and a multiple of four
// rows where they are short, as the statistics take four rows at a time.
std::size_t LogGroupRows(std::size_t cols)
{
    constexpr std::size_t kGroupValues = 1 << 16;
    const std::size_t rows = std::max<std::size_t>(1, kGroupValues / cols);
    return rows < 4 ? rows : rows / 4 * 4;
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

// x as a double, or as four lanes with x in each.
TULVO_INLINE void Splat(double x, double& out) { out = x; }
TULVO_INLINE void Splat(double x, TDoubleLanes& out) { out = TDoubleLanes{} + x; }

// ClipNormalize's last step: clipped to Lo..Hi, then rescaled.
struct TClip {
    double Lo;
    double Hi;
    double Range;

    template <typename T>
    TULVO_INLINE void operator()(T& v) const
    {
        T lo, hi;
        Splat(Lo, lo);
        Splat(Hi, hi);
        v = v < hi ? v : hi;
        v = v > lo ? v : lo;
        v = (v - lo) / Range;
    }
};

// NormalizeStdDev's last step: divided by the standard deviation, then rescaled.
struct TStdDevRescale {
    double StdDev;
    double Lo;
    double Range;

    template <typename T>
    TULVO_INLINE void operator()(T& v) const
    {
        v = (v / StdDev - Lo) / Range;
    }
};

// The last step on a row: each value v becomes final(v), into `out` and as its colour level
// into `levels`, each when given; four values at a time, the same operations either way.
template <typename Final>
TULVO_INLINE void FinishRow(const double* row, std::size_t cols, const Final& final, double* out,
                            std::uint8_t* levels)
{
    std::size_t j = 0;
    for (; j + 4 <= cols; j += 4) {
        TDoubleLanes v;
        std::memcpy(&v, row + j, sizeof v);
        final(v);
        if (out)
            std::memcpy(out + j, &v, sizeof v);
        if (levels)
            StoreColorIndices(v, levels + j);
    }
    for (; j < cols; ++j) {
        double v = row[j];
        final(v);
        if (out)
            out[j] = v;
        if (levels)
            levels[j] = static_cast<std::uint8_t>(ColorIndex(v));
    }
}

TULVO_WIDE_VECTORS void ClipRow(const double* row, std::size_t cols, TClip clip, double* out,
                                std::uint8_t* levels)
{
    FinishRow(row, cols, clip, out, levels);
}

TULVO_WIDE_VECTORS void StdDevRow(const double* row, std::size_t cols, TStdDevRescale rescale,
                                  double* out, std::uint8_t* levels)
{
    FinishRow(row, cols, rescale, out, levels);
}

// Row k's colour levels, or null for none.
std::uint8_t* LevelRow(TLevelRows levels, std::size_t k)
{
    return levels.First ? levels.First + static_cast<std::ptrdiff_t>(k) * levels.Stride : nullptr;
}

// The last pass: finishRow(row, cols, step, out, levels) on every row (ClipRow, StdDevRow), the
// values kept in the matrix or not.
template <typename Step>
void FinishRows(const TSeriesMatrix& m, bool keepValues, TLevelRows levels,
                void (*finishRow)(const double*, std::size_t, Step, double*, std::uint8_t*),
                Step step)
{
    ForEachMatrixRow(m, [&](std::size_t k, double* row) {
        finishRow(row, m.Cols, step, keepValues ? row : nullptr, LevelRow(levels, k));
    });
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
    FinishRows(m, keepValues, levels, ClipRow, TClip{lo, hi, GuardedDivisor(hi - lo)});
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
        ForEachRowGroup(m, LogGroupRows(m.Cols), [&](std::size_t k, std::size_t rows,
                                                     double* first) {
            for (std::size_t r = 0; r < rows; ++r)
                log(first + r * m.Cols, m.Cols);
            BlockStatsOfRows(first, rows, m.Cols, true, m.RowStats->data() + k);
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
        FinishRows(m, keepValues, levels, StdDevRow,
                   TStdDevRescale{s, lo, GuardedDivisor(raw.Max / s - lo)});
        break;
    }
    default:
        // The values stay as they are: only their levels are written.
        if (levels.First)
            ForEachMatrixRow(m, [&](std::size_t k, double* row) {
                ColorIndices(row, m.Cols, LevelRow(levels, k));
            });
        break;
    }
}
