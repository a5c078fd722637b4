#include "app/result_image.h"

#include <QPainter>

#include <cmath>

TResultImage::TResultImage(QWidget* parent) : QWidget(parent)
{
    resize(0, 0);
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

void TResultImage::paintEvent(QPaintEvent*)
{
    if (FPicture.isNull() || width() <= 0 || height() <= 0)
        return;
    QSize shown = FPicture.size();
    if (shown.width() > width() || shown.height() > height())
        shown.scale(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2),
                       shown);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, FPicture);
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
