#include "data/input_bytes.h"

#include "data/data_errors.h"
#include "data/image_table.h"
#include "engine/memory_budget.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kChunk = std::size_t(1) << 20;

class TDescriptor {
public:
    explicit TDescriptor(int fd) : fd_(fd) {}
    ~TDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

[[noreturn]] void ThrowFileError(const char* action, const std::string& path,
                                 const std::string& reason)
{
    throw EFileError(std::string("Cannot ") + action + " file \"" + path + "\": " + reason);
}

const char* KindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISDIR(mode))
        return "a folder";
    return "no ordinary file";
}

// Reads up to `limit` more bytes onto `bytes`; false at the end of the input.
bool ReadChunk(int fd, std::string& bytes, std::size_t limit, const std::string& name)
{
    const std::size_t had = bytes.size();
    bytes.resize(had + limit);
    ssize_t got = 0;
    do
        got = ::read(fd, bytes.data() + had, limit);
    while (got < 0 && errno == EINTR);
    if (got < 0) {
        const int error = errno;
        ThrowFileError("read", name, std::strerror(error));
    }
    bytes.resize(had + static_cast<std::size_t>(got));
    return got > 0;
}

// The length of the line still open at the end of `bytes`; `lineStart` follows the last LF,
// looked for only in the bytes from `scanFrom` on.
std::size_t OpenLineLength(const std::string& bytes, std::size_t& lineStart, std::size_t scanFrom)
{
    const std::size_t found = std::string_view(bytes).substr(scanFrom).rfind('\n');
    if (found != std::string_view::npos)
        lineStart = scanFrom + found + 1;
    return bytes.size() - lineStart;
}

} // namespace

TInput ReadInputFile(const std::string& path)
{
    // Non-blocking, so that opening a FIFO does not wait for a writer; the type is then taken
    // from the open file itself, so nothing can swap it in between.
    TDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.Get() < 0) {
        const int error = errno;
        ThrowFileError("open", path, std::strerror(error));
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        const int error = errno;
        ThrowFileError("read", path, std::strerror(error));
    }
    if (!S_ISREG(status.st_mode))
        ThrowFileError("read", path, std::string("it is ") + KindOf(status.st_mode) +
                                         ", not a regular file");
    const auto size = static_cast<std::size_t>(status.st_size);
    RequireMemory(size, "the data file");
    TInput input{path, {}, IsImageExtension(UpperExtension(path))};
    input.Bytes.reserve(size);
    // A file that grows meanwhile is read as far as it was when opened.
    while (input.Bytes.size() < size &&
           ReadChunk(file.Get(), input.Bytes, size - input.Bytes.size(), path)) {
    }
    return input;
}

TInput ReadStandardInput()
{
    TInput input{"standard input", {}, true};
    std::size_t lineStart = 0;
    for (;;) {
        RequireMemory(CheckedAdd(input.Bytes.size(), kChunk, "standard input"), "standard input");
        const std::size_t scanFrom = input.Bytes.size();
        if (!ReadChunk(STDIN_FILENO, input.Bytes, kChunk, input.Name))
            return input;
        if (OpenLineLength(input.Bytes, lineStart, scanFrom) > kMaxLineBytes) {
            const auto before = input.Bytes.begin() + static_cast<std::ptrdiff_t>(lineStart);
            ThrowLineError(std::count(input.Bytes.begin(), before, '\n') + 1, kLineTooLong);
        }
    }
}
