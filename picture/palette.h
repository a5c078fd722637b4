#pragma once
// The three 64-colour tables, their quantisation to the chosen number of colours, the mapping
// of a normalised value to a colour level, and the colour tables and legend of the pictures.
// Spectrogram pictures use indices 0..63 for the levels, 64 for black and 65 for white.

#include "engine/vector_clones.h"

#include <QImage>
#include <QList>
#include <QRgb>

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

struct TRgb {
    std::uint8_t R, G, B;
    bool operator==(const TRgb&) const = default;
};

// Entry 0 is the colour of the lowest value, entry 63 of the highest.
using TPalette64 = std::array<TRgb, 64>;

extern const TPalette64 PaletteRainbow; // "Палитра 1"
extern const TPalette64 PaletteHue;     // "Палитра 2"
extern const TPalette64 PaletteGrey;    // "Палитра 3"

constexpr int kBlackIndex = 64;
constexpr int kWhiteIndex = 65;

// The colour level of a value normally in [0, 1]: x * 64 rounded half to even, minus 1,
// clamped to 0..63. The end bins are wider: 0 takes [0, 1.5/64), 63 takes [63.5/64, 1].
inline int ColorIndex(double x)
{
    const double y = x * 64; // exact: a power of two
    if (!(y > 0))
        return 0; // also for NaN
    if (y >= 64.5)
        return 63;
    // Adding and taking away 2^52 rounds to a whole number, halves to even, in the default
    // rounding mode; nearbyint would do the same at many times the cost, per pixel.
    const double k = (y + 0x1p52) - 0x1p52;
    return k > 1 ? static_cast<int>(k) - 1 : 0;
}

// ColorIndex of each lane into levels[0..3], without branches: max with 0 first (a NaN gives
// 0, as !(y > 0) does), min with 64.5 (which rounds to 64: level 63), the same rounding,
// minus 1, max with 0.
TULVO_INLINE void StoreColorIndices(TDoubleLanes x, std::uint8_t* levels)
{
    using TIntLanes = std::int32_t __attribute__((vector_size(4 * sizeof(std::int32_t))));
    const TDoubleLanes zero = {0, 0, 0, 0};
    TDoubleLanes y = x * 64;
    y = y > zero ? y : zero;
    y = y < 64.5 ? y : zero + 64.5;
    TDoubleLanes level = ((y + 0x1p52) - 0x1p52) - 1;
    level = level > zero ? level : zero;
    const TIntLanes whole = __builtin_convertvector(level, TIntLanes);
    // The low byte of each lane, stored at once: storing them one by one reloads each from
    // the stack the vector went to.
    using TByteLanes = std::uint8_t __attribute__((vector_size(sizeof(TIntLanes))));
    using TFourBytes = std::uint8_t __attribute__((vector_size(4)));
    const auto bytes = std::bit_cast<TByteLanes>(whole);
    const TFourBytes low = __builtin_shufflevector(bytes, bytes, 0, 4, 8, 12);
    std::memcpy(levels, &low, sizeof low);
}

// levels[i] = ColorIndex(x[i]) for i < count.
void ColorIndices(const double* x, std::size_t count, std::uint8_t* levels);

// The table of the palette choice (1 hue, 2 grey, else rainbow) reduced to the colour count of
// the count choice (items 0..4: 4, 8, 16, 24, 32 colours; else 64): each run of
// 64 / count entries takes the colour of its first entry. 24 colours give the 32-colour palette.
TPalette64 QuantisedPalette(int paletteIndex, int numColorsIndex);

// Colour tables for an 8-bit QImage: the 64 levels, or the levels followed by black and white.
QList<QRgb> MakePalette64(const TPalette64& table);
QList<QRgb> MakePalette66(const TPalette64& table);

// A 4 x 256 24-bit picture of the palette, highest level in the top four rows.
QImage MakeLegendBitmap(const TPalette64& table);
