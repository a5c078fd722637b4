#include "imaging/imagick.h"

#include "tests/imaging/palette_bmp.h"
#include "tests/imaging/picture_readback.h"
#include "tests/folder_content.h"
#include "tests/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

// An odd width, so the BMP rows carry padding, and every one of the 66 colours in use.
constexpr int kWidth = 67;
constexpr int kHeight = 5;

std::vector<std::uint8_t> SpectrogramIndices()
{
    std::vector<std::uint8_t> indices;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            indices.push_back(static_cast<std::uint8_t>((x + 7 * y) % 66));
    return indices;
}

std::vector<std::uint8_t> SpectrogramBmp()
{
    return EncodePaletteBmp(kWidth, kHeight, SpectrogramPalette(), SpectrogramIndices());
}

// One row wider than GIF's 16-bit sizes: written as GIF it would wrap to 4464 pixels.
std::vector<std::uint8_t> TooWideForGifBmp()
{
    const int width = 70000;
    return EncodePaletteBmp(width, 1, SpectrogramPalette(),
                            std::vector<std::uint8_t>(static_cast<std::size_t>(width), 3));
}

// One colour, `width` x `height`: the sizes at the formats' limits.
std::vector<std::uint8_t> PlainBmp(int width, int height)
{
    return EncodePaletteBmp(width, height, SpectrogramPalette(),
                            std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, 3));
}

std::vector<std::uint8_t> FirstBytes(std::vector<std::uint8_t> bytes, std::size_t count)
{
    bytes.resize(count);
    return bytes;
}

class WriteBmpAsFormat : public testing::TestWithParam<const char*> {};

TEST_P(WriteBmpAsFormat, ReplacesTheTargetWithTheExactPicture)
{
    TTempDir folder;
    const std::string target = folder.File(std::string("result.") + GetParam());
    std::ofstream(target) << "an older file";

    WriteBmpAs(SpectrogramBmp(), target);

    const std::list<Magick::Image> frames = ReadAllFrames(target);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames.front().columns(), unsigned(kWidth));
    EXPECT_EQ(frames.front().rows(), unsigned(kHeight));
    EXPECT_TRUE(ColoursOf(frames.front()) == ColoursOf(SpectrogramPalette(), SpectrogramIndices()));
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{std::filesystem::path(target).filename()});
}

INSTANTIATE_TEST_SUITE_P(LosslessFormats, WriteBmpAsFormat,
                         testing::Values("gif", "GIF", "png", "bmp", "tif"));

// Each case leaves an older target (when it can exist) byte for byte as it was.
struct TFailingWrite {
    const char* Name;
    std::vector<std::uint8_t> Bmp;
    const char* Target; // inside the test's folder
};

class WriteBmpAsFailure : public testing::TestWithParam<TFailingWrite> {};

TEST_P(WriteBmpAsFailure, ThrowsAndLeavesTheFolderAsItWas)
{
    TTempDir folder;
    std::filesystem::create_directory(folder.File("picture.gif")); // a folder where a file is wanted
    std::ofstream(folder.File("result.gif")) << "an older file";
    const std::set<std::string> before = NamesIn(folder.Path());

    EXPECT_THROW(WriteBmpAs(GetParam().Bmp, folder.File(GetParam().Target)), EImageError);

    EXPECT_EQ(NamesIn(folder.Path()), before);
    EXPECT_EQ(FileContent(folder.File("result.gif")), "an older file");
    EXPECT_TRUE(std::filesystem::is_empty(folder.File("picture.gif")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteBmpAsFailure,
    testing::Values(TFailingWrite{"NoBmp", {'G', 'I', 'F', '8', '9', 'a'}, "result.gif"},
                    TFailingWrite{"TruncatedBmp", FirstBytes(SpectrogramBmp(), 100), "result.gif"},
                    TFailingWrite{"UnknownExtension", SpectrogramBmp(), "result.gif.xyz"},
                    TFailingWrite{"TargetIsAFolder", SpectrogramBmp(), "picture.gif"},
                    TFailingWrite{"MissingFolder", SpectrogramBmp(), "missing/result.gif"},
                    TFailingWrite{"TooWideForGif", TooWideForGifBmp(), "result.gif"},
                    TFailingWrite{"TooTallForPng", PlainBmp(1, 1000001), "result.png"},
                    TFailingWrite{"TooWideForJpeg", PlainBmp(65501, 1), "result.jpg"}),
    [](const testing::TestParamInfo<TFailingWrite>& info) { return info.param.Name; });

// The largest pictures the formats hold are written; one pixel more is refused above.
TEST(WriteBmpAs, PicturesAtTheFormatsLimitsAreWritten)
{
    TTempDir folder;
    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
        {PlainBmp(1, 1000000), "tall.png"}, {PlainBmp(65500, 1), "wide.jpg"},
        {PlainBmp(65535, 1), "wide.gif"}, {PlainBmp(1, 1000001), "tall.tif"}};
    for (const auto& [bmp, name] : cases) {
        WriteBmpAs(bmp, folder.File(name));
        EXPECT_GT(std::filesystem::file_size(folder.File(name)), 0u) << name;
    }
}

// The replacement is the same file to its owner: its permission bits stay, and a symbolic
// link stays a link with the new picture in its target.
TEST(WriteBmpAs, ReplacementKeepsPermissionsAndLinks)
{
    namespace fs = std::filesystem;
    TTempDir folder;
    const std::string privateTarget = folder.File("private.gif");
    std::ofstream(privateTarget) << "an older file";
    fs::permissions(privateTarget, fs::perms::owner_read | fs::perms::owner_write);
    WriteBmpAs(SpectrogramBmp(), privateTarget);
    EXPECT_EQ(fs::status(privateTarget).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    fs::create_directory(folder.File("real"));
    const std::string real = folder.File("real/picture.png");
    std::ofstream(real) << "an older file";
    fs::create_symlink("real/picture.png", folder.File("link.png"));
    fs::create_symlink(folder.File("real/new.png"), folder.File("dangling.png"));
    WriteBmpAs(SpectrogramBmp(), folder.File("link.png"));
    WriteBmpAs(SpectrogramBmp(), folder.File("dangling.png"));
    EXPECT_TRUE(fs::is_symlink(folder.File("link.png")));
    EXPECT_TRUE(fs::is_symlink(folder.File("dangling.png")));
    EXPECT_EQ(ReadAllFrames(real).front().columns(), unsigned(kWidth));
    EXPECT_EQ(ReadAllFrames(folder.File("real/new.png")).front().columns(), unsigned(kWidth));
    EXPECT_EQ(NamesIn(folder.File("real")), (std::set<std::string>{"new.png", "picture.png"}));
}

TEST(WriteBmpAs, UnwritableFolderThrowsAndKeepsTheTarget)
{
    TTempDir folder;
    const std::string target = folder.File("result.gif");
    std::ofstream(target) << "an older file";
    std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_read |
                                                    std::filesystem::perms::owner_exec);
    if (std::ofstream(folder.File("probe")))
        GTEST_SKIP() << "folder permissions do not bind this user";

    EXPECT_THROW(WriteBmpAs(SpectrogramBmp(), target), EImageError);
    EXPECT_EQ(FileContent(target), "an older file");
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string>{"result.gif"});
}

} // namespace
