#pragma once
// What a 2-D run will need, known from the matrix's size before any work, so a run that
// cannot end well is refused at once instead of after minutes of filtering.

#include "data/data_table.h"

#include <cstddef>

// The bytes a 2-D run over a matrix of `rows` x `cols` holds at its peak: the filter's planes
// (work, spectrum cache, accumulator), one frame's levels, picture and file, and the assembly
// of all frames. The contrast pass, read per orientation, is not counted.
std::size_t TwoDRunBytes(std::size_t rows, std::size_t cols);

// Throws EGeneric for a matrix of a single value (it cannot be normalised), EOutOfMemory "Not
// enough memory for the 2-D run ...: X needed, Y available" when TwoDRunBytes exceeds the
// memory budget, and EImageError when the frames are larger than a GIF or a TIFF can hold;
// called before any work.
void RequireTwoDRun(const TDataTable& table);
