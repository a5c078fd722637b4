#include "engine/transformer1d.h"

#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"
#include "engine/scales.h"

#include <algorithm>
#include <stdexcept>

T1WaveTransformer::T1WaveTransformer(int Len)
    : Len_(Len),
      PlanForward(1, Len, FftDirection::Forward, true),
      PlanBackward(1, Len, FftDirection::Backward, true),
      Omega_(AngularFrequencies(Len))
{
}

ComplexBuffer T1WaveTransformer::NewBuffer() const
{
    return AllocateComplex(static_cast<std::size_t>(Len_), "the transform buffer");
}

void T1WaveTransformer::ForwardFFT(TComplex* Buf) const { PlanForward.Execute(Buf, Buf); }

void T1WaveTransformer::BackwardFFT(TComplex* Buf) const { PlanBackward.Execute(Buf, Buf); }

void T1WaveTransformer::ApplyWavelet(const TWave1D& Wave, TComplex* Buf, double Scale) const
{
    ForwardFFT(Buf);
    MultiplyBySpectrum(Wave, Buf, Scale);
    BackwardFFT(Buf);
}

void T1WaveTransformer::MultiplyBySpectrum(const TWave1D& Wave, TComplex* Buf,
                                           double Scale) const
{
    for (int i = 0; i < Len_; ++i) {
        const double w = Omega_[i] * Scale;
        TComplex p = Wave.Spectrum(w);
        p.Im = -p.Im;
        Buf[i] = CMul(Buf[i], p);
    }
}

namespace {

void StoreRow(const TComplex* Buf, int n, double Scale, bool L1Norm, bool Phase, double* Row)
{
    if (Phase) {
        for (int j = 0; j < n; ++j)
            Row[j] = CArg(Buf[j]);
    } else if (L1Norm) {
        for (int j = 0; j < n; ++j)
            Row[j] = Buf[j].Re;
    } else {
        for (int j = 0; j < n; ++j)
            Row[j] = Buf[j].Re * Scale;
    }
}

// One row from the series' forward transform: multiply, back-transform, store.
void FilterSpectrumRow(const T1WaveTransformer& Transformer, const TWave1D& Wave,
                       const TComplex* Spectrum, double Scale, bool L1Norm, bool Phase,
                       TComplex* Buf, double* Row)
{
    const int n = Transformer.Len();
    std::copy(Spectrum, Spectrum + n, Buf);
    Transformer.MultiplyBySpectrum(Wave, Buf, Scale);
    Transformer.BackwardFFT(Buf);
    StoreRow(Buf, n, Scale, L1Norm, Phase, Row);
}

} // namespace

void TransformRow(const T1WaveTransformer& Transformer, const TWave1D& Wave,
                  const double* Series, double Scale, bool L1Norm, bool Phase, TComplex* Buf,
                  double* Row)
{
    const int n = Transformer.Len();
    for (int j = 0; j < n; ++j)
        Buf[j] = {Series[j], 0.0};
    Transformer.ApplyWavelet(Wave, Buf, Scale);
    StoreRow(Buf, n, Scale, L1Norm, Phase, Row);
}

void WaveletTransform1D(const T1WaveTransformer& Transformer, int Steps, const TWave1D& Wave,
                        double MaxScale, double MinScale, const std::vector<double>& Series,
                        bool L1Norm, int StepKind, bool Phase, std::vector<double>& Coefs)
{
    const std::size_t n = static_cast<std::size_t>(Transformer.Len());
    if (Series.size() < n)
        throw std::invalid_argument("WaveletTransform1D: the series is shorter than the plans");
    const std::vector<double> grid = ScaleGrid(StepKind, MaxScale, MinScale, Steps);
    const std::size_t count = CheckedMul(grid.size(), n, "the coefficient matrix");
    RequireMemory(CheckedMul(count, sizeof(double), "the coefficient matrix"),
                  "the coefficient matrix");
    Coefs.resize(count);
    // Every row starts from the same forward transform of the series: computed once, it is
    // bit for bit what each row would compute again.
    ComplexBuffer spectrum = Transformer.NewBuffer();
    for (std::size_t j = 0; j < n; ++j)
        spectrum[j] = {Series[j], 0.0};
    Transformer.ForwardFFT(spectrum.get());
    ForEachRowRange(grid.size(), 4, [&](std::size_t begin, std::size_t end) {
        ComplexBuffer buf = Transformer.NewBuffer();
        for (std::size_t k = begin; k < end; ++k)
            FilterSpectrumRow(Transformer, Wave, spectrum.get(), grid[k], L1Norm, Phase,
                              buf.get(), Coefs.data() + k * n);
    });
}
