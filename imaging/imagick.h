#pragma once
// The program's only door to the image library (GraphicsMagick's Magick++). Nothing outside
// imaging/ includes a Magick++ header.

#include "engine/errors.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A failure of the image library: a picture that could not be written or assembled.
class EImageError : public TulvoError {
public:
    explicit EImageError(const std::string& message) : TulvoError(message, "EImageError") {}
};

// The library's session for the life of the object; one lives in main() before any window
// exists. Every function below needs one to be alive; keep a single one per process. The
// library is loaded and initialised by the first call that needs it, not by the session, and
// the session's end shuts it down only if it was started.
class ImagickSession {
public:
    ImagickSession();
    ~ImagickSession();
    ImagickSession(const ImagickSession&) = delete;
    ImagickSession& operator=(const ImagickSession&) = delete;
};

// A decoded picture as 8-bit grey levels, 0 black to 255 white, row 0 the top line.
struct GreyImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels; // Width * Height bytes, row by row
};

// Reads `bytes` (the content of a file called `name`) as an image: the format is recognised
// by its signature (BMP, GIF, JPEG, PNG or TIFF only), the size is checked with a ping, and
// the first frame is decoded with that coder and turned into grey levels. Returns nothing
// when the bytes start with no such signature (the caller then reads them as text). Throws
// EImageError "damaged PNG file "name"" (naming the format) when they start with one but do
// not decode cleanly, and EOutOfMemory, before decoding, when width * height *
// `bytesPerPixelDownstream` (what the caller will need to hold the picture), together with
// the library's own pixels and the grey copy, exceeds the memory budget.
std::optional<GreyImage> ReadGreyImage(std::span<const std::uint8_t> bytes, const std::string& name,
                                       std::size_t bytesPerPixelDownstream);

// Decodes `bmpBytes` (a complete BMP file) and writes it to `targetPath` in the format named
// by the target's extension (.gif, .bmp, .png, .tif/.tiff, .jpg/.jpeg, any letter case).
// Palette pictures keep their colours exactly in the lossless formats. The target is replaced
// only when the new file is complete; on any failure it is left as it was and EImageError is
// thrown (EOutOfMemory when the picture does not fit the memory budget).
void WriteBmpAs(const std::vector<std::uint8_t>& bmpBytes, const std::string& targetPath);

// The bytes AssembleFrames holds at its peak for `frames` frames of `width` x `height`
// pixels, at most: every frame decoded by the library and both encodings (the assembly
// decodes one frame at a time unless it falls back to the whole sequence). EOutOfMemory when the count
// does not fit in size_t.
std::size_t AssemblyBytes(std::size_t frames, std::size_t width, std::size_t height);

// Assembles the frame files, in order, into an animated GIF (each frame shown for 20
// hundredths of a second, looping endlessly) and then writes every frame of it into a
// multi-page TIFF (8-bit palette pages, LZW). Both are encoded before either is replaced, so
// a frame or an encoding that fails leaves both files as they were. Throws EImageError when
// a frame cannot be read or a file could not be written completely, EOutOfMemory when the
// frames do not fit the memory budget.
// `checkpoint`, when given, is called before each frame of each result, from the two threads
// that make them (so it must be thread-safe), and may throw to stop: a stop asked for acts
// within a frame's encoding, and leaves both files as they were.
void AssembleFrames(const std::vector<std::string>& frameFiles, const std::string& gifPath,
                    const std::string& tiffPath,
                    const std::function<void()>& checkpoint = std::function<void()>());
