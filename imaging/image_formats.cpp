#include "imaging/image_formats.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace {

struct TSignature {
    std::string_view Magic;
    const char* Coder;
};

// BigTIFF and the OS/2 bitmap variants are left out: nothing we meet writes them.
constexpr TSignature kSignatures[] = {
    {std::string_view("BM", 2), "BMP"},
    {std::string_view("GIF87a", 6), "GIF"},
    {std::string_view("GIF89a", 6), "GIF"},
    {std::string_view("\xFF\xD8\xFF", 3), "JPEG"},
    {std::string_view("\x89PNG\r\n\x1A\n", 8), "PNG"},
    {std::string_view("II*\0", 4), "TIFF"},
    {std::string_view("MM\0*", 4), "TIFF"},
};

// "BM" alone is too weak (a text may start so): the two reserved words after the file size
// are zero in every BMP file.
bool HasBmpReservedZeros(const std::uint8_t* bytes, std::size_t size)
{
    return size >= 10 && bytes[6] == 0 && bytes[7] == 0 && bytes[8] == 0 && bytes[9] == 0;
}

struct TExtension {
    std::string_view Extension;
    const char* Coder;
};

constexpr TExtension kExtensions[] = {
    {".bmp", "BMP"}, {".gif", "GIF"},   {".jpg", "JPEG"}, {".jpeg", "JPEG"},
    {".png", "PNG"}, {".tif", "TIFF"}, {".tiff", "TIFF"},
};

} // namespace

std::optional<std::string> CoderBySignature(const std::uint8_t* bytes, std::size_t size)
{
    for (const TSignature& signature : kSignatures) {
        if (size >= signature.Magic.size() &&
            std::memcmp(bytes, signature.Magic.data(), signature.Magic.size()) == 0 &&
            (signature.Coder != std::string_view("BMP") || HasBmpReservedZeros(bytes, size)))
            return signature.Coder;
    }
    return std::nullopt;
}

std::optional<std::string> CoderByExtension(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const TExtension& known : kExtensions) {
        if (extension == known.Extension)
            return known.Coder;
    }
    return std::nullopt;
}
