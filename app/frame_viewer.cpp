#include "app/frame_viewer.h"

#include "app/result_image.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr int kFrameMilliseconds = 250;
} // namespace

TFrameViewer::TFrameViewer(QWidget* parent) : QWidget(parent)
{
    FImage = new TResultImage;
    auto* scroll = new QScrollArea;
    scroll->setWidget(FImage);
    FSlider = new QSlider(Qt::Horizontal);
    FSlider->setObjectName(QStringLiteral("frameSlider"));
    FPlay = new QToolButton;
    FPlay->setObjectName(QStringLiteral("framePlay"));
    FPlay->setCheckable(true);
    FPlay->setText(QStringLiteral("▶"));
    FPlay->setToolTip(QStringLiteral("Play / pause"));
    auto* close = new QToolButton;
    close->setText(QStringLiteral("×"));
    close->setToolTip(QStringLiteral("Hide the frames"));
    FCaption = new QLabel;
    FCaption->setObjectName(QStringLiteral("frameCaption"));
    FTimer = new QTimer(this);
    FTimer->setInterval(kFrameMilliseconds);

    auto* controls = new QHBoxLayout;
    controls->addWidget(FPlay);
    controls->addWidget(FSlider, 1);
    controls->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->addWidget(scroll, 1);
    layout->addLayout(controls);
    layout->addWidget(FCaption);

    connect(FSlider, &QSlider::valueChanged, this, &TFrameViewer::ShowFrame);
    connect(FPlay, &QToolButton::toggled, this, &TFrameViewer::SetPlaying);
    connect(FTimer, &QTimer::timeout, this, &TFrameViewer::Step);
    connect(close, &QToolButton::clicked, this, &TFrameViewer::closeRequested);
    connect(FImage, &TResultImage::pointerMoved, this,
            [this](QPoint pixel) { emit readout(TextAt(pixel)); });
    connect(FImage, &TResultImage::pointerLeft, this, [this] { emit readout({}); });
}

void TFrameViewer::SetFrames(TFrameSet frames)
{
    FSet = std::move(frames);
    FSlider->setRange(0, std::max(FrameCount() - 1, 0));
    FSlider->setValue(0);
    ShowFrame(0);
}

int TFrameViewer::CurrentFrame() const
{
    return FSlider->value();
}

void TFrameViewer::ShowFrame(int index)
{
    if (index < 0 || index >= FrameCount()) {
        FImage->SetPicture({});
        // The frames are kept only while all of them fit in memory; the files have them all.
        const bool notKept = FrameCount() == 0 && !FSet.Scales.empty();
        FCaption->setText(notKept ? QStringLiteral("Для показа кадров не хватило памяти; "
                                                   "они записаны в ") + FSet.Folder
                                  : QString());
        return;
    }
    if (FSlider->value() != index)
        FSlider->setValue(index); // comes back here through valueChanged
    FImage->SetPicture(FSet.Frames[static_cast<std::size_t>(index)]);
    FCaption->setText(Caption());
}

bool TFrameViewer::Playing() const
{
    return FTimer->isActive();
}

void TFrameViewer::SetPlaying(bool playing)
{
    if (playing && FrameCount() > 1)
        FTimer->start();
    else
        FTimer->stop();
    FPlay->setChecked(Playing());
    FPlay->setText(Playing() ? QStringLiteral("❚❚") : QStringLiteral("▶"));
}

void TFrameViewer::Step()
{
    ShowFrame((CurrentFrame() + 1) % std::max(FrameCount(), 1));
}

QString TFrameViewer::Caption() const
{
    const int index = CurrentFrame();
    if (index < 0 || index >= FrameCount())
        return {};
    const auto i = static_cast<std::size_t>(index);
    QString text = QStringLiteral("кадр %1 из %2  |  масштаб %3")
                       .arg(index + 1)
                       .arg(FrameCount())
                       .arg(QString::number(FSet.Scales[i], 'g', 6));
    if (i < FSet.Wavelengths.size() && !std::isnan(FSet.Wavelengths[i]))
        text += QStringLiteral("  |  длина волны %1 пикс.")
                    .arg(QString::number(FSet.Wavelengths[i], 'g', 4));
    return text;
}

QString TFrameViewer::TextAt(QPoint pixel) const
{
    const int index = CurrentFrame();
    if (index < 0 || index >= FrameCount())
        return {};
    const QImage& frame = FSet.Frames[static_cast<std::size_t>(index)];
    if (!frame.rect().contains(pixel))
        return {};
    const int level = frame.pixelIndex(pixel);
    // A level stands for the values whose bin it is; its centre is (level + 1) / 64.
    return QStringLiteral("кадр %1  |  строка %2  |  столбец %3  |  уровень %4 из 63 (≈ %5)")
        .arg(index + 1)
        .arg(pixel.y() + 1)
        .arg(pixel.x() + 1)
        .arg(level)
        .arg(QString::number(std::min(level + 1, 64) / 64.0, 'f', 3));
}
