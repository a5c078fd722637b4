#pragma once
// The wavelet-contrast pass: a result treated as an image and replaced by its local contrast,
// the gradient magnitude after smoothing with a Gaussian of one element's standard deviation
// (periodic boundaries), clip-normalised into [0, 1]. Edges and ridges get the highest values,
// flat areas the lowest; a constant input gives zeros. Without a kernel, each call makes one
// for its carrier's size: EOutOfMemory when that does not fit.

#include "plane/bitmap_filter.h"
#include "plane/contrast_kernel.h"

#include <vector>

// On the first Rows * Cols values of a coefficient matrix (row by row), clipped at 2.5
// standard deviations. Throws std::invalid_argument when Matrix holds fewer values.
void ApplyWaveletContrast(int Rows, int Cols, std::vector<double>& Matrix);
// The same with a kernel made once for Rows x Cols, for callers that repeat the pass.
void ApplyWaveletContrast(const TContrastKernel& Kernel, std::vector<double>& Matrix);

// On the working plane of Filter, clipped at 3.5 standard deviations: real parts become the
// contrast, imaginary parts 0. Filter's spectrum cache and accumulator are not touched.
void ContrastPass(TBitmapFilter& Filter);
// The same with a kernel made once for Filter's size, for callers that repeat the pass.
// Throws std::invalid_argument when the sizes differ.
void ContrastPass(TBitmapFilter& Filter, const TContrastKernel& Kernel);
