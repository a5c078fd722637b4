#include "engine/fp_checkpoint.h"

#include <cfenv>

namespace {
constexpr int kFaults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
}

void ClearFpFaults() noexcept { std::feclearexcept(kFaults); }

int RaisedFpFaults() noexcept { return std::fetestexcept(kFaults); }

void RaiseFpFaults(int faults) noexcept
{
    if (faults != 0)
        std::feraiseexcept(faults & kFaults);
}

void CheckFpFaults()
{
    const int raised = std::fetestexcept(kFaults);
    if (raised == 0)
        return;
    std::feclearexcept(kFaults);
    // Later arithmetic on an infinity or a NaN raises further flags; report the likely cause.
    if (raised & FE_DIVBYZERO)
        throw EZeroDivide();
    if (raised & FE_INVALID)
        throw EInvalidOp();
    throw EOverflow();
}
