#include "contrast.h"

#include <algorithm>
#include <stdexcept>

namespace {

// A 1-D coefficient matrix is clipped harder than a 2-D frame.
constexpr long double kMatrixClip = 2.5L;
constexpr long double kPlaneClip = 3.5L;

// Work of Plane, already loaded, becomes its clip-normalised Gaussian gradient magnitude.
void ContrastOfLoadedPlane(TBitmapFilter& Plane, long double Clip)
{
    const TGaussz2D gradientOfGaussian(1.0L, 1.0L);
    Plane.Filter(gradientOfGaussian, foModulus, 1.0, 0.0);
    Plane.ClipNormalize(Clip);
}

} // namespace

void ApplyWaveletContrast(int Rows, int Cols, std::vector<double>& Matrix)
{
    TBitmapFilter plane(Rows, Cols);
    if (Matrix.size() < plane.Count())
        throw std::invalid_argument("ApplyWaveletContrast: the matrix holds fewer than Rows x "
                                    "Cols values");
    TComplex* work = plane.Work();
    for (std::size_t i = 0; i < plane.Count(); ++i)
        work[i] = {Matrix[i], 0.0};
    ContrastOfLoadedPlane(plane, kMatrixClip);
    for (std::size_t i = 0; i < plane.Count(); ++i)
        Matrix[i] = work[i].Re;
}

void ContrastPass(TBitmapFilter& Filter)
{
    TBitmapFilter plane(Filter.Rows(), Filter.Cols());
    std::copy_n(Filter.Work(), Filter.Count(), plane.Work());
    ContrastOfLoadedPlane(plane, kPlaneClip);
    std::copy_n(plane.Work(), plane.Count(), Filter.Work());
}
