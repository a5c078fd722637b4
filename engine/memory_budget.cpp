#include "engine/memory_budget.h"

#include "engine/errors.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <unistd.h>

namespace {

[[noreturn]] void ThrowTooLarge(const char* what)
{
    throw EOutOfMemory(std::string("Not enough memory for ") + what +
                       ": the requested size cannot be represented");
}

std::size_t AvailableBytes()
{
    // MemAvailable counts reclaimable caches, unlike the free page count.
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    unsigned long long kib = 0;
    std::string unit;
    while (meminfo >> key >> kib >> unit) {
        if (key == "MemAvailable:")
            return static_cast<std::size_t>(kib) * 1024u;
    }
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        return static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize);
    return std::numeric_limits<std::size_t>::max();
}

// TULVO_MEMORY_LIMIT (bytes) caps the budget: on a shared machine, and for tests that must
// not depend on what other programs use at the moment.
std::size_t ConfiguredLimit()
{
    const char* text = std::getenv("TULVO_MEMORY_LIMIT");
    std::size_t limit = 0;
    if (!text || std::from_chars(text, text + std::strlen(text), limit).ec != std::errc())
        return std::numeric_limits<std::size_t>::max();
    return limit;
}

} // namespace

std::size_t CheckedMul(std::size_t a, std::size_t b, const char* what)
{
    std::size_t product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        ThrowTooLarge(what);
    return product;
}

std::size_t CheckedAdd(std::size_t a, std::size_t b, const char* what)
{
    std::size_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        ThrowTooLarge(what);
    return sum;
}

std::size_t MemoryBudget() { return std::min(AvailableBytes() / 4 * 3, ConfiguredLimit()); }

void RequireMemory(std::size_t bytes, const char* what)
{
    const std::size_t budget = MemoryBudget();
    if (bytes <= budget)
        return;
    throw EOutOfMemory(std::string("Not enough memory for ") + what + ": " +
                       FormatByteSize(bytes) + " needed, " + FormatByteSize(budget) +
                       " available");
}

std::string FormatByteSize(std::size_t bytes)
{
    static const char* const units[] = {"B", "KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024.0 && unit < 6) {
        value /= 1024.0;
        ++unit;
    }
    char text[32];
    if (unit == 0)
        std::snprintf(text, sizeof text, "%zu B", bytes);
    else
        std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}
