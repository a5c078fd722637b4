#include "spectrogram/oned_picture_size.h"

#include "spectrogram/oned_command.h"
#include "tests/spectrogram/table_fixture.h"

#include <gtest/gtest.h>

namespace {

// The size known before a run is the size the run composes.
TEST(OneDPictureSize, IsTheComposedPicturesSize)
{
    const std::pair<int, int> shapes[] = {{1, 40}, {3, 77}};
    for (const auto& [series, samples] : shapes) {
        const TDataTable table = MakeTable(
            "N", ckNumber, Counting(samples),
            std::vector<std::vector<double>>(series, std::vector<double>(samples, 1.0)));
        TAnalysisParams p;
        p.Steps = 31;
        TFixedParameters params(p);
        TRecordingProgress progress;
        const std::optional<QImage> picture = DoTulvo1D(table, params, progress);
        ASSERT_TRUE(picture.has_value());
        const TOneDPictureSize size = OneDPictureSize(series, samples, p.Steps);
        EXPECT_EQ(picture->width(), size.Width);
        EXPECT_EQ(picture->height(), size.Height);
    }
}

} // namespace
