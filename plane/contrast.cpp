#include "plane/contrast.h"

#include "engine/fp_checkpoint.h"
#include "engine/stats.h"

#include <stdexcept>

namespace {

// A 1-D coefficient matrix is clipped harder than a 2-D frame.
constexpr long double kMatrixClip = 2.5L;
constexpr long double kPlaneClip = 3.5L;

} // namespace

void ApplyWaveletContrast(int Rows, int Cols, std::vector<double>& Matrix)
{
    ApplyWaveletContrast(TContrastKernel(Rows, Cols), Matrix);
}

void ApplyWaveletContrast(const TContrastKernel& kernel, std::vector<double>& Matrix)
{
    const std::size_t count = kernel.Count();
    if (Matrix.size() < count)
        throw std::invalid_argument("ApplyWaveletContrast: the matrix holds fewer than Rows x "
                                    "Cols values");
    ComplexBuffer plane = AllocateComplex(count, "the plane");
    for (std::size_t i = 0; i < count; ++i)
        plane[i] = {Matrix[i], 0.0};
    kernel.GradientMagnitude(plane.get());
    for (std::size_t i = 0; i < count; ++i)
        Matrix[i] = plane[i].Re;
    ClipNormalize(DoubleView{Matrix.data(), count}, kMatrixClip);
    CheckFpFaults();
}

void ContrastPass(TBitmapFilter& Filter)
{
    ContrastPass(Filter, TContrastKernel(Filter.Rows(), Filter.Cols()));
}

void ContrastPass(TBitmapFilter& Filter, const TContrastKernel& Kernel)
{
    if (Kernel.Rows() != Filter.Rows() || Kernel.Cols() != Filter.Cols())
        throw std::invalid_argument("ContrastPass: the kernel's size differs from the plane's");
    // Work is replaced as a whole, so it is transformed where it lies.
    Kernel.GradientMagnitude(Filter.Work());
    Filter.ClipNormalize(kPlaneClip);
}
