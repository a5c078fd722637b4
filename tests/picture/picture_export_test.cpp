#include "imaging/imagick.h"
#include "picture/indexed_picture.h"
#include "picture/palette.h"
#include "picture/picture_export.h"

#include "tests/folder_content.h"
#include "tests/full_disk.h"
#include "tests/temp_dir.h"

#include <QFile>
#include <filesystem>
#include <fstream>
#include <set>
#include <gtest/gtest.h>

namespace {

// A picture of levels in no order (which no compression shrinks much), with the 66-colour
// table.
QImage Levels(int width, int height)
{
    QImage picture = NewIndexedPicture(width, height, MakePalette66(PaletteRainbow), 0);
    unsigned state = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            picture.scanLine(y)[x] = static_cast<uchar>((state >> 16) % 66);
        }
    return picture;
}

// BMP and PNG are written straight into the new file: the file read back is the picture, and
// it replaces the old one.
TEST(ExportGraphic, BmpAndPngHoldThePictureAndReplaceTheOldFile)
{
    const TTempDir dir;
    const QImage picture = Levels(37, 11);
    for (const char* name : {"out.bmp", "out.png"}) {
        const std::string path = dir.File(name);
        std::ofstream(path) << "old";
        ExportGraphic(picture, path);
        QImage back(QString::fromStdString(path));
        ASSERT_FALSE(back.isNull()) << name;
        ASSERT_EQ(back.size(), picture.size()) << name;
        back = back.convertToFormat(QImage::Format_RGB32);
        const QImage want = picture.convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(back, want) << name;
    }
    EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"out.bmp", "out.png"}))
        << "no temporary file is left";
}

// Diagonal stripes: rows that repeat rows before them, so the compressed pieces refer back
// across their edges into the bytes they were primed with.
QImage Stripes(int width, int height)
{
    QImage picture = NewIndexedPicture(width, height, MakePalette66(PaletteRainbow), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.scanLine(y)[x] = static_cast<uchar>((x / 7 + y) % 66);
    return picture;
}

// The PNG of a palette picture is deflated in pieces of about 1 MB: read back, it is the
// picture with its colour table, whether it is one piece or many, its rows short or longer
// than a piece (1 000 000 x 3 is a piece a row), compressed at the default level or in the
// fast way of large pictures (runs of one byte only).
TEST(ExportGraphic, PngInPiecesIsThePicture)
{
    const TTempDir dir;
    const struct {
        int Width, Height;
        bool Striped;
    } cases[] = {{1, 1, true},       {3000, 900, true},  {1500, 1500, false},
                 {2100, 2000, true}, {1'000'000, 3, true}};
    for (const auto& c : cases) {
        const QImage picture = c.Striped ? Stripes(c.Width, c.Height) : Levels(c.Width, c.Height);
        const std::string path = dir.File("pieces.png");
        ExportGraphic(picture, path);
        const QImage back(QString::fromStdString(path));
        const std::string name = std::to_string(c.Width) + " x " + std::to_string(c.Height);
        ASSERT_EQ(back.format(), QImage::Format_Indexed8) << name;
        EXPECT_EQ(back.colorTable(), picture.colorTable()) << name;
        EXPECT_EQ(back.dotsPerMeterX(), picture.dotsPerMeterX()) << name;
        EXPECT_EQ(back, picture) << name;
    }
}

// A disk that fills up while the picture is written: the system's reason, the old file as it
// was, no partial file.
TEST(ExportGraphic, FullDiskSaysWhyAndKeepsTheOldFile)
{
    const TTempDir dir;
    const std::string folder = dir.File("small");
    std::filesystem::create_directory(folder);
    const TFullDisk disk(folder);
    if (!disk.Mounted())
        GTEST_SKIP() << "mounting a tmpfs needs root";
    for (const char* name : {"/out.bmp", "/out.png"}) {
        const std::string path = folder + name;
        std::ofstream(path) << "old";
        try {
            ExportGraphic(Levels(600, 400), path); // 240 KB of pixels, 64 KB of disk
            ADD_FAILURE() << name << ": the picture fitted";
        } catch (const EImageError& failure) {
            EXPECT_NE(std::string(failure.what()).find("No space left on device"),
                      std::string::npos)
                << failure.what();
        }
        EXPECT_TRUE(FileContent(path) == "old") << name << ": the old file changed";
        std::filesystem::remove(path);
        EXPECT_TRUE(std::filesystem::is_empty(folder)) << name;
    }
}

} // namespace
