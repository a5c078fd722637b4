#include "imaging/file_bytes.h"

#include "imaging/imagick.h"
#include "engine/memory_budget.h"
#include "engine/parallel_rows.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>
#include <sys/stat.h>
#if defined(__linux__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

using TFileCloser = int (*)(std::FILE*);
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

// The buffer of a replacement file.
constexpr std::size_t kFileBufferBytes = std::size_t{1} << 20;

std::string SystemError(int code) { return std::generic_category().message(code); }

[[noreturn]] void ThrowWriteError(const std::string& path, const std::string& reason)
{
    throw EImageError("Cannot write the file \"" + path + "\": " + reason);
}

// A name in the folder of `path` that no other file has; the file is created exclusively, so
// an existing file can never be taken over.
std::pair<std::string, TFile> CreateUniqueSibling(const std::string& path)
{
    const std::filesystem::path target(path);
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x%08x.tmp", entropy(), entropy());
        const std::filesystem::path candidate =
            target.parent_path() / ("." + target.filename().string() + suffix);
        TFile file(std::fopen(candidate.string().c_str(), "wbx"), &std::fclose);
        if (file)
            return {candidate.string(), std::move(file)};
        if (errno != EEXIST)
            ThrowWriteError(path, SystemError(errno));
    }
    ThrowWriteError(path, "no unique temporary name is free");
}

// The file a replacement writes: the end of a chain of symbolic links, so a link stays a link
// and its target gets the new content.
std::filesystem::path ResolvedTarget(const std::string& path)
{
    std::filesystem::path target(path);
    std::error_code error;
    for (int hop = 0; hop < 40 && std::filesystem::is_symlink(std::filesystem::symlink_status(target, error));
         ++hop) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

// The new file takes the permission bits of the one it replaces (a private file stays private).
void KeepPermissions(std::FILE* file, const std::filesystem::path& target)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(fileno(file), old.st_mode & 07777);
}

void WriteAndClose(TFile file, const std::function<void(TFileSink&)>& write,
                   const std::string& path)
{
    TFileSink sink(file.get());
    try {
        write(sink);
    } catch (...) {
        // A writer that gave up because the system refused its bytes: the refusal is the reason.
        if (sink.Error() == 0)
            throw;
    }
    if (sink.Error() != 0)
        ThrowWriteError(path, SystemError(sink.Error()));
    // fclose flushes: only its result says whether the last bytes reached the file.
    if (std::fclose(file.release()) != 0)
        ThrowWriteError(path, SystemError(errno));
}

// Gives the complete new file the target's name. A regular file there is exchanged with it
// in one step, and then removed under the temporary name beside the caller: removing a large
// file waits for the disk (ext4 discards its blocks: 7 ms for 26 MB here, 5 to 25 ms for
// 100 MB), and nobody needs to wait for that. Where there is no file or no exchange, a plain
// rename (which on ext4 makes the system write the new file out at once when it replaces one).
void MoveIntoPlace(const std::string& temporary, const std::filesystem::path& target,
                   const std::string& path)
{
#if defined(__linux__) && defined(RENAME_EXCHANGE)
    struct stat old {};
    if (::lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) ==
            0) {
        try {
            RunAlongside([temporary] { ::unlink(temporary.c_str()); });
        } catch (...) {
            ::unlink(temporary.c_str()); // no memory to hand it over: the new file is in place
        }
        return;
    }
#endif
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError)
        ThrowWriteError(path, renameError.message());
}

} // namespace

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path,
                                                       std::size_t maxBytes)
{
    TFile file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return std::nullopt;
    // Only regular files have a size: devices and pipes, which could stream without end, and
    // folders are no pictures.
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    if (sizeError || size > maxBytes)
        return std::nullopt;
    RequireMemory(static_cast<std::size_t>(size), "the image file");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return std::nullopt;
    return bytes;
}

bool TFileSink::Write(std::span<const std::uint8_t> bytes)
{
    if (error_ != 0)
        return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size())
        return true;
    error_ = errno != 0 ? errno : EIO;
    return false;
}

void ReplaceFile(const std::string& path, const std::function<void(TFileSink&)>& write)
{
    const std::filesystem::path target = ResolvedTarget(path);
    // Writers hand over a picture row by row, rows of a hundred bytes among them: through the
    // default buffer of 4 KB, every 4 KB took a call to the system. Outlives the file.
    std::vector<char> buffer(kFileBufferBytes);
    auto [temporary, file] = CreateUniqueSibling(target.string());
    std::setvbuf(file.get(), buffer.data(), _IOFBF, buffer.size());
    try {
        KeepPermissions(file.get(), target);
        WriteAndClose(std::move(file), write, path);
        MoveIntoPlace(temporary, target, path);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw;
    }
}

void ReplaceFileBytes(const std::string& path, std::span<const std::uint8_t> bytes)
{
    ReplaceFile(path, [bytes](TFileSink& sink) { sink.Write(bytes); });
}
