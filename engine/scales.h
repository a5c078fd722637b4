#pragma once
// Scale grids. Each returns Count >= 2 values from First to Last; fewer values divide by zero
// (a floating-point fault, caught at the caller's checkpoint).

#include "engine/analysis_kinds.h"

#include <vector>

// First, First + step, ... by repeated addition, so the last value is Last up to rounding.
std::vector<double> LinearScales(double First, double Last, int Count);

// Equal steps of the logarithm; both bounds must be >= 1 (ln of a bound <= 0 faults).
std::vector<double> LogScales(int First, int Last, int Count);

// Equal steps of the complex square root: for non-negative bounds equal steps of sqrt; with a
// negative bound the values pass through 0 (100, 0, -100 for 100, -100, 3).
std::vector<double> QuadraticScales(int First, int Last, int Count);

// The grid of a step kind: 1 quadratic, 2 logarithmic, any other linear. The quadratic and
// logarithmic grids take the bounds rounded up to whole numbers, the linear one unrounded.
std::vector<double> ScaleGrid(int StepKind, double First, double Last, int Count);
