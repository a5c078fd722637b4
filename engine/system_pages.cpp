#include "engine/system_pages.h"

#include "engine/parallel_rows.h"

#include <algorithm>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

// A request covers this much: small enough to share out and to let other threads in between.
constexpr std::size_t kStepBytes = std::size_t{16} << 20;

#if defined(__linux__)
// The whole pages inside [data, data + bytes): page-aligned start and length, or length 0.
struct TPageRange {
    std::uintptr_t Begin;
    std::size_t Bytes;
};

TPageRange WholePages(void* data, std::size_t bytes)
{
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (first + page - 1) / page * page;
    const std::uintptr_t end = (first + bytes) / page * page;
    return {begin, end > begin ? static_cast<std::size_t>(end - begin) : 0};
}

void Advise(std::uintptr_t begin, std::size_t bytes, int advice)
{
    // A refusal (an older system) only means the pages come and go as usual.
    (void)madvise(reinterpret_cast<void*>(begin), bytes, advice);
}
#endif

} // namespace

void PrefaultPages(void* data, std::size_t bytes)
{
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    const TPageRange pages = WholePages(data, bytes);
    const std::size_t steps = (pages.Bytes + kStepBytes - 1) / kStepBytes;
    ForEachRowRange(steps, 1, [&](std::size_t first, std::size_t last) {
        const std::uintptr_t begin = pages.Begin + first * kStepBytes;
        const std::size_t length = std::min(pages.Bytes, last * kStepBytes) - first * kStepBytes;
        Advise(begin, length, MADV_POPULATE_WRITE);
    });
#else
    (void)data;
    (void)bytes;
#endif
}

void ReleasePagesInSteps(void* data, std::size_t bytes)
{
#if defined(__linux__)
    const TPageRange pages = WholePages(data, bytes);
    for (std::size_t done = 0; done < pages.Bytes; done += kStepBytes)
        Advise(pages.Begin + done, std::min(kStepBytes, pages.Bytes - done), MADV_DONTNEED);
#else
    (void)data;
    (void)bytes;
#endif
}
