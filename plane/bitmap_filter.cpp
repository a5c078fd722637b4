#include "plane/bitmap_filter.h"

#include "engine/fp_checkpoint.h"
#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"
#include "plane/half_kernel.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr long double kOrientationClip = 3.5L;

// Reports the stages of one orientation as shares of its Rows rows of work, and gives the
// user's stop a chance before each.
class TStageProgress {
public:
    TStageProgress(TCommandProgress* progress, std::int64_t total, int rows, int stages)
        : Progress(progress), Total(total), Rows(rows), Stages(stages)
    {
    }
    void Begin()
    {
        if (Progress)
            Progress->CheckCancelled();
    }
    void End()
    {
        if (!Progress)
            return;
        const std::int64_t before = std::int64_t(Rows) * Done / Stages;
        ++Done;
        const std::int64_t after = std::int64_t(Rows) * Done / Stages;
        Progress->WorkDone(after - before, Total);
    }

private:
    TCommandProgress* Progress;
    std::int64_t Total;
    int Rows;
    int Stages;
    int Done = 0;
};

} // namespace

TBitmapFilter::TBitmapFilter(int Rows, int Cols)
    : Cols_(Cols),
      Rows_(Rows),
      Count_(PlaneElementCount(Rows, Cols, "the plane")),
      HalfCount_(HalfSpectrumCount(Rows, Cols, "the plane")),
      Work_(AllocateComplex(std::max(Count_, CheckedMul(HalfCount_, kLanes, "the plane")),
                            "the plane")),
      Forward(Rows, Cols, FftDirection::Forward),
      Inverse(Rows, Cols, FftDirection::Backward),
      Kx(AngularFrequencies(Cols)),
      Ky(AngularFrequencies(Rows))
{
}

TComplex* TBitmapFilter::Aux(int j)
{
    if (!Aux_[j])
        Aux_[j] = AllocateComplex(HalfCount_, "a working plane");
    return Aux_[j].get();
}

TRealPlane TBitmapFilter::LanePlane(int j) const
{
    return {RealRows(Lane(j)), static_cast<std::size_t>(Rows_), static_cast<std::size_t>(Cols_),
            PaddedCols(Cols_)};
}

void TBitmapFilter::FixSpectrum()
{
    const std::size_t cols = static_cast<std::size_t>(Cols_), padded = PaddedCols(Cols_);
    const TComplex* work = Work_.get();
    auto transformed = [&](double TComplex::*part) {
        ComplexBuffer spectrum = AllocateComplex(HalfCount_, "the spectrum cache");
        double* rows = RealRows(spectrum.get());
        for (std::size_t i = 0; i < Count_; ++i)
            rows[i / cols * padded + i % cols] = work[i].*part;
        Forward.Execute(spectrum.get());
        return spectrum;
    };
    const bool imaginary =
        std::any_of(work, work + Count_, [](const TComplex& z) { return z.Im != 0.0; });
    ComplexBuffer re = transformed(&TComplex::Re);
    SpectrumIm = imaginary ? transformed(&TComplex::Im) : nullptr;
    SpectrumRe = std::move(re);
}

void TBitmapFilter::Filter(const TWave2D& Wave, TFilterOutput Output, double Scale,
                           double Angle)
{
    if (!SpectrumRe)
        FixSpectrum();
    const std::unique_ptr<THalfKernel> kernel = MakeHalfKernel(Wave, Kx, Ky, Scale, Angle);
    const std::size_t halfCols = HalfCols(Cols_);
    // The real part in Work's own memory, the imaginary part beside it.
    TComplex* re = Lane(0);
    TComplex* im = Aux(0);
    ForEachRowRange(static_cast<std::size_t>(Rows_), LeastRowsPerShare(Cols_),
                    [&](std::size_t begin, std::size_t end) {
                        std::vector<double> scratch(4 * halfCols);
                        MultiplyHalfSpectrum(*kernel, halfCols, SpectrumRe.get(),
                                             SpectrumIm.get(), re, im, static_cast<int>(begin),
                                             static_cast<int>(end), scratch.data());
                    });
    ForEachRowRange(2, 1, [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k)
            Inverse.Execute(k == 0 ? re : im);
    });
    // Back to complex elements, last first: each lands at or after the place its real part
    // is read from, so nothing is overwritten before it is read.
    const std::size_t cols = static_cast<std::size_t>(Cols_), padded = PaddedCols(Cols_);
    const double* x = RealRows(re);
    const double* y = RealRows(im);
    TComplex* work = Work_.get();
    for (std::size_t i = Count_; i-- > 0;) {
        const std::size_t at = i / cols * padded + i % cols;
        work[i] = {x[at], y[at]};
    }
    ForEachRowRange(Count_, kLeastElementsPerShare, [&](std::size_t begin, std::size_t end) {
        FinishFilterOutput(Output, Count_, Scale, work, begin, end);
    });
    CheckFpFaults();
}

