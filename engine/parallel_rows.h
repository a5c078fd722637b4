#pragma once
// Splits independent rows of work between the machine's cores, on one pool of worker threads
// kept for the process (starting and joining threads for every call costs more than many of
// the calls' work). Each share runs with its own floating-point flags: a worker clears them
// where the share starts and a fault raised in it is thrown here, as is any other failure of
// a share. Shares that the calling thread runs itself keep their flags on it, for the
// caller's own checkpoint, as if it had done all the work alone.
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

// Runs `work` on a worker when one is free and returns at once; nobody waits for it or hears
// of a failure, so it must not throw (freeing large blocks, which takes the system a while).
// On a single core it runs here and now.
void RunInBackground(std::function<void()> work);
