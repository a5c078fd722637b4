#pragma once
// Two-dimensional FFTW plans of a fixed Rows x Cols plane (row-major, the column index varying
// fastest), made once by estimate and executed on any plane from AllocateComplex.
// Unnormalised: a forward and a backward transform multiply every element by Rows * Cols.
//
// The filter's matrices are real, so its work runs on the real-data transforms (THalfSpectrum
// plans): estimate-mode r2c/c2r plans are as fast here as measured ones, while complex
// estimate plans are several times slower. The complex wrappers stay for callers that hold
// complex planes.

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

// The half spectrum of a real Rows x Cols plane: columns 0 .. Cols / 2 of every row of its
// spectrum (each other bin is the conjugate of its mirror bin), Rows x HalfCols(Cols) complex
// values. Transforms run in place on such a buffer: the real plane lies in it row by row, each
// row of Cols values padded to PaddedCols(Cols) doubles.
inline std::size_t HalfCols(int Cols) { return static_cast<std::size_t>(Cols) / 2 + 1; }
inline std::size_t PaddedCols(int Cols) { return 2 * HalfCols(Cols); }
// Rows x HalfCols(Cols), checked like PlaneElementCount.
std::size_t HalfSpectrumCount(int Rows, int Cols, const char* what);

// The padded real rows of a half-spectrum buffer.
inline double* RealRows(TComplex* Buffer) { return reinterpret_cast<double*>(Buffer); }
inline const double* RealRows(const TComplex* Buffer)
{
    return reinterpret_cast<const double*>(Buffer);
}

// An in-place real-data transform of a Rows x Cols plane, planned by estimate. Forward (r2c)
// turns the padded real rows of a buffer into the half spectrum, Backward (c2r) the half
// spectrum into padded real rows; the backward transform reads only the Hermitian part of
// what it is given, as if the whole spectrum had been (S(k) + conj S(-k)) / 2. Plans are made
// and destroyed while FFTW's planner is made thread-safe, so they may be made on any thread;
// one plan may execute on several buffers at once.
class THalfSpectrumPlan {
public:
    THalfSpectrumPlan(int Rows, int Cols, FftDirection Direction);
    ~THalfSpectrumPlan();
    THalfSpectrumPlan(const THalfSpectrumPlan&) = delete;
    THalfSpectrumPlan& operator=(const THalfSpectrumPlan&) = delete;

    int Rows() const { return Rows_; }
    int Cols() const { return Cols_; }

    // Buffer holds HalfSpectrumCount(Rows, Cols) values and is aligned like AllocateComplex's
    // (any element of such a buffer will do): std::invalid_argument otherwise.
    void Execute(TComplex* Buffer) const;

private:
    void* Plan;
    int Rows_;
    int Cols_;
    FftDirection Direction_;
    int Alignment;
};
