#include "picture/picture_export.h"

#include "imaging/imagick.h"

#include <QBuffer>

void ExportGraphic(const QImage& picture, const std::string& targetPath)
{
    // The library takes the picture in its BMP file form, as it stands: an 8-bit picture
    // keeps its colour table.
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "BMP"))
        throw EImageError("The picture could not be encoded for \"" + targetPath + "\"");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(bmp.constData());
    WriteBmpAs(std::vector<std::uint8_t>(bytes, bytes + bmp.size()), targetPath);
}
