#pragma once
// The rendering step of the 2-D command: the filter's sum over orientations as a frame.

#include "picture/palette.h"
#include "plane/bitmap_filter.h"

#include <QImage>

// Cols x Rows 8-bit picture with the palette's 64 colours: the real parts of the filter's sum
// clip-normalised at 3.5 standard deviations, one ColorIndex per pixel. The sum keeps its raw
// values. A null image when there is no sum; EOutOfMemory when the picture cannot be created.
// Ends with CheckFpFaults, like the filter's own operations.
QImage Render(const TBitmapFilter& Filter, const TPalette64& Palette);
