#pragma once
// The filtering of the wavelet-contrast pass made once for a plane size: the Gaussian
// gradient wavelet (TGaussz2D, order 1, unit width, scale 1, angle 0) as it meets the half
// spectrum of a real plane, and the two in-place real-data plans. The wavelet is
// (-Ky + i Kx) G: its Hermitian part i Kx G gives the derivative along the columns, its
// anti-Hermitian part the derivative along the rows, each one c2r transform of the plane's
// half spectrum. Immutable after construction, so one kernel can serve any number of threads.

#include "plane/fft2.h"
#include "plane/half_kernel.h"

#include <cstddef>
#include <memory>
#include <vector>

class TContrastKernel {
public:
    // Throws std::invalid_argument for fewer than one row or column and EOutOfMemory, before
    // any plan is made, when the size overflows or exceeds the memory budget.
    TContrastKernel(int Rows, int Cols);

    int Rows() const { return Rows_; }
    int Cols() const { return Cols_; }
    std::size_t Count() const { return Count_; }
    std::size_t HalfCount() const { return HalfCount_; }

    // Buffer holds the real parts of a plane in the padded rows of a half-spectrum buffer and
    // Scratch is another such buffer (HalfCount values each, from AllocateComplex or lanes of
    // one), holding the imaginary parts when ImaginaryInScratch (else the plane is real).
    // Afterwards Buffer and Scratch hold, in the same padded rows, the real and imaginary
    // parts of the pass's complex filtering before its division by Count: for a real plane,
    // Count times the derivatives along the columns and along the rows of the plane smoothed
    // by the unit Gaussian (periodic boundaries).
    void Gradient(TComplex* Buffer, TComplex* Scratch, bool ImaginaryInScratch = false) const;

    // Plane (Count elements from AllocateComplex, any imaginary parts) is replaced by the
    // modulus of its Gaussian gradient in the real parts, the gradient along the rows in the
    // imaginary parts, as TBitmapFilter::Filter leaves them for foModulus. Ends with
    // CheckFpFaults.
    void GradientMagnitude(TComplex* Plane) const;

private:
    int Rows_;
    int Cols_;
    std::size_t Count_;
    std::size_t HalfCount_;
    std::vector<double> Kx;
    std::vector<double> Ky;
    std::unique_ptr<THalfKernel> Kernel;
    THalfSpectrumPlan Forward;
    THalfSpectrumPlan Inverse;
};
