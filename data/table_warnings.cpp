#include "data/table_warnings.h"

#include <algorithm>
#include <cmath>

namespace {

std::size_t EmptyCount(const TDataTable& table, int column)
{
    std::size_t count = 0;
    for (int row = 1; row <= table.RowCount(); ++row)
        count += table.CellIsEmpty(row, column);
    return count;
}

// Steps of labels read from text differ in their last bits (0.1 + 0.2 != 0.3); only a
// difference above that counts as uneven.
constexpr double kStepTolerance = 1e-9;

void FindLabelSpacing(const TDataTable& table, TTableWarnings& warnings)
{
    bool havePrevious = false;
    double previous = 0;
    bool haveStep = false;
    for (int row = 1; row <= table.RowCount(); ++row) {
        if (table.CellIsEmpty(row, 0))
            continue;
        const double label = table.CellAsNumber(row, 0);
        if (havePrevious) {
            const double step = label - previous;
            if (step == 0) {
                ++warnings.RepeatedLabels;
            } else {
                warnings.SmallestStep = haveStep ? std::min(warnings.SmallestStep, step) : step;
                warnings.LargestStep = haveStep ? std::max(warnings.LargestStep, step) : step;
                haveStep = true;
            }
        }
        previous = label;
        havePrevious = true;
    }
    warnings.UnevenLabels = haveStep && warnings.LargestStep - warnings.SmallestStep >
                                            kStepTolerance * std::fabs(warnings.LargestStep);
}

} // namespace

TTableWarnings FindTableWarnings(const TDataTable& table)
{
    TTableWarnings warnings;
    if (!table.IsOpen())
        return warnings;
    for (int column = 0; column < table.ColumnCount(); ++column) {
        const std::size_t empty = EmptyCount(table, column);
        if (empty > 0)
            warnings.EmptyCells.push_back({table.ColumnName(column), empty});
    }
    if (table.ColumnCount() > 0) {
        warnings.DateLabels = table.ColumnKind(0) == ckDate;
        FindLabelSpacing(table, warnings);
    }
    return warnings;
}
