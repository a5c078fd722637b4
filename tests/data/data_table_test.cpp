#include "data/data_table.h"

#include "data/data_errors.h"

#include <gtest/gtest.h>

#include <functional>

#include <vector>

namespace {

constexpr std::uint8_t E = 1; // an empty cell in the masks below

// A table of a label column and one series, opened with the given rows.
TDataTable LabelledTable(const std::vector<double>& labels, const std::vector<std::uint8_t>& empty)
{
    TDataTable table;
    table.AddColumn("Label", ckNumber);
    table.AddColumn("Series", ckNumber);
    table.Open();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const double row[] = {labels[i], static_cast<double>(i)};
        const std::uint8_t rowEmpty[] = {empty[i], 0};
        table.AppendRow(row, rowEmpty);
    }
    return table;
}

void ExpectError(const std::function<void()>& action, const std::string& message)
{
    try {
        action();
        ADD_FAILURE() << "no error, expected: " << message;
    } catch (const ETableError& error) {
        EXPECT_EQ(error.what(), message);
        EXPECT_EQ(error.kind(), "ETableError");
    }
}

TEST(DataTable, StartsClosedAndOffersNoRows)
{
    TDataTable table;
    EXPECT_FALSE(table.IsOpen());
    EXPECT_FALSE(table.IsEmpty());
    EXPECT_EQ(table.RowCount(), 0);
    table.AddColumn("A", ckDate);
    table.Open();
    EXPECT_TRUE(table.IsOpen());
    EXPECT_TRUE(table.IsEmpty());
    EXPECT_EQ(table.ColumnKind(0), ckDate);
    table.Close();
    EXPECT_FALSE(table.IsOpen());
    EXPECT_EQ(table.ColumnCount(), 0);
}

TEST(DataTable, NamesAreNonEmptyAndUniqueWhateverTheirCase)
{
    TDataTable table;
    table.AddColumn("Дата", ckDate);
    table.AddColumn("a", ckNumber);
    ExpectError([&] { table.AddColumn("A", ckNumber); }, "A component named A already exists");
    ExpectError([&] { table.AddColumn("ДАТА", ckNumber); },
                "A component named ДАТА already exists");
    ExpectError([&] { table.AddColumn("", ckNumber); }, "Field name missing");
    table.AddColumn("a ", ckNumber); // blanks are part of a name
    EXPECT_EQ(table.ColumnCount(), 3);
    EXPECT_EQ(table.FindColumn("дАТа"), 0);
    EXPECT_EQ(table.FindColumn("A"), 1);
}

TEST(DataTable, CellsAndColumnsReadEmptyAsZero)
{
    TDataTable table = LabelledTable({5, 7}, {0, E});
    EXPECT_EQ(table.CellAsNumber(1, 0), 5);
    EXPECT_EQ(table.CellAsNumber(2, 0), 0);
    EXPECT_TRUE(table.CellIsEmpty(2, 0));
    EXPECT_FALSE(table.CellIsEmpty(1, 0));
    EXPECT_EQ(table.ReadColumn("label"), (std::vector<double>{5, 0}));
    EXPECT_EQ(table.ReadColumn("SERIES"), (std::vector<double>{0, 1}));
    ExpectError([&] { table.ReadColumn("Nothing"); }, "Field 'Nothing' not found");
    EXPECT_THROW(table.CellAsNumber(0, 0), std::out_of_range);
    EXPECT_THROW(table.CellAsNumber(3, 0), std::out_of_range);
    EXPECT_THROW(table.CellIsEmpty(1, 2), std::out_of_range);
}

TEST(DataTable, SortsStablyWithEmptyLabelsFirst)
{
    TDataTable table = LabelledTable({3, 1, -2, 1, 0, 2, 0, -0.0}, {0, 0, 0, 0, E, 0, 0, 0});
    table.SortAscending("LABEL");
    // Series values are the original row numbers: they show where each row went.
    EXPECT_EQ(table.ReadColumn("Series"), (std::vector<double>{4, 2, 6, 7, 1, 3, 5, 0}));
    EXPECT_EQ(table.ReadColumn("Label"), (std::vector<double>{0, -2, 0, 0, 1, 1, 2, 3}));
    EXPECT_TRUE(table.CellIsEmpty(1, 0));
    EXPECT_FALSE(table.CellIsEmpty(3, 0));
}

TEST(DataTable, SortKeyNamesWithSemicolonsOrOuterBlanksAreNotFound)
{
    const struct {
        const char* Name;
        const char* Message;
    } cases[] = {
        {" Label", "Field 'Label' not found"},
        {"Label ", "Field 'Label' not found"},
        {"a;b", "Field 'a;b' not found"},
    };
    for (const auto& c : cases) {
        TDataTable table;
        table.AddColumn(c.Name, ckNumber);
        table.Open();
        ExpectError([&] { table.SortAscending(c.Name); }, c.Message);
    }
    TDataTable table = LabelledTable({1}, {0});
    ExpectError([&] { table.SortAscending("Other"); }, "Field 'Other' not found");
}

TEST(DataTable, RefusesRowsBeyondTheMemoryBudgetBeforeAllocating)
{
    TDataTable table;
    for (int c = 0; c < 1000; ++c)
        table.AddColumn("C" + std::to_string(c), ckNumber);
    table.Open();
    EXPECT_THROW(table.ReserveRows(std::size_t(1) << 30), EOutOfMemory); // 9 TiB
    EXPECT_THROW(table.ReserveRows(std::size_t(1) << 31), ETableError);  // more rows than int
    EXPECT_TRUE(table.IsEmpty());
}

} // namespace
