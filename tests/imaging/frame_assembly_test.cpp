#include "imaging/imagick.h"

#include "tests/imaging/palette_bmp.h"
#include "tests/imaging/picture_readback.h"
#include "tests/temp_dir.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

constexpr int kFrames = 32;
constexpr int kWidth = 21;
constexpr int kHeight = 13;

// Frame k is told apart from every other by its shifted pattern.
std::vector<std::uint8_t> FrameIndices(int frame)
{
    std::vector<std::uint8_t> indices;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            indices.push_back(static_cast<std::uint8_t>((x + 3 * y + frame) % 66));
    return indices;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

std::string FileContent(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The frames are handed over in the reverse of their names' order, which must not matter.
std::vector<std::string> WriteFrameFiles(const TTempDir& folder)
{
    std::vector<std::string> files;
    for (int frame = 0; frame < kFrames; ++frame) {
        files.push_back(folder.File("frame" + std::to_string(100 - frame) + ".BMP"));
        WriteBytes(files.back(), EncodePaletteBmp(kWidth, kHeight, SpectrogramPalette(), FrameIndices(frame)));
    }
    return files;
}

struct TTiffPage {
    std::uint32_t Width = 0, Height = 0;
    std::uint16_t BitsPerSample = 0, Compression = 0, Photometric = 0;
};

std::vector<TTiffPage> TiffPages(const std::string& path)
{
    std::unique_ptr<TIFF, void (*)(TIFF*)> tiff(TIFFOpen(path.c_str(), "r"), &TIFFClose);
    std::vector<TTiffPage> pages;
    if (!tiff)
        return pages;
    do {
        TTiffPage page;
        TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &page.Width);
        TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &page.Height);
        TIFFGetField(tiff.get(), TIFFTAG_BITSPERSAMPLE, &page.BitsPerSample);
        TIFFGetField(tiff.get(), TIFFTAG_COMPRESSION, &page.Compression);
        TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &page.Photometric);
        pages.push_back(page);
    } while (TIFFReadDirectory(tiff.get()));
    return pages;
}

void ExpectFramesInOrder(const std::list<Magick::Image>& frames)
{
    ASSERT_EQ(frames.size(), std::size_t(kFrames));
    int frame = 0;
    for (const Magick::Image& image : frames) {
        EXPECT_TRUE(ColoursOf(image) == ColoursOf(SpectrogramPalette(), FrameIndices(frame)))
            << "frame " << frame;
        ++frame;
    }
}

TEST(AssembleFrames, WritesAnEndlessAnimationAndPalettePagesInTheGivenOrder)
{
    TTempDir folder;
    const std::string gif = folder.File("RESULT.GIF"), tiff = folder.File("RESULT.TIFF");
    std::ofstream(gif) << "the previous run";

    AssembleFrames(WriteFrameFiles(folder), gif, tiff);

    const std::list<Magick::Image> animation = ReadAllFrames(gif);
    ExpectFramesInOrder(animation);
    EXPECT_EQ(animation.front().animationIterations(), 0u);
    for (const Magick::Image& image : animation)
        EXPECT_EQ(image.animationDelay(), 20u);

    ExpectFramesInOrder(ReadAllFrames(tiff));
    const std::vector<TTiffPage> pages = TiffPages(tiff);
    ASSERT_EQ(pages.size(), std::size_t(kFrames));
    for (const TTiffPage& page : pages) {
        EXPECT_EQ(page.Width, unsigned(kWidth));
        EXPECT_EQ(page.Height, unsigned(kHeight));
        EXPECT_EQ(page.BitsPerSample, 8);
        EXPECT_EQ(page.Compression, COMPRESSION_LZW);
        EXPECT_EQ(page.Photometric, PHOTOMETRIC_PALETTE);
    }
}

// A frame that cannot be read stops the assembly before either result is touched.
TEST(AssembleFrames, BadFrameThrowsAndKeepsThePreviousResults)
{
    TTempDir folder;
    const std::string gif = folder.File("RESULT.GIF"), tiff = folder.File("RESULT.TIFF");
    std::vector<std::string> frames = WriteFrameFiles(folder);
    std::ofstream(gif) << "the previous gif";
    std::ofstream(tiff) << "the previous tiff";
    const std::string notABmp = folder.File("not-a-bmp.BMP");
    std::ofstream(notABmp) << "GIF89a and then nothing";

    for (const std::string& bad : {folder.File("missing.BMP"), notABmp}) {
        std::vector<std::string> withBadFrame = frames;
        withBadFrame.insert(withBadFrame.begin() + 5, bad);
        EXPECT_THROW(AssembleFrames(withBadFrame, gif, tiff), EImageError) << bad;
    }
    EXPECT_THROW(AssembleFrames({}, gif, tiff), EImageError);

    EXPECT_EQ(FileContent(gif), "the previous gif");
    EXPECT_EQ(FileContent(tiff), "the previous tiff");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), kFrames + 3);
}

// The checkpoint is asked before every frame of both results, and a stop it throws leaves
// both files as they were.
TEST(AssembleFrames, AsksTheCheckpointBeforeEveryFrameAndStopsWhenItThrows)
{
    TTempDir folder;
    const std::string gif = folder.File("RESULT.GIF"), tiff = folder.File("RESULT.TIFF");
    const std::vector<std::string> frames = WriteFrameFiles(folder);
    std::atomic<int> calls{0};
    AssembleFrames(frames, gif, tiff, [&] { ++calls; });
    EXPECT_EQ(calls, 2 * kFrames);

    std::ofstream(gif, std::ios::trunc) << "the previous gif";
    struct TStop {};
    std::atomic<int> before{0};
    EXPECT_THROW(AssembleFrames(frames, gif, tiff,
                                [&] {
                                    if (++before == 10)
                                        throw TStop();
                                }),
                 TStop);
    EXPECT_EQ(FileContent(gif), "the previous gif");
    ExpectFramesInOrder(ReadAllFrames(tiff));
}

} // namespace
