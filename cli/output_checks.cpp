#include "cli/output_checks.h"

#include "imaging/output_formats.h"
#include "spectrogram/oned_estimate.h"

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
    if (table.ColumnCount() < 2)
        return;
    const TPictureSize size = OneDPictureSize(table, steps);
    RequireOutputFormat(path, size.Width, size.Height);
}
