#include "spectrogram/oned_command.h"

#include "engine/fp_checkpoint.h"
#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"
#include "engine/scales.h"
#include "engine/stats.h"
#include "engine/transformer1d.h"
#include "picture/indexed_picture.h"
#include "plane/contrast.h"
#include "spectrogram/annotations.h"
#include "spectrogram/coefficient_store.h"
#include "spectrogram/oned_estimate.h"
#include "spectrogram/series_passes.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace {

struct TSeriesSet {
    std::vector<std::string> Names;
    std::vector<std::vector<double>> Values; // each normalised to [0, 1]
};

TSeriesSet ReadSeries(const TDataTable& table, TCommandProgress& progress)
{
    const int n = table.ColumnCount() - 1;
    RequireMemory(CheckedMul(CheckedMul(static_cast<std::size_t>(n),
                                        static_cast<std::size_t>(table.RowCount()), "the series"),
                             sizeof(double), "the series"),
                  "the series");
    TSeriesSet set;
    for (int k = 0; k < n; ++k) {
        progress.ProcessPendingMessages();
        set.Names.push_back(table.ColumnName(k + 1));
        set.Values.push_back(table.ReadColumn(set.Names.back()));
        NormalizeMinMax(set.Values.back());
    }
    return set;
}

std::unique_ptr<TWave1D> MakeWavelet(TParameterSource& params)
{
    if (params.WaveletKind() == wkMorlet) {
        const double k0 = params.ReadK0();
        const double sigma = params.ReadSigma();
        return std::make_unique<TMorlet1D>(k0, sigma);
    }
    return std::make_unique<TSDog1D>(params.ReadAlpha());
}

struct TRunShape {
    int Steps;
    double MaxScale;
    double MinScale;
    int Width;
    int Height;
};

// Below the bands: the label row (the last band's lower edge), down to the picture's end.
int LabelRow(const TRunShape& shape) { return shape.Height - kOneDLabelRows - 1; }

// The picture's bands and what goes over them.
struct TBands {
    const TRunShape& Shape;
    const TSeriesSet& Set;
    const TIndexedCanvas Spectrogram;
    const TSampleMarks& Marks;
};

// What a run makes once and shares between all its series.
struct TRunWork {
    TRunWork(const TBands& bands, std::unique_ptr<TWave1D> wave, TParameterSource& params,
             TCommandProgress& progress, TOneDObserver* observer, bool decorateBands)
        : Bands(bands), Transformer(bands.Shape.Width),
          Wave(std::move(wave)), Params(params), Progress(progress), Observer(observer),
          DecorateBands(decorateBands),
          ShareWeights(OneDSharesWeights(bands.Set.Values.size(), bands.Shape.Steps,
                                         static_cast<std::size_t>(bands.Shape.Width)))
    {
    }
    const TBands& Bands;
    const T1WaveTransformer Transformer;
    const std::unique_ptr<TWave1D> Wave;
    TParameterSource& Params;
    TCommandProgress& Progress;
    TOneDObserver* const Observer;
    const bool DecorateBands; // each band as soon as it has its levels
    // Several series share the wavelet's weights, made again only when the scales change.
    const bool ShareWeights;
    // The parameters are read one series at a time, also when series run side by side; the
    // contrast kernel is made when the option is first read as set.
    std::mutex ParamsLock;
    std::optional<TContrastKernel> Contrast;
    std::shared_ptr<const TRowWeights> Weights;
    // The scales of the step kind read last: series after series ask for the same ones.
    std::optional<int> GridKind;
    std::vector<double> Grid;
};

// The scales of `stepKind` for the run's shape, made again only when the kind changes.
const std::vector<double>& RunScales(TRunWork& run, int stepKind)
{
    if (run.GridKind != stepKind) {
        const TRunShape& shape = run.Bands.Shape;
        run.Grid = ScaleGrid(stepKind, shape.MaxScale, shape.MinScale, shape.Steps);
        run.GridKind = stepKind;
    }
    return run.Grid;
}

