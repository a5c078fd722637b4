#include "picture/picture_export.h"

#include "imaging/file_bytes.h"
#include "imaging/image_formats.h"
#include "imaging/imagick.h"
#include "imaging/output_formats.h"
#include "picture/indexed_png.h"

#include <QBuffer>
#include <QImageWriter>

#include <zlib.h>

namespace {

// Above this many pixels a PNG is compressed fast. Measured on the picture of 100 000 samples
// x 1000 scales (100 MB), on one core, rows unfiltered (as Qt writes them): level 1 0.63 s,
// 19.0 MB; level 2 0.66 s, 15.6 MB; level 3 0.91 s, 11.6 MB; the default level 2.2 s, 8.6 MB.
// With the filter "up" of the palette writer: level 1 0.24 s, 7.4 MB; level 2 0.26 s, 6.9 MB;
// runs of one byte only (Z_RLE), at any level, 0.23-0.26 s, 4.9 MB. The picture of 2000 series
// of 100 samples (26 MB): level 2 0.21 s, 5.7 MB; runs only 0.16 s, 5.2 MB.
constexpr qint64 kLargePicturePixels = 4'000'000;
constexpr TDeflateChoice kFastPng{2, Z_RLE};
constexpr TDeflateChoice kSmallPng{Z_DEFAULT_COMPRESSION, Z_DEFAULT_STRATEGY};
// Qt maps a PNG quality q to the zlib level (100 - q) * 9 / 91: 70 gives level 2.
constexpr int kFastPngQuality = 70;

// A device that hands what an image writer writes to the replacement file, piece by piece.
class TSinkDevice : public QIODevice {
public:
    explicit TSinkDevice(TFileSink& sink) : Sink(sink)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered); // no copy through a buffer
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
        return Sink.Write({bytes, static_cast<std::size_t>(size)}) ? size : -1;
    }

private:
    TFileSink& Sink;
};

void Encode(const QImage& picture, const char* format, int quality, QIODevice& device,
            const std::string& targetPath)
{
    QImageWriter writer(&device, format);
    writer.setQuality(quality);
    if (picture.isNull() || !writer.write(picture))
        throw EImageError("The picture could not be encoded for \"" + targetPath + "\"");
}

QByteArray Encoded(const QImage& picture, const char* format, int quality,
                   const std::string& targetPath)
{
    QByteArray bytes;
    // A BMP of an 8-bit picture is a little larger than its pixels: one allocation, no copies.
    bytes.reserve(static_cast<qsizetype>(picture.sizeInBytes()) + 2048);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Encode(picture, format, quality, buffer, targetPath);
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
    // Every format's limits are checked before anything is encoded, whichever writer encodes.
    RequireOutputFormat(targetPath, static_cast<std::size_t>(picture.width()),
                        static_cast<std::size_t>(picture.height()));
    // BMP and PNG are written from the picture as it stands, keeping its colour table: the
    // image library would first decode it into ten bytes a pixel (16-bit colour packets), the
    // largest part of a long run's memory. A palette picture's PNG is deflated on all cores.
    const std::optional<std::string> coder = CoderByExtension(targetPath);
    const bool large =
        static_cast<qint64>(picture.width()) * picture.height() > kLargePicturePixels;
    if (coder == "PNG" && WritesAsIndexedPng(picture)) {
        ReplaceFile(targetPath, [&](TFileSink& sink) {
            WriteIndexedPng(picture, large ? kFastPng : kSmallPng, sink, targetPath);
        });
        return;
    }
    if (coder == "BMP" || coder == "PNG") {
        const int quality = coder == "PNG" && large ? kFastPngQuality : -1;
        // Straight into the new file: no copy of the whole file in memory.
        ReplaceFile(targetPath, [&](TFileSink& sink) {
            TSinkDevice device(sink);
            Encode(picture, coder->c_str(), quality, device, targetPath);
        });
        return;
    }
    // The library takes the picture in its BMP file form, as it stands: an 8-bit picture
    // keeps its colour table.
    const QByteArray bmp = Encoded(picture, "BMP", -1, targetPath);
    const std::span<const std::uint8_t> bytes = BytesOf(bmp);
    WriteBmpAs(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), targetPath);
}
