#include "imaging/output_formats.h"

#include "imaging/imagick.h"

#include <gtest/gtest.h>

namespace {

struct TFit {
    const char* Coder;
    std::size_t Width, Height;
    const char* Problem; // empty: the format holds it
};

TEST(OutputFormatProblem, NamesTheLimitAndTheFormatsThatHoldThePicture)
{
    const TFit cases[] = {
        {"GIF", 65535, 65535, ""},
        {"GIF", 65536, 1, "a GIF picture can be at most 65535 pixels wide and high, this one "
                          "is 65536 x 1; PNG or TIFF or BMP can hold it"},
        {"PNG", 1000000, 2, ""},
        {"PNG", 2, 1000001, "a PNG picture can be at most 1000000 pixels wide and high, this one "
                            "is 2 x 1000001; TIFF or BMP can hold it"},
        {"JPEG", 65500, 65500, ""},
        {"JPEG", 1, 65501, "a JPEG picture can be at most 65500 pixels wide and high, this one "
                           "is 1 x 65501; GIF or PNG or TIFF or BMP can hold it"},
        {"TIFF", 5000000, 1, ""},
        {"BMP", 100000, 40000, ""},
        {"BMP", 100000, 50000, "a BMP picture can be at most 2147483647 pixels wide and high and "
                               "hold at most 4 GiB, this one is 100000 x 50000; PNG can hold it"},
        {"TIFF", 2000000, 3000, "a TIFF picture can be at most 4294967295 pixels wide and high "
                                "and hold at most 4 GiB, this one is 2000000 x 3000; no picture "
                                "format can hold it"},
        {"XPM", 1, 1, "the program does not write XPM pictures"},
    };
    for (const TFit& c : cases)
        EXPECT_EQ(OutputFormatProblem(c.Coder, c.Width, c.Height), c.Problem) << c.Coder;
}

TEST(RequireOutputFormat, RefusesUnknownNamesAndPicturesTooLarge)
{
    EXPECT_NO_THROW(RequireOutputFormat("/x/p.Tiff", 70000, 70000 / 4));
    for (const char* name : {"/x/p.webp", "/x/p", "/x/p.gif.txt"}) {
        try {
            RequireOutputFormat(name, 1, 1);
            ADD_FAILURE() << name;
        } catch (const EImageError& e) {
            EXPECT_NE(std::string(e.what()).find(".gif, .png, .bmp"), std::string::npos);
        }
    }
    EXPECT_THROW(RequireOutputFormat("/x/p.gif", 70000, 1), EImageError);
}

} // namespace
