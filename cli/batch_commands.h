#pragma once
// The window's commands run from the command line, one input file at a time.

#include "cli/cli_options.h"

#include <functional>
#include <string>

class TBatchProgress;
class TMemoryGate;

// One input and where its results go.
struct TBatchJob {
    std::string Input;
    std::string Picture; // 1d
    std::string Folder;  // 2d, ending in '/'
};

enum class TJobOutcome { Written, Failed, Stopped };

// Receives the words of a failure (a load failure as the window's box words it, any other
// as the default error report does).
using TFailureReport = std::function<void(const std::string& text)>;

// Loads the job's input, warns about what the table holds, checks what the picture needs,
// waits for room in `gate`, then runs the analysis and writes the results. Nothing is left
// behind by a job that fails or stops.
TJobOutcome RunOneDJob(const TCliOptions& options, const TBatchJob& job,
                       TBatchProgress& progress, const TFailureReport& report, TMemoryGate& gate);
TJobOutcome RunTwoDJob(const TCliOptions& options, const TBatchJob& job,
                       TBatchProgress& progress, const TFailureReport& report, TMemoryGate& gate);

// A single input as the command line names it. Returns the exit status: 0 when the run
// produced its files, 1 after a reported failure, 130 or 143 when a signal stopped it.
int RunOneD(const TCliOptions& options);
int RunTwoD(const TCliOptions& options);
