#pragma once
// A rectangle of an 8-bit palette picture that is drawn on in its own coordinates: (0, 0) is
// the picture's pixel (left, top). It does not own the pixels; the picture must outlive it
// and must not be copied-on-write meanwhile (bits() is taken once, when it is made). Rows
// can be written from several threads at once, each thread its own rows.

#include <QImage>

#include <algorithm>
#include <cstddef>
#include <cstdint>

class TIndexedCanvas {
public:
    TIndexedCanvas() = default;

    // The part of `picture` from (left, top), at most width x height, clipped to the picture.
    TIndexedCanvas(QImage& picture, int left, int top, int width, int height)
        : Stride_(picture.bytesPerLine()),
          Width_(std::clamp(width, 0, std::max(0, picture.width() - left))),
          Height_(std::clamp(height, 0, std::max(0, picture.height() - top)))
    {
        if (Width_ > 0 && Height_ > 0)
            Origin_ = picture.bits() + static_cast<std::ptrdiff_t>(top) * Stride_ + left;
    }

    // The whole picture.
    explicit TIndexedCanvas(QImage& picture)
        : TIndexedCanvas(picture, 0, 0, picture.width(), picture.height())
    {
    }

    int Width() const { return Width_; }
    int Height() const { return Height_; }
    std::ptrdiff_t Stride() const { return Stride_; }

    // Row y, for 0 <= y < Height().
    std::uint8_t* Row(int y) const { return Origin_ + static_cast<std::ptrdiff_t>(y) * Stride_; }

private:
    std::uint8_t* Origin_ = nullptr;
    std::ptrdiff_t Stride_ = 0;
    int Width_ = 0;
    int Height_ = 0;
};
