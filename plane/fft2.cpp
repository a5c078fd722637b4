#include "plane/fft2.h"

#include "engine/memory_budget.h"

#include <fftw3.h>

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

namespace {

// The engine makes its plans under a lock of its own that this folder cannot reach; FFTW's
// own planner lock, switched on once for the process, serialises every plan made or
// destroyed anywhere, the engine's included.
void MakePlannerThreadSafe()
{
    static const bool done = [] {
        fftw_make_planner_thread_safe();
        return true;
    }();
    (void)done;
}

} // namespace

std::size_t HalfSpectrumCount(int Rows, int Cols, const char* what)
{
    PlaneElementCount(Rows, Cols, what);
    return CheckedMul(static_cast<std::size_t>(Rows), HalfCols(Cols), what);
}

THalfSpectrumPlan::THalfSpectrumPlan(int Rows, int Cols, FftDirection Direction)
    : Plan(nullptr), Rows_(Rows), Cols_(Cols), Direction_(Direction), Alignment(0)
{
    const std::size_t count = HalfSpectrumCount(Rows, Cols, "an FFT plan");
    // Estimate plans never touch the array; FFTW needs one of the right alignment to plan for.
    ComplexBuffer buffer = AllocateComplex(count, "an FFT plan");
    auto* complex = reinterpret_cast<fftw_complex*>(buffer.get());
    double* real = RealRows(buffer.get());
    MakePlannerThreadSafe();
    Plan = Direction == FftDirection::Forward
               ? fftw_plan_dft_r2c_2d(Rows, Cols, real, complex, FFTW_ESTIMATE)
               : fftw_plan_dft_c2r_2d(Rows, Cols, complex, real, FFTW_ESTIMATE);
    if (Plan == nullptr)
        throw efftw_error("FFTW could not create a real-data plan for " + std::to_string(Rows) +
                          " x " + std::to_string(Cols) + " values");
    Alignment = fftw_alignment_of(real);
}

THalfSpectrumPlan::~THalfSpectrumPlan() { fftw_destroy_plan(static_cast<fftw_plan>(Plan)); }

void THalfSpectrumPlan::Execute(TComplex* Buffer) const
{
    double* real = RealRows(Buffer);
    if (fftw_alignment_of(real) != Alignment)
        throw std::invalid_argument("a real-data transform on a buffer of another alignment");
    auto* complex = reinterpret_cast<fftw_complex*>(Buffer);
    if (Direction_ == FftDirection::Forward)
        fftw_execute_dft_r2c(static_cast<fftw_plan>(Plan), real, complex);
    else
        fftw_execute_dft_c2r(static_cast<fftw_plan>(Plan), complex, real);
}
