#pragma once
// What a 1-D run will produce and need, known from the table's size and the number of
// scales before any work, so a run that cannot end well is refused at once.

#include "data/data_table.h"

#include <cstddef>

struct TPictureSize {
    std::size_t Width = 0;
    std::size_t Height = 0;
};

// The rows below a 1-D picture's bands, where the sample labels go.
constexpr int kOneDLabelRows = 14;

// The size of the picture DoTulvo1D composes for `table` with `steps` scales: one column per
// row of the table and one band of steps + 1 rows per series, framed by the legend.
TPictureSize OneDPictureSize(const TDataTable& table, int steps);

// How many series a run without an observer analyses side by side: one a core when the
// series are several and small (each then has a matrix of its own), else 1 (the rows of one
// series are shared out).
std::size_t OneDSeriesLanes(std::size_t series, int steps, std::size_t samples);

// Whether the series of a run share the wavelet's weights (TRowWeights), made once for all
// instead of once a series: when there are several and the weights are small.
bool OneDSharesWeights(std::size_t series, int steps, std::size_t samples);

// The bytes a 1-D run over `table` with `steps` scales holds at its peak: the series, a
// coefficient matrix for each series analysed side by side, the shared wavelet weights, the
// transform's buffers and the picture. The contrast pass, read per series, is not counted.
std::size_t OneDRunBytes(const TDataTable& table, int steps);

// Throws EOutOfMemory "Not enough memory for the 1-D run ...: X needed, Y available" when
// OneDRunBytes exceeds the memory budget; called before any work.
void RequireOneDMemory(const TDataTable& table, int steps);
