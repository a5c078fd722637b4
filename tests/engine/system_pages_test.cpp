#include "engine/system_pages.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

std::uint8_t Pattern(std::size_t i) { return static_cast<std::uint8_t>(i * 2654435761u >> 13); }

// Mapping the pages up front keeps what a block holds; giving pages back touches only the
// whole pages inside the range, never the bytes around it that share a page with it.
TEST(SystemPages, PrefaultKeepsTheContentAndReleaseStaysInsideItsRange)
{
    const std::size_t size = std::size_t{40} << 20;
    std::vector<std::uint8_t> block(size);
    for (std::size_t i = 0; i < size; ++i)
        block[i] = Pattern(i);

    PrefaultPages(block.data() + 3, size - 7);
    for (std::size_t i = 0; i < size; ++i)
        ASSERT_EQ(block[i], Pattern(i)) << "byte " << i << " changed";

    const std::size_t from = 1000, to = from + (std::size_t{33} << 20) + 123;
    ReleasePagesInSteps(block.data() + from, to - from);
    for (std::size_t i = 0; i < from; ++i)
        ASSERT_EQ(block[i], Pattern(i)) << "byte " << i << " before the range";
    for (std::size_t i = to; i < size; ++i)
        ASSERT_EQ(block[i], Pattern(i)) << "byte " << i << " after the range";
}

} // namespace