// What a thread that analyses series keeps of its own from series to series.
struct TLaneWork {
    TLaneWork(const TRunShape& shape, bool asVector)
        : Coefs(CheckedMul(static_cast<std::size_t>(shape.Steps),
                           static_cast<std::size_t>(shape.Width), "the coefficient matrix"),
                asVector),
          RowStats(static_cast<std::size_t>(shape.Steps))
    {
    }
    TCoefficientStore Coefs;
    std::vector<TBlockStats> RowStats;
    std::optional<TCaptionWriter> Names; // made with the first name
};

// How one series is analysed: read from the parameters for each series in turn.
struct TSeriesSettings {
    int OutputKind;
    bool L1Norm;
    std::vector<double> Scales;
    const TContrastKernel* Contrast; // null without the contrast pass
    std::shared_ptr<const TRowWeights> Weights; // null when each series makes its own
};

TSeriesSettings ReadSeriesSettings(int k, TRunWork& run)
{
    const std::lock_guard<std::mutex> guard(run.ParamsLock);
    run.Progress.SetStatusText("Current dataset : " + std::to_string(k));
    run.Progress.ProcessPendingMessages();
    TParameterSource& params = run.Params;
    const TRunShape& shape = run.Bands.Shape;
    const int outputKind = params.OutputKind();
    const bool l1Norm = params.L1Norm();
    TSeriesSettings settings{outputKind, l1Norm, RunScales(run, params.StepKind()), nullptr, {}};
    if (params.WaveletContrast()) {
        if (!run.Contrast)
            run.Contrast.emplace(shape.Steps, shape.Width);
        settings.Contrast = &*run.Contrast;
    }
    if (run.ShareWeights) {
        if (!run.Weights || !run.Weights->Serve(settings.Scales))
            run.Weights =
                std::make_shared<const TRowWeights>(run.Transformer, *run.Wave, settings.Scales);
        settings.Weights = run.Weights;
    }
    return settings;
}

// The curve, the grid lines and the name of series k over its band, once the band has its
// colour levels.
void DecorateBand(int k, const TBands& bands, std::optional<TCaptionWriter>& names)
{
    const TRunShape& shape = bands.Shape;
    const int bandTop = k * (shape.Steps + 1);
    DrawDataCurve(bands.Spectrogram, bandTop + shape.Steps - 1, shape.Steps, bands.Set.Values[k]);
    DrawGridLines(bands.Spectrogram, bands.Marks, bandTop,
                  std::min(bandTop + shape.Steps + 1, LabelRow(shape)));
    if (!names)
        names.emplace(SeriesNameFont(), kBlackIndex, kWhiteIndex);
    DrawSeriesName(*names, bands.Spectrogram, bandTop + 4, 5, bands.Set.Names[k]);
    if (shape.Width > 500)
        DrawSeriesName(*names, bands.Spectrogram, bandTop + 4, shape.Width / 2,
                       bands.Set.Names[k]);
}

