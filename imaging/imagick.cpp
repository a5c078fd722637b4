#include "imaging/imagick.h"

#include "imaging/image_library.h"

#include <mutex>

// The library is started on the first call that needs it, not by the session: most runs
// never touch an image. A session that ends shuts it down only if it was started, and a
// later session starts it again on its first call.

namespace {

class TLibraryStart {
public:
    const TImageLibraryEntries& Started()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const TImageLibraryEntries& entries = ImageLibrary();
        if (started_ == nullptr) {
            entries.Initialize();
            started_ = &entries;
        }
        return entries;
    }

    void ShutDownIfStarted()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (started_ != nullptr)
            started_->Shutdown();
        started_ = nullptr;
    }

private:
    std::mutex mutex_;
    const TImageLibraryEntries* started_ = nullptr;
};

TLibraryStart& LibraryStart()
{
    static TLibraryStart start;
    return start;
}

const TImageLibraryEntries& Library() { return LibraryStart().Started(); }

} // namespace

ImagickSession::ImagickSession() = default;

ImagickSession::~ImagickSession() { LibraryStart().ShutDownIfStarted(); }

std::optional<GreyImage> ReadGreyImage(std::span<const std::uint8_t> bytes, const std::string& name,
                                       std::size_t bytesPerPixelDownstream)
{
    return Library().ReadGreyImage(bytes, name, bytesPerPixelDownstream);
}

void WriteBmpAs(const std::vector<std::uint8_t>& bmpBytes, const std::string& targetPath)
{
    Library().WriteBmpAs(bmpBytes, targetPath);
}

std::size_t AssemblyBytes(std::size_t frames, std::size_t width, std::size_t height)
{
    return Library().AssemblyBytes(frames, width, height);
}

void AssembleFrames(const std::vector<std::string>& frameFiles, const std::string& gifPath,
                    const std::string& tiffPath, const std::function<void()>& checkpoint)
{
    Library().AssembleFrames(frameFiles, gifPath, tiffPath, checkpoint);
}
