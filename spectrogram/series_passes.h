#pragma once
// The post-processing of one series' coefficient matrix row by row, fused: the normalisations
// of the output quantity in as few passes over the matrix as they allow (the extremes and sums
// of the raw values come from the transform), the last pass also writing the colour levels
// straight into the picture's rows. The passes are shared between the cores.
//
// The values are those of NormalizeLog, ClipNormalize and NormalizeStdDev (engine/stats.h),
// computed in double instead of extended precision and with the vector log: they differ by a
// few units in the last place, far inside what results may differ by, and a colour level
// only where a value lies at a bin edge.

#include "engine/analysis_params.h"
#include "engine/stats.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct TSeriesMatrix {
    double* Values;  // Rows x Cols, row by row
    std::size_t Rows;
    std::size_t Cols;
    // One entry per row: the raw values' extremes (and moments when NeedsMoments), from the
    // transform; the passes reuse them for their own statistics.
    std::vector<TBlockStats>* RowStats;
    TCommandProgress* Progress = nullptr; // asked between rows whether to stop; may be null
};

// Rows of colour levels: row k of the matrix goes to First + k * Stride; First null for none.
struct TLevelRows {
    std::uint8_t* First = nullptr;
    std::ptrdiff_t Stride = 0;
};

// Whether the transform must gather the rows' means and squared deviations for the output
// kind (an item index; other values leave the matrix as it is).
bool NeedsMoments(int outputKind);

// Turns the matrix into the output quantity, in [0, 1], and writes the colour level of every
// final value into `levels` when given. With `keepValues` false the matrix is left in an
// intermediate state (only the levels are wanted), which saves writing it.
void PostProcessRows(const TSeriesMatrix& Matrix, int outputKind, bool keepValues,
                     TLevelRows levels);
