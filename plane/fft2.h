#pragma once
// Two-dimensional complex FFTW plans of a fixed Rows x Cols plane (row-major, the column index
// varying fastest), made once by estimate and executed on any plane from AllocateComplex.
// Unnormalised: a forward and a backward transform multiply every element by Rows * Cols.

#include "engine/ufftw.h"

#include <cstddef>

// Rows * Cols, checked before anything is allocated or planned, so an impossible size ends
// with a clear message instead of a crash inside FFTW: std::invalid_argument for fewer than
// one row or column, EOutOfMemory naming `what` when the product overflows.
std::size_t PlaneElementCount(int Rows, int Cols, const char* what);

class TFft2Plan {
public:
    int Rows() const { return Plan.Rows(); }
    int Cols() const { return Plan.Cols(); }
    bool InPlace() const { return Plan.InPlace(); }

    // In place: Plane is overwritten and the result is empty. Otherwise Plane is left as it
    // is and a new plane of Rows * Cols elements with the transform is returned. Plane must
    // come from AllocateComplex and hold Rows * Cols elements.
    ComplexBuffer Execute(TComplex* Plane) const;

protected:
    TFft2Plan(int Rows, int Cols, FftDirection Direction, bool InPlace)
        : Plan(Rows, Cols, Direction, InPlace)
    {
    }

private:
    FftPlan Plan;
};

// Forward transform, sign -1.
class TFft2Trn final : public TFft2Plan {
public:
    TFft2Trn(int Rows, int Cols, bool InPlace)
        : TFft2Plan(Rows, Cols, FftDirection::Forward, InPlace)
    {
    }
};

// Backward transform, sign +1.
class TIFft2Trn final : public TFft2Plan {
public:
    TIFft2Trn(int Rows, int Cols, bool InPlace)
        : TFft2Plan(Rows, Cols, FftDirection::Backward, InPlace)
    {
    }
};