TSeriesStats TBitmapFilter::Stats() const
{
    const TSeriesStats stats = SeriesStats(RealParts());
    CheckFpFaults();
    return stats;
}

// Every normalisation leaves real values only.
void TBitmapFilter::FinishNormalisation()
{
    ForEachRowRange(Count_, kLeastElementsPerShare, [&](std::size_t begin, std::size_t end) {
        ClearImaginaryParts(Work_.get(), begin, end);
    });
    CheckFpFaults();
}

void TBitmapFilter::NormalizeMinMax()
{
    ::NormalizeMinMax(RealParts());
    FinishNormalisation();
}

void TBitmapFilter::NormalizeLog()
{
    ::NormalizeLog(RealParts());
    FinishNormalisation();
}

void TBitmapFilter::NormalizeStdDev()
{
    ::NormalizeStdDev(RealParts());
    FinishNormalisation();
}

void TBitmapFilter::ClipNormalize(long double K)
{
    ::ClipNormalize(RealParts(), K);
    FinishNormalisation();
}

void TBitmapFilter::ResetAccumulator()
{
    // Real sums in complex-sized blocks, for the alignment of FFTW's allocation.
    const std::size_t blocks = Count_ / 2 + 1;
    if (SumsRe_)
        std::fill_n(SumsRe_.get(), blocks, TComplex{0.0, 0.0});
    else
        SumsRe_ = AllocateComplex(blocks, "the accumulator");
    SumsIm_.reset();
    SumsChanged();
}

void TBitmapFilter::Accumulate(double Weight)
{
    if (!SumsRe_)
        return;
    const TComplex* work = Work_.get();
    double* re = RealRows(SumsRe_.get());
    for (std::size_t i = 0; i < Count_; ++i)
        re[i] += Weight * work[i].Re;
    if (!SumsIm_ &&
        std::any_of(work, work + Count_, [](const TComplex& z) { return z.Im != 0.0; }))
        SumsIm_ = AllocateComplex(Count_ / 2 + 1, "the accumulator");
    if (SumsIm_) {
        double* im = RealRows(SumsIm_.get());
        for (std::size_t i = 0; i < Count_; ++i)
            im[i] += Weight * work[i].Im;
    }
    SumsChanged();
}

TSeriesStats TBitmapFilter::SumStats() const
{
    if (SumStats_)
        return *SumStats_;
    TMoments moments;
    const double* sums = SumsRe();
    for (int r = 0; r < Rows_; ++r)
        moments.AddRow(sums + static_cast<std::size_t>(r) * Cols_, static_cast<std::size_t>(Cols_));
    return moments.Stats();
}

void TBitmapFilter::FilterOrientations(const TWave2D& Wave, TFilterOutput Output,
                                       const TOrientation* Orientations, int Count,
                                       TCommandProgress* Progress, std::int64_t TotalRows)
{
    if (Count < 1 || Count > kLanes)
        throw std::invalid_argument("FilterOrientations: 1 to 2 orientations at a time");
    if (Output != foRealPart && Output != foImagPart)
        throw std::invalid_argument("FilterOrientations: the real or the imaginary part only");
    for (int j = 0; j < Count; ++j)
        if (const TContrastKernel* kernel = Orientations[j].Contrast) {
            if (kernel->Rows() != Rows_ || kernel->Cols() != Cols_)
                throw std::invalid_argument("FilterOrientations: the contrast kernel's size "
                                            "differs from the plane's");
            Aux(j);
        }
    if (!SpectrumRe)
        FixSpectrum();
    // Each orientation on its own thread: a lane is a whole filtering with its own buffers,
    // so nothing is shared but the spectrum, which is only read.
    ForEachRowRange(static_cast<std::size_t>(Count), 1, [&](std::size_t begin, std::size_t end) {
        for (std::size_t j = begin; j < end; ++j)
            RunLane(static_cast<int>(j), Wave, Output, Orientations[j], Progress, TotalRows);
    });
    CheckFpFaults();
}

