#include "engine/ufftw.h"

#include "engine/memory_budget.h"

#include <cstring>
#include <fftw3.h>
#include <mutex>

static_assert(sizeof(TComplex) == sizeof(fftw_complex), "TComplex must match fftw_complex");

namespace {

std::mutex& PlannerLock()
{
    static std::mutex lock;
    return lock;
}

fftw_complex* AsFftw(TComplex* p) { return reinterpret_cast<fftw_complex*>(p); }

} // namespace

void FftwFree::operator()(TComplex* p) const noexcept { fftw_free(p); }

ComplexBuffer AllocateComplex(std::size_t count, const char* what)
{
    const std::size_t bytes = CheckedMul(count == 0 ? 1 : count, sizeof(TComplex), what);
    RequireMemory(bytes, what);
    auto* p = static_cast<TComplex*>(fftw_malloc(bytes));
    if (p == nullptr)
        throw EOutOfMemory(std::string("Not enough memory for ") + what + ": " +
                           FormatByteSize(bytes) + " could not be allocated");
    std::memset(p, 0, bytes);
    return ComplexBuffer(p);
}

void FftwFreeReal::operator()(double* p) const noexcept { fftw_free(p); }

RealBuffer AllocateReal(std::size_t count, const char* what)
{
    const std::size_t bytes = CheckedMul(count == 0 ? 1 : count, sizeof(double), what);
    RequireMemory(bytes, what);
    auto* p = static_cast<double*>(fftw_malloc(bytes));
    if (p == nullptr)
        throw EOutOfMemory(std::string("Not enough memory for ") + what + ": " +
                           FormatByteSize(bytes) + " could not be allocated");
    return RealBuffer(p);
}

FftPlan::FftPlan(int rows, int cols, FftDirection direction, bool inPlace)
    : plan_(nullptr), rows_(rows), cols_(cols), inPlace_(inPlace)
{
    if (rows < 1 || cols < 1)
        throw efftw_error("FFTW cannot plan a transform of " + std::to_string(rows) + " x " +
                          std::to_string(cols) + " values");
    const std::size_t count = CheckedMul(static_cast<std::size_t>(rows),
                                         static_cast<std::size_t>(cols), "an FFT plan");
    // Estimate plans never touch the arrays, but FFTW needs arrays of the right alignment and
    // placement to plan for.
    ComplexBuffer in = AllocateComplex(count, "an FFT plan");
    ComplexBuffer out = inPlace ? nullptr : AllocateComplex(count, "an FFT plan");
    TComplex* target = inPlace ? in.get() : out.get();
    const int sign = direction == FftDirection::Forward ? FFTW_FORWARD : FFTW_BACKWARD;
    {
        std::lock_guard<std::mutex> guard(PlannerLock());
        plan_ = rows == 1 ? fftw_plan_dft_1d(cols, AsFftw(in.get()), AsFftw(target), sign,
                                             FFTW_ESTIMATE)
                          : fftw_plan_dft_2d(rows, cols, AsFftw(in.get()), AsFftw(target),
                                             sign, FFTW_ESTIMATE);
    }
    if (plan_ == nullptr)
        throw efftw_error("FFTW could not create a plan for " + std::to_string(rows) + " x " +
                          std::to_string(cols) + " values");
}

FftPlan::~FftPlan()
{
    std::lock_guard<std::mutex> guard(PlannerLock());
    fftw_destroy_plan(static_cast<fftw_plan>(plan_));
}

void FftPlan::Execute(TComplex* in, TComplex* out) const
{
    fftw_execute_dft(static_cast<fftw_plan>(plan_), AsFftw(in), AsFftw(out));
}

RealFftPlan::RealFftPlan(int n, FftDirection direction) : plan_(nullptr)
{
    if (n < 1)
        throw efftw_error("FFTW cannot plan a transform of " + std::to_string(n) + " values");
    const std::size_t bins = static_cast<std::size_t>(n) / 2 + 1;
    RealBuffer real = AllocateReal(static_cast<std::size_t>(n), "an FFT plan");
    ComplexBuffer half = AllocateComplex(bins, "an FFT plan");
    {
        std::lock_guard<std::mutex> guard(PlannerLock());
        plan_ = direction == FftDirection::Forward
                    ? fftw_plan_dft_r2c_1d(n, real.get(), AsFftw(half.get()), FFTW_ESTIMATE)
                    : fftw_plan_dft_c2r_1d(n, AsFftw(half.get()), real.get(), FFTW_ESTIMATE);
    }
    if (plan_ == nullptr)
        throw efftw_error("FFTW could not create a plan for " + std::to_string(n) +
                          " real values");
}

RealFftPlan::~RealFftPlan()
{
    std::lock_guard<std::mutex> guard(PlannerLock());
    fftw_destroy_plan(static_cast<fftw_plan>(plan_));
}

void RealFftPlan::Forward(double* in, TComplex* out) const
{
    fftw_execute_dft_r2c(static_cast<fftw_plan>(plan_), in, AsFftw(out));
}

void RealFftPlan::Backward(TComplex* in, double* out) const
{
    fftw_execute_dft_c2r(static_cast<fftw_plan>(plan_), AsFftw(in), out);
}
