#pragma once
// Windows BMP files of 8 bits a pixel with a colour table, written by hand as the program's
// pictures are: the input of the writer and of the frame assembly.

#include <cstdint>
#include <vector>

struct TRgb {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    bool operator==(const TRgb&) const = default;
};

// 64 colour levels and then black and white, all distinct, as in the program's spectrograms.
inline std::vector<TRgb> SpectrogramPalette()
{
    std::vector<TRgb> palette;
    for (int level = 0; level < 64; ++level)
        palette.push_back({static_cast<std::uint8_t>(level * 4), static_cast<std::uint8_t>(255 - level * 4),
                           static_cast<std::uint8_t>(level * 37 % 256)});
    palette.push_back({0, 0, 0});
    palette.push_back({255, 255, 255});
    return palette;
}

// A BMP of `width` x `height` pixels whose colour indices are `indices`, row 0 the top line.
inline std::vector<std::uint8_t> EncodePaletteBmp(int width, int height,
                                                  const std::vector<TRgb>& palette,
                                                  const std::vector<std::uint8_t>& indices)
{
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) + 3u) & ~3u;
    const std::uint32_t pixelOffset = 14 + 40 + 4 * static_cast<std::uint32_t>(palette.size());
    const std::uint32_t fileSize = pixelOffset + rowBytes * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> bmp;
    auto put16 = [&bmp](std::uint32_t v) { bmp.push_back(v & 0xFF); bmp.push_back((v >> 8) & 0xFF); };
    auto put32 = [&put16](std::uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
    bmp.push_back('B');
    bmp.push_back('M');
    put32(fileSize);
    put32(0);
    put32(pixelOffset);
    put32(40); // BITMAPINFOHEADER
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height)); // positive: bottom-up rows
    put16(1);
    put16(8);
    put32(0); // no compression
    put32(rowBytes * static_cast<std::uint32_t>(height));
    put32(2835);
    put32(2835);
    put32(static_cast<std::uint32_t>(palette.size()));
    put32(0);
    for (const TRgb& colour : palette) {
        bmp.insert(bmp.end(), {colour.Blue, colour.Green, colour.Red, 0});
    }
    for (int y = height - 1; y >= 0; --y) {
        const auto row = indices.begin() + static_cast<long>(y) * width;
        bmp.insert(bmp.end(), row, row + width);
        bmp.insert(bmp.end(), rowBytes - static_cast<std::uint32_t>(width), 0);
    }
    return bmp;
}
