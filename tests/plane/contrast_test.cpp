#include "plane/contrast.h"
#include "tests/plane/plane_fixtures.h"

#include <cmath>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Carrier = std::function<std::vector<double>(int rows, int cols, std::vector<double>)>;

std::vector<double> ThroughMatrix(int rows, int cols, std::vector<double> m)
{
    ApplyWaveletContrast(rows, cols, m);
    return m;
}

std::vector<double> ThroughPlane(int rows, int cols, std::vector<double> m)
{
    TBitmapFilter filter(rows, cols);
    LoadMatrix(filter, m);
    ContrastPass(filter);
    for (std::size_t i = 0; i < filter.Count(); ++i)
        EXPECT_EQ(filter.Work()[i].Im, 0.0);
    return RealParts(filter);
}

struct CarrierChoice {
    const char* name;
    Carrier run;
};

const CarrierChoice kCarriers[] = {{"matrix", ThroughMatrix}, {"plane", ThroughPlane}};

void ExpectClose(const std::vector<double>& got, const std::vector<double>& want,
                 const std::string& what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-9) << what << " at " << i;
}

TEST(WaveletContrast, ConstantGivesZeros)
{
    for (const CarrierChoice& carrier : kCarriers)
        for (auto [rows, cols] : {std::pair{4, 6}, std::pair{1, 8}, std::pair{7, 1}}) {
            const std::vector<double> m(static_cast<std::size_t>(rows) * cols, 3.7);
            ExpectClose(carrier.run(rows, cols, m), std::vector<double>(m.size(), 0.0),
                        carrier.name + std::string(" ") + std::to_string(rows) + "x" +
                            std::to_string(cols));
        }
}

// An added constant vanishes in the filtering, a positive factor in the rescaling.
TEST(WaveletContrast, InvariantUnderOffsetAndPositiveFactor)
{
    const std::vector<double> m = RandomMatrix(8, 12, 21u);
    for (const CarrierChoice& carrier : kCarriers) {
        const std::vector<double> base = carrier.run(8, 12, m);
        std::vector<double> shifted = m, stretched = m;
        for (double& x : shifted)
            x += 7.5;
        for (double& x : stretched)
            x *= 3.25;
        ExpectClose(carrier.run(8, 12, shifted), base, carrier.name + std::string(" offset"));
        ExpectClose(carrier.run(8, 12, stretched), base, carrier.name + std::string(" factor"));
    }
}

// 0 left of column 8, 1 from there: the periodic transform sees a rising edge between columns
// 7 and 8 and a falling one between the last column and the first. The four columns beside
// the edges are the largest, alike in every row; columns far from both are near 0. One row
// works too: its vertical frequencies are all 0.
TEST(WaveletContrast, StepEdgePeaksBesideTheEdgeAndAtTheWrappedBorders)
{
    const int cols = 16;
    for (const CarrierChoice& carrier : kCarriers)
        for (int rows : {1, 6}) {
            std::vector<double> m(static_cast<std::size_t>(rows) * cols, 0.0);
            for (int r = 0; r < rows; ++r)
                for (int c = cols / 2; c < cols; ++c)
                    m[r * cols + c] = 1.0;
            const std::vector<double> got = carrier.run(rows, cols, m);
            for (int r = 0; r < rows; ++r) {
                const double* row = got.data() + r * cols;
                for (int edge : {0, 7, 8, 15}) {
                    EXPECT_NEAR(row[edge], 1.0, 1e-12) << carrier.name << " row " << r;
                    for (int c = 0; c < cols; ++c)
                        EXPECT_LE(row[c], row[edge] + 1e-12) << carrier.name << " column " << c;
                }
                for (int far : {3, 4, 11, 12})
                    EXPECT_LT(row[far], 0.05) << carrier.name << " row " << r << " column " << far;
                for (int c = 0; c < cols; ++c)
                    EXPECT_NEAR(row[c], got[c], 1e-12) << carrier.name << " row " << r;
            }
        }
}

// The matrix is clipped at 2.5 standard deviations, the plane at 3.5, on the Gaussian
// gradient magnitude. Spikes make the two clippings differ. The plane's imaginary parts take
// part, its spectrum cache and accumulator do not change.
TEST(WaveletContrast, CarriersClipTheGradientMagnitudeByTheirOwnLimit)
{
    const int rows = 9, cols = 10;
    std::vector<double> m = RandomMatrix(rows, cols, 8u);
    m[13] = 9.0;
    m[57] = -6.0;
    const std::vector<double> im = RandomMatrix(rows, cols, 9u);
    auto reference = [&](long double clip, bool withImaginary) {
        TBitmapFilter f(rows, cols);
        for (std::size_t i = 0; i < f.Count(); ++i)
            f.Work()[i] = {m[i], withImaginary ? im[i] : 0.0};
        f.Filter(TGaussz2D(1, 1), foModulus, 1.0, 0.0);
        f.ClipNormalize(clip);
        return RealParts(f);
    };
    ASSERT_NE(reference(2.5L, false), reference(3.5L, false));
    EXPECT_EQ(ThroughMatrix(rows, cols, m), reference(2.5L, false));

    TBitmapFilter filter(rows, cols);
    for (std::size_t i = 0; i < filter.Count(); ++i)
        filter.Work()[i] = {m[i], im[i]};
    const TMorlet2D morlet(6, 1);
    filter.ResetAccumulator();
    filter.Accumulate(1.0);
    const std::vector<double> sumsRe(filter.SumsRe(), filter.SumsRe() + filter.Count());
    ASSERT_NE(filter.SumsIm(), nullptr);
    const std::vector<double> sumsIm(filter.SumsIm(), filter.SumsIm() + filter.Count());
    filter.Filter(morlet, foRealPart, 2.0, 0.3);
    const std::vector<double> filtered = RealParts(filter);
    for (std::size_t i = 0; i < filter.Count(); ++i)
        filter.Work()[i] = {m[i], im[i]};
    ContrastPass(filter);
    EXPECT_EQ(RealParts(filter), reference(3.5L, true));
    EXPECT_TRUE(std::equal(sumsRe.begin(), sumsRe.end(), filter.SumsRe()));
    EXPECT_TRUE(std::equal(sumsIm.begin(), sumsIm.end(), filter.SumsIm()));
    filter.Filter(morlet, foRealPart, 2.0, 0.3);
    EXPECT_EQ(RealParts(filter), filtered);
}

TEST(WaveletContrast, RefusesAShortMatrixAndAnImpossibleSize)
{
    std::vector<double> m(11, 1.0);
    EXPECT_THROW(ApplyWaveletContrast(3, 4, m), std::invalid_argument);
    EXPECT_THROW(ApplyWaveletContrast(1 << 20, 1 << 20, m), EOutOfMemory);
}

} // namespace
