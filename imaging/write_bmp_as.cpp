#include "imaging/magick_calls.h"

#include "imaging/file_bytes.h"
#include "imaging/image_formats.h"
#include "imaging/magick_codec.h"
#include "imaging/output_formats.h"

void magick_calls::WriteBmpAs(const std::vector<std::uint8_t>& bmpBytes,
                              const std::string& targetPath)
{
    const Magick::Blob blob(bmpBytes.data(), bmpBytes.size());
    std::optional<Magick::Image> picture = DecodeFirstFrame(blob, "BMP", 0);
    if (!picture)
        throw EImageError("Cannot write \"" + targetPath + "\": the picture is no valid BMP");
    // Also refuses a name that ends in no picture format's extension.
    RequireOutputFormat(targetPath, picture->columns(), picture->rows());
    std::vector<Magick::Image> frames{std::move(*picture)};
    ReplaceFileBytes(targetPath, EncodeFrames(frames, *CoderByExtension(targetPath),
                                              "\"" + targetPath + "\""));
}
