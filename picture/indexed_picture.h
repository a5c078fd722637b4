#pragma once
// The one maker of 8-bit palette pictures: every picture of the program (spectrogram bands,
// 2-D frames, the grey picture of an opened image) is made here, under the memory budget, and
// its rows of colour levels are written here.

#include "picture/indexed_canvas.h"

#include <QImage>
#include <QList>
#include <QRgb>

#include <cstdint>

// A new 8-bit picture with `colours` as its table, every pixel `index`; EOutOfMemory when it
// exceeds the memory budget or cannot be allocated.
QImage NewIndexedPicture(int width, int height, const QList<QRgb>& colours, int index);

// Writes ColorIndex of `values` (rows x canvas width, row by row) into the canvas rows from
// firstRow on.
void PaintLevelRows(const TIndexedCanvas& canvas, int firstRow, int rows, const double* values);

// A width x height picture of 256 grey levels, `levels` row by row.
QImage GreyLevelPicture(int width, int height, const std::uint8_t* levels);
