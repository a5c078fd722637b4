#pragma once
// Drawing on 8-bit palette pictures, which QPainter cannot paint on: pixels are set as palette
// indices, and text is drawn without antialiasing on a scratch picture whose black and white
// pixels become the black and white indices.

#include "picture/indexed_canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include <memory>
#include <vector>

// "Arial" (Liberation Sans where Arial is missing) at the pixel height of `points` at 96 dpi,
// so that pictures do not depend on the screen they are made on.
QFont AnnotationFont(int points, bool bold);

// Writes captions in one font, each black on an opaque white cell (its advance width by the
// font's height) with the cell's top-left corner at (x, y), clipped to the canvas. It keeps
// its scratch picture and painter from caption to caption; one writer per thread.
class TCaptionWriter {
public:
    TCaptionWriter(const QFont& font, int blackIndex, int whiteIndex);
    ~TCaptionWriter();
    TCaptionWriter(const TCaptionWriter&) = delete;
    TCaptionWriter& operator=(const TCaptionWriter&) = delete;

    void Write(const TIndexedCanvas& canvas, int x, int y, const QString& text);

private:
    void MakeRoom(int width, int height);

    QFont Font;
    QFontMetrics Metrics;
    int BlackIndex;
    int WhiteIndex;
    QImage Scratch;
    std::unique_ptr<QPainter> Painter; // active on Scratch while it exists
};

// Sets `index` in every column of `columns` from row top to row bottom - 1, clipped to the
// canvas; row by row, so that each row is visited once.
void DrawVerticalLines(const TIndexedCanvas& canvas, const std::vector<int>& columns, int top,
                       int bottom, int index);
