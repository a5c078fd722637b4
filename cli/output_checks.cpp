#include "cli/output_checks.h"

#include "front/format_limits.h"
#include "spectrogram/oned_picture_size.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& path)
{
    return "\"" + path.string() + "\"";
}

void RequireWritableFolder(const fs::path& folder, const std::string& forWhat)
{
    std::error_code error;
    if (!fs::is_directory(folder, error))
        throw EOutputCheck("Cannot write " + forWhat + ": the folder " + Quoted(folder) +
                           (fs::exists(folder, error) ? " is not a folder" : " does not exist"));
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        throw EOutputCheck("Cannot write " + forWhat + ": the folder " + Quoted(folder) +
                           " is not writable (" + std::strerror(errno) + ")");
}

bool HasGifExtension(const std::string& path)
{
    std::string extension = fs::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".gif";
}

} // namespace

void CheckFileCanBeWritten(const std::string& path)
{
    const fs::path file(path);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    RequireWritableFolder(folder, Quoted(file));
}

void PrepareOutputFolder(const std::string& dir)
{
    std::error_code error;
    fs::create_directories(dir, error);
    if (error)
        throw EOutputCheck("Cannot create the folder " + Quoted(dir) + ": " + error.message());
    RequireWritableFolder(dir, "into " + Quoted(dir));
}

void CheckPictureFitsFormat(const std::string& path, const TDataTable& table, int steps)
{
    if (!HasGifExtension(path) || table.ColumnCount() < 2)
        return;
    const TOneDPictureSize size = OneDPictureSize(table.ColumnCount() - 1, table.RowCount(), steps);
    if (GifCanHold(size.Width, size.Height))
        return;
    throw EOutputCheck("Cannot write " + Quoted(path) +
                       ": a GIF picture can be at most 65535 pixels wide and high, this one "
                       "would be " + std::to_string(size.Width) + " x " +
                       std::to_string(size.Height) + "; save it as PNG or BMP instead");
}
