#pragma once
// The binding to FFTW: aligned complex buffers and plans made once, by estimate, then executed
// on any buffer from AllocateComplex. Plans are made and destroyed under one lock, since only
// FFTW's execution is thread-safe; executions need no lock.

#include "engine/complex.h"
#include "engine/errors.h"

#include <cstddef>
#include <memory>

// A plan FFTW could not make.
class efftw_error : public TulvoError {
public:
    explicit efftw_error(const std::string& message) : TulvoError(message, "efftw_error") {}
};

struct FftwFree {
    void operator()(TComplex* p) const noexcept;
};

// `count` zero-filled complex values with FFTW's alignment. Checks the size against the memory
// budget first (EOutOfMemory naming `what`).
using ComplexBuffer = std::unique_ptr<TComplex[], FftwFree>;
ComplexBuffer AllocateComplex(std::size_t count, const char* what);

struct FftwFreeReal {
    void operator()(double* p) const noexcept;
};

// `count` doubles with FFTW's alignment, not initialised (the writer touches its pages).
// Checks the size against the memory budget first, like AllocateComplex.
using RealBuffer = std::unique_ptr<double[], FftwFreeReal>;
RealBuffer AllocateReal(std::size_t count, const char* what);

enum class FftDirection { Forward = -1, Backward = +1 };

// An unnormalised complex transform of fixed shape: 1-D (rows = 1) or 2-D row-major
// (the column index varies fastest).
class FftPlan {
public:
    FftPlan(int rows, int cols, FftDirection direction, bool inPlace);
    ~FftPlan();
    FftPlan(const FftPlan&) = delete;
    FftPlan& operator=(const FftPlan&) = delete;

    // In place: `in` == `out`. Both must come from AllocateComplex and hold rows * cols values.
    void Execute(TComplex* in, TComplex* out) const;

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    bool InPlace() const { return inPlace_; }

private:
    void* plan_;
    int rows_;
    int cols_;
    bool inPlace_;
};

// The unnormalised transforms of a real series of length n: r2c to its n / 2 + 1 bins of
// non-negative frequency, and c2r from such bins (taken as the half of a Hermitian spectrum)
// back to n real values. c2r overwrites its input. Arrays come from AllocateReal and
// AllocateComplex, out of place.
class RealFftPlan {
public:
    RealFftPlan(int n, FftDirection direction);
    ~RealFftPlan();
    RealFftPlan(const RealFftPlan&) = delete;
    RealFftPlan& operator=(const RealFftPlan&) = delete;

    void Forward(double* in, TComplex* out) const;  // a Forward plan only
    void Backward(TComplex* in, double* out) const; // a Backward plan only

private:
    void* plan_;
};
