#include "imaging/imagick.h"

#include "tests/fixtures/imaging/grey_pattern.h"
#include "tests/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

namespace {

const std::string kFixtures = std::string(TULVO_FIXTURES) + "/imaging/";

// What a caller of the table reader needs per pixel: one double.
constexpr std::size_t kTableBytesPerPixel = sizeof(double);

void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

struct TFormatCase {
    const char* Extension;
    int Tolerance; // 0: lossless, every level exact
};

class GreyFixture : public testing::TestWithParam<std::tuple<TFormatCase, TFixtureSize>> {};

TEST_P(GreyFixture, DecodesToTheGreyLevelsWrittenTopRowFirst)
{
    const auto [format, size] = GetParam();
    const std::string name = "grey_" + std::to_string(size.Width) + "x" +
                             std::to_string(size.Height) + "." + format.Extension;
    const std::optional<GreyImage> grey = ReadGreyImage(kFixtures + name, kTableBytesPerPixel);
    ASSERT_TRUE(grey) << name;
    ASSERT_EQ(grey->Width, size.Width);
    ASSERT_EQ(grey->Height, size.Height);
    ASSERT_EQ(grey->Pixels.size(), std::size_t(size.Width) * size.Height);
    for (int y = 0; y < size.Height; ++y)
        for (int x = 0; x < size.Width; ++x)
            EXPECT_NEAR(grey->Pixels[std::size_t(y) * size.Width + x],
                        FixtureGrey(x, y, size.Width, size.Height), format.Tolerance)
                << name << " at " << x << "," << y;
}

std::string GreyFixtureName(const testing::TestParamInfo<GreyFixture::ParamType>& info)
{
    const TFormatCase format = std::get<0>(info.param);
    const TFixtureSize size = std::get<1>(info.param);
    return std::string(format.Extension) + "_" + std::to_string(size.Width) + "x" +
           std::to_string(size.Height);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, GreyFixture,
                         testing::Combine(testing::Values(TFormatCase{"bmp", 0},
                                                          TFormatCase{"png", 0},
                                                          TFormatCase{"gif", 0},
                                                          TFormatCase{"tif", 0},
                                                          TFormatCase{"jpg", 3}),
                                          testing::ValuesIn(kFixtureSizes)),
                         GreyFixtureName);

TEST(ReadGreyImage, WeighsTheColourChannelsLikeLuma)
{
    const std::optional<GreyImage> grey = ReadGreyImage(kFixtures + "colour_3x2.png", 1);
    ASSERT_TRUE(grey);
    // red, green, blue; white, black, mid grey: 0.299 R + 0.587 G + 0.114 B
    const int expected[] = {76, 150, 29, 255, 0, 128};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(grey->Pixels[i], expected[i], 1) << "pixel " << i;
}

TEST(ReadGreyImage, TakesOnlyTheFirstFrameOfAnAnimation)
{
    const std::optional<GreyImage> grey = ReadGreyImage(kFixtures + "two_frames_3x2.gif", 1);
    ASSERT_TRUE(grey);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(grey->Pixels[i], FixtureGrey(i % 3, i / 3, 3, 2)) << "pixel " << i;
}

// Contents that the library could interpret if it were allowed to guess the format.
struct TNotAnImage {
    const char* Name;
    std::string Content;
};

class NotAnImage : public testing::TestWithParam<TNotAnImage> {};

TEST_P(NotAnImage, UnderAPngNameIsNoImageAndIsNotInterpreted)
{
    TTempDir folder;
    std::string content = GetParam().Content;
    const std::string sideEffect = folder.File("written-by-script.png");
    const std::string marker = "SIDE_EFFECT";
    if (const auto at = content.find(marker); at != std::string::npos)
        content.replace(at, marker.size(), sideEffect);
    WriteFile(folder.File("data.png"), content);

    EXPECT_FALSE(ReadGreyImage(folder.File("data.png"), kTableBytesPerPixel));
    EXPECT_FALSE(std::filesystem::exists(sideEffect));
}

INSTANTIATE_TEST_SUITE_P(
    HostileOrBroken, NotAnImage,
    testing::Values(
        TNotAnImage{"Empty", ""},
        TNotAnImage{"Text", "1\t2\t3\n4\t5\t6\n"},
        TNotAnImage{"Svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\">"
                           "<rect width=\"10\" height=\"10\"/></svg>"},
        TNotAnImage{"Mvg", "viewbox 0 0 10 10\nfill black\nrectangle 0,0 10,10\n"},
        TNotAnImage{"Msl", "<?xml version=\"1.0\"?><image><read filename=\"xc:black\"/>"
                           "<write filename=\"SIDE_EFFECT\"/></image>"},
        TNotAnImage{"PostScript", "%!PS-Adobe-3.0\nnewpath 0 0 moveto 10 10 lineto stroke\n"},
        TNotAnImage{"UrlReference", "https://example.com/picture.png\n"},
        TNotAnImage{"FileList", "@/etc/passwd\n"},
        TNotAnImage{"BmpSignatureOnly", "BM this is text"}),
    [](const testing::TestParamInfo<TNotAnImage>& info) { return info.param.Name; });

TEST(ReadGreyImage, TruncatedPngIsNoImage)
{
    EXPECT_FALSE(ReadGreyImage(kFixtures + "truncated.png", kTableBytesPerPixel));
}

TEST(ReadGreyImage, MissingFileFolderOrDeviceIsNoImage)
{
    TTempDir folder;
    EXPECT_FALSE(ReadGreyImage(folder.File("missing.png"), kTableBytesPerPixel));
    EXPECT_FALSE(ReadGreyImage(folder.Path().string(), kTableBytesPerPixel));
    EXPECT_FALSE(ReadGreyImage("/dev/zero", kTableBytesPerPixel)); // endless, no size
}

TEST(ReadGreyImage, RefusesAHeaderClaimingTooManyPixelsBeforeDecoding)
{
    // 100000 x 100000 pixels need 80 GB as a table of doubles alone.
    try {
        ReadGreyImage(kFixtures + "huge_header.png", kTableBytesPerPixel);
        FAIL() << "the picture was not refused";
    } catch (const EOutOfMemory& refused) {
        EXPECT_NE(std::string(refused.what()).find("image"), std::string::npos) << refused.what();
    }
}

TEST(ReadGreyImage, FileOverTheSizeCapIsNoImage)
{
    TTempDir folder;
    const std::string path = folder.File("big.png");
    std::filesystem::copy_file(kFixtures + "grey_3x2.png", path);
    // Sparse: costs no disk, and the size alone must stop the reading.
    std::filesystem::resize_file(path, (std::uintmax_t(1) << 30) + 1);
    EXPECT_FALSE(ReadGreyImage(path, kTableBytesPerPixel));
}

// Names the library would resolve on its own ("png:" picks a coder, "[0]" a frame, "msl:"
// runs a script) are only names: none of these files exists, so there is no image.
TEST(ReadGreyImage, FileNameIsNeverInterpreted)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(kFixtures);
    for (const char* name : {"png:grey_3x2.png", "grey_3x2.png[0]", "msl:grey_3x2.png"})
        EXPECT_FALSE(ReadGreyImage(name, kTableBytesPerPixel)) << name;
    std::filesystem::current_path(previous);
}

} // namespace
