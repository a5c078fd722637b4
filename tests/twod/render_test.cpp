#include "engine/errors.h"
#include "engine/fp_checkpoint.h"
#include "tests/plane/plane_fixtures.h"
#include "twod/frame_render.h"

#include <gtest/gtest.h>

namespace {

// The pixels the sum of the given planes must give: ColorIndex of the clip-normalised real
// parts, row r of the sum on scan line r.
std::vector<int> ExpectedLevels(const std::vector<std::vector<double>>& planes,
                                const std::vector<double>& weights)
{
    std::vector<double> sum(planes[0].size(), 0.0);
    for (std::size_t p = 0; p < planes.size(); ++p)
        for (std::size_t i = 0; i < sum.size(); ++i)
            sum[i] += weights[p] * planes[p][i];
    ClipNormalize(sum, 3.5L);
    std::vector<int> levels;
    for (double v : sum)
        levels.push_back(ColorIndex(v));
    return levels;
}

std::vector<int> Pixels(const QImage& image)
{
    std::vector<int> levels;
    for (int r = 0; r < image.height(); ++r)
        for (int c = 0; c < image.width(); ++c)
            levels.push_back(image.scanLine(r)[c]);
    return levels;
}

void Accumulate(TBitmapFilter& filter, const std::vector<double>& plane, double weight)
{
    LoadMatrix(filter, plane);
    filter.Accumulate(weight);
}

class RenderTest : public ::testing::Test {
protected:
    static constexpr int kRows = 6;
    static constexpr int kCols = 7;

    // The outlier lies beyond 3.5 standard deviations, so the clipping shows.
    static std::vector<double> WithOutlier(unsigned seed)
    {
        std::vector<double> m = RandomMatrix(kRows, kCols, seed);
        m[9] = 60.0;
        return m;
    }

    TBitmapFilter filter{kRows, kCols};
    const std::vector<double> a = WithOutlier(1u);
    const std::vector<double> b = RandomMatrix(kRows, kCols, 2u);
    const std::vector<double> c = RandomMatrix(kRows, kCols, 3u);
};

TEST_F(RenderTest, NothingWithoutAnAccumulator)
{
    LoadMatrix(filter, a);
    filter.Accumulate(1.0);
    EXPECT_TRUE(Render(filter, PaletteRainbow).isNull());
}

// The picture shows the clip-normalised sums; rendering leaves the raw sums, so a second
// picture is the same and later planes add to the raw values; a reset starts a new sum.
TEST_F(RenderTest, PicturesOfTheRawSums)
{
    filter.ResetAccumulator();
    Accumulate(filter, a, 0.5);
    Accumulate(filter, b, 2.0);
    const QImage first = Render(filter, PaletteRainbow);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.format(), QImage::Format_Indexed8);
    EXPECT_EQ(first.width(), kCols);
    EXPECT_EQ(first.height(), kRows);
    EXPECT_EQ(first.colorTable(), MakePalette64(PaletteRainbow));
    EXPECT_EQ(Pixels(first), ExpectedLevels({a, b}, {0.5, 2.0}));
    EXPECT_EQ(Render(filter, PaletteRainbow), first);

    Accumulate(filter, c, -1.5);
    EXPECT_EQ(Pixels(Render(filter, PaletteRainbow)), ExpectedLevels({a, b, c}, {0.5, 2.0, -1.5}));

    filter.ResetAccumulator();
    Accumulate(filter, c, 1.0);
    EXPECT_EQ(Pixels(Render(filter, PaletteGrey)), ExpectedLevels({c}, {1.0}));
}

// One pixel has no standard deviation: the fault ends at the checkpoint, never in NaN pixels.
TEST(Render, OneElementEndsAtTheCheckpoint)
{
    TBitmapFilter filter(1, 1);
    LoadMatrix(filter, {0.5});
    filter.ResetAccumulator();
    filter.Accumulate(1.0);
    ClearFpFaults();
    try {
        Render(filter, PaletteGrey);
        ADD_FAILURE() << "no fault reported";
    } catch (const TulvoError& e) {
        EXPECT_EQ(e.kind(), "EInvalidOp");
    }
}

} // namespace