void TBitmapFilter::RunLane(int j, const TWave2D& Wave, TFilterOutput Output,
                            const TOrientation& o, TCommandProgress* Progress,
                            std::int64_t TotalRows)
{
    TStageProgress stages(Progress, TotalRows, Rows_, o.Contrast ? 4 : 3);
    TComplex* buffer = Lane(j);
    const TRealPlane plane = LanePlane(j);
    const bool realPart = Output == foRealPart;
    // Without a normalisation, which would clear them, the contrast pass sees the weighted
    // imaginary parts too, as Filter leaves them beside either output.
    const bool complexContrast = o.Contrast && !IsNormalisation(o.NormalizeKind);
    TComplex* aux = complexContrast ? Aux_[j].get() : nullptr;
    const TRealPlane imaginary{aux ? RealRows(aux) : nullptr, plane.Rows, plane.Cols,
                               plane.Stride};

    stages.Begin();
    const std::unique_ptr<THalfKernel> kernel = MakeHalfKernel(Wave, Kx, Ky, o.Scale, o.Angle);
    if (!realPart && !SpectrumIm && !complexContrast && kernel->OddPartVanishes()) {
        // An even wavelet's response to a real plane is real: its imaginary part is 0.
        for (std::size_t r = 0; r < plane.Rows; ++r)
            std::fill_n(plane.Row(r), plane.Cols, 0.0);
    } else {
        std::vector<double> scratch(4 * HalfCols(Cols_));
        TComplex* re = realPart ? buffer : nullptr;
        TComplex* im = realPart ? (complexContrast ? aux : nullptr) : buffer;
        MultiplyHalfSpectrum(*kernel, HalfCols(Cols_), SpectrumRe.get(), SpectrumIm.get(), re,
                             im, 0, Rows_, scratch.data());
        Inverse.Execute(buffer);
        if (complexContrast && realPart)
            Inverse.Execute(aux);
        if (complexContrast && !realPart) // the imaginary part is also the output
            for (std::size_t r = 0; r < plane.Rows; ++r)
                std::copy_n(plane.Row(r), plane.Cols, imaginary.Row(r));
    }
    stages.End();

    stages.Begin();
    // Filter's weighting by Scale / Count, then the normalisation, in one pass.
    const double factor = o.Scale / static_cast<double>(Count_);
    TMoments moments;
    if (complexContrast) {
        ScalePlane(plane, factor);
        ScalePlane(imaginary, factor);
    } else {
        double rawStdDev = 0;
        TExtremes raw;
        if (NeedsStdDev(o.NormalizeKind)) {
            const TMoments all = MomentsOf(plane);
            raw = {all.Min(), all.Max()};
            rawStdDev = static_cast<double>(all.Stats().StdDev);
        } else {
            raw = ExtremesOf(plane);
        }
        // Without the contrast pass, the statistics of the normalised plane clip it.
        moments = NormalisePlane(plane, raw, rawStdDev, factor, o.NormalizeKind, !o.Contrast);
    }
    stages.End();

    if (o.Contrast) {
        stages.Begin();
        TComplex* dy = Aux_[j].get();
        o.Contrast->Gradient(buffer, dy, complexContrast);
        const TRealPlane dyPlane{RealRows(dy), plane.Rows, plane.Cols, plane.Stride};
        const TMoments modulus = ModulusPlane(plane, dyPlane, 1.0 / static_cast<double>(Count_));
        moments = ClipPlane(plane, ClipRangeOf(modulus.Stats(), kOrientationClip));
        stages.End();
    }

    stages.Begin();
    LaneClip[j] = ClipRangeOf(moments.Stats(), kOrientationClip);
    stages.End();
}

void TBitmapFilter::AccumulateOrientations(int First, int Count, bool MeasureSums)
{
    if (!SumsRe_)
        return;
    if (First < 0 || Count < 0 || First + Count > kLanes)
        throw std::invalid_argument("AccumulateOrientations: no such lanes");
    std::vector<TMoments> rowMoments(MeasureSums ? static_cast<std::size_t>(Rows_) : 0);
    TRealPlane planes[kLanes] = {};
    for (int j = 0; j < Count; ++j)
        planes[j] = LanePlane(First + j);
    ForEachRowRange(static_cast<std::size_t>(Rows_), LeastRowsPerShare(Cols_),
                    [&](std::size_t begin, std::size_t end) {
                        AddClippedRows(RealRows(SumsRe_.get()), static_cast<std::size_t>(Cols_),
                                       planes, LaneClip + First, Count, begin, end,
                                       MeasureSums ? rowMoments.data() : nullptr);
                    });
    SumsChanged();
    if (MeasureSums) {
        // Rows in their order: the same statistics however the rows were shared out.
        TMoments all;
        for (const TMoments& row : rowMoments)
            all.Add(row);
        SumStats_ = all.Stats();
    }
    CheckFpFaults();
}
