#pragma once
// A direct O(n^2) evaluation of the wavelet filter in long double, written independently of
// the FFT path: the reference the transformer is checked against.

#include "engine/wavelets1d.h"

#include <vector>

struct OracleComplex {
    long double re;
    long double im;
};

// The series filtered at one scale: DFT, times the conjugate spectrum at each bin's angular
// frequency times the scale, inverse DFT, all unnormalised.
std::vector<OracleComplex> OracleFilter(const std::vector<double>& series, const TWave1D& wave,
                                        double scale);
