#include "plane/fft2.h"

#include "engine/memory_budget.h"

#include <stdexcept>
#include <string>

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

std::size_t PlaneElementCount(int Rows, int Cols, const char* what)
{
    if (Rows < 1 || Cols < 1)
        throw std::invalid_argument(std::string(what) + ": a plane of " + std::to_string(Rows) +
                                    " x " + std::to_string(Cols) + " elements");
    return CheckedMul(static_cast<std::size_t>(Rows), static_cast<std::size_t>(Cols), what);
}
