#include "imaging/magick_codec.h"

#include "imaging/image_formats.h"
#include "imaging/imagick.h"
#include "imaging/output_formats.h"
#include "engine/memory_budget.h"

namespace {

struct TPictureSize {
    std::size_t Width = 0;
    std::size_t Height = 0;
};

// The settings that make the library use exactly `coder` and stop after the first frame.
Magick::Image FirstFrameReader(const std::string& coder)
{
    Magick::Image image;
    image.magick(coder);
    image.subImage(0);
    image.subRange(1);
    return image;
}

TPictureSize SizeOf(const Magick::Image& image) { return {image.columns(), image.rows()}; }

void RequireDecodeMemory(TPictureSize size, std::size_t extraBytesPerPixel)
{
    const std::size_t pixels = CheckedMul(size.Width, size.Height, "the image");
    const std::size_t perPixel = CheckedAdd(kLibraryBytesPerPixel, extraBytesPerPixel, "the image");
    RequireMemory(CheckedMul(pixels, perPixel, "the image"), "the image");
}

[[noreturn]] void ThrowResourceLimit(const Magick::Exception& limit)
{
    throw EOutOfMemory(std::string("Not enough memory to decode the image: ") + limit.what());
}

void RequireFitsFormat(const Magick::Image& frame, const std::string& coder,
                       const std::string& what)
{
    const std::string problem = OutputFormatProblem(coder, frame.columns(), frame.rows());
    if (!problem.empty())
        throw EImageError("Cannot write " + what + ": " + problem);
}

// The library reports some failures only by handing back no data, or a stub that is no
// file of the format: anything that does not start with the coder's signature is one.
bool IsEncodingOf(const Magick::Blob& blob, const std::string& coder)
{
    const auto* data = static_cast<const std::uint8_t*>(blob.data());
    if (data == nullptr)
        return false;
    const std::optional<std::string> found = CoderBySignature(data, blob.length());
    return found && *found == coder;
}

} // namespace

std::optional<Magick::Image> DecodeFirstFrame(const Magick::Blob& blob, const std::string& coder,
                                              std::size_t extraBytesPerPixel)
{
    try {
        Magick::Image probe = FirstFrameReader(coder);
        probe.ping(blob);
        const TPictureSize header = SizeOf(probe);
        if (header.Width == 0 || header.Height == 0)
            return std::nullopt;
        RequireDecodeMemory(header, extraBytesPerPixel);

        Magick::Image image = FirstFrameReader(coder);
        image.read(blob);
        const TPictureSize decoded = SizeOf(image);
        if (decoded.Width != header.Width || decoded.Height != header.Height)
            return std::nullopt;
        return image;
    } catch (const Magick::ErrorResourceLimit& limit) {
        ThrowResourceLimit(limit);
    } catch (const Magick::WarningResourceLimit& limit) {
        ThrowResourceLimit(limit);
    } catch (const Magick::Exception&) {
        // Errors and warnings alike: a picture the library had to repair is not trusted.
        return std::nullopt;
    }
}

std::vector<std::uint8_t> EncodeFrames(std::vector<Magick::Image>& frames,
                                       const std::string& coder, const std::string& what)
{
    if (frames.empty())
        throw EImageError("Cannot write " + what + ": there is no picture");
    for (const Magick::Image& frame : frames)
        RequireFitsFormat(frame, coder, what);
    Magick::Blob blob;
    try {
        for (Magick::Image& frame : frames)
            frame.quantizeDither(false);
        frames.front().magick(coder);
        Magick::writeImages(frames.begin(), frames.end(), &blob, true);
    } catch (const Magick::Exception& failure) {
        throw EImageError("Cannot write " + what + ": " + failure.what());
    }
    if (!IsEncodingOf(blob, coder))
        throw EImageError("Cannot write " + what + ": the image library produced no " + coder +
                          " data");
    const auto* data = static_cast<const std::uint8_t*>(blob.data());
    return std::vector<std::uint8_t>(data, data + blob.length());
}
