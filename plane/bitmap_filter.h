#pragma once
// The two-dimensional continuous wavelet transform of one real matrix by multiplication in
// the frequency domain, one scale and orientation at a time. The matrix's spectrum is kept
// after the first filtering, so every later filtering costs one inverse FFT. The filter also
// holds the normalisations of its working plane, an accumulator that sums planes over
// orientations; the 2-D command renders that sum as a picture.
//
// A plane is Rows x Cols complex values, row by row (row 0 the top line of an image), the
// element of row r and column c at r * Cols + c.
//
// Checkpoints: Filter, Stats and the normalisations end with CheckFpFaults, so a
// floating-point fault raised since the caller's ClearFpFaults (a 1 x 1 plane has no standard
// deviation; a wavelet parameter may divide by zero) ends the command there instead of
// spreading NaNs into the pictures.

#include "plane/fft2.h"
#include "plane/filter_kernels.h"
#include "engine/stats.h"
#include "plane/wavelets2d.h"

#include <cstddef>
#include <vector>

class TBitmapFilter {
public:
    // Work is zero-filled. Throws std::invalid_argument for fewer than one row or column and
    // EOutOfMemory, before any plan is made, when the plane's size overflows or exceeds the
    // memory budget.
    TBitmapFilter(int Rows, int Cols);

    int Rows() const { return Rows_; }
    int Cols() const { return Cols_; }
    std::size_t Count() const { return Count_; }

    // The working plane: callers load the matrix into the real parts (imaginary parts 0) and
    // read results from it. Count elements, at the same address for the filter's life.
    TComplex* Work() { return Work_.get(); }
    const TComplex* Work() const { return Work_.get(); }

    // Replaces Work by the transform at Scale and Angle (radians), weighted by Scale, with
    // Output in the real parts. The first call fixes the spectrum of Work as it is then;
    // later changes to Work never reach it.
    void Filter(const TWave2D& Wave, TFilterOutput Output, double Scale, double Angle);

    // Statistics of the real parts of Work; needs at least two elements.
    TSeriesStats Stats() const;

    // The engine's normalisations applied to the real parts of Work; every imaginary part
    // becomes 0. NormalizeStdDev and ClipNormalize need at least two elements.
    void NormalizeMinMax();
    void NormalizeLog();
    void NormalizeStdDev();
    void ClipNormalize(long double K);

    // Starts a new sum of Count zeros.
    void ResetAccumulator();
    // Adds Weight times Work, both parts, to the sum; nothing without a ResetAccumulator.
    void Accumulate(double Weight);
    // The sum, Count elements, or nullptr before the first ResetAccumulator.
    const TComplex* Sums() const { return Accumulator.get(); }

private:
    DoubleView RealParts() const { return RealPartsOf(Work_.get(), Count_); }
    void FinishNormalisation();
    void FixSpectrum();

    int Cols_;
    int Rows_;
    std::size_t Count_;
    ComplexBuffer Work_;
    TFft2Trn Forward;
    TIFft2Trn Inverse;
    std::vector<double> Kx; // angular frequency of every column bin, FFTW's order
    std::vector<double> Ky; // and of every row bin
    ComplexBuffer SpectrumCache;
    ComplexBuffer Accumulator;
};
