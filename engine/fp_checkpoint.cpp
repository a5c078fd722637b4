#include "fp_checkpoint.h"

#include <cfenv>

namespace {
constexpr int kFaults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
}

void ClearFpFaults() noexcept { std::feclearexcept(kFaults); }

void CheckFpFaults()
{
    const int raised = std::fetestexcept(kFaults);
    if (raised == 0)
        return;
    std::feclearexcept(kFaults);
    // An invalid operation usually follows from the division or overflow that caused it, so
    // the primary cause is reported first.
    if (raised & FE_DIVBYZERO)
        throw EZeroDivide();
    if (raised & FE_OVERFLOW)
        throw EOverflow();
    throw EInvalidOp();
}
