#pragma once
// The item indices of the three choices that select how an analysis runs.

#include <cstdint>

// Item indices of the step-kind choice; any other value means linear.
enum TScaleStep : std::uint8_t { ssLinear = 0, ssQuadratic = 1, ssLogarithmic = 2 };

// Item indices of the output-quantity choice.
enum TOutputKind : int { okLogRealPart = 0, okRealPart = 1, okPhase = 2, okRealByStdDev = 3 };

// Item indices of the wavelet choice.
enum TWaveletKind : int { wkGaussian = 0, wkMorlet = 1 };
