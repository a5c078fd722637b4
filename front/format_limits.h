#pragma once
// What an output format can hold, for choosing a format before anything is written.

#include <cstdint>

// GIF stores each side in 16 bits.
inline bool GifCanHold(std::int64_t width, std::int64_t height)
{
    constexpr std::int64_t kGifMaxSide = 65535;
    return width <= kGifMaxSide && height <= kGifMaxSide;
}
