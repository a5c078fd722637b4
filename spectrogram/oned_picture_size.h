#pragma once
// The size of a 1-D result picture, known from the table's shape before the run: one band
// of `steps` rows and a separator per series, the label strip, then the frame and legend
// that ComposeResult adds. Wide integers, since a caller checks it against limits.

#include <cstdint>

struct TOneDPictureSize {
    std::int64_t Width;
    std::int64_t Height;
};

inline TOneDPictureSize OneDPictureSize(std::int64_t series, std::int64_t samples,
                                        std::int64_t steps)
{
    return {samples + 30, series * (steps + 1) + 14 + 5};
}
