#pragma once
// The per-element work of a filtering's output, over a range of elements, so that a plane can
// be shared among threads: each call touches only its own range and allocates nothing. (The
// products with the wavelet are in half_kernel.h.)

#include "engine/complex.h"

#include <algorithm>
#include <cstddef>

// The quantity a filtering leaves in the real parts of its plane.
enum TFilterOutput { foModulus = 0, foRealPart = 1, foImagPart = 2 };

// Below this much work per thread, a thread costs more than it saves.
constexpr std::size_t kLeastElementsPerShare = 1 << 14;

inline std::size_t LeastRowsPerShare(int Cols)
{
    return std::max<std::size_t>(1, kLeastElementsPerShare / static_cast<std::size_t>(Cols));
}

// Elements [Begin, End) of an inverse transform of Count elements: both parts divided by
// Count (undoing the unnormalised FFT pair) and weighted by Scale, then Output written into
// the real part; the imaginary part keeps its weighted value.
void FinishFilterOutput(TFilterOutput Output, std::size_t Count, double Scale, TComplex* Plane,
                        std::size_t Begin, std::size_t End);

// Elements [Begin, End) keep their real parts only.
void ClearImaginaryParts(TComplex* Plane, std::size_t Begin, std::size_t End);
