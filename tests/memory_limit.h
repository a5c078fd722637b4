#pragma once
// Caps the memory budget for one test, so a refusal does not depend on what other programs
// on the machine use at the moment.

#include <cstdlib>
#include <string>

class TMemoryLimit {
public:
    explicit TMemoryLimit(std::size_t bytes)
    {
        setenv("TULVO_MEMORY_LIMIT", std::to_string(bytes).c_str(), 1);
    }
    ~TMemoryLimit() { unsetenv("TULVO_MEMORY_LIMIT"); }
    TMemoryLimit(const TMemoryLimit&) = delete;
    TMemoryLimit& operator=(const TMemoryLimit&) = delete;
};
