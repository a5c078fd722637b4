#include "twod/frame_writer.h"

#include "data/data_errors.h"
#include "imaging/file_bytes.h"
#include "imaging/imagick.h"

#include <QBuffer>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

std::string MakePrivateFolder(const std::string& dir)
{
    std::string pattern = dir + ".tulvo-frames-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        const int error = errno;
        throw EFileError("Cannot create a folder for the frames in \"" + dir + "\": " +
                         std::strerror(error));
    }
    return pattern + "/";
}

std::vector<std::uint8_t> BmpBytes(const QImage& Bitmap, const std::string& Name)
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    if (Bitmap.isNull() || !Bitmap.save(&buffer, "BMP"))
        throw EFileError("Cannot create file \"" + Name + "\": the frame cannot be encoded");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(bmp.constData());
    return std::vector<std::uint8_t>(bytes, bytes + bmp.size());
}

} // namespace

MuImage::MuImage(std::string Dir) : Dir_(std::move(Dir)), FrameDir_(MakePrivateFolder(Dir_)) {}

MuImage::~MuImage()
{
    // The folder was made for this writer alone: everything in it is the run's own.
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::u8path(FrameDir_), ignored);
}

std::string MuImage::FrameName(int A, int B)
{
    char name[48];
    std::snprintf(name, sizeof name, "Muimg%.5d-%.3d.BMP", A, B);
    return name;
}

void MuImage::AddFrame(const QImage& Bitmap, int A, int B)
{
    SaveFrame(Bitmap, FrameDir_ + FrameName(A, B));
}

void MuImage::SaveFrame(const QImage& Bitmap, const std::string& Name)
{
    try {
        ReplaceFileBytes(Name, BmpBytes(Bitmap, Name));
    } catch (const EImageError& failure) {
        throw EFileError(failure.what());
    }
    Files_.push_back(Name);
}

void MuImage::Assemble(const std::function<void()>& checkpoint)
{
    AssembleFrames(Files_, GifPath(), TiffPath(), checkpoint);
}
