#include "engine/scales.h"

#include <gtest/gtest.h>

namespace {

struct GridCase {
    const char* what;
    std::vector<double> got;
    std::vector<double> want;
};

TEST(ScaleGrids, BoundsAndMiddleValues)
{
    const GridCase cases[] = {
        {"linear 100..1", LinearScales(100, 1, 3), {100, 50.5, 1}},
        {"log 100..1", LogScales(100, 1, 3), {100, 10, 1}},
        {"quadratic 100..1", QuadraticScales(100, 1, 3), {100, 30.25, 1}},
        {"quadratic 4..-4", QuadraticScales(4, -4, 3), {4, 0, -4}},
        {"quadratic 100..-100", QuadraticScales(100, -100, 3), {100, 0, -100}},
        {"quadratic 0..100", QuadraticScales(0, 100, 3), {0, 25, 100}},
        {"grid rounds log bounds up", ScaleGrid(ssLogarithmic, 99.2, 0.5, 3), {100, 10, 1}},
        {"grid keeps linear bounds", ScaleGrid(ssLinear, 3.5, 0.5, 2), {3.5, 0.5}},
        {"unknown kind is linear", ScaleGrid(7, 10, 0, 3), {10, 5, 0}},
    };
    for (const GridCase& c : cases) {
        ASSERT_EQ(c.got.size(), c.want.size()) << c.what;
        for (std::size_t i = 0; i < c.want.size(); ++i)
            EXPECT_NEAR(c.got[i], c.want[i], 1e-12 * std::max(1.0, std::abs(c.want[i])))
                << c.what << " value " << i;
    }
}

TEST(ScaleGrids, LinearValuesAccumulateByRepeatedAddition)
{
    // 0.1 added nine times is not 0.9 exactly; the grid must show the same rounding.
    const std::vector<double> g = LinearScales(0, 0.9, 10);
    double v = 0;
    for (int i = 0; i < 10; ++i, v += 0.1)
        EXPECT_EQ(g[i], v) << i;
}

TEST(ScaleGrids, DefaultOneDimensionalGridRunsFromMaxToMin)
{
    const std::vector<double> g = ScaleGrid(ssLogarithmic, 100, 1, 100);
    ASSERT_EQ(g.size(), 100u);
    EXPECT_DOUBLE_EQ(g.front(), 100);
    EXPECT_NEAR(g.back(), 1, 1e-13);
}

} // namespace
