#include "spectrogram/oned_command.h"

#include "spectrogram/annotations.h"
#include "spectrogram/coefficient_store.h"
#include "spectrogram/oned_estimate.h"
#include "engine/fp_checkpoint.h"
#include "picture/indexed_picture.h"
#include "engine/memory_budget.h"
#include "engine/stats.h"
#include "engine/scales.h"
#include "engine/transformer1d.h"
#include "spectrogram/series_passes.h"
#include "plane/contrast.h"

#include <cstdint>
#include <memory>
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

// What a run makes once and uses for every series.
struct TRunWork {
    TRunWork(const TRunShape& shape, std::unique_ptr<TWave1D> wave, bool asVector)
        : Transformer(shape.Width),
          Wave(std::move(wave)),
          Coefs(CheckedMul(static_cast<std::size_t>(shape.Steps),
                           static_cast<std::size_t>(shape.Width), "the coefficient matrix"),
                asVector),
          RowStats(static_cast<std::size_t>(shape.Steps))
    {
    }
    const T1WaveTransformer Transformer;
    const std::unique_ptr<TWave1D> Wave;
    TCoefficientStore Coefs;
    std::vector<TBlockStats> RowStats;
    std::optional<TContrastKernel> Contrast; // made when the option is first read as set
};

// Series k: its matrix, post-processed, as colour levels in its band of the picture. The
// transform gathers the rows' statistics and the last pass writes the levels, unless the
// contrast pass comes between.
void AnalyseSeries(int k, const TSeriesSet& set, const TRunShape& shape, TRunWork& work,
                   QImage& spectrogram, TParameterSource& params, TCommandProgress& progress,
                   TOneDObserver* observer)
{
    progress.SetStatusText("Current dataset : " + std::to_string(k));
    progress.ProcessPendingMessages();
    const int outputKind = params.OutputKind();
    const bool l1Norm = params.L1Norm();
    const std::vector<double> grid =
        ScaleGrid(params.StepKind(), shape.MaxScale, shape.MinScale, shape.Steps);
    TRowsRequest rows;
    rows.Series = set.Values[k].data();
    rows.Scales = &grid;
    rows.L1Norm = l1Norm;
    rows.Phase = outputKind == okPhase;
    rows.Coefs = work.Coefs.Data();
    rows.RowStats = &work.RowStats;
    rows.Moments = NeedsMoments(outputKind);
    rows.Progress = &progress;
    rows.ProgressTotal = static_cast<std::int64_t>(set.Values.size()) * shape.Steps;
    TransformRows(work.Transformer, *work.Wave, rows);
    CheckFpFaults();
    if (observer)
        observer->RawCoefficients(k, work.Coefs.AsVector());
    const bool withContrast = params.WaveletContrast();
    const int firstRow = k * (shape.Steps + 1);
    const std::ptrdiff_t stride = spectrogram.bytesPerLine();
    const TLevelRows band{spectrogram.bits() + firstRow * stride, stride};
    PostProcessRows({work.Coefs.Data(), static_cast<std::size_t>(shape.Steps),
                     static_cast<std::size_t>(shape.Width), &work.RowStats, &progress},
                    outputKind, withContrast || observer, withContrast ? TLevelRows{} : band);
    if (withContrast) {
        if (!work.Contrast)
            work.Contrast.emplace(shape.Steps, shape.Width);
        ApplyWaveletContrast(*work.Contrast, work.Coefs.AsVector());
        PaintLevelRows(spectrogram, firstRow, shape.Steps, work.Coefs.Data());
    }
    CheckFpFaults();
    if (observer)
        observer->FinalCoefficients(k, work.Coefs.AsVector());
}

void Annotate(QImage& spectrogram, const TDataTable& table, double firstLabel,
              const TSeriesSet& set, const TRunShape& shape)
{
    for (int c = 0; c < shape.Width; ++c)
        DrawSampleLabel(spectrogram, table, firstLabel, shape.Height - 15, c + 1, c);
    for (std::size_t k = 0; k < set.Values.size(); ++k) {
        const int bandTop = static_cast<int>(k) * (shape.Steps + 1);
        DrawDataCurve(spectrogram, bandTop + shape.Steps - 1, shape.Steps, set.Values[k]);
        DrawSeriesName(spectrogram, bandTop + 4, 5, set.Names[k]);
        if (shape.Width > 500)
            DrawSeriesName(spectrogram, bandTop + 4, shape.Width / 2, set.Names[k]);
    }
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
    const int n = static_cast<int>(set.Values.size());

    TRunShape shape{params.Steps(), static_cast<double>(params.MaxScale()),
                    static_cast<double>(params.MinScale()),
                    static_cast<int>(set.Values[0].size()), 0};
    const std::size_t height = CheckedAdd(
        CheckedMul(static_cast<std::size_t>(n), static_cast<std::size_t>(shape.Steps) + 1,
                   "the picture"),
        14, "the picture");
    shape.Height = static_cast<int>(height);
    QImage spectrogram =
        NewIndexedPicture(shape.Width, shape.Height,
                          MakePalette66(QuantisedPalette(params.PaletteIndex(),
                                                         params.NumColors())),
                          kWhiteIndex);

    {
        TRunWork work(shape, MakeWavelet(params), observer != nullptr);
        for (int k = 0; k < n; ++k)
            AnalyseSeries(k, set, shape, work, spectrogram, params, progress, observer);
    } // the matrix and the transformer are freed before the picture is framed
    Annotate(spectrogram, table, firstLabel, set, shape);
    QImage result = ComposeResult(
        spectrogram, QuantisedPalette(params.PaletteIndex(), params.NumColors()));
    progress.SetStatusText("O'k");
    return result;
}
