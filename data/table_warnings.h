#pragma once
// What a loaded table holds that its pictures will not show: empty cells, which every
// reader takes as 0, and labels that are unevenly spaced or repeated, which the label axis
// draws as if they were even. Nothing here changes the table.

#include "data/data_table.h"

#include <cstddef>
#include <string>
#include <vector>

struct TEmptyCells {
    std::string Column;
    std::size_t Count = 0;
};

struct TTableWarnings {
    std::vector<TEmptyCells> EmptyCells; // only columns with empty cells, label column first
    bool UnevenLabels = false;
    double SmallestStep = 0; // between neighbouring distinct labels, when there are any
    double LargestStep = 0;
    std::size_t RepeatedLabels = 0; // rows whose label equals the row's before
    bool DateLabels = false;        // steps are then counted in days

    bool Any() const { return !EmptyCells.empty() || UnevenLabels || RepeatedLabels > 0; }
};

// The warnings of an open table whose column 0 holds the labels (rows in label order, as a
// loaded text table has them). A closed table has none.
TTableWarnings FindTableWarnings(const TDataTable& table);
