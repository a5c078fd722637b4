#include "plane/contrast.h"

#include "engine/fp_checkpoint.h"
#include "engine/stats.h"
#include "plane/filter_kernels.h"

#include <cmath>
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
    // The matrix is real: its rows go straight into the padded rows of the transform.
    const std::size_t cols = static_cast<std::size_t>(kernel.Cols());
    const std::size_t padded = PaddedCols(kernel.Cols());
    ComplexBuffer dx = AllocateComplex(kernel.HalfCount(), "the contrast pass");
    ComplexBuffer dy = AllocateComplex(kernel.HalfCount(), "the contrast pass");
    double* x = RealRows(dx.get());
    const double* y = RealRows(dy.get());
    for (std::size_t i = 0; i < count; ++i)
        x[i / cols * padded + i % cols] = Matrix[i];
    kernel.Gradient(dx.get(), dy.get());
    // The modulus as a temporary filter finishes it, bit for bit.
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = i / cols * padded + i % cols;
        TComplex z = {x[at], y[at]};
        FinishFilterOutput(foModulus, count, 1.0, &z, 0, 1);
        Matrix[i] = z.Re;
    }
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
