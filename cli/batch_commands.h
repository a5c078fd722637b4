#pragma once
// The window's commands run from the command line.

#include "cli/cli_options.h"

// Each returns the exit status: 0 when the run produced its files, 1 after a reported failure.
int RunOneD(const TCliOptions& options);
int RunTwoD(const TCliOptions& options);
