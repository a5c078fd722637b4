#include "imaging/magick_calls.h"

#include "engine/parallel_rows.h"
#include "imaging/file_bytes.h"
#include "imaging/magick_codec.h"
#include "imaging/result_pieces.h"
#include "engine/memory_budget.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

#include <cstring>
#include <limits>

// The frames go through the library one at a time: each is decoded, encoded as a GIF of one
// frame and as a TIFF of one page, and the pieces are joined into the animation and the
// multi-page file here. So only a frame or two are ever decoded at once (the library holds
// ten bytes a pixel of each), not the whole sequence, and the GIF and the TIFF are made side
// by side. Should the library ever write a piece this joining does not know, the sequence is
// encoded as a whole instead.

namespace {

using namespace result_pieces;

// Frame files are the program's own, a few megabytes each; the cap only guards the reading.
constexpr std::size_t kMaxFrameFileBytes = std::size_t(1) << 30;

// Hundredths of a second each frame is shown.
constexpr unsigned kFrameDelay = 20;

Magick::Image ReadFrame(const std::string& file)
{
    const std::optional<TBytes> bytes = ReadFileBytes(file, kMaxFrameFileBytes);
    std::optional<Magick::Image> frame;
    if (bytes)
        frame = DecodeFirstFrame(Magick::Blob(bytes->data(), bytes->size()), "BMP", 0);
    if (!frame)
        throw EImageError("Cannot read the frame \"" + file + "\"");
    return std::move(*frame);
}

void MakeAnimationFrame(Magick::Image& frame)
{
    frame.animationDelay(kFrameDelay);
    frame.animationIterations(kEndlessLoop);
}

// Palette pages, 8 bits, LZW: as small as the GIF and just as exact.
void MakePage(Magick::Image& frame)
{
    frame.depth(8);
    frame.compressType(Magick::LZWCompression);
}

// One result made frame by frame. Room for the whole result is made from the pieces' mean
// size, a fifth more than that, so that it is seldom moved as it grows: a move holds the old
// and the new copy at once.
template <typename Joined>
TBytes EncodeOneByOne(const std::vector<std::string>& frameFiles, Joined joined,
                      void (*prepare)(Magick::Image&), const std::string& coder,
                      const std::string& what, const std::function<void()>& checkpoint)
{
    std::size_t done = 0, bytes = 0, room = 0;
    for (const std::string& file : frameFiles) {
        if (checkpoint)
            checkpoint();
        std::vector<Magick::Image> one;
        one.push_back(ReadFrame(file));
        prepare(one.front());
        const TBytes piece = EncodeFrames(one, coder, what);
        one.clear();
        bytes += piece.size();
        ++done;
        if (bytes + 64 > room) {
            room = bytes / done * frameFiles.size() * 6 / 5 + 1024;
            joined.Reserve(room);
        }
        joined.Add(piece);
    }
    return joined.Finish();
}

// The same made by the library from the whole sequence at once.
TBytes EncodeAtOnce(const std::vector<std::string>& frameFiles, void (*prepare)(Magick::Image&),
                    const std::string& coder, const std::string& what,
                    const std::function<void()>& checkpoint)
{
    std::vector<Magick::Image> frames;
    frames.reserve(frameFiles.size());
    for (const std::string& file : frameFiles) {
        if (checkpoint)
            checkpoint();
        frames.push_back(ReadFrame(file));
        prepare(frames.back());
    }
    return EncodeFrames(frames, coder, what);
}

TBytes Encode(const std::vector<std::string>& frameFiles, bool animation,
              const std::string& path, const std::function<void()>& checkpoint)
{
    const std::string what = "\"" + path + "\"";
    void (*prepare)(Magick::Image&) = animation ? &MakeAnimationFrame : &MakePage;
    const std::string coder = animation ? "GIF" : "TIFF";
    try {
        if (animation)
            return EncodeOneByOne(frameFiles, TGifAnimation(), prepare, coder, what, checkpoint);
        return EncodeOneByOne(frameFiles, TTiffPages(frameFiles.size()), prepare, coder, what,
                              checkpoint);
    } catch (const TUnknownPiece&) {
        return EncodeAtOnce(frameFiles, prepare, coder, what, checkpoint);
    }
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

std::size_t magick_calls::AssemblyBytes(std::size_t frames, std::size_t width, std::size_t height)
{
    const char* const what = "the result files";
    const std::size_t pixels = CheckedMul(CheckedMul(width, height, what), frames, what);
    // An 8-bit encoding takes at most about a byte a pixel; there are two of them.
    return CheckedMul(pixels, CheckedAdd(kLibraryBytesPerPixel, 2, what), what);
}

void magick_calls::AssembleFrames(const std::vector<std::string>& frameFiles,
                                  const std::string& gifPath, const std::string& tiffPath,
                                  const std::function<void()>& checkpoint)
{
    if (frameFiles.empty())
        throw EImageError("Cannot write \"" + gifPath + "\": there are no frames");
    // Both files are encoded, side by side, before either is replaced, so a failure leaves
    // both as they were.
    TBytes gif, tiff;
    ForEachRowRange(2, 1, [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k)
            (k == 0 ? gif : tiff) =
                Encode(frameFiles, k == 0, k == 0 ? gifPath : tiffPath, checkpoint);
    });
    // Runs into one folder replace their pair in turn, so the two files always come from one run.
    const TFolderLock lock(std::filesystem::path(gifPath).parent_path());
    ReplaceFileBytes(gifPath, gif);
    ReplaceFileBytes(tiffPath, tiff);
}
