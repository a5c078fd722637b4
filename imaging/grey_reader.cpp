#include "imaging/magick_calls.h"

#include "imaging/image_formats.h"
#include "imaging/magick_codec.h"
#include "engine/memory_budget.h"

namespace {

// The grey copy handed back to the caller.
constexpr std::size_t kGreyBytesPerPixel = 1;

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

[[noreturn]] void ThrowDamaged(const std::string& coder, const std::string& name)
{
    throw EImageError("damaged " + coder + " file \"" + name +
                      "\": it starts as one but does not decode");
}

} // namespace

std::optional<GreyImage> magick_calls::ReadGreyImage(std::span<const std::uint8_t> bytes,
                                                     const std::string& name,
                                                     std::size_t bytesPerPixelDownstream)
{
    const std::optional<std::string> coder = CoderBySignature(bytes.data(), bytes.size());
    if (!coder)
        return std::nullopt;
    const std::size_t extraBytesPerPixel =
        CheckedAdd(bytesPerPixelDownstream, kGreyBytesPerPixel, "the image");
    std::optional<Magick::Image> image = DecodeFirstFrame(
        Magick::Blob(bytes.data(), bytes.size()), *coder, extraBytesPerPixel);
    if (!image)
        ThrowDamaged(*coder, name);
    try {
        return GreyLevelsOf(*image);
    } catch (const Magick::Exception&) {
        ThrowDamaged(*coder, name);
    }
}
