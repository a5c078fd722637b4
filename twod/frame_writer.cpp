#include "twod/frame_writer.h"

#include "data/data_errors.h"
#include "imaging/imagick.h"

#include <QString>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace {

void RemoveQuietly(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::u8path(path), ignored);
}

// A name in Dir that no earlier or concurrent run uses, keeping the extension that names
// the format.
std::string TemporaryName(const std::string& dir, const char* extension)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char name[64];
    std::snprintf(name, sizeof name, "RESULT.%016llx.part%s",
                  static_cast<unsigned long long>(random()), extension);
    return dir + name;
}

} // namespace

MuImage::MuImage(std::string Dir) : Dir_(std::move(Dir)) { RemoveQuietly(Dir_ + "Result.Avi"); }

MuImage::~MuImage()
{
    for (const std::string& file : Files_)
        RemoveQuietly(file);
}

std::string MuImage::FrameName(int A, int B)
{
    char name[48];
    std::snprintf(name, sizeof name, "Muimg%.5d-%.3d.BMP", A, B);
    return name;
}

void MuImage::AddFrame(const QImage& Bitmap, int A, int B)
{
    SaveFrame(Bitmap, Dir_ + FrameName(A, B));
}

void MuImage::SaveFrame(const QImage& Bitmap, const std::string& Name)
{
    if (!Bitmap.save(QString::fromStdString(Name), "BMP"))
        throw EFileError("Cannot create file \"" + Name + "\"");
    Files_.push_back(Name);
}

void MuImage::Assemble()
{
    const std::string gif = TemporaryName(Dir_, ".GIF");
    const std::string tiff = TemporaryName(Dir_, ".TIFF");
    try {
        AssembleFrames(Files_, gif, tiff);
        std::filesystem::rename(std::filesystem::u8path(gif), std::filesystem::u8path(GifPath()));
        std::filesystem::rename(std::filesystem::u8path(tiff),
                                std::filesystem::u8path(TiffPath()));
    } catch (const std::filesystem::filesystem_error& e) {
        RemoveQuietly(gif);
        RemoveQuietly(tiff);
        throw EImageError(std::string("Cannot write the results: ") + e.what());
    } catch (...) {
        RemoveQuietly(gif);
        RemoveQuietly(tiff);
        throw;
    }
}
