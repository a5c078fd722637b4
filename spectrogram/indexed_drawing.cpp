#include "spectrogram/indexed_drawing.h"

#include "engine/errors.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

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
