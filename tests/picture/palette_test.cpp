#include "picture/palette.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

struct Row {
    int entry;
    TRgb colour;
};

void ExpectRows(const TPalette64& table, std::initializer_list<Row> rows, const char* name)
{
    for (const Row& r : rows) {
        const TRgb c = table[r.entry];
        EXPECT_EQ(c, r.colour) << name << " entry " << r.entry << " is (" << int(c.R) << ", "
                               << int(c.G) << ", " << int(c.B) << ")";
    }
}

TEST(PaletteTables, CheckRows)
{
    ExpectRows(PaletteRainbow,
               {{0, {0, 0, 143}}, {7, {0, 0, 255}}, {23, {0, 255, 255}}, {24, {15, 255, 255}},
                {39, {255, 255, 15}}, {40, {255, 255, 0}}, {55, {255, 15, 0}},
                {56, {255, 0, 0}}, {63, {143, 0, 0}}},
               "rainbow");
    ExpectRows(PaletteHue,
               {{0, {255, 0, 0}}, {1, {255, 24, 0}}, {10, {255, 239, 0}}, {11, {247, 255, 0}},
                {16, {128, 255, 0}}, {21, {8, 255, 0}}, {22, {0, 255, 16}},
                {32, {0, 255, 255}}, {43, {8, 0, 255}}, {48, {128, 0, 255}},
                {53, {247, 0, 255}}, {54, {255, 0, 239}}, {63, {255, 0, 24}}},
               "hue");
    ExpectRows(PaletteGrey,
               {{0, {0, 0, 0}}, {1, {4, 4, 4}}, {10, {40, 40, 40}}, {11, {45, 45, 45}},
                {32, {130, 130, 130}}, {53, {215, 215, 215}}, {63, {255, 255, 255}}},
               "grey");
}

TEST(ColorIndex, BinsRoundHalvesToEven)
{
    const std::pair<double, int> cases[] = {
        {0, 0},         {1.0 / 64, 0},   {1.5 / 64, 1}, {2.5 / 64, 1},  {0.5, 31},
        {62.5 / 64, 61}, {63.5 / 64, 63}, {1, 63},       {2, 63},       {-0.3, 0},
        {3.5 / 64, 3},  {63.4 / 64, 62},
    };
    for (const auto& [x, want] : cases)
        EXPECT_EQ(ColorIndex(x), want) << "x * 64 = " << x * 64;
}

// The reference rule written plainly: x * 64 rounded half to even by the FPU, minus 1,
// clamped. Checked at every bin edge and one ulp either side, and at random values.
TEST(ColorIndex, AgreesWithThePlainRuleEverywhere)
{
    auto reference = [](double x) {
        const long double k = std::nearbyint(static_cast<long double>(x) * 64) - 1;
        return !(k > 0) ? 0 : k > 63 ? 63 : static_cast<int>(k);
    };
    std::vector<double> xs = {-1e300, -0.0, 0.0, 1e-320, 1, 1.5, 1e300,
                              std::numeric_limits<double>::infinity(),
                              std::numeric_limits<double>::quiet_NaN()};
    for (int half = -2; half <= 140; ++half) {
        const double edge = half / 128.0;
        xs.insert(xs.end(), {std::nextafter(edge, -1.0), edge, std::nextafter(edge, 2.0)});
    }
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(-0.1, 1.1);
    for (int i = 0; i < 100000; ++i)
        xs.push_back(unit(random));
    for (double x : xs)
        ASSERT_EQ(ColorIndex(x), reference(x)) << "x = " << x;
    // The row form, in pairs and with an odd remainder, gives the same levels.
    xs.push_back(0.75);
    std::vector<std::uint8_t> levels(xs.size());
    ColorIndices(xs.data(), xs.size(), levels.data());
    for (std::size_t i = 0; i < xs.size(); ++i)
        ASSERT_EQ(levels[i], reference(xs[i])) << "row form, x = " << xs[i];
}

TEST(QuantisedPalette, RunsTakeTheColourOfTheirFirstEntry)
{
    const TPalette64 four = QuantisedPalette(0, 0);
    const TRgb expected[4] = {{0, 0, 143}, {0, 143, 255}, {143, 255, 127}, {255, 127, 0}};
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(four[i], expected[i / 16]) << "entry " << i;

    EXPECT_EQ(QuantisedPalette(1, 3), QuantisedPalette(1, 4)) << "24 colours give 32";
    EXPECT_EQ(QuantisedPalette(2, 5), PaletteGrey);
    EXPECT_EQ(QuantisedPalette(-1, -1), PaletteRainbow) << "no selection: rainbow, 64";
    EXPECT_EQ(QuantisedPalette(1, 1)[15], PaletteHue[8]);
}

TEST(PaletteColourTables, SixtySixEntriesEndInBlackAndWhite)
{
    const QList<QRgb> t64 = MakePalette64(PaletteRainbow);
    ASSERT_EQ(t64.size(), 64);
    EXPECT_EQ(t64[63], qRgb(143, 0, 0));
    const QList<QRgb> t66 = MakePalette66(PaletteGrey);
    ASSERT_EQ(t66.size(), 66);
    EXPECT_EQ(t66[0], t66[64]);
    EXPECT_EQ(t66[63], t66[65]);
    EXPECT_EQ(t66[65], qRgb(255, 255, 255));
}

TEST(LegendBitmap, HighestLevelOnTop)
{
    const QImage legend = MakeLegendBitmap(QuantisedPalette(2, 5));
    ASSERT_EQ(legend.size(), QSize(4, 256));
    EXPECT_EQ(legend.format(), QImage::Format_RGB888);
    EXPECT_EQ(legend.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(legend.pixel(3, 3), qRgb(255, 255, 255));
    EXPECT_EQ(legend.pixel(2, 4), qRgb(PaletteGrey[62].R, PaletteGrey[62].G, PaletteGrey[62].B));
    EXPECT_EQ(legend.pixel(0, 255), qRgb(0, 0, 0));
}

} // namespace
