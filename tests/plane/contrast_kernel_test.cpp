#include "plane/contrast.h"
#include "tests/plane/plane_fixtures.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace {

// The pass as a temporary filter computes it: the result a kernel must reproduce exactly.
std::vector<TComplex> ThroughTemporaryFilter(const TComplex* plane, int rows, int cols,
                                             long double clip)
{
    TBitmapFilter f(rows, cols);
    std::copy_n(plane, f.Count(), f.Work());
    f.Filter(TGaussz2D(1, 1), foModulus, 1.0, 0.0);
    f.ClipNormalize(clip);
    return {f.Work(), f.Work() + f.Count()};
}

void ExpectBitIdentical(double got, double want, const std::string& what)
{
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(want))
        << what << ": " << got << " instead of " << want;
}

// Smooth waves, noise, spikes and a step edge in the real parts, noise in the imaginary
// parts, so every stage of the pass sees varied values; `variant` makes the planes differ.
void LoadVariedPlane(TBitmapFilter& filter, unsigned variant)
{
    const int rows = filter.Rows(), cols = filter.Cols();
    const std::vector<double> noise = RandomMatrix(rows, cols, 100u + variant);
    const std::vector<double> im = RandomMatrix(rows, cols, 200u + variant);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * cols + c;
            const double edge = c >= cols / 2 + static_cast<int>(variant) % 3 ? 0.8 : 0.0;
            const double spike = i % (97 + variant) == 5 ? 4.0 * variant : 0.0;
            filter.Work()[i] = {std::sin(0.3 * r * variant) * std::cos(0.17 * c) + edge +
                                    0.2 * noise[i] + spike,
                                variant % 2 ? im[i] : 0.0};
        }
}

struct Shape {
    int rows, cols;
};

// One row or column, odd sizes, and planes large enough to be shared between the cores.
const Shape kShapes[] = {{1, 64}, {64, 1}, {7, 13}, {2, 3}, {96, 128}, {256, 256}, {33, 2050}};

TEST(ContrastKernel, RepeatedPassesMatchATemporaryFilterBitForBit)
{
    for (const Shape shape : kShapes) {
        const TContrastKernel kernel(shape.rows, shape.cols);
        TBitmapFilter filter(shape.rows, shape.cols);
        for (unsigned variant = 1; variant <= 3; ++variant) {
            const std::string what = std::to_string(shape.rows) + "x" +
                                     std::to_string(shape.cols) + " plane " +
                                     std::to_string(variant);
            LoadVariedPlane(filter, variant);
            const std::vector<TComplex> want =
                ThroughTemporaryFilter(filter.Work(), shape.rows, shape.cols, 3.5L);
            TBitmapFilter oneUse(shape.rows, shape.cols);
            std::copy_n(filter.Work(), filter.Count(), oneUse.Work());
            ContrastPass(oneUse);
            ContrastPass(filter, kernel);
            for (std::size_t i = 0; i < want.size(); ++i) {
                const std::string at = " at " + std::to_string(i);
                ExpectBitIdentical(filter.Work()[i].Re, want[i].Re, what + " Re" + at);
                ExpectBitIdentical(filter.Work()[i].Im, want[i].Im, what + " Im" + at);
                ExpectBitIdentical(oneUse.Work()[i].Re, want[i].Re, what + " one use" + at);
            }
        }
    }
}

TEST(ContrastKernel, MatrixPassMatchesATemporaryFilterBitForBit)
{
    for (const Shape shape : {Shape{100, 4096}, Shape{5, 9}, Shape{1, 300}}) {
        const std::size_t count = static_cast<std::size_t>(shape.rows) * shape.cols;
        TBitmapFilter loaded(shape.rows, shape.cols);
        LoadVariedPlane(loaded, 2);
        std::vector<double> matrix(count + 3, -1.0); // values beyond Rows x Cols stay
        for (std::size_t i = 0; i < count; ++i)
            matrix[i] = loaded.Work()[i].Re;
        const std::vector<TComplex> want =
            ThroughTemporaryFilter(loaded.Work(), shape.rows, shape.cols, 2.5L);
        ApplyWaveletContrast(shape.rows, shape.cols, matrix);
        for (std::size_t i = 0; i < count; ++i)
            ExpectBitIdentical(matrix[i], want[i].Re, "matrix element " + std::to_string(i));
        EXPECT_EQ(matrix[count], -1.0);
        EXPECT_EQ(matrix.back(), -1.0);
    }
}

TEST(ContrastKernel, RefusesImpossibleSizesAndAPlaneOfAnotherSize)
{
    EXPECT_THROW(TContrastKernel(0, 5), std::invalid_argument);
    EXPECT_THROW(TContrastKernel(4, -1), std::invalid_argument);
    EXPECT_THROW(TContrastKernel(1 << 20, 1 << 20), EOutOfMemory);

    const TContrastKernel kernel(6, 8);
    for (const Shape other : {Shape{8, 6}, Shape{6, 9}}) {
        TBitmapFilter filter(other.rows, other.cols);
        LoadVariedPlane(filter, 1);
        const std::vector<TComplex> before(filter.Work(), filter.Work() + filter.Count());
        EXPECT_THROW(ContrastPass(filter, kernel), std::invalid_argument);
        for (std::size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(filter.Work()[i].Re, before[i].Re) << "the refused plane is unchanged";
    }
}

} // namespace
