#include "transformer1d.h"

#include "memory_budget.h"
#include "scales.h"

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
    for (int i = 0; i < Len_; ++i) {
        const double w = Omega_[i] * Scale;
        TComplex p = Wave.Spectrum(w);
        p.Im = -p.Im;
        Buf[i] = CMul(Buf[i], p);
    }
    BackwardFFT(Buf);
}

void TransformRow(const T1WaveTransformer& Transformer, const TWave1D& Wave,
                  const double* Series, double Scale, bool L1Norm, bool Phase, TComplex* Buf,
                  double* Row)
{
    const int n = Transformer.Len();
    for (int j = 0; j < n; ++j)
        Buf[j] = {Series[j], 0.0};
    Transformer.ApplyWavelet(Wave, Buf, Scale);
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
    ComplexBuffer buf = Transformer.NewBuffer();
    Coefs.resize(count);
    for (std::size_t k = 0; k < grid.size(); ++k)
        TransformRow(Transformer, Wave, Series.data(), grid[k], L1Norm, Phase, buf.get(),
                     Coefs.data() + k * n);
}
