#include "front/table_warning_texts.h"

#include <charconv>

namespace {

// Numbers for people, with a point whatever LC_NUMERIC a QCoreApplication chose.
std::string NumberText(double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string Cells(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " empty cell" : " empty cells");
}

} // namespace

std::vector<std::string> TableWarningLines(const TTableWarnings& warnings)
{
    std::vector<std::string> lines;
    for (const TEmptyCells& cells : warnings.EmptyCells)
        lines.push_back("column \"" + cells.Column + "\": " + Cells(cells.Count) +
                        ", read as 0");
    if (warnings.UnevenLabels)
        lines.push_back("labels unevenly spaced: steps from " +
                        NumberText(warnings.SmallestStep) + " to " +
                        NumberText(warnings.LargestStep) + (warnings.DateLabels ? " days" : ""));
    if (warnings.RepeatedLabels > 0)
        lines.push_back("labels repeated: " + std::to_string(warnings.RepeatedLabels) +
                        (warnings.RepeatedLabels == 1 ? " row has" : " rows have") +
                        " the label of the row before");
    return lines;
}

std::string TableWarningSummary(const TTableWarnings& warnings)
{
    std::string parts;
    const auto add = [&parts](const std::string& part) {
        parts += (parts.empty() ? "" : ", ") + part;
    };
    std::size_t empty = 0;
    for (const TEmptyCells& cells : warnings.EmptyCells)
        empty += cells.Count;
    if (empty > 0)
        add(Cells(empty) + " (read as 0)");
    if (warnings.UnevenLabels)
        add("uneven labels");
    if (warnings.RepeatedLabels > 0)
        add("repeated labels");
    return parts.empty() ? parts : "Warnings: " + parts;
}
