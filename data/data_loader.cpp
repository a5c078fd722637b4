#include "data/data_loader.h"

#include "data/image_table.h"
#include "engine/memory_budget.h"

#include <filesystem>
#include <new>

namespace {

void LoadTextTable(const std::string& path, const RegionalFormat& format, TDataTable& table,
                   const TLoadProgress& progress)
{
    const TTextHeader header = ReadTextHeader(path, format);
    for (const TColumnDefinition& column : header.Columns)
        table.AddColumn(column.Name, column.Kind);
    table.Open();
    ReadTextRows(path, header.HeaderLines, format, table, progress);
    table.SortAscending(table.ColumnName(0));
}

} // namespace

std::string UpperExtension(const std::string& path)
{
    const std::string name = std::filesystem::path(path).filename().string();
    const std::size_t point = name.rfind('.');
    if (point == std::string::npos)
        return {};
    std::string extension = name.substr(point);
    for (char& c : extension) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return extension;
}

std::optional<GreyImage> LoadDataFile(const std::string& path, const RegionalFormat& format,
                                      TDataTable& table, const TLoadProgress& progress)
{
    table.Close();
    try {
        if (std::optional<GreyImage> picture = ReadImageTable(path, UpperExtension(path), table))
            return picture;
        LoadTextTable(path, format, table, progress);
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        table.Close();
        throw EOutOfMemory("Not enough memory to load \"" + path + "\"");
    } catch (...) {
        table.Close();
        throw;
    }
}
