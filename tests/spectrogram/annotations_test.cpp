#include "spectrogram/annotations.h"
#include "picture/indexed_picture.h"
#include "spectrogram/indexed_drawing.h"
#include "spectrogram/sample_labels.h"
#include "tests/spectrogram/table_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// 2005-01-15 as a day count since 1899-12-30.
constexpr double kJan15of2005 = 38367;

TEST(SampleLabel, NumericLabelsEveryThirtiethSample)
{
    std::vector<double> labels = Counting(100);
    labels[30] = 12.6;
    labels[60] = -2.5;
    labels[90] = 1234567;
    const TDataTable table = MakeTable("N", ckNumber, labels, {std::vector<double>(100, 1)});
    const std::pair<int, const char*> cases[] = {
        {0, "1"}, {1, ""}, {29, ""}, {30, "13"}, {60, "-3"}, {90, "1.2346E+06"}, {99, ""},
    };
    for (const auto& [c, want] : cases)
        EXPECT_EQ(SampleLabel(table, labels[0], c), want) << "column " << c;
    EXPECT_EQ(NumericLabel(7), "7");
    EXPECT_EQ(NumericLabel(99999.4), "99999");
    EXPECT_EQ(NumericLabel(-0.4), "0");
}

TEST(SampleLabel, DatedLabelsMarkTheFirstOfEachMonth)
{
    const TDataTable table = MakeTable("DATE", ckDate, std::vector<double>(60, kJan15of2005),
                                       {std::vector<double>(60, 1)});
    for (int c = 0; c < 60; ++c) {
        const std::string want = c == 17 ? "05-02" : c == 45 ? "05-03" : "";
        EXPECT_EQ(SampleLabel(table, kJan15of2005, c), want) << "column " << c;
    }
    EXPECT_EQ(SampleLabel(table, kJan15of2005 + 17, 0), "05-02") << "first of a month at 0";
    const TCalendarDate d = DateOfDayCount(2);
    EXPECT_EQ(d.Year, 1900);
    EXPECT_EQ(d.Month, 1);
    EXPECT_EQ(d.Day, 1);
}

QImage Band(int width, int height, int index)
{
    return NewIndexedPicture(width, height, MakePalette66(PaletteRainbow), index);
}

TEST(DataCurve, OnePixelPerSampleBlackOrWhiteByTheLevelBelow)
{
    // Steps 30: the band is rows 0..29, base row 29.
    const std::vector<double> series = {1.0, 0.5, 0.0, 0.5, 0.5};
    QImage band = Band(5, 31, 40);
    band.scanLine(14)[3] = 7;           // a low level turns white
    band.scanLine(14)[4] = kWhiteIndex; // white turns black
    DrawDataCurve(TIndexedCanvas(band), 29, 30, series);
    EXPECT_EQ(band.pixelIndex(0, 0), kBlackIndex) << "1 lands in the top row";
    EXPECT_EQ(band.pixelIndex(1, 14), kBlackIndex) << "0.5 lands 14 rows above base - 1";
    EXPECT_EQ(band.pixelIndex(2, 28), kBlackIndex) << "0 lands in the second-lowest row";
    EXPECT_EQ(band.pixelIndex(3, 14), kWhiteIndex);
    EXPECT_EQ(band.pixelIndex(4, 14), kBlackIndex);
    int changed = 0;
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 5; ++x)
            changed += band.pixelIndex(x, y) != 40;
    EXPECT_EQ(changed, 5) << "one pixel per column, the band's bottom row untouched";
}

TEST(DataCurve, HalvesRoundToEven)
{
    // (Steps - 2) * v = 2.5 rounds to 2, 3.5 to 4.
    QImage band = Band(2, 10, 40);
    DrawDataCurve(TIndexedCanvas(band), 9, 6, {0.625, 0.875});
    EXPECT_EQ(band.pixelIndex(0, 6), kBlackIndex);
    EXPECT_EQ(band.pixelIndex(1, 4), kBlackIndex);
}

TEST(SampleLabelDrawing, TextBelowAndGridLineThroughTheBands)
{
    const TDataTable table = MakeTable("N", ckNumber, Counting(100), {std::vector<double>(100)});
    QImage picture = Band(100, 50, 20);
    const TSampleMarks marks = SampleMarks(table, 1, 100);
    EXPECT_EQ(marks.Columns, (std::vector<int>{0, 30, 60, 90}));
    DrawSampleLabels(TIndexedCanvas(picture), marks, 35);
    DrawGridLines(TIndexedCanvas(picture), marks, 0, 35);
    for (int x : {0, 30, 60, 90})
        for (int y = 0; y < 35; ++y)
            ASSERT_EQ(picture.pixelIndex(x, y), kBlackIndex) << "grid line x=" << x << " y=" << y;
    EXPECT_EQ(picture.pixelIndex(0, 35), 20) << "the line stops above the label row";
    EXPECT_EQ(picture.pixelIndex(15, 10), 20) << "no line between labels";
    int inked = 0;
    for (int y = 35; y < 50; ++y)
        for (int x = 31; x < 45; ++x)
            inked += picture.pixelIndex(x, y) == kBlackIndex;
    EXPECT_GT(inked, 3) << "the text of label 31 is drawn";
}

