#include "data/table_warnings.h"

#include "data/data_loader.h"
#include "tests/data/temp_file.h"

#include <gtest/gtest.h>

namespace {

TDataTable Loaded(const std::string& text)
{
    const TTempFile file(text);
    TDataTable table;
    LoadDataFile(file.Path(), RegionalFormat{}, table);
    return table;
}

struct TWarningCase {
    const char* Name;
    const char* Text;
    std::vector<std::pair<std::string, std::size_t>> Empty;
    bool Uneven;
    double Smallest, Largest;
    std::size_t Repeated;
};

class TableWarnings : public testing::TestWithParam<TWarningCase> {};

TEST_P(TableWarnings, AreFoundAfterALoad)
{
    const TWarningCase& c = GetParam();
    const TDataTable table = Loaded(c.Text);
    const TTableWarnings w = FindTableWarnings(table);
    std::vector<std::pair<std::string, std::size_t>> empty;
    for (const TEmptyCells& cells : w.EmptyCells)
        empty.emplace_back(cells.Column, cells.Count);
    EXPECT_EQ(empty, c.Empty);
    EXPECT_EQ(w.UnevenLabels, c.Uneven);
    if (c.Uneven) {
        EXPECT_DOUBLE_EQ(w.SmallestStep, c.Smallest);
        EXPECT_DOUBLE_EQ(w.LargestStep, c.Largest);
    }
    EXPECT_EQ(w.RepeatedLabels, c.Repeated);
    EXPECT_EQ(w.Any(), !c.Empty.empty() || c.Uneven || c.Repeated > 0);
    // The values the analyses read stay as they were: an empty cell is 0.
    if (!c.Empty.empty()) {
        EXPECT_EQ(table.ReadColumn(table.ColumnName(1)).size(),
                  static_cast<std::size_t>(table.RowCount()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TableWarnings,
    testing::Values(
        TWarningCase{"Clean", "N\tA\n1\t5\n2\t6\n3\t7\n", {}, false, 0, 0, 0},
        // Decimal steps that differ only in their last bits are even.
        TWarningCase{"DecimalSteps", "N\tA\n0.1\t1\n0.2\t2\n0.3\t3\n0.4\t4\n", {}, false, 0, 0, 0},
        TWarningCase{"EmptyCellsAndGaps",
                     "N\tA\tB\n1\t\t2\n2\t3\n5\t\t\n6\t1\t1\n",
                     {{"A", 2}, {"B", 2}}, true, 1, 3, 0},
        TWarningCase{"RepeatedLabels", "N\tA\n1\t1\n2\t2\n2\t3\n3\t4\n", {}, false, 0, 0, 1},
        // A row with no label sorts first; its label is counted empty, not as a step.
        TWarningCase{"EmptyLabel", "N\tA\n1\t1\n\t2\n2\t3\n", {{"N", 1}}, false, 0, 0, 0}),
    [](const testing::TestParamInfo<TWarningCase>& info) { return info.param.Name; });

TEST(TableWarningsOfAClosedTable, AreNone)
{
    EXPECT_FALSE(FindTableWarnings(TDataTable()).Any());
}

} // namespace
