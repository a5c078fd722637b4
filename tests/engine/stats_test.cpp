#include "engine/stats.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

void ExpectValues(const std::vector<double>& got, const std::vector<double>& want,
                  const char* what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-6) << what << " element " << i;
}

TEST(SeriesStats, OfOneToFour)
{
    std::vector<double> v = {1, 2, 3, 4};
    const TSeriesStats s = SeriesStats(v);
    EXPECT_EQ(s.Mean, 2.5L);
    EXPECT_NEAR(static_cast<double>(s.StdDev), 1.2909944487358056, 1e-15);
    EXPECT_EQ(s.MaxValue, 4.0L);
    EXPECT_EQ(s.MinValue, 1.0L);
}

struct NormCase {
    const char* what;
    void (*apply)(std::vector<double>&);
    std::vector<double> input;
    std::vector<double> want;
};

void Clip15(std::vector<double>& v) { ClipNormalize(v, 1.5L); }
void Clip35(std::vector<double>& v) { ClipNormalize(v, 3.5L); }
void MinMax(std::vector<double>& v) { NormalizeMinMax(v); }
void Log(std::vector<double>& v) { NormalizeLog(v); }
void StdDev(std::vector<double>& v) { NormalizeStdDev(v); }

TEST(Normalisations, QuotedResults)
{
    const double ln05 = std::log(0.5);
    const NormCase cases[] = {
        {"minmax", MinMax, {2, 4, 6}, {0, 0.5, 1}},
        {"minmax constant", MinMax, {7, 7, 7}, {0, 0, 0}},
        {"minmax single", MinMax, {3}, {0}},
        {"log: minimum and maximum both 0", Log, {2, 4, 6}, {0, ln05, 0}},
        {"stddev", StdDev, {1, 2, 3}, {0, 0.5, 1}},
        {"clip 1.5 cuts the outlier", Clip15, {0, 1, 2, 3, 100},
         {0, 0.011455, 0.022910, 0.034365, 1}},
        {"clip within the band equals minmax", Clip35, {2, 4, 6}, {0, 0.5, 1}},
        {"clip constant", Clip35, {5, 5, 5, 5}, {0, 0, 0, 0}},
    };
    for (const NormCase& c : cases) {
        std::vector<double> v = c.input;
        c.apply(v);
        ExpectValues(v, c.want, c.what);
    }
}

TEST(Normalisations, ClipLimitsOfTheQuotedExample)
{
    std::vector<double> v = {0, 1, 2, 3, 100};
    const TSeriesStats s = SeriesStats(v);
    EXPECT_NEAR(static_cast<double>(s.Mean), 21.2, 1e-12);
    EXPECT_NEAR(static_cast<double>(s.StdDev), 44.0647, 1e-4);
    ClipNormalize(v, 1.5L);
    // hi = Mean + 1.5 StdDev = 87.2971...: 1 / hi is the second value.
    EXPECT_NEAR(v[1], 1.0 / 87.29714, 1e-7);
    EXPECT_EQ(v[4], 1.0);
}

// The rules written out sequentially, element by element, in extended precision: large arrays
// are shared between the cores and must still give exactly these values.
struct TReference {
    static void MinMaxLike(std::vector<double>& v, bool log)
    {
        long double hi = -1.1e4932L, lo = 1.1e4932L;
        for (double x : v) {
            hi = std::fmax(hi, static_cast<long double>(x));
            lo = std::fmin(lo, static_cast<long double>(x));
        }
        long double r = hi - lo;
        if (std::fabs(r) < 1e-100L)
            r = 1e-100L;
        for (double& x : v) {
            const double u = static_cast<double>((x - lo) / r);
            x = !log ? u : u <= 1e-100 ? 0.0 : std::log(u);
        }
    }
    static void Clip(std::vector<double>& v, long double k)
    {
        long double sum = 0, hi = -1.1e4932L, lo = 1.1e4932L;
        for (double x : v) {
            sum += x;
            hi = std::fmax(hi, static_cast<long double>(x));
            lo = std::fmin(lo, static_cast<long double>(x));
        }
        const long double mean = sum / v.size();
        long double q = 0;
        for (double x : v)
            q += (mean - x) * (mean - x);
        const long double sd = std::sqrt(q / (v.size() - 1));
        const long double top = std::fmin(mean + k * sd, hi);
        const long double bottom = std::fmax(mean - k * sd, lo);
        const long double r = top - bottom;
        for (double& x : v) {
            x = static_cast<double>(std::fmin(static_cast<long double>(x), top));
            x = static_cast<double>(std::fmax(static_cast<long double>(x), bottom));
            x = static_cast<double>((x - bottom) / r);
        }
    }
};

TEST(Normalisations, LargeArraysGiveExactlyTheSequentialResult)
{
    std::vector<double> input(300001);
    std::mt19937_64 random(3);
    std::normal_distribution<double> noise(5, 2);
    for (double& x : input)
        x = noise(random);
    input[1234] = 80; // an outlier for the clipping

    std::vector<double> got = input, want = input;
    NormalizeMinMax(got);
    TReference::MinMaxLike(want, false);
    EXPECT_EQ(got, want) << "minmax";

    got = input, want = input;
    NormalizeLog(got);
    TReference::MinMaxLike(want, true);
    EXPECT_EQ(got, want) << "log";

    got = input, want = input;
    ClipNormalize(got, 3.5L);
    TReference::Clip(want, 3.5L);
    EXPECT_EQ(got, want) << "clip";
    EXPECT_EQ(got[1234], 1.0);
}

TEST(Normalisations, RealPartsOfAPlaneLeaveImaginaryPartsAlone)
{
    TComplex plane[3] = {{2, 9}, {4, 9}, {6, 9}};
    NormalizeMinMax(RealPartsOf(plane, 3));
    EXPECT_EQ(plane[0].Re, 0.0);
    EXPECT_EQ(plane[1].Re, 0.5);
    EXPECT_EQ(plane[2].Re, 1.0);
    for (const TComplex& z : plane)
        EXPECT_EQ(z.Im, 9.0);
}

// Short rows have their statistics gathered four at a time: each row's figures are the bits
// it gets alone, whatever the row count and length (tails of lanes and of rows included).
TEST(BlockStats, RowsTakenTogetherGiveEachRowsOwnFigures)
{
    std::mt19937_64 random(11);
    std::normal_distribution<double> noise(-3, 7);
    for (std::size_t rows : {1, 3, 4, 5, 9})
        for (std::size_t count : {1, 3, 4, 7, 101})
            for (bool moments : {false, true}) {
                std::vector<double> values(rows * count);
                for (double& x : values)
                    x = noise(random);
                std::vector<TBlockStats> together(rows);
                BlockStatsOfRows(values.data(), rows, count, moments, together.data());
                for (std::size_t r = 0; r < rows; ++r) {
                    const TBlockStats alone = BlockStatsOf(values.data() + r * count, count, moments);
                    const TBlockStats& got = together[r];
                    const std::string where = std::to_string(rows) + " rows of " +
                                              std::to_string(count) + ", row " +
                                              std::to_string(r) + (moments ? ", moments" : "");
                    EXPECT_EQ(got.Count, alone.Count) << where;
                    EXPECT_EQ(got.Min, alone.Min) << where;
                    EXPECT_EQ(got.Max, alone.Max) << where;
                    EXPECT_EQ(got.Mean, alone.Mean) << where;
                    EXPECT_EQ(got.M2, alone.M2) << where;
                }
            }
}

} // namespace
