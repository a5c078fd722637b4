#pragma once
// The words of a loaded table's warnings, the same in the window's status bar and in the
// batch tool's output.

#include "data/table_warnings.h"

#include <string>
#include <vector>

// One sentence per warning: each column with empty cells, uneven labels, repeated labels.
std::vector<std::string> TableWarningLines(const TTableWarnings& warnings);

// A short line for the status bar: "Warnings: 59 empty cells (read as 0), uneven labels".
std::string TableWarningSummary(const TTableWarnings& warnings);
