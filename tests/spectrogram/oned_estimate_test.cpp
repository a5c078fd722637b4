#include "engine/errors.h"
#include "engine/memory_budget.h"
#include "spectrogram/oned_command.h"
#include "spectrogram/oned_estimate.h"
#include "tests/memory_limit.h"
#include "tests/spectrogram/table_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST(OneDPictureSize, IsTheSizeOfThePictureTheRunComposes)
{
    for (const auto& [samples, series, steps] : {std::tuple{64, 1, 30}, std::tuple{37, 3, 45}}) {
        const TDataTable table = MakeTable(
            "N", ckNumber, Counting(samples),
            std::vector<std::vector<double>>(series, std::vector<double>(samples, 0.5)));
        TAnalysisParams p;
        p.Steps = steps;
        TFixedParameters params(p);
        TRecordingProgress progress;
        const std::optional<QImage> picture = DoTulvo1D(table, params, progress);
        ASSERT_TRUE(picture);
        const TPictureSize predicted = OneDPictureSize(table, steps);
        EXPECT_EQ(predicted.Width, std::size_t(picture->width()));
        EXPECT_EQ(predicted.Height, std::size_t(picture->height()));
    }
}

// A run whose matrices cannot fit is refused before its first step, with both sizes.
TEST(RequireOneDMemory, RefusesARunOverTheBudgetBeforeAnyWork)
{
    const TMemoryLimit limit(64u << 20);
    const int steps = 1000, samples = 10000;
    const TDataTable table = MakeTable("N", ckNumber, Counting(samples),
                                       {std::vector<double>(static_cast<std::size_t>(samples), 1)});
    ASSERT_GT(OneDRunBytes(table, steps), MemoryBudget());
    TAnalysisParams p;
    p.Steps = steps;
    TFixedParameters params(p);
    TRecordingProgress progress;
    try {
        DoTulvo1D(table, params, progress);
        ADD_FAILURE() << "the run was not refused";
    } catch (const EOutOfMemory& refused) {
        const std::string message = refused.what();
        EXPECT_EQ(message.rfind("Not enough memory for the 1-D run (1 series of " +
                                    std::to_string(samples) + " samples, 1000 scales): ", 0),
                  0u) << message;
        EXPECT_NE(message.find(" needed, "), std::string::npos) << message;
        EXPECT_NE(message.find(" available"), std::string::npos) << message;
    }
    EXPECT_TRUE(progress.Texts.empty());
}

} // namespace
