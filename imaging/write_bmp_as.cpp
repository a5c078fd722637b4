#include "imaging/imagick.h"

#include "imaging/file_bytes.h"
#include "imaging/image_formats.h"
#include "imaging/magick_codec.h"

void WriteBmpAs(const std::vector<std::uint8_t>& bmpBytes, const std::string& targetPath)
{
    const std::optional<std::string> coder = CoderByExtension(targetPath);
    if (!coder)
        throw EImageError("Cannot write \"" + targetPath + "\": unknown picture file type");
    const Magick::Blob blob(bmpBytes.data(), bmpBytes.size());
    std::optional<Magick::Image> picture = DecodeFirstFrame(blob, "BMP", 0);
    if (!picture)
        throw EImageError("Cannot write \"" + targetPath + "\": the picture is no valid BMP");
    std::vector<Magick::Image> frames{std::move(*picture)};
    ReplaceFileBytes(targetPath, EncodeFrames(frames, *coder, "\"" + targetPath + "\""));
}
