#include "imaging/imagick.h"

#include "imaging/file_bytes.h"
#include "imaging/image_formats.h"
#include "imaging/magick_codec.h"
#include "engine/memory_budget.h"

namespace {

// No photo or scan we expect comes near this; a bigger file is not taken as a picture.
constexpr std::size_t kMaxImageFileBytes = std::size_t(1) << 30;

// The grey copy handed back to the caller.
constexpr std::size_t kGreyBytesPerPixel = 1;

// Enough for the longest signature.
constexpr std::size_t kSignatureBytes = 16;

// Takes the bytes over, so the file's copy is freed once the library holds its own.
Magick::Blob BlobOf(std::vector<std::uint8_t> bytes)
{
    return Magick::Blob(bytes.data(), bytes.size());
}

// Grey as the library computes it (also for CMYK and palette pictures), 8 bits a pixel.
GreyImage GreyLevelsOf(Magick::Image& image)
{
    image.type(Magick::GrayscaleType);
    GreyImage grey;
    grey.Width = static_cast<int>(image.columns());
    grey.Height = static_cast<int>(image.rows());
    grey.Pixels.resize(static_cast<std::size_t>(image.columns()) * image.rows());
    image.write(0, 0, image.columns(), image.rows(), "I", Magick::CharPixel, grey.Pixels.data());
    return grey;
}

} // namespace

std::optional<GreyImage> ReadGreyImage(const std::string& path,
                                       std::size_t bytesPerPixelDownstream)
{
    // The signature first: a large text file that merely has a picture's name is not read
    // into memory for nothing.
    const std::optional<std::vector<std::uint8_t>> head = ReadFilePrefix(path, kSignatureBytes);
    if (!head || !CoderBySignature(head->data(), head->size()))
        return std::nullopt;
    std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, kMaxImageFileBytes);
    if (!bytes)
        return std::nullopt;
    const std::optional<std::string> coder = CoderBySignature(bytes->data(), bytes->size());
    if (!coder)
        return std::nullopt;
    const std::size_t extraBytesPerPixel =
        CheckedAdd(bytesPerPixelDownstream, kGreyBytesPerPixel, "the image");
    std::optional<Magick::Image> image =
        DecodeFirstFrame(BlobOf(std::move(*bytes)), *coder, extraBytesPerPixel);
    if (!image)
        return std::nullopt;
    try {
        return GreyLevelsOf(*image);
    } catch (const Magick::Exception&) {
        return std::nullopt;
    }
}
