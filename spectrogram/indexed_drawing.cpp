#include "spectrogram/indexed_drawing.h"

#include "engine/errors.h"
#include "engine/vector_clones.h"

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

TCaptionWriter::TCaptionWriter(const QFont& font, int blackIndex, int whiteIndex)
    : Font(font), Metrics(font), BlackIndex(blackIndex), WhiteIndex(whiteIndex)
{
}

TCaptionWriter::~TCaptionWriter() = default;

void TCaptionWriter::MakeRoom(int width, int height)
{
    if (Painter && Scratch.width() >= width && Scratch.height() >= height)
        return;
    Painter.reset();
    Scratch = QImage(std::max(width, Scratch.width()), std::max(height, Scratch.height()),
                     QImage::Format_RGB32);
    if (Scratch.isNull())
        throw EOutOfMemory("Not enough memory to draw a caption");
    Painter = std::make_unique<QPainter>(&Scratch);
    Painter->setRenderHint(QPainter::TextAntialiasing, false);
    Painter->setFont(Font);
    Painter->setPen(Qt::black);
}

namespace {

// Each pixel of a text drawn black on white as the black or the white index.
TULVO_WIDE_VECTORS void InkRow(const QRgb* source, int count, std::uint8_t black,
                               std::uint8_t white, std::uint8_t* target)
{
    for (int i = 0; i < count; ++i)
        target[i] = qGray(source[i]) < 128 ? black : white;
}

} // namespace

void TCaptionWriter::Write(const TIndexedCanvas& canvas, int x, int y, const QString& text)
{
    const int width = Metrics.horizontalAdvance(text);
    const int height = Metrics.height();
    if (width <= 0 || height <= 0)
        return;
    MakeRoom(width, height);
    // Only the cell is read back, so whatever the text draws outside it does not matter.
    Painter->fillRect(0, 0, width, height, Qt::white);
    Painter->drawText(0, Metrics.ascent(), text);
    const int top = std::max(0, y), bottom = std::min(canvas.Height(), y + height);
    const int left = std::max(0, x), right = std::min(canvas.Width(), x + width);
    const uchar* scratch = Scratch.constBits();
    const qsizetype stride = Scratch.bytesPerLine();
    for (int row = top; row < bottom; ++row) {
        const auto* source = reinterpret_cast<const QRgb*>(scratch + (row - y) * stride);
        InkRow(source + (left - x), right - left, static_cast<std::uint8_t>(BlackIndex),
               static_cast<std::uint8_t>(WhiteIndex), canvas.Row(row) + left);
    }
}

void DrawVerticalLines(const TIndexedCanvas& canvas, const std::vector<int>& columns, int top,
                       int bottom, int index)
{
    for (int row = std::max(0, top); row < std::min(canvas.Height(), bottom); ++row) {
        std::uint8_t* line = canvas.Row(row);
        for (int x : columns)
            if (x >= 0 && x < canvas.Width())
                line[x] = static_cast<std::uint8_t>(index);
    }
}
