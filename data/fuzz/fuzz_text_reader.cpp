// libFuzzer target for the text reader: any bytes either load into a consistent, sorted table
// or end in one TulvoError with the table closed.

#include "data/data_loader.h"
#include "data/number_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const RegionalFormat kFormats[] = {
    {',', doDayMonthYear, '.'}, {'.', doMonthDayYear, '/'}, {'.', doYearMonthDay, '-'}};

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

bool Before(const TDataTable& table, int a, int b)
{
    if (table.CellIsEmpty(a, 0) != table.CellIsEmpty(b, 0))
        return table.CellIsEmpty(a, 0);
    return !table.CellIsEmpty(a, 0) && table.CellAsNumber(a, 0) < table.CellAsNumber(b, 0);
}

void CheckLoadedTable(const TDataTable& table)
{
    Require(table.IsOpen() && table.ColumnCount() > 0, "an open table with columns");
    for (int r = 1; r <= table.RowCount(); ++r) {
        Require(r == 1 || !Before(table, r, r - 1), "rows ascending by the first column");
        for (int c = 0; c < table.ColumnCount(); ++c) {
            const double value = table.CellAsNumber(r, c);
            Require(std::isfinite(value), "finite cells");
            Require(!table.CellIsEmpty(r, c) || value == 0, "empty cells read as 0");
            Require(table.ColumnKind(c) != ckDate || value == std::floor(value), "whole days");
        }
    }
}

// Under a point separator from_chars reads the same grammar (and more): where both read a
// finite value they must agree bit for bit.
void CheckAgainstFromChars(std::string_view text, double number)
{
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    double expected = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), expected);
    if (error == std::errc())
        Require(end == text.data() + text.size() &&
                    std::memcmp(&number, &expected, sizeof number) == 0,
                "numbers as from_chars");
}

void CheckReaders(std::string_view text, const RegionalFormat& format)
{
    if (const auto number = ReadNumber(text, format)) {
        Require(std::isfinite(*number), "finite numbers");
        if (format.DecimalSeparator == '.')
            CheckAgainstFromChars(text, *number);
    }
    if (const auto days = ReadDate(text, format))
        Require(*days == std::floor(*days) && std::fabs(*days) < 4e6, "dates are whole days");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const RegionalFormat& format = kFormats[data[0] % 3];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (std::size_t begin = 0; begin <= text.size();) {
        const std::size_t end = std::min(text.find_first_of("\t\n", begin), text.size());
        CheckReaders(TrimField(text.substr(begin, end - begin)), format);
        begin = end + 1;
    }

    // Bytes in memory, as a file's are once read: no file, and the text branch only.
    const TInput input{"fuzz.txt", std::string(text), false};
    TDataTable table;
    try {
        LoadData(input, format, table, [](long long) {});
        CheckLoadedTable(table);
    } catch (const TulvoError&) {
        Require(!table.IsOpen() && table.ColumnCount() == 0, "a failed load leaves it closed");
    }
    return 0;
}
