#include "plane/contrast_kernel.h"

#include "plane/filter_kernels.h"
#include "engine/fp_checkpoint.h"
#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"


namespace {

// The wavelet of the pass: its transform is (-Ky + i Kx) exp(-(Kx^2 + Ky^2) / 2).
ComplexBuffer SampleGradientOfGaussian(int Rows, int Cols, std::size_t Count)
{
    ComplexBuffer samples = AllocateComplex(Count, "the contrast kernel");
    const TGaussz2D gradientOfGaussian(1.0L, 1.0L);
    const std::vector<double> kx = AngularFrequencies(Cols);
    const std::vector<double> ky = AngularFrequencies(Rows);
    ForEachRowRange(static_cast<std::size_t>(Rows), LeastRowsPerShare(Cols),
                    [&](std::size_t begin, std::size_t end) {
                        SampleWavelet(gradientOfGaussian, kx, ky, 1.0, 0.0, samples.get(),
                                      static_cast<int>(begin), static_cast<int>(end));
                    });
    return samples;
}

} // namespace

TContrastKernel::TContrastKernel(int Rows, int Cols)
    : Rows_(Rows),
      Cols_(Cols),
      Count_(PlaneElementCount(Rows, Cols, "the contrast kernel")),
      Samples(SampleGradientOfGaussian(Rows, Cols, Count_)),
      Forward(Rows, Cols, true),
      Inverse(Rows, Cols, true)
{
}

void TContrastKernel::GradientMagnitude(TComplex* Plane) const
{
    Forward.Execute(Plane);
    // Element-wise work, shared between the cores: bit for bit the same in any split.
    ForEachRowRange(Count_, kLeastElementsPerShare, [&](std::size_t begin, std::size_t end) {
        MultiplyBySamples(Samples.get(), Plane, begin, end);
    });
    Inverse.Execute(Plane);
    ForEachRowRange(Count_, kLeastElementsPerShare, [&](std::size_t begin, std::size_t end) {
        FinishFilterOutput(foModulus, Count_, 1.0, Plane, begin, end);
    });
    CheckFpFaults();
}