// Series k: its matrix, post-processed, as colour levels in its band of the picture, then
// decorated when the run says so. The transform gathers the rows' statistics and the last
// pass writes the levels, unless the contrast pass comes between.
void AnalyseSeries(int k, TRunWork& run, TLaneWork& lane)
{
    const TSeriesSettings settings = ReadSeriesSettings(k, run);
    const TRunShape& shape = run.Bands.Shape;
    TRowsRequest rows;
    rows.Series = run.Bands.Set.Values[k].data();
    rows.Scales = &settings.Scales;
    rows.L1Norm = settings.L1Norm;
    rows.Phase = settings.OutputKind == okPhase;
    rows.Weights = settings.Weights.get();
    rows.Coefs = lane.Coefs.Data();
    rows.RowStats = &lane.RowStats;
    rows.Moments = NeedsMoments(settings.OutputKind);
    rows.Progress = &run.Progress;
    rows.ProgressTotal = static_cast<std::int64_t>(run.Bands.Set.Values.size()) * shape.Steps;
    TransformRows(run.Transformer, *run.Wave, rows);
    CheckFpFaults();
    if (run.Observer)
        run.Observer->RawCoefficients(k, lane.Coefs.AsVector());
    const int firstRow = k * (shape.Steps + 1);
    const TIndexedCanvas& spectrogram = run.Bands.Spectrogram;
    const TLevelRows band{spectrogram.Row(firstRow), spectrogram.Stride()};
    PostProcessRows({lane.Coefs.Data(), static_cast<std::size_t>(shape.Steps),
                     static_cast<std::size_t>(shape.Width), &lane.RowStats, &run.Progress},
                    settings.OutputKind, settings.Contrast || run.Observer,
                    settings.Contrast ? TLevelRows{} : band);
    if (settings.Contrast) {
        ApplyWaveletContrast(*settings.Contrast, lane.Coefs.AsVector());
        PaintLevelRows(spectrogram, firstRow, shape.Steps, lane.Coefs.Data());
    }
    CheckFpFaults();
    if (run.Observer)
        run.Observer->FinalCoefficients(k, lane.Coefs.AsVector());
    if (run.DecorateBands)
        DecorateBand(k, run.Bands, lane.Names);
}

// Every series, on `lanes` threads side by side, each taking the next series when it is done
// with one; a failure in one lane stops the others before their next series.
void AnalyseAllSeries(TRunWork& run, std::size_t lanes)
{
    const int count = static_cast<int>(run.Bands.Set.Values.size());
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    ForEachShare(lanes, 1, [&](std::size_t, std::size_t, std::size_t) {
        TLaneWork lane(run.Bands.Shape, run.Observer != nullptr);
        try {
            for (int k = next++; k < count && !failed; k = next++)
                AnalyseSeries(k, run, lane);
        } catch (...) {
            failed = true;
            throw;
        }
    });
}

} // namespace

std::optional<QImage> DoTulvo1D(const TDataTable& table, TParameterSource& params,
                                TCommandProgress& progress, TOneDObserver* observer)
{
    if (!table.IsOpen() || table.IsEmpty() || table.ColumnCount() < 2)
        return std::nullopt;
    RequireOneDMemory(table, params.Steps());
    ClearFpFaults();
    const double firstLabel = table.CellAsNumber(1, 0);
    const TSeriesSet set = ReadSeries(table, progress);
    const std::size_t n = set.Values.size();

    TRunShape shape{params.Steps(), static_cast<double>(params.MaxScale()),
                    static_cast<double>(params.MinScale()),
                    static_cast<int>(set.Values[0].size()), 0};
    const std::size_t height = CheckedAdd(
        CheckedMul(n, static_cast<std::size_t>(shape.Steps) + 1, "the picture"), kOneDLabelRows,
        "the picture");
    shape.Height = static_cast<int>(height);
    QImage result = NewFramedPicture(
        shape.Width, shape.Height, QuantisedPalette(params.PaletteIndex(), params.NumColors()));
    const TIndexedCanvas spectrogram = SpectrogramCanvas(result);
    const TSampleMarks marks = SampleMarks(table, firstLabel, shape.Width);
    const TBands bands{shape, set, spectrogram, marks};
    // With an observer the series go one by one, in order.
    const std::size_t lanes = observer ? 1 : OneDSeriesLanes(n, shape.Steps, shape.Width);
    // Side by side, each lane decorates its bands. One by one, the bands are decorated once
    // the matrix is freed: the captions' font engines and glyphs are not made while it is
    // held, at the run's peak.
    const bool decorateInLanes = lanes > 1;
    {
        TRunWork run(bands, MakeWavelet(params), params, progress, observer, decorateInLanes);
        AnalyseAllSeries(run, lanes);
    }
    if (!decorateInLanes) {
        std::optional<TCaptionWriter> names;
        for (std::size_t k = 0; k < n; ++k)
            DecorateBand(static_cast<int>(k), bands, names);
    }
    DrawSampleLabels(spectrogram, marks, LabelRow(shape));
    progress.SetStatusText("O'k");
    return result;
}
