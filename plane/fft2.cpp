#include "fft2.h"

#include "memory_budget.h"

ComplexBuffer TFft2Plan::Execute(TComplex* Plane) const
{
    if (InPlace()) {
        Plan.Execute(Plane, Plane);
        return nullptr;
    }
    const std::size_t count = CheckedMul(static_cast<std::size_t>(Rows()),
                                         static_cast<std::size_t>(Cols()), "an FFT result");
    ComplexBuffer result = AllocateComplex(count, "an FFT result");
    Plan.Execute(Plane, result.get());
    return result;
}
