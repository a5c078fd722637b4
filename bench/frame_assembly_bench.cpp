// The 32 frames of a two-dimensional run turned into RESULT.GIF and RESULT.TIFF, at the
// frame sizes of a small and a large input picture.

#include "imaging/imagick.h"

#include "tests/imaging/palette_bmp.h"
#include "tests/temp_dir.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kFrames = 32;

// Smooth bands of the 64 colour levels, changing from frame to frame like the scales of a run.
std::vector<std::uint8_t> FrameIndices(int side, int frame)
{
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(side) * side);
    const double step = 0.05 * (frame + 1) / side * 64;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            indices[static_cast<std::size_t>(y) * side + x] = static_cast<std::uint8_t>(
                31.5 + 31.5 * std::sin(x * step) * std::cos(y * step + frame));
    return indices;
}

std::vector<std::string> WriteFrames(const TTempDir& folder, int side)
{
    std::vector<std::string> files;
    for (int frame = 0; frame < kFrames; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "Muimg%.5d-%.3d.BMP", frame, 360);
        files.push_back(folder.File(name));
        const std::vector<std::uint8_t> bmp =
            EncodePaletteBmp(side, side, SpectrogramPalette(), FrameIndices(side, frame));
        std::ofstream(files.back(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bmp.data()), static_cast<long>(bmp.size()));
    }
    return files;
}

void BM_AssembleFrames(benchmark::State& state)
{
    static const ImagickSession session;
    const int side = static_cast<int>(state.range(0));
    const TTempDir folder;
    const std::vector<std::string> frames = WriteFrames(folder, side);
    for (auto _ : state)
        AssembleFrames(frames, folder.File("RESULT.GIF"), folder.File("RESULT.TIFF"));
    state.SetItemsProcessed(state.iterations() * kFrames);
}

} // namespace

BENCHMARK(BM_AssembleFrames)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime();
