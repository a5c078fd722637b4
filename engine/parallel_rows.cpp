#include "engine/parallel_rows.h"

#include "engine/fp_checkpoint.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using ShareWork = std::function<void(std::size_t, std::size_t, std::size_t)>;

// One call of ForEachShare: its shares are claimed one by one, by the caller and by idle
// workers, until none is left.
struct TJob {
    const ShareWork* Work;
    std::shared_ptr<const ShareWork> OwnWork; // what a background job runs: it owns it
    std::size_t Count;
    std::size_t Shares;
    std::atomic<std::size_t> NextShare{0};
    std::vector<std::exception_ptr> Failures;
    std::vector<int> RaisedFaults; // per share run on a worker: the flags it raised
    std::mutex Lock;
    std::condition_variable AllDone;
    std::size_t Finished = 0; // under Lock

    bool AllClaimed() const { return NextShare.load() >= Shares; }

    // Runs one unclaimed share, if any is left; false when all are claimed.
    bool RunOneShare(bool onWorker)
    {
        const std::size_t s = NextShare.fetch_add(1);
        if (s >= Shares)
            return false;
        try {
            if (onWorker)
                ClearFpFaults();
            (*Work)(s, Count * s / Shares, Count * (s + 1) / Shares);
            if (onWorker)
                RaisedFaults[s] = RaisedFpFaults();
        } catch (...) {
            Failures[s] = std::current_exception();
        }
        const std::lock_guard<std::mutex> guard(Lock);
        if (++Finished == Shares)
            AllDone.notify_all();
        return true;
    }
};

// The worker threads, one fewer than the cores (the caller is the last one), started on
// first use and kept until the process ends.
class TWorkerPool {
public:
    static TWorkerPool& Instance()
    {
        // Never destroyed: workers may still be parked when static destructors run.
        static TWorkerPool* pool = new TWorkerPool();
        return *pool;
    }

    void Post(const std::shared_ptr<TJob>& job, std::size_t helpers)
    {
        {
            const std::lock_guard<std::mutex> guard(Lock);
            Queue.push_back(job);
        }
        for (std::size_t i = 0; i < helpers; ++i)
            Wake.notify_one();
    }

private:
    TWorkerPool()
    {
        for (std::size_t i = 1; i < WorkerSlots(); ++i)
            std::thread([this] { Serve(); }).detach();
    }

    void Serve()
    {
        std::unique_lock<std::mutex> guard(Lock);
        for (;;) {
            while (!Queue.empty() && Queue.front()->AllClaimed())
                Queue.pop_front();
            if (Queue.empty()) {
                Wake.wait(guard);
                continue;
            }
            const std::shared_ptr<TJob> job = Queue.front();
            guard.unlock();
            job->RunOneShare(true);
            guard.lock();
        }
    }

    std::mutex Lock;
    std::condition_variable Wake;
    std::deque<std::shared_ptr<TJob>> Queue;
};

// The background jobs posted and not yet finished.
class TBackgroundCount {
public:
    static TBackgroundCount& Instance()
    {
        // Never destroyed, like the pool whose jobs it counts.
        static TBackgroundCount* count = new TBackgroundCount();
        return *count;
    }

    void Started()
    {
        const std::lock_guard<std::mutex> guard(Lock);
        ++Pending;
    }

    void Finished()
    {
        const std::lock_guard<std::mutex> guard(Lock);
        if (--Pending == 0)
            NoneLeft.notify_all();
    }

    void WaitForNone()
    {
        std::unique_lock<std::mutex> guard(Lock);
        NoneLeft.wait(guard, [this] { return Pending == 0; });
    }

private:
    std::mutex Lock;
    std::condition_variable NoneLeft;
    std::size_t Pending = 0;
};

} // namespace

std::size_t WorkerSlots()
{
    // Asked once: the C library reads a file of the system for it on every call.
    static const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    return cores;
}

void ForEachShare(std::size_t count, std::size_t leastPerShare, const ShareWork& work)
{
    const std::size_t shares =
        std::clamp<std::size_t>(count / std::max<std::size_t>(leastPerShare, 1), 1,
                                WorkerSlots());
    if (shares == 1) {
        work(0, 0, count);
        return;
    }
    auto job = std::make_shared<TJob>();
    job->Work = &work;
    job->Count = count;
    job->Shares = shares;
    job->Failures.resize(shares);
    job->RaisedFaults.resize(shares);
    TWorkerPool::Instance().Post(job, shares - 1);
    while (job->RunOneShare(false)) {
    }
    {
        std::unique_lock<std::mutex> guard(job->Lock);
        job->AllDone.wait(guard, [&] { return job->Finished == job->Shares; });
    }
    for (const std::exception_ptr& failure : job->Failures)
        if (failure)
            std::rethrow_exception(failure);
    for (int faults : job->RaisedFaults)
        RaiseFpFaults(faults);
}

void ForEachRowRange(std::size_t count, std::size_t leastPerShare,
                     const std::function<void(std::size_t begin, std::size_t end)>& work)
{
    ForEachShare(count, leastPerShare,
                 [&](std::size_t, std::size_t begin, std::size_t end) { work(begin, end); });
}

void RunInBackground(std::function<void()> work)
{
    if (WorkerSlots() < 2) {
        work();
        return;
    }
    TBackgroundCount::Instance().Started();
    auto job = std::make_shared<TJob>();
    job->OwnWork = std::make_shared<const ShareWork>(
        [work = std::move(work)](std::size_t, std::size_t, std::size_t) {
            try {
                work();
            } catch (...) {
                TBackgroundCount::Instance().Finished();
                throw;
            }
            TBackgroundCount::Instance().Finished();
        });
    job->Work = job->OwnWork.get();
    job->Count = 1;
    job->Shares = 1;
    job->Failures.resize(1);
    job->RaisedFaults.resize(1);
    TWorkerPool::Instance().Post(job, 1);
}

void RunAlongside(std::function<void()> work)
{
    auto job = std::make_shared<std::function<void()>>(std::move(work));
    TBackgroundCount::Instance().Started();
    try {
        std::thread([job]() mutable {
            try {
                (*job)();
            } catch (...) {
                // Nobody hears of it, as with RunInBackground.
            }
            job.reset();
            TBackgroundCount::Instance().Finished();
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the work is done here and now.
        TBackgroundCount::Instance().Finished();
        (*job)();
    }
}

void WaitForBackgroundWork() { TBackgroundCount::Instance().WaitForNone(); }
