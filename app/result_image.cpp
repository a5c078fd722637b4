#include "app/result_image.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

TResultImage::TResultImage(QWidget* parent) : QWidget(parent)
{
    resize(0, 0);
    setMouseTracking(true);
}

void TResultImage::SetPicture(const QImage& picture)
{
    FPicture = picture;
    if (FAutoSize)
        resize(FPicture.size());
    update();
}

void TResultImage::SetAutoSize(bool on)
{
    FAutoSize = on;
    if (on)
        resize(FPicture.size());
}

QRectF TResultImage::PictureRect() const
{
    if (FPicture.isNull() || width() <= 0 || height() <= 0)
        return {};
    QSize shown = FPicture.size();
    if (shown.width() > width() || shown.height() > height())
        shown.scale(size(), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2),
                  QSizeF(shown));
}

QPoint TResultImage::PixelAt(QPointF point) const
{
    const QRectF target = PictureRect();
    if (target.isEmpty() || !target.contains(point))
        return {-1, -1};
    const int x = static_cast<int>((point.x() - target.left()) * FPicture.width() / target.width());
    const int y = static_cast<int>((point.y() - target.top()) * FPicture.height() / target.height());
    if (x >= FPicture.width() || y >= FPicture.height())
        return {-1, -1};
    return {x, y};
}

void TResultImage::SetOverlay(TOverlay overlay)
{
    FOverlay = std::move(overlay);
    update();
}

void TResultImage::paintEvent(QPaintEvent*)
{
    const QRectF target = PictureRect();
    if (target.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, FPicture);
    if (FOverlay)
        FOverlay(painter, target, FPicture.size());
}

void TResultImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pixel = PixelAt(event->position());
    if (pixel.x() < 0)
        emit pointerLeft();
    else
        emit pointerMoved(pixel);
    QWidget::mouseMoveEvent(event);
}

void TResultImage::leaveEvent(QEvent* event)
{
    emit pointerLeft();
    QWidget::leaveEvent(event);
}

QSize ZoomedSize(QSize natural, int position, int maximum)
{
    const double factor = static_cast<double>(position) / maximum;
    const long double f = factor;
    const auto side = [f](int length) {
        return static_cast<int>(std::ceil(static_cast<long double>(length) * f));
    };
    return {side(natural.width()), side(natural.height())};
}
