#pragma once
// What each picture format the program writes can hold. The library refuses some sizes only
// half-way through an encoding (and then hands back no data), so every picture is checked
// here first, and a run can be refused before its work from the size it will produce.

#include <cstddef>
#include <string>

// Empty when a picture of `width` x `height` pixels fits `coder` ("BMP", "GIF", "JPEG", "PNG",
// "TIFF"); otherwise why not, and which of the formats can hold it ("a PNG picture can be at
// most 1000000 pixels wide and high, this one is 10 x 1000001; TIFF or BMP can hold it").
std::string OutputFormatProblem(const std::string& coder, std::size_t width, std::size_t height);

// Throws EImageError "Cannot write "path": ..." when the extension of `targetPath` names no
// format the program writes, or its format cannot hold a picture of `width` x `height`.
void RequireOutputFormat(const std::string& targetPath, std::size_t width, std::size_t height);

// The file name endings the program writes pictures as, for messages: ".gif, .png, ...".
std::string OutputExtensionsText();
