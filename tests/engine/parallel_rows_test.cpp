#include "engine/fp_checkpoint.h"
#include "engine/parallel_rows.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// The ranges cover every row once, in share order, and nested calls (a share splitting its
// own work while the workers are busy) still finish.
TEST(ForEachShare, CoversEveryRowOnceAndNests)
{
    for (std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{1000}}) {
        std::vector<std::atomic<int>> seen(count);
        std::vector<std::size_t> begins(WorkerSlots(), count + 1);
        ForEachShare(count, 1, [&](std::size_t share, std::size_t begin, std::size_t end) {
            ASSERT_LT(share, WorkerSlots());
            begins[share] = begin;
            ForEachRowRange(end - begin, 1, [&](std::size_t b, std::size_t e) {
                for (std::size_t i = begin + b; i < begin + e; ++i)
                    ++seen[i];
            });
        });
        for (std::size_t i = 0; i < count; ++i)
            ASSERT_EQ(seen[i].load(), 1) << "row " << i << " of " << count;
        for (std::size_t s = 1; s < begins.size(); ++s) {
            if (begins[s] <= count) {
                EXPECT_GT(begins[s], begins[s - 1]) << "shares in row order";
            }
        }
    }
}

// A failure or a floating-point fault in any share reaches the caller: thrown by the call,
// or, for a share the caller ran itself, at the caller's own checkpoint.
TEST(ForEachShare, FailuresAndFaultsOfEveryShareReachTheCaller)
{
    if (WorkerSlots() < 2)
        GTEST_SKIP() << "one core: every share runs on the caller";
    for (int round = 0; round < 20; ++round) {
        EXPECT_THROW(ForEachRowRange(1000, 1,
                                     [](std::size_t begin, std::size_t) {
                                         if (begin > 0)
                                             throw std::runtime_error("late share");
                                     }),
                     std::runtime_error);
        ClearFpFaults();
        volatile double zero = 0.0;
        volatile double quotient = 0.0;
        EXPECT_THROW(
            {
                ForEachRowRange(1000, 1, [&](std::size_t begin, std::size_t) {
                    if (begin > 0)
                        quotient = 1.0 / zero;
                });
                CheckFpFaults();
            },
            EZeroDivide);
        ClearFpFaults();
    }
}

// What is handed to a worker or to a thread of its own is finished when the wait returns.
TEST(BackgroundWork, TheWaitOutlastsTheWork)
{
    std::atomic<int> done{0};
    const auto slowly = [&done] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        ++done;
    };
    RunInBackground(slowly);
    RunAlongside(slowly);
    WaitForBackgroundWork();
    EXPECT_EQ(done.load(), 2);
}

} // namespace
