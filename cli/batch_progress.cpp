#include "cli/batch_progress.h"

#include "cli/console.h"
#include "cli/signal_cancel.h"
#include "engine/errors.h"

#include <algorithm>
#include <cctype>

namespace {

// A terminal is redrawn no faster than people read it.
constexpr std::chrono::milliseconds kRedrawInterval{100};

// The words before a text's first digit: "Current dataset :", "Scale", "lines read:".
std::string PhaseOf(const std::string& text)
{
    std::size_t end = 0;
    while (end < text.size() && !std::isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    while (end > 0 && text[end - 1] == ' ')
        --end;
    return text.substr(0, end);
}

} // namespace

TBatchProgress::TBatchProgress(bool silent)
    : FSilent(silent || ConsoleStyle() == TProgressStyle::Quiet), FWork(kRedrawInterval)
{
}

TBatchProgress::~TBatchProgress()
{
    Flush();
}

void TBatchProgress::SetStatusText(const std::string& text)
{
    if (FSilent)
        return;
    const std::lock_guard guard(FLock);
    const bool newPhase = PhaseOf(text) != PhaseOf(FText);
    FText = text;
    if (ConsoleStyle() == TProgressStyle::Terminal) {
        const auto now = std::chrono::steady_clock::now();
        if (newPhase || now - FLastDrawn >= kRedrawInterval) {
            FLastDrawn = now;
            ShowOnTerminal();
        }
        return;
    }
    if (!FHeld.empty() && PhaseOf(FHeld) != PhaseOf(text))
        PrintProgress(FHeld);
    FHeld = text;
}

void TBatchProgress::CheckCancelled()
{
    if (StopSignal() != 0)
        throw ECancelled();
}

void TBatchProgress::WorkDone(std::int64_t rows, std::int64_t total)
{
    if (FSilent || !FWork.Add(rows, total) || ConsoleStyle() != TProgressStyle::Terminal)
        return;
    const std::lock_guard guard(FLock);
    ShowOnTerminal();
}

void TBatchProgress::LinesRead(long long lines)
{
    SetStatusText("lines read: " + std::to_string(lines));
}

void TBatchProgress::Flush()
{
    if (FSilent)
        return;
    const std::lock_guard guard(FLock);
    if (!FHeld.empty())
        PrintProgress(FHeld);
    FHeld.clear();
    EndProgressLine();
}

// Caller holds FLock.
void TBatchProgress::ShowOnTerminal()
{
    std::string line = FText;
    if (const std::int64_t total = FWork.Total(); total > 0)
        line += "  " + std::to_string(std::min<std::int64_t>(100, FWork.Done() * 100 / total)) +
                "%";
    PrintProgress(line);
}
