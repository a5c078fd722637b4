#include "data/data_table.h"

#include "data/data_errors.h"
#include "engine/memory_budget.h"
#include "data/name_case.h"

#include <algorithm>
#include <climits>
#include <numeric>
#include <stdexcept>

namespace {

[[noreturn]] void ThrowFieldNotFound(const std::string& name)
{
    throw ETableError("Field '" + name + "' not found");
}

std::string StripBlanks(const std::string& name)
{
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

// Applies the row order `order` (new position -> old position) to one column's storage.
template <typename T>
void Permute(std::vector<T>& items, const std::vector<std::uint32_t>& order, std::vector<T>& scratch)
{
    scratch.resize(items.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        scratch[i] = items[order[i]];
    items.swap(scratch);
}

} // namespace

void TDataTable::AddColumn(const std::string& name, TColumnKind kind)
{
    if (open_)
        throw std::logic_error("columns are defined before the table opens");
    if (name.empty())
        throw ETableError("Field name missing");
    const auto [where, added] = positionByFoldedName_.emplace(FoldCase(name), ColumnCount());
    if (!added)
        throw ETableError("A component named " + name + " already exists");
    columns_.push_back({name, kind, {}, {}});
}

void TDataTable::Open() { open_ = true; }

void TDataTable::Close() { *this = TDataTable(); }

void TDataTable::ReserveRows(std::size_t rows)
{
    const std::size_t total = CheckedAdd(rowCount_, rows, "the table");
    if (total > static_cast<std::size_t>(INT_MAX))
        throw ETableError("The table cannot hold more than 2147483647 rows");
    RequireMemory(CheckedMul(rows, CheckedMul(columns_.size(), kTableCellBytes, "the table"),
                             "the table"),
                  "the table");
    for (TColumn& column : columns_) {
        column.Values.reserve(total);
        column.Empty.reserve(total);
    }
}

void TDataTable::AppendRow(std::span<const double> values, std::span<const std::uint8_t> isEmpty)
{
    if (!open_ || values.size() != columns_.size() || isEmpty.size() != columns_.size())
        throw std::logic_error("a row holds one cell per column of an open table");
    if (rowCount_ == static_cast<std::size_t>(INT_MAX))
        throw ETableError("The table cannot hold more than 2147483647 rows");
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        columns_[c].Values.push_back(isEmpty[c] ? 0.0 : values[c]);
        columns_[c].Empty.push_back(isEmpty[c] ? 1 : 0);
    }
    ++rowCount_;
}

int TDataTable::KeyColumn(const std::string& keyName) const
{
    // A key name lists fields separated by ';' and loses surrounding blanks when looked up,
    // so such a name can never find its own column.
    const std::string stripped = StripBlanks(keyName);
    if (keyName.find(';') != std::string::npos || stripped != keyName)
        ThrowFieldNotFound(stripped);
    const int column = FindColumn(keyName);
    if (column < 0)
        ThrowFieldNotFound(keyName);
    return column;
}

void TDataTable::SortAscending(const std::string& keyName)
{
    const TColumn& key = columns_[KeyColumn(keyName)];
    const auto before = [&key](std::uint32_t a, std::uint32_t b) {
        if (key.Empty[a] != key.Empty[b])
            return key.Empty[a] > key.Empty[b];
        return !key.Empty[a] && key.Values[a] < key.Values[b];
    };
    bool sorted = true;
    for (std::size_t i = 1; i < rowCount_ && sorted; ++i)
        sorted = !before(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i - 1));
    if (sorted)
        return;

    RequireMemory(CheckedMul(rowCount_, 2 * sizeof(std::uint32_t) + kTableCellBytes, "sorting"),
                  "sorting the table");
    std::vector<std::uint32_t> order(rowCount_);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), before);
    std::vector<double> valueScratch;
    std::vector<std::uint8_t> emptyScratch;
    for (TColumn& column : columns_) {
        Permute(column.Values, order, valueScratch);
        Permute(column.Empty, order, emptyScratch);
    }
}

const std::string& TDataTable::ColumnName(int column) const { return columns_.at(column).Name; }

TColumnKind TDataTable::ColumnKind(int column) const { return columns_.at(column).Kind; }

std::size_t TDataTable::CellIndex(int row, int column) const
{
    if (row < 1 || static_cast<std::size_t>(row) > rowCount_ || column < 0 ||
        column >= ColumnCount())
        throw std::out_of_range("cell outside the table");
    return static_cast<std::size_t>(row - 1);
}

double TDataTable::CellAsNumber(int row, int column) const
{
    const std::size_t index = CellIndex(row, column);
    return columns_[column].Values[index];
}

bool TDataTable::CellIsEmpty(int row, int column) const
{
    const std::size_t index = CellIndex(row, column);
    return columns_[column].Empty[index] != 0;
}

int TDataTable::FindColumn(const std::string& name) const
{
    const auto found = positionByFoldedName_.find(FoldCase(name));
    return found == positionByFoldedName_.end() ? -1 : found->second;
}

std::vector<double> TDataTable::ReadColumn(const std::string& name) const
{
    const int column = FindColumn(name);
    if (column < 0)
        ThrowFieldNotFound(name);
    return columns_[column].Values;
}
