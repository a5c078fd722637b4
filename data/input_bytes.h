#pragma once
// A data file's bytes, read once into memory, so the image check and the text reader see the
// same content and a file is never opened twice. Only regular files are read by name: a
// FIFO, a device or a socket could block or stream without end.

#include <cstddef>
#include <string>

// The longest text line: a longer one is refused as soon as it is passed, without reading on.
inline constexpr std::size_t kMaxLineBytes = std::size_t(256) << 20;

struct TInput {
    std::string Name;        // as given, for messages
    std::string Bytes;
    bool MayBeImage = false; // the name has an image extension, or there is no name
};

// The regular file at `path`. Throws EFileError "Cannot open file "path": <reason>" or
// "Cannot read file "path": it is a FIFO, not a regular file" (a device, a socket, a folder
// likewise), at once and without waiting for a writer; EOutOfMemory when the file does not
// fit the memory budget.
TInput ReadInputFile(const std::string& path);

// Everything on standard input, within the memory budget. Throws EGeneric for a line longer
// than kMaxLineBytes as soon as it is passed, EFileError on a read failure, EOutOfMemory.
TInput ReadStandardInput();
