#pragma once
// Many input files in one call: each into its own result in the output folder
// (DIR/NAME.FORMAT for 1d, DIR/NAME/ for 2d), side by side up to the number of cores within
// one memory budget. A failed file is reported with its name and the others go on; a summary
// ends the run.

#include "cli/cli_options.h"

#include <string>
#include <vector>

// The input's file name without its extension: "data/week.01.txt" gives "week.01".
std::string OutputName(const std::string& input);

// Exit status: 0 when every file was written, 1 when any failed, 130 or 143 after a signal.
int RunManyFiles(const TCliOptions& options);
