#pragma once
// A direct O(n^2) evaluation of the 2-D wavelet filter in long double, written independently
// of the FFT path and of the engine's frequency grid: the reference TBitmapFilter is checked
// against.

#include "engine/complex.h"
#include "plane/filter_kernels.h"
#include "plane/wavelets2d.h"

#include <complex>
#include <vector>

using OracleComplex = std::complex<long double>;

// The rows x cols real matrix filtered at one scale and orientation: 2-D DFT, every bin times
// the wavelet at its rotated, scaled angular frequency, inverse DFT, divided by the number of
// elements and weighted by the scale.
std::vector<OracleComplex> OracleFilter2D(const std::vector<double>& matrix, int rows, int cols,
                                          const TWave2D& wave, double scale, double angle);
// The same for a complex plane.
std::vector<OracleComplex> OracleFilter2D(const std::vector<OracleComplex>& plane, int rows,
                                          int cols, const TWave2D& wave, double scale,
                                          double angle);

// What a filtering with `output` leaves in the plane for the oracle's value z: the modulus, the
// real or the imaginary part as the real part, the imaginary part kept.
TComplex ExpectedFilterOutput(OracleComplex z, TFilterOutput output);
