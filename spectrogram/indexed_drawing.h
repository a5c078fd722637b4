#pragma once
// Drawing on 8-bit palette pictures, which QPainter cannot paint on: pixels are set as palette
// indices, and text is drawn without antialiasing on a scratch picture whose black and white
// pixels become the black and white indices.

#include <QFont>
#include <QImage>
#include <QString>

// "Arial" (Liberation Sans where Arial is missing) at the pixel height of `points` at 96 dpi,
// so that pictures do not depend on the screen they are made on.
QFont AnnotationFont(int points, bool bold);

// Writes `text` black on an opaque white cell (its advance width by the font's height) with
// the cell's top-left corner at (x, y), clipped to the picture.
void DrawIndexedText(QImage& picture, int x, int y, const QString& text, const QFont& font,
                     int blackIndex, int whiteIndex);

// Sets `index` in column x from row top to row bottom - 1, clipped to the picture.
void DrawVerticalLine(QImage& picture, int x, int top, int bottom, int index);
