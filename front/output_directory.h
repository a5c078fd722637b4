#pragma once
// Where the 2-D results go: the program's own directory when the user may write there (a
// program unpacked into a folder of one's own), otherwise the per-user application data
// folder (an installed program).

#include <string>

// The directory, created if needed, ending in a path separator, for a 2-D run: a stale
// "Result.Avi" there is deleted (never in a folder the user names). Needs a QCoreApplication.
std::string OutputDirectory();
