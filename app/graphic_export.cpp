#include "app/graphic_export.h"

#include <QFileInfo>

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
