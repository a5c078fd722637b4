#pragma once
// The scroll area's page around the result picture: it keeps the picture control at its
// place inside the margins and draws the rulers of a 1-D result there, outside the picture.

#include "spectrogram/result_axes.h"

#include <QWidget>

class TResultImage;

class TResultRulers : public QWidget {
    Q_OBJECT
public:
    // Takes `image` as its child.
    explicit TResultRulers(TResultImage* image, QWidget* parent = nullptr);

    // Axes of the shown picture; empty ones (another picture, or none) take the margins away.
    void SetAxes(TResultAxes axes);
    const TResultAxes& Axes() const { return FAxes; }
    void SetConeShown(bool shown);
    bool ConeShown() const { return FConeShown; }
    // Follows the picture control's size (also while hidden, when no resize event comes).
    void Relayout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:

    TResultImage* FImage;
    TResultAxes FAxes;
    bool FConeShown = false;
};
