#pragma once
// Whole files in and out of memory, so the image library only ever sees bytes, never a file
// name (names like "msl:x" or "@list" mean something to it).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The bytes of the regular file at `path`; nothing when it cannot be opened or read, or
// holds more than `maxBytes`. Throws EOutOfMemory when the file does not fit the memory
// budget.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path,
                                                       std::size_t maxBytes);

// Makes `path` a file holding `bytes`: they go to a new, uniquely named file in the same
// folder, which replaces `path` only once it is complete. The new file keeps the permission
// bits of the one it replaces; when `path` is a symbolic link, its target is replaced and
// the link stays (hard links to the old file keep the old content). On any failure `path`
// is left as it was, the new file is removed and EImageError is thrown with the system's
// reason ("No space left on device").
void ReplaceFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);
