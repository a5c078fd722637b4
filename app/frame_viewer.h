#pragma once
// The 32 frames of a 2-D run on the result page: one frame at a time with a slider and
// play/pause, the frame's scale and wavelength beside it, and a readout of the pixel under
// the pointer (row, column, colour level).

#include <QImage>
#include <QString>
#include <QWidget>

#include <vector>

class QLabel;
class QSlider;
class QTimer;
class QToolButton;
class TResultImage;

struct TFrameSet {
    std::vector<QImage> Frames;      // 64-level pictures, first scale first
    std::vector<double> Scales;      // one per frame
    std::vector<double> Wavelengths; // pixels, one per frame (NaN: none)
    QString Folder;                  // where RESULT.GIF and RESULT.TIFF are
};

class TFrameViewer : public QWidget {
    Q_OBJECT
public:
    explicit TFrameViewer(QWidget* parent = nullptr);

    void SetFrames(TFrameSet frames);
    int FrameCount() const { return static_cast<int>(FSet.Frames.size()); }
    int CurrentFrame() const;
    void ShowFrame(int index);
    bool Playing() const;
    void SetPlaying(bool playing);
    QString Caption() const;
    // The readout text for a pixel of the current frame; empty off the frame.
    QString TextAt(QPoint pixel) const;

signals:
    void readout(const QString& text); // empty when the pointer leaves the frame
    void closeRequested();

private:
    void Step();

    TFrameSet FSet;
    TResultImage* FImage;
    QSlider* FSlider;
    QToolButton* FPlay;
    QLabel* FCaption;
    QTimer* FTimer;
};
