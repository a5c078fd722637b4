#include "spectrogram/oned_command.h"

#include "spectrogram/annotations.h"
#include "spectrogram/oned_estimate.h"
#include "engine/fp_checkpoint.h"
#include "picture/indexed_picture.h"
#include "engine/memory_budget.h"
#include "engine/stats.h"
#include "engine/transformer1d.h"
#include "plane/contrast.h"

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

void PostProcess(std::vector<double>& coefs, int outputKind)
{
    switch (outputKind) {
    case okLogRealPart:
        NormalizeLog(coefs);
        ClipNormalize(coefs, 3.5L);
        break;
    case okRealPart:
        ClipNormalize(coefs, 3.5L);
        break;
    case okPhase:
        ClipNormalize(coefs, 1.5L);
        break;
    case okRealByStdDev:
        NormalizeStdDev(coefs);
        break;
    default:
        break;
    }
}

struct TRunShape {
    int Steps;
    double MaxScale;
    double MinScale;
    int Width;
    int Height;
};

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

    const T1WaveTransformer transformer(shape.Width);
    const std::unique_ptr<TWave1D> wave = MakeWavelet(params);
    std::vector<double> coefs;
    std::optional<TContrastKernel> contrast; // made when the option is first read as set
    for (int k = 0; k < n; ++k) {
        progress.SetStatusText("Current dataset : " + std::to_string(k));
        progress.ProcessPendingMessages();
        const int outputKind = params.OutputKind();
        WaveletTransform1D(transformer, shape.Steps, *wave, shape.MaxScale, shape.MinScale,
                           set.Values[k], params.L1Norm(), params.StepKind(),
                           outputKind == okPhase, coefs);
        progress.CheckCancelled();
        if (observer)
            observer->RawCoefficients(k, coefs);
        PostProcess(coefs, outputKind);
        if (params.WaveletContrast()) {
            if (!contrast)
                contrast.emplace(shape.Steps, shape.Width);
            ApplyWaveletContrast(*contrast, coefs);
        }
        CheckFpFaults();
        if (observer)
            observer->FinalCoefficients(k, coefs);
        PaintLevelRows(spectrogram, k * (shape.Steps + 1), shape.Steps, coefs.data());
        progress.WorkDone(shape.Steps, static_cast<std::int64_t>(n) * shape.Steps);
    }
    Annotate(spectrogram, table, firstLabel, set, shape);
    QImage result = ComposeResult(
        spectrogram, QuantisedPalette(params.PaletteIndex(), params.NumColors()));
    progress.SetStatusText("O'k");
    return result;
}
