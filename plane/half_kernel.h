#pragma once
// A wavelet's transform as the half spectrum of a real plane meets it.
//
// The spectrum A of a real plane is Hermitian, A(m(k)) = conj A(k), where m(k) is the mirror
// bin (the negated frequency index: row (Rows - r) % Rows, column (Cols - c) % Cols). For the
// product with a wavelet's values P, the real part of the filtered plane is the inverse of
// A * E and its imaginary part the inverse of A * O, with
//     E(k) = (P(k) + conj P(m(k))) / 2        (the Hermitian part of P)
//     O(k) = (P(k) - conj P(m(k))) / (2i)     (the anti-Hermitian part over i)
// both Hermitian, so each inverse is one c2r transform of the half spectrum. A plane a + ib
// with spectra A and B gives the real part from A * E - B * O and the imaginary part from
// A * O + B * E. Bins that are their own mirror (row or column 0, and the middle row or column
// of an even size, whose frequency is -pi either way) need nothing special: E and O are taken
// at the mirror's own frequency, as the full complex transform would meet them.
//
// Kernels are made per filtering (scale and orientation) and are immutable, so the rows of a
// half spectrum can be shared among threads.

#include "engine/complex.h"
#include "plane/wavelets2d.h"

#include <cstddef>
#include <memory>
#include <vector>

// Columns [Begin, End) of a row; outside them E and O are exactly 0.
struct TColumnRange {
    std::size_t Begin = 0;
    std::size_t End = 0;
    bool Empty() const { return Begin >= End; }
};

// One row of E and O, HalfCols values each, as four real arrays.
struct TKernelRow {
    double* ERe;
    double* EIm;
    double* ORe;
    double* OIm;
};

class THalfKernel {
public:
    virtual ~THalfKernel() = default;
    // Writes row r of E and O into `row` and returns the columns outside which both are 0
    // there; an empty range for a row of zeros, where `row` is left as it was.
    virtual TColumnRange Row(int r, const TKernelRow& row) const = 0;
    // True when O is 0 everywhere: the wavelet's response to a real plane is real.
    virtual bool OddPartVanishes() const { return false; }
    // Rows [RowBegin, RowEnd) of A * E into Re and of A * O into Im (either may be null) for
    // the spectrum A of a real plane, when the kernel has a faster way than Row: the same
    // values, without the rows of E and O in between. Re may be A. False when it has none.
    virtual bool MultiplyRealPlane(std::size_t HalfCols, const TComplex* A, TComplex* Re,
                                   TComplex* Im, int RowBegin, int RowEnd) const
    {
        (void)HalfCols, (void)A, (void)Re, (void)Im, (void)RowBegin, (void)RowEnd;
        return false;
    }
};

// The kernel of Wave at Scale and Angle (radians) over the frequency grids Kx (Cols values,
// FFTW's bin order) and Ky (Rows values). TMorlet2D, TSQDog2D and a TGaussz2D of order 1 and
// equal widths are separable in the two frequencies, so they cost a few exponentials per row
// and column and are exactly 0 where the exponentials underflow; any other wavelet is sampled
// through Spectrum at every bin and its mirror.
std::unique_ptr<THalfKernel> MakeHalfKernel(const TWave2D& Wave, const std::vector<double>& Kx,
                                            const std::vector<double>& Ky, double Scale,
                                            double Angle);

// Rows [RowBegin, RowEnd) of the half spectra of a filtering, HalfCols values a row:
//   Re (when not null) = A * E - B * O, the spectrum of the real part;
//   Im (when not null) = A * O + B * E, that of the imaginary part;
// B null stands for a real plane (B = 0). Re may be A itself and Im may be B (each bin is read
// before either part is written); Im may not be A. `scratch` holds 4 * HalfCols doubles for
// the thread that calls.
void MultiplyHalfSpectrum(const THalfKernel& Kernel, std::size_t HalfCols, const TComplex* A,
                          const TComplex* B, TComplex* Re, TComplex* Im, int RowBegin,
                          int RowEnd, double* scratch);
