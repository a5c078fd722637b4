#pragma once
// The picture control of the result page. It holds its own copy of the picture and draws it
// scaled down to the control's size with the aspect ratio kept, never enlarged, centred.

#include <QImage>
#include <QWidget>

class TResultImage : public QWidget {
    Q_OBJECT
public:
    explicit TResultImage(QWidget* parent = nullptr);

    const QImage& Picture() const { return FPicture; }
    void SetPicture(const QImage& picture);

    // On: the control takes the picture's natural size, now and on every new picture.
    void SetAutoSize(bool on);
    bool AutoSize() const { return FAutoSize; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage FPicture;
    bool FAutoSize = true;
};

// The control's size at a zoom of position / maximum: the ceilings of the picture's sides
// times the zoom factor, the products formed in extended precision.
QSize ZoomedSize(QSize natural, int position, int maximum);