// A writer keeps its scratch picture from caption to caption: a short caption after a long
// one must come out as it does from a new writer.
TEST(CaptionWriter, EachCaptionAsFromANewWriter)
{
    const QString captions[] = {QStringLiteral("1.2346E+06"), QStringLiteral("7"),
                                QStringLiteral("Wg")};
    QImage reused = Band(120, 40, 20), fresh = Band(120, 40, 20);
    TCaptionWriter writer(AnnotationFont(8, true), kBlackIndex, kWhiteIndex);
    for (int i = 0; i < 3; ++i) {
        writer.Write(TIndexedCanvas(reused), 5 + 40 * i, 3 + 10 * i, captions[i]);
        TCaptionWriter once(AnnotationFont(8, true), kBlackIndex, kWhiteIndex);
        once.Write(TIndexedCanvas(fresh), 5 + 40 * i, 3 + 10 * i, captions[i]);
    }
    EXPECT_EQ(reused, fresh);
    int inked = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            inked += reused.pixelIndex(x, y) == kBlackIndex;
    EXPECT_GT(inked, 20);
}

TEST(FramedPicture, FrameLegendAndCutOffRows)
{
    // One series of 512 samples with 100 scales: a 512 x 115 spectrogram.
    const TPalette64 palette = QuantisedPalette(2, 5);
    QImage result = NewFramedPicture(512, 115, palette);
    ASSERT_EQ(result.size(), QSize(542, 120));
    EXPECT_EQ(result.colorCount(), 66);
    const TIndexedCanvas spectrogram = SpectrogramCanvas(result);
    ASSERT_EQ(spectrogram.Width(), 512);
    ASSERT_EQ(spectrogram.Height(), 110) << "its last five rows fall outside";
    for (int y = 0; y < 110; ++y)
        std::memset(spectrogram.Row(y), 30, 512);
    EXPECT_EQ(result.pixelIndex(25, 10), 30) << "spectrogram at (25, 10)";
    EXPECT_EQ(result.pixelIndex(536, 119), 30) << "its row 109 is the last one shown";
    EXPECT_EQ(result.pixelIndex(24, 50), kWhiteIndex);
    EXPECT_EQ(result.pixelIndex(537, 50), kWhiteIndex);
    EXPECT_EQ(result.pixelIndex(100, 9), kWhiteIndex);
    EXPECT_EQ(result.pixelIndex(5, 10), 63) << "legend top: highest level";
    EXPECT_EQ(result.pixelIndex(19, 109), 0) << "legend bottom: lowest level";
    EXPECT_EQ(result.pixelIndex(4, 50), kWhiteIndex);
    EXPECT_EQ(result.pixelIndex(20, 50), kWhiteIndex);
    EXPECT_EQ(result.pixelIndex(10, 9), kWhiteIndex);
    EXPECT_EQ(result.pixelIndex(10, 110), kWhiteIndex);
}

TEST(FramedPicture, TallPicturesGetA246RowLegend)
{
    const QImage result = NewFramedPicture(10, 400, PaletteRainbow);
    ASSERT_EQ(result.height(), 405);
    EXPECT_EQ(result.pixelIndex(10, 405 - 256 - 1), kWhiteIndex);
    EXPECT_EQ(result.pixelIndex(10, 405 - 256), 63);
    EXPECT_EQ(result.pixelIndex(10, 394), 0);
    EXPECT_EQ(result.pixelIndex(10, 395), kWhiteIndex);
}

TEST(IndexedCanvas, ClipsToItsPicture)
{
    QImage picture = Band(20, 10, 1);
    const TIndexedCanvas canvas(picture, 15, 8, 10, 10);
    EXPECT_EQ(canvas.Width(), 5);
    EXPECT_EQ(canvas.Height(), 2);
    DrawDataCurve(canvas, 1, 30, std::vector<double>(20, 0.0));
    EXPECT_EQ(picture.pixelIndex(15, 8), kWhiteIndex) << "(0, 0) is the picture's (15, 8)";
    EXPECT_EQ(picture.pixelIndex(19, 8), kWhiteIndex);
    EXPECT_EQ(picture.pixelIndex(14, 8), 1) << "nothing left of the canvas";
    EXPECT_EQ(TIndexedCanvas(picture, 20, 0, 5, 5).Width(), 0);
}

} // namespace
