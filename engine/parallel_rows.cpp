#include "engine/parallel_rows.h"

#include "engine/fp_checkpoint.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace {

std::size_t ShareCount(std::size_t count, std::size_t leastPerShare)
{
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    return std::clamp<std::size_t>(count / std::max<std::size_t>(leastPerShare, 1), 1, cores);
}

} // namespace

void ForEachRowRange(std::size_t count, std::size_t leastPerShare,
                     const std::function<void(std::size_t begin, std::size_t end)>& work)
{
    const std::size_t shares = ShareCount(count, leastPerShare);
    if (shares == 1) {
        work(0, count);
        return;
    }
    std::vector<std::exception_ptr> failures(shares);
    std::vector<std::thread> threads;
    threads.reserve(shares - 1);
    auto runShare = [&](std::size_t s) {
        try {
            ClearFpFaults();
            work(count * s / shares, count * (s + 1) / shares);
            CheckFpFaults();
        } catch (...) {
            failures[s] = std::current_exception();
        }
    };
    for (std::size_t s = 1; s < shares; ++s)
        threads.emplace_back(runShare, s);
    // The calling thread takes the first share; its flags stay with it for the caller's own
    // checkpoint, as if it had done all the work alone.
    try {
        work(0, count / shares);
    } catch (...) {
        failures[0] = std::current_exception();
    }
    for (std::thread& t : threads)
        t.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}
