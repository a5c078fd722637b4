#pragma once
// What the system says of this process.

#include <fstream>
#include <string>

// A line of /proc/self/status in KiB, e.g. "VmRSS:" or "VmHWM:" (the peak resident set).
inline long StatusKiB(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string word;
    long kib = -1;
    while (status >> word) {
        if (word == key) {
            status >> kib;
            break;
        }
    }
    return kib;
}
