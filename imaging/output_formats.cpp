#include "imaging/output_formats.h"

#include "imaging/image_formats.h"
#include "imaging/imagick.h"

#include <cstdint>
#include <limits>

namespace {

struct TFormatLimit {
    const char* Coder;
    std::size_t MaxSide;
    // The 8-bit pixel bytes one file can hold: BMP and classic TIFF address it in 32 bits.
    std::size_t MaxPixelBytes;
};

constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();
constexpr std::size_t k32BitBytes = std::numeric_limits<std::uint32_t>::max() - (1u << 16);

// GIF stores sizes in 16 bits; JPEG's library stops at 65500; the PNG library refuses a side
// over its own limit of 1000000 pixels; BMP holds signed 32-bit sizes. The order is that of
// the suggestions in messages.
constexpr TFormatLimit kLimits[] = {
    {"GIF", 65535, kUnlimited},
    {"PNG", 1000000, kUnlimited},
    {"TIFF", std::numeric_limits<std::uint32_t>::max(), k32BitBytes},
    {"JPEG", 65500, kUnlimited},
    {"BMP", std::numeric_limits<std::int32_t>::max(), k32BitBytes},
};

const TFormatLimit* LimitOf(const std::string& coder)
{
    for (const TFormatLimit& limit : kLimits)
        if (coder == limit.Coder)
            return &limit;
    return nullptr;
}

bool Holds(const TFormatLimit& limit, std::size_t width, std::size_t height)
{
    if (width > limit.MaxSide || height > limit.MaxSide)
        return false;
    const std::size_t rowBytes = (width + 3) / 4 * 4;
    return height == 0 || rowBytes <= limit.MaxPixelBytes / height;
}

std::string SizeText(std::size_t width, std::size_t height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string FormatsThatHold(std::size_t width, std::size_t height)
{
    std::string names;
    for (const TFormatLimit& limit : kLimits) {
        if (Holds(limit, width, height))
            names += std::string(names.empty() ? "" : " or ") + limit.Coder;
    }
    return names.empty() ? "no picture format can hold it" : names + " can hold it";
}

} // namespace

std::string OutputFormatProblem(const std::string& coder, std::size_t width, std::size_t height)
{
    const TFormatLimit* limit = LimitOf(coder);
    if (!limit)
        return "the program does not write " + coder + " pictures";
    if (Holds(*limit, width, height))
        return {};
    std::string problem = "a " + coder + " picture can be at most " +
                          std::to_string(limit->MaxSide) + " pixels wide and high";
    if (limit->MaxPixelBytes != kUnlimited)
        problem += " and hold at most 4 GiB";
    return problem + ", this one is " + SizeText(width, height) + "; " +
           FormatsThatHold(width, height);
}

void RequireOutputFormat(const std::string& targetPath, std::size_t width, std::size_t height)
{
    const std::optional<std::string> coder = CoderByExtension(targetPath);
    if (!coder)
        throw EImageError("Cannot write \"" + targetPath + "\": a picture file name ends in " +
                          OutputExtensionsText());
    const std::string problem = OutputFormatProblem(*coder, width, height);
    if (!problem.empty())
        throw EImageError("Cannot write \"" + targetPath + "\": " + problem);
}

std::string OutputExtensionsText() { return ".gif, .png, .bmp, .tif, .tiff, .jpg or .jpeg"; }
