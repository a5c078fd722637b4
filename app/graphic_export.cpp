#include "app/graphic_export.h"

#include "imaging/output_formats.h"

#include <QFileInfo>

TFileDialogSpec SaveDialogSpec(const QString& lastDataFile, QSize pictureSize)
{
    const QString gif = QStringLiteral("Gif image (*.gif)");
    const QString png = QStringLiteral("PNG image (*.png)");
    const QString bmp = QStringLiteral("BMP image (*.bmp)");
    TFileDialogSpec spec{QStringLiteral("Save results"), {gif, png, bmp}, QStringLiteral("gif"),
                         WithExtension(lastDataFile, QStringLiteral(".GIF")), {}, gif};
    const bool gifHolds = OutputFormatProblem("GIF", static_cast<std::size_t>(pictureSize.width()),
                                              static_cast<std::size_t>(pictureSize.height()))
                              .empty();
    if (!gifHolds) {
        spec.DefaultSuffix = QStringLiteral("png");
        spec.InitialFile = WithExtension(lastDataFile, QStringLiteral(".png"));
        spec.SelectedFilter = png;
    }
    return spec;
}

QString WithExtension(const QString& fileName, const QString& extension)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype point = name.lastIndexOf(u'.');
    const qsizetype keep = point < 0 ? fileName.size() : fileName.size() - name.size() + point;
    return fileName.left(keep) + extension;
}
