#pragma once
// What a test finds in its folder: the names in it and a file's bytes.

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

inline std::set<std::string> NamesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}
