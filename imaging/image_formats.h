#pragma once
// Which of the library's coders may touch a file. Only these five are ever used, so the
// library never meets a format that can run scripts, fetch URLs or read other files.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The coder ("BMP", "GIF", "JPEG", "PNG" or "TIFF") whose signature starts `bytes`; nothing
// for any other content, whatever the file is called.
std::optional<std::string> CoderBySignature(const std::uint8_t* bytes, std::size_t size);

// The coder for the extension of `path`, in any letter case (.gif, .bmp, .png, .tif, .tiff,
// .jpg, .jpeg); nothing for any other extension.
std::optional<std::string> CoderByExtension(const std::string& path);
