#include "twod/twod_command.h"

#include "plane/bitmap_filter.h"
#include "plane/contrast.h"
#include "engine/fp_checkpoint.h"
#include "twod/frame_render.h"
#include "twod/frame_writer.h"
#include "twod/twod_estimate.h"
#include "engine/scales.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

constexpr int kScaleCount = 32;
// The Gaussian wavelet is real and even: its response to a real matrix is real, so the
// frames of "3.фаза" are flat, and the closing text says why.
constexpr const char* kNoImaginaryPart =
    "O'k  (1.Gaussian has no imaginary part: the \"3.фаза\" frames are flat)";
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

// One filtering of the run: scale index and orientation in degrees.
struct TJob {
    int ScaleIndex;
    int Angle;
};

// The orientations of a scale. The Morlet wavelet's orientations d and d + 180 degrees give
// complex-conjugate planes (but for the middle row and column of an even size), so their
// imaginary parts are opposite and, once normalised, sum to a constant everywhere: the frame
// would be stretched rounding. So the imaginary part sums the half circle 0 .. 150 degrees,
// while every other output keeps the whole circle. Any other wavelet has the one orientation 0.
std::vector<int> Orientations(bool oriented, TFilterOutput output)
{
    if (!oriented)
        return {0};
    const int end = output == foImagPart ? 180 : 360;
    std::vector<int> angles;
    for (int d = 0; d < end; d += 30)
        angles.push_back(d);
    return angles;
}

struct TRun {
    TBitmapFilter& Filter;
    const TWave2D& Wave;
    bool Oriented;
    TFilterOutput Output;
    TParameterSource& Params;
    TCommandProgress& Progress;
    const std::vector<double>& Scales;
    MuImage& Writer;
    const TFrameObserver& Observer;
    std::vector<int> Angles;
    std::int64_t TotalRows = 0;
    // Made at the first orientation that reads the contrast option as set, then kept: the
    // option may be switched on and off during a run.
    std::optional<TContrastKernel> Contrast;
};

// What an orientation's steps read from the parameters, in the order the steps read them.
TBitmapFilter::TOrientation ReadOrientation(TRun& run, const TJob& job)
{
    TBitmapFilter::TOrientation o;
    o.Scale = run.Scales[job.ScaleIndex];
    o.Angle = static_cast<double>(job.Angle * kPi / 180);
    o.NormalizeKind = run.Params.OutputKind();
    if (run.Params.WaveletContrast()) {
        if (!run.Contrast)
            run.Contrast.emplace(run.Filter.Rows(), run.Filter.Cols());
        o.Contrast = &*run.Contrast;
    }
    return o;
}

void Report(TRun& run, const TJob& job)
{
    const int next = job.Angle + (run.Oriented ? 30 : 360);
    run.Progress.SetStatusText(
        ProgressText(run.Scales[job.ScaleIndex], run.Oriented, next, job.ScaleIndex + 1));
    run.Progress.ProcessPendingMessages();
}

void WriteFrame(TRun& run, int scaleIndex)
{
    const QImage frame =
        Render(run.Filter, QuantisedPalette(run.Params.PaletteIndex(), run.Params.NumColors()));
    // The angle after the last orientation names the frame, as the orientation loop leaves it.
    run.Writer.AddFrame(frame, scaleIndex, run.Oriented ? run.Angles.back() + 30 : 360);
    if (run.Observer)
        run.Observer(scaleIndex, frame);
    run.Progress.ProcessPendingMessages();
}

// Jobs [first, first + count) computed side by side, then summed in their order: every scale's
// sum starts anew at its first orientation and becomes a frame after its last.
void RunJobs(TRun& run, const std::vector<TJob>& jobs, std::size_t first, int count)
{
    TBitmapFilter::TOrientation orientations[TBitmapFilter::kLanes];
    for (int j = 0; j < count; ++j)
        orientations[j] = ReadOrientation(run, jobs[first + j]);
    run.Filter.FilterOrientations(run.Wave, run.Output, orientations, count, &run.Progress,
                                  run.TotalRows);
    CheckFpFaults();
    for (int j = 0; j < count;) {
        const TJob& job = jobs[first + j];
        if (job.Angle == run.Angles.front())
            run.Filter.ResetAccumulator();
        int end = j + 1; // the lanes of this job's scale
        while (end < count && jobs[first + end].ScaleIndex == job.ScaleIndex)
            ++end;
        const bool lastOfScale = jobs[first + end - 1].Angle == run.Angles.back();
        run.Filter.AccumulateOrientations(j, end - j, lastOfScale);
        for (int k = j; k < end; ++k)
            Report(run, jobs[first + k]);
        if (lastOfScale)
            WriteFrame(run, job.ScaleIndex);
        j = end;
    }
}

// The filter, the wavelet and every frame. They are all gone before the frames are assembled,
// so the assembly has the planes' memory to itself. Returns the filter output; `scales`
// becomes the frames' scales.
TFilterOutput WriteFrames(const TDataTable& table, MuImage& writer, TParameterSource& params,
                          TCommandProgress& progress, const TFrameObserver& observer,
                          bool& gaussian, std::vector<double>& scales)
{
    TBitmapFilter filter(table.RowCount(), table.ColumnCount());
    LoadMatrix(table, filter);
    filter.ResetAccumulator();

    const int maxScale = params.MaxScale();
    const int minScale = params.MinScale();
    const int stepKind = params.StepKind();
    const int waveletKind = params.WaveletKind();
    gaussian = waveletKind == wkGaussian;
    const std::unique_ptr<TWave2D> wave = MakeWavelet(params, waveletKind);
    scales = ScaleGrid(stepKind, minScale, maxScale, kScaleCount);
    CheckFpFaults();
    const TFilterOutput output = params.OutputKind() == okPhase ? foImagPart : foRealPart;

    TRun run{filter, *wave,    !gaussian, output, params,      progress,
             scales, writer,   observer,  {},     0,           std::nullopt};
    run.Angles = Orientations(run.Oriented, output);
    std::vector<TJob> jobs;
    for (int i = 0; i < kScaleCount; ++i)
        for (int angle : run.Angles)
            jobs.push_back({i, angle});
    run.TotalRows = static_cast<std::int64_t>(jobs.size()) * filter.Rows();
    for (std::size_t k = 0; k < jobs.size(); k += TBitmapFilter::kLanes) {
        const int count = static_cast<int>(
            std::min<std::size_t>(TBitmapFilter::kLanes, jobs.size() - k));
        RunJobs(run, jobs, k, count);
    }
    return output;
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
    bool gaussian = false;
    std::vector<double> scales;
    const TFilterOutput output =
        WriteFrames(table, writer, params, progress, observer, gaussian, scales);
    writer.Assemble([&progress] { progress.CheckCancelled(); });
    progress.SetStatusText(output == foImagPart && gaussian ? kNoImaginaryPart : "O'k");
    return TTwoDResult{writer.GifPath(), writer.TiffPath(), scales};
}
