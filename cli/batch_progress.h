#pragma once
// Progress of a batch run on stderr, in the console's style: on a terminal one line with the
// current status text and the share of rows done, rewritten in place; in a log the last text
// of each phase (the load, the series, the scales), so a long run writes a handful of lines.
// Every checkpoint stops the run once SIGINT or SIGTERM arrived.

#include "engine/analysis_params.h"
#include "front/work_counter.h"

#include <chrono>
#include <mutex>
#include <string>

class TBatchProgress : public TCommandProgress {
public:
    // `silent`: checkpoints only (the files of a many-file run).
    explicit TBatchProgress(bool silent = false);
    ~TBatchProgress() override; // writes what a log still holds back

    void SetStatusText(const std::string& text) override;
    void ProcessPendingMessages() override { CheckCancelled(); }
    void CheckCancelled() override;
    void WorkDone(std::int64_t rows, std::int64_t total) override;

    // The load's line counter, as a status text of its own phase.
    void LinesRead(long long lines);
    // Writes what is held back and ends the in-place line.
    void Flush();

private:
    void ShowOnTerminal();

    const bool FSilent;
    std::mutex FLock; // WorkDone comes from the run's worker threads
    std::string FText;
    std::string FHeld; // a log's last text of the current phase, not yet written
    std::chrono::steady_clock::time_point FLastDrawn; // of the terminal's line
    TWorkCounter FWork;
};
