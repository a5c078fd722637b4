#include "plane/fft2.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr double kTwoPi = 6.283185307179586;

struct Shape {
    int rows, cols;
};

ComplexBuffer Impulse(Shape s, int r0, int c0)
{
    ComplexBuffer plane = AllocateComplex(static_cast<std::size_t>(s.rows) * s.cols, "a test");
    plane[r0 * s.cols + c0] = {1.0, 0.0};
    return plane;
}

// An impulse at (r0, c0) has the spectrum exp(-i 2 pi (k r0 / rows + l c0 / cols)): this fixes
// the row-major layout and the sign. Out of place must agree and leave its input alone; the
// backward transform brings the impulse back times rows * cols.
TEST(Fft2Trn, ImpulseSpectrumAndRoundTrip)
{
    for (Shape s : {Shape{1, 8}, Shape{3, 5}, Shape{6, 1}}) {
        const std::size_t count = static_cast<std::size_t>(s.rows) * s.cols;
        const int r0 = s.rows - 1;
        const int c0 = s.cols > 2 ? 2 : 0;
        const TFft2Trn forwardInPlace(s.rows, s.cols, true);
        const TFft2Trn forwardOutOfPlace(s.rows, s.cols, false);
        const TIFft2Trn backward(s.rows, s.cols, true);
        EXPECT_TRUE(forwardInPlace.InPlace());
        EXPECT_FALSE(forwardOutOfPlace.InPlace());

        ComplexBuffer plane = Impulse(s, r0, c0);
        ComplexBuffer copy = forwardOutOfPlace.Execute(plane.get());
        ASSERT_TRUE(copy);
        EXPECT_EQ(plane[r0 * s.cols + c0].Re, 1.0) << "out of place changed its input";
        EXPECT_FALSE(forwardInPlace.Execute(plane.get()));
        for (int k = 0; k < s.rows; ++k)
            for (int l = 0; l < s.cols; ++l) {
                const double a = -kTwoPi * (double(k * r0) / s.rows + double(l * c0) / s.cols);
                const TComplex z = plane[k * s.cols + l];
                EXPECT_NEAR(z.Re, std::cos(a), 1e-14) << s.rows << "x" << s.cols;
                EXPECT_NEAR(z.Im, std::sin(a), 1e-14) << s.rows << "x" << s.cols;
                EXPECT_NEAR(z.Re, copy[k * s.cols + l].Re, 1e-14);
                EXPECT_NEAR(z.Im, copy[k * s.cols + l].Im, 1e-14);
            }
        backward.Execute(plane.get());
        for (std::size_t i = 0; i < count; ++i) {
            const double want = i == static_cast<std::size_t>(r0 * s.cols + c0) ? count : 0.0;
            EXPECT_NEAR(plane[i].Re, want, 1e-13) << s.rows << "x" << s.cols << " at " << i;
            EXPECT_NEAR(plane[i].Im, 0.0, 1e-13) << s.rows << "x" << s.cols << " at " << i;
        }
    }
}

// The real-data transforms in place: the padded rows of an impulse become the half spectrum
// exp(-i 2 pi (k r0 / rows + l c0 / cols)) for l = 0 .. cols / 2, and back times rows * cols,
// on odd and even sides and on a buffer other than the one planned for.
TEST(HalfSpectrumPlan, ImpulseSpectrumAndRoundTrip)
{
    for (Shape s : {Shape{1, 8}, Shape{3, 5}, Shape{6, 1}, Shape{4, 7}, Shape{2, 2}}) {
        const std::size_t half = HalfSpectrumCount(s.rows, s.cols, "a test");
        const std::size_t padded = PaddedCols(s.cols);
        const int r0 = s.rows - 1, c0 = s.cols > 2 ? 2 : 0;
        const THalfSpectrumPlan forward(s.rows, s.cols, FftDirection::Forward);
        const THalfSpectrumPlan backward(s.rows, s.cols, FftDirection::Backward);
        ComplexBuffer buffer = AllocateComplex(half, "a test");
        RealRows(buffer.get())[r0 * padded + c0] = 1.0;
        forward.Execute(buffer.get());
        for (int k = 0; k < s.rows; ++k)
            for (std::size_t l = 0; l < HalfCols(s.cols); ++l) {
                const double a = -kTwoPi * (double(k * r0) / s.rows + double(l * c0) / s.cols);
                const TComplex z = buffer[k * HalfCols(s.cols) + l];
                EXPECT_NEAR(z.Re, std::cos(a), 1e-14) << s.rows << "x" << s.cols;
                EXPECT_NEAR(z.Im, std::sin(a), 1e-14) << s.rows << "x" << s.cols;
            }
        backward.Execute(buffer.get());
        const double count = double(s.rows) * s.cols;
        for (int r = 0; r < s.rows; ++r)
            for (int c = 0; c < s.cols; ++c)
                EXPECT_NEAR(RealRows(buffer.get())[r * padded + c],
                            r == r0 && c == c0 ? count : 0.0, 1e-13)
                    << s.rows << "x" << s.cols;
    }
}

// A buffer aligned otherwise than the planned one is refused, not transformed wrongly.
TEST(HalfSpectrumPlan, RefusesAnotherAlignment)
{
    const THalfSpectrumPlan plan(4, 6, FftDirection::Forward);
    ComplexBuffer buffer = AllocateComplex(HalfSpectrumCount(4, 6, "a test") + 1, "a test");
    auto* shifted = reinterpret_cast<TComplex*>(reinterpret_cast<char*>(buffer.get()) + 8);
    EXPECT_THROW(plan.Execute(shifted), std::invalid_argument);
    EXPECT_THROW(THalfSpectrumPlan(0, 3, FftDirection::Forward), std::invalid_argument);
}

} // namespace
