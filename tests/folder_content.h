#pragma once
// What a test finds in its folder: the names in it and a file's bytes.

#include "engine/parallel_rows.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

inline std::string FileContent(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Once the program's work in the background is done: replaced files go there.
inline std::set<std::string> NamesIn(const std::filesystem::path& folder)
{
    WaitForBackgroundWork();
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}
