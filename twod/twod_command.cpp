#include "twod/twod_command.h"

#include "plane/bitmap_filter.h"
#include "plane/contrast.h"
#include "engine/fp_checkpoint.h"
#include "twod/frame_render.h"
#include "twod/frame_writer.h"
#include "twod/twod_estimate.h"
#include "engine/scales.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace {

constexpr int kScaleCount = 32;
constexpr long double kPi = 3.141592653589793238462643383279502884L;

void LoadMatrix(const TDataTable& table, TBitmapFilter& filter)
{
    TComplex* work = filter.Work();
    const int cols = table.ColumnCount();
    for (int p = 1; p <= table.RowCount(); ++p)
        for (int c = 0; c < cols; ++c)
            work[static_cast<std::size_t>(p - 1) * cols + c] = {table.CellAsNumber(p, c), 0.0};
    filter.NormalizeMinMax();
}

std::unique_ptr<TWave2D> MakeWavelet(TParameterSource& params, int waveletKind)
{
    if (waveletKind == wkGaussian)
        return std::make_unique<TSQDog2D>(params.ReadAlpha());
    const double k0 = params.ReadK0();
    const double sigma = params.ReadSigma();
    return std::make_unique<TMorlet2D>(k0, sigma);
}

void NormaliseOrientation(TBitmapFilter& filter, int outputKind)
{
    switch (outputKind) {
    case okLogRealPart:
        filter.NormalizeLog();
        break;
    case okRealPart:
    case okPhase:
        filter.NormalizeMinMax();
        break;
    case okRealByStdDev:
        filter.NormalizeStdDev();
        break;
    default:
        break;
    }
}

std::string ProgressText(double scale, bool oriented, int angle, int index)
{
    char text[96];
    if (oriented)
        std::snprintf(text, sizeof text, "Scale %12.4f  angle %3d ( [ %d ]/ [ %d ] ) ", scale,
                      angle, index, kScaleCount);
    else
        std::snprintf(text, sizeof text, "Scale %12.4f  ( [ %d ]/ [ %d ] ) ", scale, index,
                      kScaleCount);
    return text;
}

struct TRun {
    TBitmapFilter& Filter;
    const TWave2D& Wave;
    bool Oriented;
    TFilterOutput Output;
    TParameterSource& Params;
    TCommandProgress& Progress;
    // Made at the first orientation that reads the contrast option as set, then kept: the
    // option may be switched on and off during a run.
    std::optional<TContrastKernel> Contrast;
};

void ApplyContrast(TRun& run)
{
    if (!run.Contrast)
        run.Contrast.emplace(run.Filter.Rows(), run.Filter.Cols());
    ContrastPass(run.Filter, *run.Contrast);
}

// One scale: every orientation filtered, normalised, optionally contrasted, clipped and
// summed. Returns the angle after the last orientation (360).
int SumOrientations(TRun& run, double scale, int index)
{
    run.Filter.ResetAccumulator();
    int angle = 0;
    while (angle < 360) {
        const double radians = static_cast<double>(angle * kPi / 180);
        run.Filter.Filter(run.Wave, run.Output, scale, radians);
        NormaliseOrientation(run.Filter, run.Params.OutputKind());
        if (run.Params.WaveletContrast())
            ApplyContrast(run);
        run.Filter.ClipNormalize(3.5L);
        run.Filter.Accumulate(1.0);
        CheckFpFaults();
        angle += run.Oriented ? 30 : 360;
        run.Progress.SetStatusText(ProgressText(scale, run.Oriented, angle, index + 1));
        run.Progress.ProcessPendingMessages();
    }
    return angle;
}

} // namespace

std::optional<TTwoDResult> DoTulvo2D(const TDataTable& table, const std::string& Dir,
                                     TParameterSource& params, TCommandProgress& progress,
                                     const TFrameObserver& observer)
{
    if (!table.IsOpen() || table.IsEmpty())
        return std::nullopt;
    RequireTwoDRun(table);
    ClearFpFaults();
    MuImage writer(Dir);
    TBitmapFilter filter(table.RowCount(), table.ColumnCount());
    LoadMatrix(table, filter);
    filter.ResetAccumulator();

    const int maxScale = params.MaxScale();
    const int minScale = params.MinScale();
    const int stepKind = params.StepKind();
    const int waveletKind = params.WaveletKind();
    const std::unique_ptr<TWave2D> wave = MakeWavelet(params, waveletKind);
    const std::vector<double> scales = ScaleGrid(stepKind, minScale, maxScale, kScaleCount);
    CheckFpFaults();
    const TFilterOutput output = params.OutputKind() == okPhase ? foImagPart : foRealPart;

    TRun run{filter, *wave, waveletKind != wkGaussian, output, params, progress, std::nullopt};
    for (int i = 0; i < kScaleCount; ++i) {
        const int angle = SumOrientations(run, scales[i], i);
        const QImage frame =
            Render(filter, QuantisedPalette(params.PaletteIndex(), params.NumColors()));
        writer.AddFrame(frame, i, angle);
        if (observer)
            observer(i, frame);
        progress.ProcessPendingMessages();
    }
    writer.Assemble();
    progress.SetStatusText("O'k");
    return TTwoDResult{writer.GifPath(), writer.TiffPath(), scales};
}
