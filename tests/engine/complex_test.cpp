#include "engine/complex.h"
#include "engine/wavelets1d.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct ComplexCase {
    const char* what;
    TComplex got;
    TComplex want;
};

TEST(ComplexHelpers, MatchTheirDefinitionsAtTheSpecialPoints)
{
    const ComplexCase cases[] = {
        {"sqrt(-4)", CSqrt({-4, 0}), {0, 2}},
        {"sqrt(9)", CSqrt({9, 0}), {3, 0}},
        {"sqrt(0)", CSqrt({0, 0}), {0, 0}},
        {"sqrt(2i)", CSqrt({0, 2}), {1, 1}},
        {"sqrt(-2i)", CSqrt({0, -2}), {1, -1}},
        {"sqrt(-3-4i)", CSqrt({-3, -4}), {1, -2}},
        {"sqrt of a huge value does not overflow", CSqrt({1e308, 1e308}),
         {1.09868411346781e154, 4.55089860562227e153}},
        {"0^-2", CPower({0, 0}, -2.0L), {0, 0}},
        {"i^2", CPower({0, 1}, 2.0L), {-1, 0}},
        {"(3+4i)^0.5", CPower({3, 4}, 0.5L), {2, 1}},
        {"(1+2i)(3-i)", CMul({1, 2}, {3, -1}), {5, 5}},
        {"exp(i pi/2)", CExp({0, kPi / 2}), {0, 1}},
        {"ln(-1)", CLn({-1, 0}), {0, kPi}},
    };
    for (const ComplexCase& c : cases) {
        const double tol = 1e-14 * std::fmax(1.0, std::hypot(c.want.Re, c.want.Im));
        EXPECT_NEAR(c.got.Re, c.want.Re, tol) << c.what;
        EXPECT_NEAR(c.got.Im, c.want.Im, tol) << c.what;
    }
}

TEST(ComplexHelpers, ArgumentBranchCut)
{
    EXPECT_EQ(CArg({-1, 0}), kPi);
    EXPECT_EQ(CArg({-1, -0.0}), -kPi);
    EXPECT_EQ(CArg({0, 0}), 0.0);
}

TEST(AngularFrequencies, FollowFftwBinOrderWithMinusPiInTheMiddle)
{
    const double d8 = 2 * kPi / 8;
    const double d7 = 2 * kPi / 7;
    const std::vector<std::pair<int, std::vector<double>>> cases = {
        {1, {0}},
        {2, {0, -kPi}},
        {3, {0, 2 * kPi / 3, -2 * kPi / 3}},
        {7, {0, d7, 2 * d7, 3 * d7, -3 * d7, -2 * d7, -d7}},
        {8, {0, d8, 2 * d8, 3 * d8, -4 * d8, -3 * d8, -2 * d8, -d8}},
    };
    for (const auto& [n, want] : cases) {
        const std::vector<double> got = AngularFrequencies(n);
        ASSERT_EQ(got.size(), want.size()) << n;
        for (std::size_t k = 0; k < want.size(); ++k)
            EXPECT_DOUBLE_EQ(got[k], want[k]) << "N=" << n << " bin " << k;
    }
}

TEST(Wavelets1D, SpectraAtTheirCharacteristicPoints)
{
    const TMorlet1D morlet(6, 1);
    EXPECT_EQ(morlet.Spectrum(6).Re, 1.0);
    EXPECT_DOUBLE_EQ(morlet.Spectrum(0).Re, std::exp(-18.0));
    EXPECT_GT(morlet.Spectrum(5).Re, morlet.Spectrum(-5).Re) << "positive frequencies pass";

    const TSDog1D dog(1.25);
    EXPECT_EQ(dog.Spectrum(0).Re, 0.0);
    EXPECT_GT(dog.Spectrum(0.1).Re, 0.0);
    EXPECT_EQ(dog.Spectrum(2.5).Re, dog.Spectrum(-2.5).Re) << "even";
    EXPECT_NEAR(dog.Spectrum(2).Re, std::exp(-2.0) - std::exp(-1.5625 * 2.0), 1e-16);
    EXPECT_LT(TSDog1D(0.5).Spectrum(1).Re, 0.0);
    for (double w : {-3.0, 0.0, 0.7, 10.0}) {
        EXPECT_EQ(TSDog1D(1).Spectrum(w).Re, 0.0) << w;
        EXPECT_EQ(TSDog1D(1).Spectrum(w).Im, 0.0) << w;
        EXPECT_EQ(morlet.Spectrum(w).Im, 0.0) << w;
    }
}

} // namespace
