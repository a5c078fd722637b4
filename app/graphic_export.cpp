#include "graphic_export.h"

#include "imagick.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>

TFileDialogSpec SaveDialogSpec(const QString& lastDataFile)
{
    return {QStringLiteral("Save results"), {QStringLiteral("Gif image (*.gif)")},
            QStringLiteral("gif"), WithGifExtension(lastDataFile)};
}

QString WithGifExtension(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype point = name.lastIndexOf(u'.');
    const qsizetype keep = point < 0 ? fileName.size() : fileName.size() - name.size() + point;
    return fileName.left(keep) + QStringLiteral(".GIF");
}

void ExportGraphic(const QImage& graphic, const QString& target)
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    if (!graphic.save(&buffer, "BMP"))
        throw EImageError("The picture could not be encoded for \"" + target.toStdString() + "\"");
    const std::vector<std::uint8_t> bytes(bmp.cbegin(), bmp.cend());
    WriteBmpAs(bytes, QFile::encodeName(target).toStdString());
}
