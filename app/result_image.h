#pragma once
// The picture control of the result page. It holds its own copy of the picture and draws it
// scaled down to the control's size with the aspect ratio kept, never enlarged, centred.
// It reports the picture pixel under the pointer, and can have something drawn over the
// picture (the cone of influence).

#include <QImage>
#include <QWidget>

#include <functional>

class TResultImage : public QWidget {
    Q_OBJECT
public:
    using TOverlay = std::function<void(QPainter&, const QRectF& target, QSize pictureSize)>;

    explicit TResultImage(QWidget* parent = nullptr);

    const QImage& Picture() const { return FPicture; }
    void SetPicture(const QImage& picture);

    // On: the control takes the picture's natural size, now and on every new picture.
    void SetAutoSize(bool on);
    bool AutoSize() const { return FAutoSize; }

    // Where the picture is drawn inside the control.
    QRectF PictureRect() const;
    // The picture pixel at a point of the control; (-1, -1) off the picture.
    QPoint PixelAt(QPointF point) const;
    void SetOverlay(TOverlay overlay);

signals:
    void pointerMoved(QPoint pixel); // over the picture
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QImage FPicture;
    bool FAutoSize = true;
    TOverlay FOverlay;
};

// The control's size at a zoom of position / maximum: the ceilings of the picture's sides
// times the zoom factor, the products formed in extended precision.
QSize ZoomedSize(QSize natural, int position, int maximum);
