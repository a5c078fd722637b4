#pragma once
// Small grey pictures written byte by byte, so the image-branch tests need no image library
// of their own: a 24-bit BMP and an 8-bit grey PNG (deflate's stored blocks, no compression).

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// Grey levels row by row, row 0 the top line.
struct TGreyPicture {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::vector<std::uint8_t> Levels;
};

namespace tiny_images_detail {

inline void PutLittle(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline void PutBig(std::string& out, std::uint32_t value)
{
    for (int i = 3; i >= 0; --i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void PutChunk(std::string& png, const char* type, const std::string& data)
{
    PutBig(png, static_cast<std::uint32_t>(data.size()));
    const std::string typed = type + data;
    png += typed;
    PutBig(png, Crc32(typed));
}

// A zlib stream of stored deflate blocks.
inline std::string Stored(const std::string& raw)
{
    std::string out = "\x78\x01";
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - at, 65535);
        out += static_cast<char>(at + length == raw.size() ? 1 : 0);
        PutLittle(out, static_cast<std::uint32_t>(length), 2);
        PutLittle(out, static_cast<std::uint32_t>(~length & 0xFFFF), 2);
        out.append(raw, at, length);
        at += length;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (const char c : raw) {
        a = (a + static_cast<std::uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    PutBig(out, (b << 16) | a);
    return out;
}

} // namespace tiny_images_detail

// A 24-bit BMP (rows stored bottom-up, each padded to 4 bytes) whose pixels are grey.
inline std::string BmpBytes(const TGreyPicture& picture)
{
    using namespace tiny_images_detail;
    const std::uint32_t stride = (picture.Width * 3 + 3) / 4 * 4;
    const std::uint32_t pixelBytes = stride * picture.Height;
    std::string bmp = "BM";
    PutLittle(bmp, 54 + pixelBytes, 4);
    PutLittle(bmp, 0, 4);
    PutLittle(bmp, 54, 4);
    PutLittle(bmp, 40, 4);
    PutLittle(bmp, picture.Width, 4);
    PutLittle(bmp, picture.Height, 4);
    PutLittle(bmp, 1, 2);
    PutLittle(bmp, 24, 2);
    for (int i = 0; i < 6; ++i)
        PutLittle(bmp, i == 1 ? pixelBytes : 0, 4);
    for (std::uint32_t y = picture.Height; y-- > 0;) {
        for (std::uint32_t x = 0; x < picture.Width; ++x)
            bmp.append(3, static_cast<char>(picture.Levels[y * picture.Width + x]));
        bmp.append(stride - picture.Width * 3, '\0');
    }
    return bmp;
}

// An 8-bit grey PNG. Without its pixels, the data holds a single row of zeros: a file that
// only claims its size.
inline std::string PngBytes(const TGreyPicture& picture, bool withPixels = true)
{
    using namespace tiny_images_detail;
    std::string png = "\x89PNG\r\n\x1A\n";
    std::string header;
    PutBig(header, picture.Width);
    PutBig(header, picture.Height);
    header += std::string("\x08\x00\x00\x00\x00", 5); // depth 8, grey, no interlace
    PutChunk(png, "IHDR", header);
    std::string raw;
    for (std::uint32_t y = 0; y < (withPixels ? picture.Height : 1); ++y) {
        raw += '\0'; // no filter
        if (withPixels)
            raw.append(reinterpret_cast<const char*>(&picture.Levels[y * picture.Width]),
                       picture.Width);
        else
            raw.append(picture.Width, '\0');
    }
    PutChunk(png, "IDAT", Stored(raw));
    PutChunk(png, "IEND", "");
    return png;
}
