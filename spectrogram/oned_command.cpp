#include "spectrogram/oned_command.h"

#include "spectrogram/annotations.h"
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
#include <new>
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

// The coefficient matrix of the run, one for all series. Without an observer it is never
// cleared: the threads that compute the rows touch its pages first, in parallel with the
// transform, instead of one thread clearing it all beforehand. The contrast pass and the
// observer take a vector, which it then becomes for the rest of the run.
class TCoefficientStore {
public:
    TCoefficientStore(std::size_t count, bool asVector) : Count(count)
    {
        RequireMemory(CheckedMul(count, sizeof(double), "the coefficient matrix"),
                      "the coefficient matrix");
        if (asVector)
            Vector.resize(count);
        else
            Raw.reset(static_cast<double*>(
                ::operator new[](count * sizeof(double), std::align_val_t{kAlignment})));
    }
    double* Data() { return Raw ? Raw.get() : Vector.data(); }
    std::vector<double>& AsVector()
    {
        if (Raw) {
            Vector.assign(Raw.get(), Raw.get() + Count);
            Raw.reset();
        }
        return Vector;
    }

private:
    // Rows on the alignment of FFTW's buffers are written by the transforms themselves.
    static constexpr std::size_t kAlignment = 64;
    struct TAlignedDelete {
        void operator()(double* p) const noexcept
        {
            ::operator delete[](p, std::align_val_t{kAlignment});
        }
    };
    std::size_t Count;
    std::unique_ptr<double[], TAlignedDelete> Raw;
    std::vector<double> Vector;
};

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
        const T1WaveTransformer transformer(shape.Width);
        const std::unique_ptr<TWave1D> wave = MakeWavelet(params);
        const std::size_t width = static_cast<std::size_t>(shape.Width);
        const std::size_t steps = static_cast<std::size_t>(shape.Steps);
        TCoefficientStore coefs(CheckedMul(steps, width, "the coefficient matrix"),
                                observer != nullptr);
        std::vector<TBlockStats> rowStats(steps);
        std::optional<TContrastKernel> contrast; // made when the option is first read as set
        std::uint8_t* const pixels = spectrogram.bits();
        const std::ptrdiff_t stride = spectrogram.bytesPerLine();
        for (int k = 0; k < n; ++k) {
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
            rows.Coefs = coefs.Data();
            rows.RowStats = &rowStats;
            rows.Moments = NeedsMoments(outputKind);
            rows.Progress = &progress;
            rows.ProgressTotal = static_cast<std::int64_t>(n) * shape.Steps;
            TransformRows(transformer, *wave, rows);
            CheckFpFaults();
            if (observer)
                observer->RawCoefficients(k, coefs.AsVector());
            const bool withContrast = params.WaveletContrast();
            const TSeriesMatrix matrix{coefs.Data(), steps, width, &rowStats, &progress};
            const int firstRow = k * (shape.Steps + 1);
            const TLevelRows bandRows{pixels + firstRow * stride, stride};
            PostProcessRows(matrix, outputKind, withContrast ? TLevelRows{} : bandRows);
            if (withContrast) {
                if (!contrast)
                    contrast.emplace(shape.Steps, shape.Width);
                ApplyWaveletContrast(*contrast, coefs.AsVector());
                PaintLevelRows(spectrogram, firstRow, shape.Steps, coefs.Data());
            }
            CheckFpFaults();
            if (observer)
                observer->FinalCoefficients(k, coefs.AsVector());
        }
    } // the matrix and the transformer are freed before the picture is framed
    Annotate(spectrogram, table, firstLabel, set, shape);
    QImage result = ComposeResult(
        spectrogram, QuantisedPalette(params.PaletteIndex(), params.NumColors()));
    progress.SetStatusText("O'k");
    return result;
}
