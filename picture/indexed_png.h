#pragma once
// PNG files of 8-bit palette pictures, their rows deflated on all cores at once. A long run's
// picture (100 MB and more) spends most of its PNG time in zlib, which alone uses one core:
// here the rows are cut into pieces that are compressed side by side, each primed with the
// 32 KB before it, and joined into the one zlib stream that PNG wants. The pieces and so the
// file do not depend on the number of cores. Every row is filtered by its difference from the
// row above, which zlib compresses much faster and smaller.

#include "imaging/file_bytes.h"

#include <QImage>

// Whether WriteIndexedPng writes the picture as it stands: 8-bit with an opaque colour table
// of at most 256 colours and no text.
bool WritesAsIndexedPng(const QImage& picture);

// How zlib deflates the rows: its level (0 to 9, or Z_DEFAULT_COMPRESSION) and its strategy
// (Z_DEFAULT_STRATEGY, Z_RLE, ...).
struct TDeflateChoice {
    int Level;
    int Strategy;
};

// Writes the picture as a PNG of colour type 3 (its colour table, its resolution when it has
// one), deflated as `deflate` says. Throws EImageError when a write is refused or zlib fails;
// `targetPath` names the file in the message.
void WriteIndexedPng(const QImage& picture, TDeflateChoice deflate, TFileSink& sink,
                     const std::string& targetPath);
