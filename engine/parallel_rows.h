#pragma once
// Splits independent rows of work between the machine's cores. Each share runs on its own
// thread with its own floating-point flags: they are cleared where the share starts and a
// fault raised in it is thrown here, as is any other failure of a share.

#include <cstddef>
#include <functional>

// Calls work(begin, end) for consecutive ranges covering 0..count - 1, at most one range per
// core and none shorter than `leastPerShare` (a thread costs more than that much work), in
// parallel; returns when all are done.
void ForEachRowRange(std::size_t count, std::size_t leastPerShare,
                     const std::function<void(std::size_t begin, std::size_t end)>& work);
