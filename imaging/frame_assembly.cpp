#include "imaging/imagick.h"

#include "imaging/file_bytes.h"
#include "imaging/magick_codec.h"
#include "engine/memory_budget.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Frame files are the program's own, a few megabytes each; the cap only guards the reading.
constexpr std::size_t kMaxFrameFileBytes = std::size_t(1) << 30;

// Hundredths of a second each frame is shown; 0 repetitions means for ever.
constexpr unsigned kFrameDelay = 20;
constexpr unsigned kEndlessLoop = 0;

std::vector<Magick::Image> ReadFrames(const std::vector<std::string>& frameFiles)
{
    std::vector<Magick::Image> frames;
    frames.reserve(frameFiles.size());
    for (const std::string& file : frameFiles) {
        const std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(file, kMaxFrameFileBytes);
        std::optional<Magick::Image> frame;
        if (bytes)
            frame = DecodeFirstFrame(Magick::Blob(bytes->data(), bytes->size()), "BMP", 0);
        if (!frame)
            throw EImageError("Cannot read the frame \"" + file + "\"");
        frames.push_back(std::move(*frame));
    }
    return frames;
}

std::vector<std::uint8_t> EncodeAnimation(std::vector<Magick::Image>& frames,
                                          const std::string& gifPath)
{
    for (Magick::Image& frame : frames) {
        frame.animationDelay(kFrameDelay);
        frame.animationIterations(kEndlessLoop);
    }
    return EncodeFrames(frames, "GIF", "\"" + gifPath + "\"");
}

// Palette pages, 8 bits, LZW: as small as the GIF and just as exact.
std::vector<std::uint8_t> EncodePages(std::vector<Magick::Image>& frames,
                                      const std::string& tiffPath)
{
    for (Magick::Image& frame : frames) {
        frame.depth(8);
        frame.compressType(Magick::LZWCompression);
    }
    return EncodeFrames(frames, "TIFF", "\"" + tiffPath + "\"");
}

// An advisory lock on a folder for the life of the object, taken by every run that replaces
// results there; a folder that cannot be locked is used unlocked.
class TFolderLock {
public:
    explicit TFolderLock(const std::filesystem::path& folder)
        : fd_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (fd_ >= 0)
            ::flock(fd_, LOCK_EX);
    }
    ~TFolderLock()
    {
        if (fd_ >= 0)
            ::close(fd_); // releases the lock
    }
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

private:
    int fd_;
};

} // namespace

std::size_t AssemblyBytes(std::size_t frames, std::size_t width, std::size_t height)
{
    const char* const what = "the result files";
    const std::size_t pixels = CheckedMul(CheckedMul(width, height, what), frames, what);
    // An 8-bit encoding takes at most about a byte a pixel; there are two of them.
    return CheckedMul(pixels, CheckedAdd(kLibraryBytesPerPixel, 2, what), what);
}

void AssembleFrames(const std::vector<std::string>& frameFiles, const std::string& gifPath,
                    const std::string& tiffPath)
{
    if (frameFiles.empty())
        throw EImageError("Cannot write \"" + gifPath + "\": there are no frames");
    std::vector<Magick::Image> frames = ReadFrames(frameFiles);
    // Both files are encoded before either is replaced, so a failure leaves both as they were.
    const std::vector<std::uint8_t> gif = EncodeAnimation(frames, gifPath);
    const std::vector<std::uint8_t> tiff = EncodePages(frames, tiffPath);
    // Runs into one folder replace their pair in turn, so the two files always come from one run.
    const TFolderLock lock(std::filesystem::path(gifPath).parent_path());
    ReplaceFileBytes(gifPath, gif);
    ReplaceFileBytes(tiffPath, tiff);
}
