#pragma once
// Decoding and encoding through the library, its exceptions turned into ours. Magick++ types
// never leave imaging/: this header is for the binding's own files only.

#include <Magick++.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the library itself holds for one decoded pixel: a colour packet and a palette index.
inline constexpr std::size_t kLibraryBytesPerPixel =
    sizeof(MagickLib::PixelPacket) + sizeof(MagickLib::IndexPacket);

// Decodes the first frame of `blob` with `coder` and nothing else. A ping reads the size
// first; EOutOfMemory is thrown, before any pixel is decoded, when the library's pixels plus
// `extraBytesPerPixel` of the caller's exceed the memory budget, and also when the library
// runs into its own resource limits. Returns nothing when the frame does not decode cleanly:
// an error, a warning (a damaged file), an empty picture or one unlike its header.
std::optional<Magick::Image> DecodeFirstFrame(const Magick::Blob& blob, const std::string& coder,
                                              std::size_t extraBytesPerPixel);

// Encodes `frames` with `coder` into one file (an animation or pages when there are several),
// without dithering, so palette pictures keep their colours exactly. Throws EImageError,
// naming `what`, on any failure or warning of the library.
std::vector<std::uint8_t> EncodeFrames(std::vector<Magick::Image>& frames,
                                       const std::string& coder, const std::string& what);
