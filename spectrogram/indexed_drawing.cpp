#include "indexed_drawing.h"

#include "errors.h"
#include "memory_budget.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstring>

QFont AnnotationFont(int points, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize((points * 96 + 36) / 72);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void DrawIndexedText(QImage& picture, int x, int y, const QString& text, const QFont& font,
                     int blackIndex, int whiteIndex)
{
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    if (width <= 0 || height <= 0)
        return;
    QImage scratch(width, height, QImage::Format_RGB32);
    if (scratch.isNull())
        throw EOutOfMemory("Not enough memory to draw a caption");
    scratch.fill(Qt::white);
    {
        QPainter painter(&scratch);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(0, metrics.ascent(), text);
    }
    const int top = std::max(0, y), bottom = std::min(picture.height(), y + height);
    const int left = std::max(0, x), right = std::min(picture.width(), x + width);
    for (int row = top; row < bottom; ++row) {
        const auto* source = reinterpret_cast<const QRgb*>(scratch.constScanLine(row - y));
        uchar* target = picture.scanLine(row);
        for (int col = left; col < right; ++col)
            target[col] = static_cast<uchar>(qGray(source[col - x]) < 128 ? blackIndex
                                                                           : whiteIndex);
    }
}

void DrawVerticalLine(QImage& picture, int x, int top, int bottom, int index)
{
    if (x < 0 || x >= picture.width())
        return;
    for (int row = std::max(0, top); row < std::min(picture.height(), bottom); ++row)
        picture.scanLine(row)[x] = static_cast<uchar>(index);
}

QImage NewIndexedPicture(int width, int height, const QList<QRgb>& colours, int index)
{
    const std::size_t bytes = CheckedMul(static_cast<std::size_t>(std::max(width, 1)),
                                         static_cast<std::size_t>(std::max(height, 1)),
                                         "the picture");
    RequireMemory(bytes, "the picture");
    QImage picture(width, height, QImage::Format_Indexed8);
    if (picture.isNull())
        throw EOutOfMemory("Not enough memory for a picture of " + std::to_string(width) +
                           " x " + std::to_string(height) + " pixels");
    picture.setColorTable(colours);
    for (int row = 0; row < height; ++row)
        std::memset(picture.scanLine(row), index, static_cast<std::size_t>(width));
    return picture;
}
