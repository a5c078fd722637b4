#pragma once
// Large allocations (coefficient matrices, pictures, planes, tables) are checked against a
// budget first, so an impossible request ends with a message instead of a crash.

#include <cstddef>
#include <string>

// a * b, or EOutOfMemory naming `what` when the product does not fit in size_t.
std::size_t CheckedMul(std::size_t a, std::size_t b, const char* what);

// a + b, likewise.
std::size_t CheckedAdd(std::size_t a, std::size_t b, const char* what);

// The bytes a single request may take: three quarters of the memory available now, or the
// byte count in the environment variable TULVO_MEMORY_LIMIT when that is smaller.
std::size_t MemoryBudget();

// Throws EOutOfMemory when `bytes` exceeds MemoryBudget(); the message names `what` and gives
// the needed and available sizes.
void RequireMemory(std::size_t bytes, const char* what);

// "1.5 GiB", "12 KiB", "800 B": sizes as people read them in messages.
std::string FormatByteSize(std::size_t bytes);
