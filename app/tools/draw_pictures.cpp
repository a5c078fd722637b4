// Draws the toolbar pictures, the program icon and the manual's button pictures into
// app/resources/. Run once after changing a drawing; the output is committed:
//   cmake --build <build> --target tulvo_draw_pictures && <build>/app/tulvo_draw_pictures app/resources

#include "imaging/imagick.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

using TDrawing = std::function<void(QPainter&)>;

void DrawOpen(QPainter& p)
{
    p.setPen(QColor(120, 90, 0));
    p.setBrush(QColor(230, 190, 60));
    p.drawRect(1, 4, 13, 10);
    p.drawRect(1, 2, 5, 2);
    p.setBrush(QColor(255, 225, 110));
    const QPointF flap[] = {{3, 7}, {15.5, 7}, {13.5, 14}, {1, 14}};
    p.drawPolygon(flap, 4);
}

void DrawTransform1D(QPainter& p)
{
    const QColor bands[] = {{40, 40, 200}, {40, 180, 220}, {60, 200, 60}, {240, 220, 40},
                            {230, 60, 30}};
    for (int i = 0; i < 5; ++i)
        p.fillRect(1, 1 + 2 * i, 14, 2, bands[i]);
    p.setPen(QPen(Qt::black, 1.2));
    QPainterPath wave;
    wave.moveTo(1, 13);
    for (double x = 1; x <= 15; x += 0.5)
        wave.lineTo(x, 13 - 2 * std::sin((x - 1) * 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
}

void DrawTransform2D(QPainter& p)
{
    const QColor rings[] = {{230, 60, 30}, {240, 220, 40}, {60, 200, 60}, {40, 40, 200}};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(rings[3 - i]);
        const double r = 7.5 - 1.8 * i;
        p.drawEllipse(QPointF(8, 8), r, r);
    }
}

void DrawSave(QPainter& p)
{
    p.setPen(QColor(20, 20, 60));
    p.setBrush(QColor(50, 70, 160));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 9, 5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(4, 9, 7, 5);
    p.fillRect(9, 2, 2, 3, QColor(50, 70, 160));
}

void DrawInformation(QPainter& p)
{
    p.setPen(QColor(10, 40, 120));
    p.setBrush(QColor(40, 100, 210));
    p.drawEllipse(QPointF(8, 8), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 4.5), 1.3, 1.3);
    p.drawRect(QRectF(6.8, 7, 2.4, 5.5));
}

QImage Draw(const TDrawing& drawing, int size)
{
    // The drawings are made on a 16 x 16 grid.
    QImage picture(size, size, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    drawing(painter);
    return picture;
}

// A raised 23 x 23 tool button face with the picture in its middle, as the manual shows it.
QImage DrawButton(const TDrawing& drawing)
{
    QImage face(23, 23, QImage::Format_RGB32);
    face.fill(QColor(212, 208, 200));
    QPainter painter(&face);
    painter.setPen(Qt::white);
    painter.drawLine(0, 0, 21, 0);
    painter.drawLine(0, 0, 0, 21);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(1, 21, 21, 21);
    painter.drawLine(21, 1, 21, 21);
    painter.setPen(Qt::black);
    painter.drawLine(0, 22, 22, 22);
    painter.drawLine(22, 0, 22, 22);
    painter.drawImage(3, 3, Draw(drawing, 16));
    return face;
}

void SaveGif(const QImage& picture, const QString& path)
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    WriteBmpAs(std::vector<std::uint8_t>(bmp.cbegin(), bmp.cend()), path.toStdString());
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <app/resources folder>\n", argv[0]);
        return 2;
    }
    ImagickSession imageLibrary;
    const QString root = QString::fromLocal8Bit(argv[1]);
    const struct {
        const char* Name;
        TDrawing Drawing;
        const char* Button;
    } pictures[] = {
        {"open", DrawOpen, "button1"},
        {"transform1d", DrawTransform1D, "button2"},
        {"save", DrawSave, "button3"},
        {"information", DrawInformation, "button4"},
        {"transform2d", DrawTransform2D, "button2d"},
    };
    for (const auto& picture : pictures) {
        Draw(picture.Drawing, 16).save(root + "/toolbar/" + picture.Name + ".png");
        SaveGif(DrawButton(picture.Drawing), root + "/about/" + picture.Button + ".gif");
    }
    Draw(DrawTransform1D, 48).save(root + "/tulvo1d.png");
    return 0;
}
