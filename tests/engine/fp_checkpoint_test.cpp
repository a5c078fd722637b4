#include "engine/fp_checkpoint.h"
#include "engine/scales.h"
#include "engine/stats.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs `work` as a command does: flags cleared at its start, tested at its checkpoint.
void RunCommand(const std::function<void()>& work)
{
    ClearFpFaults();
    work();
    CheckFpFaults();
}

TEST(FloatingPointCheckpoint, BadInputEndsInTheFaultNotInNaNs)
{
    std::vector<double> one = {4.0};
    std::vector<double> none;
    EXPECT_THROW(RunCommand([&] { SeriesStats(one); }), EInvalidOp);
    EXPECT_THROW(RunCommand([&] { SeriesStats(none); }), TulvoError);
    EXPECT_THROW(RunCommand([&] { ClipNormalize(one, 3.5L); }), EInvalidOp);
    EXPECT_THROW(RunCommand([&] { NormalizeStdDev(one); }), EInvalidOp);
    EXPECT_THROW(RunCommand([] { LogScales(0, 100, 30); }), EZeroDivide);
    EXPECT_THROW(RunCommand([] { LogScales(-5, 100, 30); }), EInvalidOp);
    EXPECT_THROW(RunCommand([] { LinearScales(1, 100, 1); }), EZeroDivide);
    EXPECT_THROW(RunCommand([] { QuadraticScales(1, 100, 0); }), EZeroDivide);
}

TEST(FloatingPointCheckpoint, SoundInputAndUnderflowPass)
{
    std::vector<double> v = {1e-300, 2e-300, 3e-300};
    EXPECT_NO_THROW(RunCommand([&] {
        volatile double tiny = 1e-300;
        volatile double underflow = tiny * tiny;
        (void)underflow;
        NormalizeMinMax(v);
        LogScales(100, 1, 30);
    }));
}

TEST(FloatingPointCheckpoint, FaultIsReportedOnceThenCleared)
{
    ClearFpFaults();
    volatile double zero = 0.0;
    volatile double r = 1.0 / zero;
    (void)r;
    EXPECT_THROW(CheckFpFaults(), EZeroDivide);
    EXPECT_NO_THROW(CheckFpFaults());
}

} // namespace
