#pragma once
// Column names are compared without regard to letter case. Names are 8-bit text; in UTF-8
// the Latin, Greek and Cyrillic letters fold too, so "Дата" and "ДАТА" are the same name.

#include <string>
#include <string_view>

// `name` with its upper-case letters made lower-case (ASCII, and in UTF-8 the Latin-1,
// Latin Extended-A, Greek and Cyrillic capitals); every other byte unchanged.
std::string FoldCase(std::string_view name);
