#include "data/text_reader.h"

#include "data/data_errors.h"
#include "data/line_source.h"
#include "data/number_reader.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr long long kProgressEvery = 100;

// Calls `visit(field)` for each TAB-separated field of `line`, in order; stops early and
// returns false when `visit` does.
template <typename Visit>
bool ForEachField(std::string_view line, Visit&& visit)
{
    for (;;) {
        const std::size_t length = line.find('\t');
        if (length == std::string_view::npos)
            return visit(line);
        if (!visit(line.substr(0, length)))
            return false;
        line.remove_prefix(length + 1);
    }
}

// Control characters (NUL, a CR inside the line, ...) make a name that no grid or message can
// show; such a header is taken for a damaged or binary file.
bool HoldsControlCharacter(std::string_view name)
{
    return std::any_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 32; });
}

// True when `text` is well-formed UTF-8 (shortest forms, no surrogates, at most U+10FFFF).
bool IsUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2
                                 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
        if (length == 0 || at + length > text.size())
            return false;
        unsigned code = length == 1 ? lead : lead & (0xFFu >> (length + 1));
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[at + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = code << 6 | (next & 0x3F);
        }
        static constexpr unsigned kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        at += length;
    }
    return true;
}

// Parses one data line into the row buffers; false when a field does not convert or lies
// beyond the last column.
bool ParseRow(std::string_view line, const std::vector<TColumnKind>& kinds,
              const RegionalFormat& format, std::vector<double>& values,
              std::vector<std::uint8_t>& isEmpty)
{
    std::size_t column = 0;
    const bool parsed = ForEachField(line, [&](std::string_view field) {
        if (column == kinds.size())
            return false;
        const std::string_view text = TrimField(field);
        isEmpty[column] = text.empty();
        if (!text.empty()) {
            const auto value = kinds[column] == ckDate ? ReadDate(text, format)
                                                       : ReadNumber(text, format);
            if (!value)
                return false;
            values[column] = *value;
        }
        ++column;
        return true;
    });
    std::fill(isEmpty.begin() + static_cast<std::ptrdiff_t>(column), isEmpty.end(), 1);
    return parsed;
}

void ReportQuietly(const TLoadProgress& progress, long long lineCounter) noexcept
{
    try {
        if (progress)
            progress(lineCounter);
    } catch (...) {
        // The load is failing already; its own error is the one to report.
    }
}

// The rows after the header, counted first, so the table is sized once and exactly within
// the memory budget.
void AppendRows(std::string_view text, int headerLines, const RegionalFormat& format,
                TDataTable& table, const TLoadProgress& progress, long long& lineCounter)
{
    TLineSource source(text);
    const long long rows = std::max(0LL, source.LineCount() - headerLines);
    table.ReserveRows(static_cast<std::size_t>(rows));

    std::vector<TColumnKind> kinds(static_cast<std::size_t>(table.ColumnCount()));
    for (int c = 0; c < table.ColumnCount(); ++c)
        kinds[c] = table.ColumnKind(c);
    std::vector<double> values(kinds.size());
    std::vector<std::uint8_t> isEmpty(kinds.size());

    std::string_view line;
    for (int skipped = 0; skipped < headerLines; ++skipped) {
        source.NextLine(line);
        ++lineCounter;
    }
    while (source.NextLine(line)) {
        ++lineCounter;
        if (!ParseRow(line, kinds, format, values, isEmpty))
            ThrowLineError(lineCounter);
        table.AppendRow(values, isEmpty);
        if (lineCounter % kProgressEvery == 0 && progress)
            progress(lineCounter);
    }
    if (source.TextAfterEndMarkLine() != 0)
        ThrowLineError(source.TextAfterEndMarkLine());
}

} // namespace

std::string NumberedColumnName(int position)
{
    char name[16];
    std::snprintf(name, sizeof name, "V%.4d", position);
    return name;
}

TTextHeader ReadTextHeader(std::string_view text, const RegionalFormat& format)
{
    std::string_view line;
    TLineSource source(text);
    if (!source.NextLine(line))
        line = {};

    TTextHeader header;
    ForEachField(line, [&](std::string_view field) {
        if (header.Columns.empty() && ReadNumber(TrimField(field), format))
            header.HeaderLines = 0;
        if (header.HeaderLines == 0) {
            header.Columns.push_back({NumberedColumnName(static_cast<int>(header.Columns.size())),
                                      ckNumber});
        } else {
            if (HoldsControlCharacter(field))
                ThrowLineError(1);
            if (!IsUtf8(field))
                ThrowLineError(1, "a column name that is no UTF-8 text");
            const bool isDate = field.find("DATE") != std::string_view::npos;
            header.Columns.push_back({std::string(field), isDate ? ckDate : ckNumber});
        }
        return true;
    });
    return header;
}

void ReadTextRows(std::string_view text, int headerLines, const RegionalFormat& format,
                  TDataTable& table, const TLoadProgress& progress)
{
    long long lineCounter = 0;
    try {
        AppendRows(text, headerLines, format, table, progress, lineCounter);
    } catch (...) {
        ReportQuietly(progress, lineCounter);
        throw;
    }
    if (progress)
        progress(lineCounter);
}
