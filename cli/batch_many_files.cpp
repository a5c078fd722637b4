#include "cli/batch_many_files.h"

#include "cli/batch_commands.h"
#include "cli/batch_progress.h"
#include "cli/console.h"
#include "cli/memory_gate.h"
#include "cli/output_checks.h"
#include "cli/signal_cancel.h"
#include "engine/memory_budget.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <map>
#include <thread>

namespace {

struct TTally {
    std::atomic<std::size_t> Next{0};
    std::atomic<std::size_t> Done{0};
    std::atomic<std::size_t> Failed{0};
    std::atomic<std::size_t> Written{0};
};

TBatchJob JobFor(const TCliOptions& options, const std::string& input)
{
    std::string dir = options.OutDir;
    if (dir.back() != '/')
        dir += '/';
    const std::string name = OutputName(input);
    if (options.Mode == TCliMode::OneD)
        return {input, dir + name + "." + options.Format, {}};
    return {input, {}, dir + name + "/"};
}

// Two inputs of one name would write the same result.
void RefuseSharedNames(const std::vector<std::string>& inputs)
{
    std::map<std::string, std::string> byName;
    for (const std::string& input : inputs) {
        const auto [at, fresh] = byName.emplace(OutputName(input), input);
        if (!fresh)
            throw EUsage(input + " and " + at->second + " would both write " + at->first);
    }
}

void RunFiles(const TCliOptions& options, TTally& tally, TMemoryGate& gate)
{
    const std::size_t count = options.Inputs.size();
    for (std::size_t i = tally.Next++; i < count && StopSignal() == 0; i = tally.Next++) {
        const TBatchJob job = JobFor(options, options.Inputs[i]);
        const TFailureReport report = [&job](const std::string& text) {
            PrintError(job.Input + ": " + text);
        };
        TBatchProgress silent(true);
        const TJobOutcome outcome = options.Mode == TCliMode::OneD
                                        ? RunOneDJob(options, job, silent, report, gate)
                                        : RunTwoDJob(options, job, silent, report, gate);
        tally.Failed += outcome == TJobOutcome::Failed;
        tally.Written += outcome == TJobOutcome::Written;
        const std::size_t done = ++tally.Done;
        if (ConsoleStyle() == TProgressStyle::Terminal)
            PrintProgress(std::to_string(done) + " of " + std::to_string(count) + " files done");
    }
}

} // namespace

std::string OutputName(const std::string& input)
{
    return std::filesystem::path(input).stem().string();
}

int RunManyFiles(const TCliOptions& options)
{
    RefuseSharedNames(options.Inputs);
    try {
        PrepareOutputFolder(options.OutDir);
    } catch (const EOutputCheck& e) {
        PrintError(e.what());
        return 1;
    }
    TMemoryGate gate(MemoryBudget());
    TTally tally;
    const std::size_t workers =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, options.Inputs.size());
    std::vector<std::jthread> threads;
    for (std::size_t w = 1; w < workers; ++w)
        threads.emplace_back([&] { RunFiles(options, tally, gate); });
    RunFiles(options, tally, gate);
    threads.clear(); // joins
    EndProgressLine();
    if (StopSignal() != 0) {
        PrintError("stopped; " + std::to_string(tally.Written) + " of " +
                   std::to_string(options.Inputs.size()) + " files were written");
        return StoppedExitStatus();
    }
    const std::size_t failed = tally.Failed;
    std::printf("%zu files: %zu written, %zu failed\n", options.Inputs.size(),
                tally.Written.load(), failed);
    return failed > 0 ? 1 : 0;
}
