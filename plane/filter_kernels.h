#pragma once
// The per-element work of one filtering, over a range of rows or elements, so that a plane
// can be shared among threads: each call touches only its own range, reads the wavelet and
// the grids without changing them, and allocates nothing.

#include "engine/complex.h"
#include "plane/wavelets2d.h"

#include <algorithm>
#include <cstddef>
#include <vector>

// The quantity a filtering leaves in the real parts of its plane.
enum TFilterOutput { foModulus = 0, foRealPart = 1, foImagPart = 2 };

// Below this much work per thread, a thread costs more than it saves.
constexpr std::size_t kLeastElementsPerShare = 1 << 14;

inline std::size_t LeastRowsPerShare(int Cols)
{
    return std::max<std::size_t>(1, kLeastElementsPerShare / static_cast<std::size_t>(Cols));
}

// Rows [RowBegin, RowEnd) of a spectrum Kx.size() columns wide: every bin is multiplied,
// unconjugated, by Wave at its angular frequency (Kx[c], Ky[r]) rotated by Angle (radians)
// and multiplied by Scale.
void MultiplyByWavelet(const TWave2D& Wave, const std::vector<double>& Kx,
                       const std::vector<double>& Ky, double Scale, double Angle,
                       TComplex* Spectrum, int RowBegin, int RowEnd);

// The same rows of Values receive the wavelet's values themselves, bit for bit those that
// MultiplyByWavelet would multiply by, so a wavelet used again and again is evaluated once.
void SampleWavelet(const TWave2D& Wave, const std::vector<double>& Kx,
                   const std::vector<double>& Ky, double Scale, double Angle, TComplex* Values,
                   int RowBegin, int RowEnd);

// Elements [Begin, End) of a spectrum multiplied, unconjugated, by those of Values.
void MultiplyBySamples(const TComplex* Values, TComplex* Spectrum, std::size_t Begin,
                       std::size_t End);

// Elements [Begin, End) of an inverse transform of Count elements: both parts divided by
// Count (undoing the unnormalised FFT pair) and weighted by Scale, then Output written into
// the real part; the imaginary part keeps its weighted value.
void FinishFilterOutput(TFilterOutput Output, std::size_t Count, double Scale, TComplex* Plane,
                        std::size_t Begin, std::size_t End);

// Elements [Begin, End) keep their real parts only.
void ClearImaginaryParts(TComplex* Plane, std::size_t Begin, std::size_t End);
