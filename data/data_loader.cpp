#include "data/data_loader.h"

#include "engine/memory_budget.h"

#include <new>

namespace {

void LoadTextTable(std::string_view text, const RegionalFormat& format, TDataTable& table,
                   const TLoadProgress& progress)
{
    const TTextHeader header = ReadTextHeader(text, format);
    for (const TColumnDefinition& column : header.Columns)
        table.AddColumn(column.Name, column.Kind);
    table.Open();
    ReadTextRows(text, header.HeaderLines, format, table, progress);
    table.SortAscending(table.ColumnName(0));
}

} // namespace

std::optional<GreyImage> LoadData(const TInput& input, const RegionalFormat& format,
                                  TDataTable& table, const TLoadProgress& progress)
{
    table.Close();
    try {
        if (std::optional<GreyImage> picture = ReadImageTable(input, table))
            return picture;
        LoadTextTable(input.Bytes, format, table, progress);
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        table.Close();
        throw EOutOfMemory("Not enough memory to load \"" + input.Name + "\"");
    } catch (...) {
        table.Close();
        throw;
    }
}

std::optional<GreyImage> LoadDataFile(const std::string& path, const RegionalFormat& format,
                                      TDataTable& table, const TLoadProgress& progress)
{
    table.Close();
    try {
        return LoadData(ReadInputFile(path), format, table, progress);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory("Not enough memory to load \"" + path + "\"");
    }
}
