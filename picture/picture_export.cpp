#include "picture/picture_export.h"

#include "imaging/file_bytes.h"
#include "imaging/image_formats.h"
#include "imaging/imagick.h"

#include <QBuffer>
#include <QImageWriter>

namespace {

// Above this many pixels a PNG is compressed at zlib's fastest level: at the default level
// zlib takes seconds for a long run's picture, for a file only a little smaller.
constexpr qint64 kLargePicturePixels = 4'000'000;
// Qt maps a PNG quality q to the zlib level (100 - q) * 9 / 91: 80 gives level 1.
constexpr int kFastPngQuality = 80;

QByteArray Encoded(const QImage& picture, const char* format, int quality,
                   const std::string& targetPath)
{
    QByteArray bytes;
    // A BMP of an 8-bit picture is a little larger than its pixels: one allocation, no copies.
    bytes.reserve(static_cast<qsizetype>(picture.sizeInBytes()) + 2048);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (picture.isNull() || !writer.write(picture))
        throw EImageError("The picture could not be encoded for \"" + targetPath + "\"");
    return bytes;
}

std::span<const std::uint8_t> BytesOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

} // namespace

void ExportGraphic(const QImage& picture, const std::string& targetPath)
{
    // BMP and PNG are written from the picture as it stands, keeping its colour table: the
    // image library would first decode it into ten bytes a pixel (16-bit colour packets), the
    // largest part of a long run's memory.
    const std::optional<std::string> coder = CoderByExtension(targetPath);
    if (coder == "BMP" || coder == "PNG") {
        const bool large = static_cast<qint64>(picture.width()) * picture.height() >
                           kLargePicturePixels;
        const int quality = coder == "PNG" && large ? kFastPngQuality : -1;
        const QByteArray encoded = Encoded(picture, coder->c_str(), quality, targetPath);
        ReplaceFileBytes(targetPath, BytesOf(encoded));
        return;
    }
    // The library takes the picture in its BMP file form, as it stands: an 8-bit picture
    // keeps its colour table.
    const QByteArray bmp = Encoded(picture, "BMP", -1, targetPath);
    const std::span<const std::uint8_t> bytes = BytesOf(bmp);
    WriteBmpAs(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), targetPath);
}
