// ExportGraphic alone on the picture of a long run (100 000 samples x 1019 rows) and on that
// of many short series (130 x 202 019 rows: 2000 bands of 101), 8-bit with the 66-colour
// table, written as BMP and as PNG. Prints each format's median time and the process's peak
// memory after its writes (name one format to see its own peak).
//
//     bench_picture_export [--out FOLDER] [--repeat N] [bmp] [png]
//
// The output folder (default the current one) should be on a real disk, not a tmpfs.

#include "bench/process_status.h"
#include "bench/timing.h"
#include "imaging/imagick.h"
#include "picture/indexed_picture.h"
#include "picture/palette.h"
#include "picture/picture_export.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct TShape {
    const char* Name;
    int Width;
    int Height;
};

constexpr TShape kShapes[] = {{"long", 100000, 1019}, {"many", 130, 202019}};

// Smooth bands with some fine detail, so PNG compresses it about as well as a spectrogram.
QImage BandedPicture(const TShape& shape)
{
    QImage picture =
        NewIndexedPicture(shape.Width, shape.Height, MakePalette66(PaletteRainbow), kWhiteIndex);
    std::vector<double> row(static_cast<std::size_t>(shape.Width));
    for (int y = 0; y < shape.Height; ++y) {
        const int band = y % 1019;
        for (int x = 0; x < shape.Width; ++x)
            row[x] = 0.5 + 0.45 * std::sin(x * 0.0007 * (1 + band % 7) + band * 0.01) *
                               std::cos(x * 0.00003 + band * 0.002);
        PaintLevelRows(TIndexedCanvas(picture), y, 1, row.data());
    }
    return picture;
}

double MedianExportSeconds(const QImage& picture, const std::string& target, int repeat)
{
    return MedianOf(repeat, [&] { return Seconds([&] { ExportGraphic(picture, target); }); });
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path folder = ".";
    int repeat = 5;
    std::vector<std::string> formats;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc)
            folder = argv[++i];
        else
            formats.push_back(argv[i]);
    }
    if (formats.empty())
        formats = {"bmp", "png"};
    ImagickSession session;
    for (const TShape& shape : kShapes) {
        const QImage picture = BandedPicture(shape);
        const long pictureKiB = StatusKiB("VmHWM:");
        std::printf("%s picture %d x %d, %.1f MB; peak after making it %ld KiB\n", shape.Name,
                    shape.Width, shape.Height, picture.sizeInBytes() / 1e6, pictureKiB);
        for (const std::string& format : formats) {
            const std::string name = std::string("export_bench_") + shape.Name + "." + format;
            const std::string target = (folder / name).string();
            const double seconds = MedianExportSeconds(picture, target, repeat);
            std::printf("%s: median %.3f s of %d, %.1f MB; peak %ld KiB (+%ld over the "
                        "picture)\n",
                        name.c_str(), seconds, repeat, std::filesystem::file_size(target) / 1e6,
                        StatusKiB("VmHWM:"), StatusKiB("VmHWM:") - pictureKiB);
            std::filesystem::remove(target);
        }
    }
    return 0;
}
