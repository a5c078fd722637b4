#include "picture/palette.h"

#include "engine/errors.h"

#include <cmath>
#include <cstring>

namespace {

// The levels 15, 31, ..., 255 of the rainbow table.
constexpr std::uint8_t Level(int k) { return static_cast<std::uint8_t>(16 * k - 1); }

TPalette64 MakeRainbow()
{
    TPalette64 t{};
    for (int i = 0; i < 64; ++i) {
        if (i < 8)
            t[i] = {0, 0, Level(i + 9)};
        else if (i < 24)
            t[i] = {0, Level(i - 7), 255};
        else if (i < 40)
            t[i] = {Level(i - 23), 255, Level(40 - i)};
        else if (i < 56)
            t[i] = {255, Level(56 - i), 0};
        else
            t[i] = {Level(72 - i), 0, 0};
    }
    return t;
}

std::uint8_t Byte(double unit) { return static_cast<std::uint8_t>(std::nearbyint(unit * 255)); }

// A hue circle from red; the only exact half, 127.5, rounds to the even 128.
TPalette64 MakeHue()
{
    TPalette64 t{};
    for (int i = 0; i < 64; ++i) {
        const double h = 6.0 * i / 64;
        const int s = static_cast<int>(h);
        const double f = h - s;
        double r = 0, g = 0, b = 0;
        switch (s) {
        case 0: r = 1; g = f; break;
        case 1: r = 1 - f; g = 1; break;
        case 2: g = 1; b = f; break;
        case 3: g = 1 - f; b = 1; break;
        case 4: r = f; b = 1; break;
        default: r = 1; b = 1 - f; break;
        }
        t[i] = {Byte(r), Byte(g), Byte(b)};
    }
    return t;
}

TPalette64 MakeGrey()
{
    TPalette64 t{};
    for (int i = 0; i < 64; ++i) {
        const auto g = static_cast<std::uint8_t>(std::nearbyint(255.0 * i / 63));
        t[i] = {g, g, g};
    }
    return t;
}

int ColorCount(int numColorsIndex)
{
    static constexpr int counts[] = {4, 8, 16, 24, 32};
    return numColorsIndex >= 0 && numColorsIndex < 5 ? counts[numColorsIndex] : 64;
}

const TPalette64& TableOf(int paletteIndex)
{
    if (paletteIndex == 1)
        return PaletteHue;
    if (paletteIndex == 2)
        return PaletteGrey;
    return PaletteRainbow;
}

QRgb ToQRgb(TRgb c) { return qRgb(c.R, c.G, c.B); }

} // namespace

const TPalette64 PaletteRainbow = MakeRainbow();
const TPalette64 PaletteHue = MakeHue();
const TPalette64 PaletteGrey = MakeGrey();

TULVO_WIDE_VECTORS void ColorIndices(const double* x, std::size_t count, std::uint8_t* levels)
{
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        TDoubleLanes lanes;
        std::memcpy(&lanes, x + i, sizeof lanes);
        StoreColorIndices(lanes, levels + i);
    }
    for (; i < count; ++i)
        levels[i] = static_cast<std::uint8_t>(ColorIndex(x[i]));
}

TPalette64 QuantisedPalette(int paletteIndex, int numColorsIndex)
{
    const TPalette64& table = TableOf(paletteIndex);
    const int step = 64 / ColorCount(numColorsIndex);
    TPalette64 result{};
    for (int i = 0; i < 64; ++i)
        result[i] = table[step * (i / step)];
    return result;
}

QList<QRgb> MakePalette64(const TPalette64& table)
{
    QList<QRgb> colours;
    colours.reserve(64);
    for (const TRgb& c : table)
        colours.append(ToQRgb(c));
    return colours;
}

QList<QRgb> MakePalette66(const TPalette64& table)
{
    QList<QRgb> colours = MakePalette64(table);
    colours.append(qRgb(0, 0, 0));
    colours.append(qRgb(255, 255, 255));
    return colours;
}

QImage MakeLegendBitmap(const TPalette64& table)
{
    QImage legend(4, 256, QImage::Format_RGB888);
    if (legend.isNull())
        throw EOutOfMemory("Not enough memory for the palette legend");
    for (int y = 0; y < 256; ++y) {
        const TRgb c = table[63 - y / 4];
        uchar* row = legend.scanLine(y);
        for (int x = 0; x < 4; ++x) {
            row[3 * x] = c.R;
            row[3 * x + 1] = c.G;
            row[3 * x + 2] = c.B;
        }
    }
    return legend;
}
