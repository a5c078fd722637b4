#pragma once
// Rows of work counted from any of a run's threads, with a gate that lets at most one report
// through per interval, so worker threads never flood the GUI thread's queue.

#include <atomic>
#include <chrono>
#include <cstdint>

class TWorkCounter {
public:
    explicit TWorkCounter(std::chrono::milliseconds interval) : FInterval(interval.count()) {}

    // Adds `rows` of `total`; true when this call should report (the first call does, then
    // at most one call per interval).
    bool Add(std::int64_t rows, std::int64_t total)
    {
        FDone.fetch_add(rows, std::memory_order_relaxed);
        FTotal.store(total, std::memory_order_relaxed);
        const std::int64_t now = NowMilliseconds();
        std::int64_t last = FLastReport.load(std::memory_order_relaxed);
        if (last >= 0 && now - last < FInterval)
            return false;
        return FLastReport.compare_exchange_strong(last, now, std::memory_order_relaxed);
    }
    std::int64_t Done() const { return FDone.load(std::memory_order_relaxed); }
    std::int64_t Total() const { return FTotal.load(std::memory_order_relaxed); }

private:
    static std::int64_t NowMilliseconds()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }

    const std::int64_t FInterval;
    std::atomic<std::int64_t> FDone{0};
    std::atomic<std::int64_t> FTotal{0};
    std::atomic<std::int64_t> FLastReport{-1};
};
