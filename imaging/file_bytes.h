#pragma once
// Whole files in and out of memory, so the image library only ever sees bytes, never a file
// name (names like "msl:x" or "@list" mean something to it); and the replacement of a file by
// one written piece by piece.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The bytes of the regular file at `path`; nothing when it cannot be opened or read, or
// holds more than `maxBytes`. Throws EOutOfMemory when the file does not fit the memory
// budget.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path,
                                                       std::size_t maxBytes);

// The new file of a replacement, for a writer that makes the content piece by piece. The
// first write the system refuses is remembered, so the replacement reports the system's
// reason whatever the writer makes of the refusal.
class TFileSink {
public:
    explicit TFileSink(std::FILE* file) : file_(file) {}
    // Appends the bytes; false when the system refuses them (no later write is tried).
    bool Write(std::span<const std::uint8_t> bytes);
    // The errno of the refused write; 0 while every write went through.
    int Error() const { return error_; }

private:
    std::FILE* file_;
    int error_ = 0;
};

// Makes `path` the file that `write` writes into the sink: a new, uniquely named file in the
// same folder, which replaces `path` only once it is complete. The new file keeps the
// permission bits of the one it replaces; when `path` is a symbolic link, its target is
// replaced and the link stays (hard links to the old file keep the old content). The old file
// is removed beside the caller (WaitForBackgroundWork waits for that). On any failure `path` is
// left as it was and the new file is removed: an exception of `write` passes through, except
// that a write the system refused, in the sink or when the file is closed, throws EImageError
// with the system's reason ("No space left on device").
void ReplaceFile(const std::string& path, const std::function<void(TFileSink&)>& write);

// ReplaceFile with a file holding `bytes`.
void ReplaceFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);
