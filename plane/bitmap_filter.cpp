#include "plane/bitmap_filter.h"

#include "engine/fp_checkpoint.h"
#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"

#include <algorithm>

TBitmapFilter::TBitmapFilter(int Rows, int Cols)
    : Cols_(Cols),
      Rows_(Rows),
      Count_(PlaneElementCount(Rows, Cols, "the plane")),
      Work_(AllocateComplex(Count_, "the plane")),
      Forward(Rows, Cols, true),
      Inverse(Rows, Cols, true),
      Kx(AngularFrequencies(Cols)),
      Ky(AngularFrequencies(Rows))
{
}

void TBitmapFilter::FixSpectrum()
{
    ComplexBuffer spectrum = AllocateComplex(Count_, "the spectrum cache");
    std::copy_n(Work_.get(), Count_, spectrum.get());
    Forward.Execute(spectrum.get());
    SpectrumCache = std::move(spectrum);
}

void TBitmapFilter::Filter(const TWave2D& Wave, TFilterOutput Output, double Scale,
                           double Angle)
{
    if (!SpectrumCache)
        FixSpectrum();
    std::copy_n(SpectrumCache.get(), Count_, Work_.get());
    // Rows and elements are independent: shared between the cores, bit for bit the same.
    ForEachRowRange(static_cast<std::size_t>(Rows_), LeastRowsPerShare(Cols_),
                    [&](std::size_t begin, std::size_t end) {
                        MultiplyByWavelet(Wave, Kx, Ky, Scale, Angle, Work_.get(),
                                          static_cast<int>(begin), static_cast<int>(end));
                    });
    Inverse.Execute(Work_.get());
    ForEachRowRange(Count_, kLeastElementsPerShare, [&](std::size_t begin, std::size_t end) {
        FinishFilterOutput(Output, Count_, Scale, Work_.get(), begin, end);
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
    if (Accumulator)
        std::fill_n(Accumulator.get(), Count_, TComplex{0.0, 0.0});
    else
        Accumulator = AllocateComplex(Count_, "the accumulator");
}

void TBitmapFilter::Accumulate(double Weight)
{
    if (!Accumulator)
        return;
    for (std::size_t i = 0; i < Count_; ++i) {
        Accumulator[i].Re += Weight * Work_[i].Re;
        Accumulator[i].Im += Weight * Work_[i].Im;
    }
}
