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

} // namespace
