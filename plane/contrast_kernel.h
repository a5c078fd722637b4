#pragma once
// The filtering of the wavelet-contrast pass made once for a plane size: the Gaussian
// gradient wavelet (TGaussz2D, order 1, unit width, scale 1, angle 0) sampled over the
// frequency grid, and the two in-place plans. A pass then costs a forward FFT, a multiply by
// the samples, an inverse FFT and the modulus, bit for bit what a TBitmapFilter would give.
// Immutable after construction, so one kernel can serve any number of threads.

#include "plane/fft2.h"

#include <cstddef>

class TContrastKernel {
public:
    // Throws std::invalid_argument for fewer than one row or column and EOutOfMemory, before
    // any plan is made, when the samples' size overflows or exceeds the memory budget.
    TContrastKernel(int Rows, int Cols);

    int Rows() const { return Rows_; }
    int Cols() const { return Cols_; }
    std::size_t Count() const { return Count_; }

    // Plane (Count elements from AllocateComplex, any imaginary parts) is replaced by the
    // modulus of its Gaussian gradient in the real parts, the gradient along the rows in the
    // imaginary parts, as TBitmapFilter::Filter leaves them for foModulus. Ends with
    // CheckFpFaults.
    void GradientMagnitude(TComplex* Plane) const;

private:
    int Rows_;
    int Cols_;
    std::size_t Count_;
    ComplexBuffer Samples;
    TFft2Trn Forward;
    TIFft2Trn Inverse;
};
