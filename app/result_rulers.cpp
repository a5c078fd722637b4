#include "app/result_rulers.h"

#include "app/result_image.h"

#include <QEvent>
#include <QPainter>

TResultRulers::TResultRulers(TResultImage* image, QWidget* parent)
    : QWidget(parent), FImage(image)
{
    FImage->setParent(this);
    FImage->installEventFilter(this);
    Relayout();
}

void TResultRulers::SetAxes(TResultAxes axes)
{
    FAxes = std::move(axes);
    SetConeShown(FConeShown);
    Relayout();
    update();
}

void TResultRulers::SetConeShown(bool shown)
{
    FConeShown = shown;
    if (!shown || FAxes.Empty()) {
        FImage->SetOverlay({});
        return;
    }
    FImage->SetOverlay([this](QPainter& painter, const QRectF& target, QSize pictureSize) {
        PaintCone(painter, FAxes, target, pictureSize);
    });
}

bool TResultRulers::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FImage && event->type() == QEvent::Resize)
        Relayout();
    return QWidget::eventFilter(watched, event);
}

void TResultRulers::Relayout()
{
    const QMargins margins = FAxes.Empty() ? QMargins() : kAxesMargins;
    FImage->move(margins.left(), margins.top());
    resize(FImage->size().grownBy(margins));
}

void TResultRulers::paintEvent(QPaintEvent*)
{
    if (FAxes.Empty() || FImage->Picture().isNull())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white); // the picture's own background, for the rulers
    const QRectF target = FImage->PictureRect().translated(FImage->pos());
    PaintAxes(painter, FAxes, target, FImage->Picture().size());
}
