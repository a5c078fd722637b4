#include "imaging/imagick.h"

#include "tests/fixtures/imaging/grey_pattern.h"
#include "tests/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

namespace {

const std::string kFixtures = std::string(TULVO_FIXTURES) + "/imaging/";

// What a caller of the table reader needs per pixel: one double.
constexpr std::size_t kTableBytesPerPixel = sizeof(double);

std::vector<std::uint8_t> Bytes(const std::string& content)
{
    return std::vector<std::uint8_t>(content.begin(), content.end());
}

std::vector<std::uint8_t> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::string(std::istreambuf_iterator<char>(file), {}));
}

std::optional<GreyImage> ReadGreyFile(const std::string& path, std::size_t bytesPerPixel)
{
    return ReadGreyImage(FileBytes(path), path, bytesPerPixel);
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
    const std::optional<GreyImage> grey = ReadGreyFile(kFixtures + name, kTableBytesPerPixel);
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
    const std::optional<GreyImage> grey = ReadGreyFile(kFixtures + "colour_3x2.png", 1);
    ASSERT_TRUE(grey);
    // red, green, blue; white, black, mid grey: 0.299 R + 0.587 G + 0.114 B
    const int expected[] = {76, 150, 29, 255, 0, 128};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(grey->Pixels[i], expected[i], 1) << "pixel " << i;
}

TEST(ReadGreyImage, TakesOnlyTheFirstFrameOfAnAnimation)
{
    const std::optional<GreyImage> grey = ReadGreyFile(kFixtures + "two_frames_3x2.gif", 1);
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

TEST_P(NotAnImage, IsNoImageAndIsNotInterpreted)
{
    TTempDir folder;
    std::string content = GetParam().Content;
    const std::string sideEffect = folder.File("written-by-script.png");
    const std::string marker = "SIDE_EFFECT";
    if (const auto at = content.find(marker); at != std::string::npos)
        content.replace(at, marker.size(), sideEffect);

    EXPECT_FALSE(ReadGreyImage(Bytes(content), "data.png", kTableBytesPerPixel));
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

// A picture's signature makes it a picture: one that does not decode is a damaged file of
// that format, not a text.
TEST(ReadGreyImage, DamagedPicturesNameTheirFormat)
{
    const std::vector<std::uint8_t> gif = FileBytes(kFixtures + "grey_40x30.gif");
    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
        {FileBytes(kFixtures + "truncated.png"), "damaged PNG file \"x\""},
        {std::vector<std::uint8_t>(gif.begin(), gif.begin() + 40), "damaged GIF file \"x\""},
        {Bytes("GIF89a"), "damaged GIF file \"x\""},
        {Bytes(std::string("\xFF\xD8\xFF\xE0", 4)), "damaged JPEG file \"x\""},
    };
    for (const auto& [bytes, message] : cases) {
        try {
            ReadGreyImage(bytes, "x", kTableBytesPerPixel);
            ADD_FAILURE() << message;
        } catch (const EImageError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
}

TEST(ReadGreyImage, RefusesAHeaderClaimingTooManyPixelsBeforeDecoding)
{
    // 100000 x 100000 pixels need 80 GB as a table of doubles alone.
    try {
        ReadGreyFile(kFixtures + "huge_header.png", kTableBytesPerPixel);
        FAIL() << "the picture was not refused";
    } catch (const EOutOfMemory& refused) {
        EXPECT_NE(std::string(refused.what()).find("image"), std::string::npos) << refused.what();
    }
}

} // namespace
