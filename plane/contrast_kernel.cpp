#include "plane/contrast_kernel.h"

#include "engine/fp_checkpoint.h"
#include "plane/filter_kernels.h"
#include "plane/wavelets2d.h"

#include <algorithm>
#include <cmath>

TContrastKernel::TContrastKernel(int Rows, int Cols)
    : Rows_(Rows),
      Cols_(Cols),
      Count_(PlaneElementCount(Rows, Cols, "the contrast kernel")),
      HalfCount_(HalfSpectrumCount(Rows, Cols, "the contrast kernel")),
      Kx(AngularFrequencies(Cols)),
      Ky(AngularFrequencies(Rows)),
      Kernel(MakeHalfKernel(TGaussz2D(1.0L, 1.0L), Kx, Ky, 1.0, 0.0)),
      Forward(Rows, Cols, FftDirection::Forward),
      Inverse(Rows, Cols, FftDirection::Backward)
{
}

void TContrastKernel::Gradient(TComplex* Buffer, TComplex* Scratch,
                               bool ImaginaryInScratch) const
{
    Forward.Execute(Buffer);
    if (ImaginaryInScratch)
        Forward.Execute(Scratch);
    const std::size_t halfCols = HalfCols(Cols_);
    std::vector<double> scratch(4 * halfCols);
    // The real part of the result in place, the imaginary part into Scratch.
    MultiplyHalfSpectrum(*Kernel, halfCols, Buffer, ImaginaryInScratch ? Scratch : nullptr,
                         Buffer, Scratch, 0, Rows_, scratch.data());
    Inverse.Execute(Buffer);
    Inverse.Execute(Scratch);
}

void TContrastKernel::GradientMagnitude(TComplex* Plane) const
{
    const std::size_t cols = static_cast<std::size_t>(Cols_);
    const std::size_t halfCols = HalfCols(Cols_), padded = PaddedCols(Cols_);
    const bool complexPlane =
        std::any_of(Plane, Plane + Count_, [](const TComplex& z) { return z.Im != 0.0; });
    ComplexBuffer scratch = AllocateComplex(HalfCount_, "the contrast pass");
    double* im = RealRows(scratch.get());
    if (complexPlane)
        for (std::size_t i = 0; i < Count_; ++i)
            im[i / cols * padded + i % cols] = Plane[i].Im;
    // The real parts gathered into padded rows within the plane's own memory: each goes to
    // a place at or before its own, so a forward sweep reads every value before it is
    // overwritten.
    double* re = RealRows(Plane);
    for (std::size_t i = 0; i < Count_; ++i)
        re[i / cols * padded + i % cols] = Plane[i].Re;
    std::vector<double> rowScratch(4 * halfCols);
    Forward.Execute(Plane);
    if (complexPlane) {
        // a + ib: the real part from A E - B O, the imaginary part from A O + B E.
        Forward.Execute(scratch.get());
        MultiplyHalfSpectrum(*Kernel, halfCols, Plane, scratch.get(), Plane, scratch.get(), 0,
                             Rows_, rowScratch.data());
    } else {
        MultiplyHalfSpectrum(*Kernel, halfCols, Plane, nullptr, Plane, scratch.get(), 0, Rows_,
                             rowScratch.data());
    }
    Inverse.Execute(Plane);
    Inverse.Execute(scratch.get());
    // Back to complex elements, last first: each lands at or after the place it is read from.
    for (std::size_t i = Count_; i-- > 0;) {
        const std::size_t at = i / cols * padded + i % cols;
        Plane[i] = {re[at], im[at]};
    }
    // The filter's own finish, so the pass is bit for bit a temporary filter's.
    FinishFilterOutput(foModulus, Count_, 1.0, Plane, 0, Count_);
    CheckFpFaults();
}
