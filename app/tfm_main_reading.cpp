// Reading the result: the rulers and the cone around the 1-D picture, the readout under the
// pointer, and the frames of a 2-D run on the result page.

#include "app/tfm_main.h"

#include "app/cursor_readout.h"
#include "app/frame_viewer.h"
#include "app/result_image.h"
#include "app/result_rulers.h"
#include "app/user_dialogs.h"
#include "engine/memory_budget.h"
#include "front/recorded_parameters.h"
#include "plane/wavelet2d_periods.h"
#include "spectrogram/oned_command.h"
#include "twod/twod_command.h"
#include "ui_tfm_main.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// Keeps the frames of a run for the viewer, while all 32 fit in the memory budget.
class TFrameKeeper {
public:
    void Keep(int, const QImage& frame)
    {
        if (!FDecided) {
            FDecided = true;
            FRoom = CheckedMul(static_cast<std::size_t>(frame.sizeInBytes()), 32, "the frames") <=
                    MemoryBudget();
        }
        if (FRoom)
            FFrames.push_back(frame);
    }
    std::vector<QImage> Take() { return std::move(FFrames); }

private:
    bool FDecided = false;
    bool FRoom = false;
    std::vector<QImage> FFrames;
};

} // namespace

void Tfm_main::SetUpResultReading()
{
    ui->ScrollBox1->takeWidget();
    FRulers = new TResultRulers(ui->iResult);
    ui->ScrollBox1->setWidget(FRulers);
    FReadout = std::make_unique<TCursorReadout>();

    FConeBox = new QCheckBox(QStringLiteral("Конус влияния"));
    FConeBox->setObjectName(QStringLiteral("cbCone"));
    FConeBox->setToolTip(QStringLiteral("Shade where the ends of the series reach into each band"));
    FConeBox->hide();
    auto* column = new QWidget;
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->setSpacing(2);
    ui->resultLayout->replaceWidget(ui->ScrollBox1, column);
    ui->resultLayout->setStretchFactor(column, 1); // shares the page with the frames
    columnLayout->addWidget(FConeBox);
    columnLayout->addWidget(ui->ScrollBox1, 1);
    FFrames = new TFrameViewer;
    FFrames->setObjectName(QStringLiteral("frameViewer"));
    FFrames->hide();
    ui->resultLayout->addWidget(FFrames, 1);

    connect(FConeBox, &QCheckBox::toggled, FRulers, &TResultRulers::SetConeShown);
    connect(ui->iResult, &TResultImage::pointerMoved, this,
            [this](QPoint pixel) { ShowReadout(FReadout->TextAt(pixel)); });
    connect(ui->iResult, &TResultImage::pointerLeft, this, [this] { ShowReadout({}); });
    connect(FFrames, &TFrameViewer::readout, this, &Tfm_main::ShowReadout);
    connect(FFrames, &TFrameViewer::closeRequested, this, [this] {
        FFrames->SetPlaying(false);
        FFrames->hide();
    });
}

void Tfm_main::ShowOneDReading(std::shared_ptr<const TOneDReading> reading)
{
    FRulers->SetAxes(reading ? reading->Axes : TResultAxes());
    // The cone belongs to a 1-D spectrogram; over a grey picture it would do nothing.
    FConeBox->setVisible(reading != nullptr);
    FReadout->SetReading(std::move(reading));
}

void Tfm_main::ShowReadout(const QString& text)
{
    if (FRunner.IsRunning())
        return;
    const bool showing = !FReadoutText.isEmpty() && StatusText() == FReadoutText;
    if (text.isEmpty()) {
        if (showing)
            SetStatusText(FStatusBeforeReadout);
        FReadoutText.clear();
        return;
    }
    if (!showing)
        FStatusBeforeReadout = StatusText();
    FReadoutText = text;
    SetStatusText(text);
}

void Tfm_main::ShowFrames(TFrameSet frames)
{
    // The command's closing text ("O'k", or what it has to say of the frames) stays in front.
    SetStatusText(StatusText() + QStringLiteral("  ") + QDir::toNativeSeparators(frames.Folder));
    FFrames->SetFrames(std::move(frames));
    FFrames->show();
    ui->page->setCurrentWidget(ui->tsResult);
}

TCommandRunner::TCompletion Tfm_main::RunOneD(TParameterSource& parameters,
                                              TCommandProgress& progress, const TDataTable& table)
{
    TRecordedParameters used(parameters);
    TReadoutRecorder recorder(table.ColumnCount() - 1);
    std::optional<QImage> picture = ::DoTulvo1D(table, used, progress, &recorder);
    if (!picture)
        return {};
    std::shared_ptr<const TOneDReading> reading = ReadingOfRun(table, used.Seen, recorder.Take());
    return [this, picture = std::move(*picture), reading] {
        ShowResult(picture);
        ShowOneDReading(reading);
        ui->page->setCurrentWidget(ui->tsResult); // the user wants to see it now
    };
}

TCommandRunner::TCompletion Tfm_main::RunTwoD(const std::string& folder,
                                              TParameterSource& parameters,
                                              TCommandProgress& progress, const TDataTable& table)
{
    TRecordedParameters used(parameters);
    TFrameKeeper keeper;
    const std::optional<TTwoDResult> result =
        DoTulvo2D(table, folder, used, progress,
                  [&keeper](int index, const QImage& frame) { keeper.Keep(index, frame); });
    if (!result)
        return {};
    TFrameSet frames;
    frames.Frames = keeper.Take();
    frames.Scales = result->Scales;
    for (const double scale : result->Scales)
        frames.Wavelengths.push_back(Wavelength2D(used.Seen, scale));
    const QString tiff = QFile::decodeName(result->TiffPath.c_str());
    frames.Folder = QFileInfo(tiff).absolutePath();
    return [this, tiff, frames = std::move(frames)]() mutable {
        ShowFrames(std::move(frames));
        FDialogs.OpenDocument(tiff); // whatever the desktop makes of it, the folder is shown
    };
}
