#pragma once
// Splits independent rows of work between the machine's cores, on one pool of worker threads
// kept for the process (starting and joining threads for every call costs more than many of
// the calls' work). The floating-point flags come out as if the caller had done all the work
// alone: a worker clears them where its share starts and hands what the share raised to the
// caller, whose own shares raise theirs on it anyway, so the caller's checkpoint sees them
// all whichever thread ran which share. Any other failure of a share is thrown here.
//
// Calls may come from several threads at once and may nest (a share may split its own work):
// the caller always works on its own shares too, so every call finishes even while the
// workers are busy elsewhere.

#include <cstddef>
#include <functional>

// The most shares a call makes: one per core.
std::size_t WorkerSlots();

// Calls work(share, begin, end) for consecutive ranges covering 0..count - 1, at most one
// range per core and none shorter than `leastPerShare` (a share costs more than that much
// work), in parallel; returns when all are done. `share` numbers the ranges from 0 in order,
// below WorkerSlots(), so a share can use per-share buffers and partial results that the
// caller combines in a fixed order.
void ForEachShare(std::size_t count, std::size_t leastPerShare,
                  const std::function<void(std::size_t share, std::size_t begin,
                                           std::size_t end)>& work);

// The same without the share number.
void ForEachRowRange(std::size_t count, std::size_t leastPerShare,
                     const std::function<void(std::size_t begin, std::size_t end)>& work);

// Runs `work` on a worker when one is free and returns at once; nobody hears of a failure, so
// it must not throw (freeing large blocks, which takes the system a while). On a single core
// it runs here and now.
void RunInBackground(std::function<void()> work);

// Runs `work` on a thread of its own, started at once, for work that mostly waits for the
// system (removing a file waits for the disk) and should not wait behind the workers' jobs;
// otherwise as RunInBackground.
void RunAlongside(std::function<void()> work);

// Returns once all work handed to RunInBackground and RunAlongside so far has finished. A
// program calls it before it ends, so that such work is never cut short.
void WaitForBackgroundWork();

// WaitForBackgroundWork when it goes: the first object of a program's main, so that the
// program waits last, after everything else has gone.
struct TBackgroundWorkJoin {
    TBackgroundWorkJoin() = default;
    ~TBackgroundWorkJoin() { WaitForBackgroundWork(); }
    TBackgroundWorkJoin(const TBackgroundWorkJoin&) = delete;
    TBackgroundWorkJoin& operator=(const TBackgroundWorkJoin&) = delete;
};
