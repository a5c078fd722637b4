#include "data/data_loader.h"
#include "data/image_table.h"
#include "tests/data/table_dump.h"
#include "tests/data/temp_file.h"
#include "tests/data/tiny_images.h"

#include "engine/memory_budget.h"

#include <gtest/gtest.h>

namespace {

const RegionalFormat kEnglish{'.', doMonthDayYear, '/'};

// The top row starts with the largest value: sorting would move it.
const TGreyPicture kThreeByTwo{3, 2, {200, 1, 2, 10, 20, 255}};

class ImageTable : public testing::Test {
protected:
    static void SetUpTestSuite() { static ImagickSession session; }
};

TEST(ImageExtensions, AreTheSevenImageTypesComparedInUpperCase)
{
    const struct {
        const char* Path;
        const char* Extension;
        bool Image;
    } cases[] = {
        {"photo.jpg", ".JPG", true},     {"scan.Tiff", ".TIFF", true},
        {"a.tif", ".TIF", true},         {"b.jpeg", ".JPEG", true},
        {"c.PNG", ".PNG", true},         {"d.gif", ".GIF", true},
        {"e.bmp", ".BMP", true},         {"data.dat", ".DAT", false},
        {"data.txt", ".TXT", false},     {"x.png.txt", ".TXT", false},
        {"dir.png/noext", "", false},    {".bmp", ".BMP", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpperExtension(c.Path), c.Extension) << c.Path;
        EXPECT_EQ(IsImageExtension(UpperExtension(c.Path)), c.Image) << c.Path;
    }
}

TEST_F(ImageTable, ImagesBecomeUnsortedTablesOfGreyLevels)
{
    for (const auto& [extension, bytes] : {std::pair{".bmp", BmpBytes(kThreeByTwo)},
                                           std::pair{".PNG", PngBytes(kThreeByTwo)}}) {
        SCOPED_TRACE(extension);
        const TTempFile file(bytes, extension);
        TDataTable table;
        const std::optional<GreyImage> picture = LoadDataFile(file.Path(), kEnglish, table);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Width, 3);
        EXPECT_EQ(picture->Height, 2);
        EXPECT_EQ(picture->Pixels, kThreeByTwo.Levels);
        EXPECT_EQ(DumpNames(table), "V0000|V0001|V0002");
        EXPECT_EQ(DumpRows(table), "200 1 2|10 20 255");
        EXPECT_EQ(table.ColumnKind(2), ckNumber);
    }
}

TEST_F(ImageTable, AWiderPictureKeepsEveryPixelInPlace)
{
    TGreyPicture picture{301, 7, {}};
    for (std::uint32_t i = 0; i < picture.Width * picture.Height; ++i)
        picture.Levels.push_back(static_cast<std::uint8_t>(i * 7 % 256));
    const TTempFile file(BmpBytes(picture), ".bmp");
    TDataTable table;
    ASSERT_TRUE(LoadDataFile(file.Path(), kEnglish, table));
    ASSERT_EQ(table.ColumnCount(), 301);
    EXPECT_EQ(table.ColumnName(300), "V0300");
    ASSERT_EQ(table.RowCount(), 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 301; ++x)
            ASSERT_EQ(table.CellAsNumber(y + 1, x), picture.Levels[y * 301 + x]) << x << "," << y;
}

TEST_F(ImageTable, FilesThatAreNoImagesAreReadAsText)
{
    const TTempFile text("5\t1\n2\t2\n9\t3\n", ".png");
    TDataTable table;
    EXPECT_FALSE(LoadDataFile(text.Path(), kEnglish, table));
    EXPECT_EQ(DumpRows(table), "2 2|5 1|9 3");

    const TTempFile svg("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"9\" height=\"9\"/>\n",
                        ".png");
    EXPECT_FALSE(LoadDataFile(svg.Path(), kEnglish, table));
    EXPECT_TRUE(table.IsEmpty());

    // An image under a text name stays text: its bytes then stop the load.
    const TTempFile bmpAsText(BmpBytes(kThreeByTwo), ".txt");
    EXPECT_THROW(LoadDataFile(bmpAsText.Path(), kEnglish, table), TulvoError);
    EXPECT_FALSE(table.IsOpen());
}

TEST_F(ImageTable, BrokenOrHugeImagesFailWithAClearError)
{
    const std::string png = PngBytes(kThreeByTwo);
    const TTempFile truncated(png.substr(0, png.size() - 20), ".png");
    TDataTable table;
    try {
        LoadDataFile(truncated.Path(), kEnglish, table);
        ADD_FAILURE() << "a truncated PNG loaded";
    } catch (const EImageError& error) {
        EXPECT_EQ(std::string(error.what()), "damaged PNG file \"" + truncated.Path() +
                                                 "\": it starts as one but does not decode");
    }
    EXPECT_FALSE(table.IsOpen());

    const TTempFile huge(PngBytes({100000, 100000, {}}, false), ".png");
    EXPECT_THROW(LoadDataFile(huge.Path(), kEnglish, table), EOutOfMemory);
    EXPECT_FALSE(table.IsOpen());
}

} // namespace
