#include "twod/twod_estimate.h"

#include "engine/errors.h"
#include "engine/memory_budget.h"
#include "imaging/imagick.h"
#include "imaging/output_formats.h"

#include <string>

namespace {

constexpr std::size_t kFrames = 32;
constexpr std::size_t kPlanes = 3;
constexpr std::size_t kComplexBytes = 2 * sizeof(double);
// A frame's clipped levels (double), its 8-bit picture and its BMP file in memory.
constexpr std::size_t kFrameBytesPerCell = sizeof(double) + 2;

void RequireFramesFit(const char* coder, std::size_t rows, std::size_t cols)
{
    const std::string problem = OutputFormatProblem(coder, cols, rows);
    if (!problem.empty())
        throw EImageError("Cannot write the 2-D results: " + problem);
}

} // namespace

std::size_t TwoDRunBytes(std::size_t rows, std::size_t cols)
{
    const char* const what = "the 2-D run";
    const std::size_t cells = CheckedMul(rows, cols, what);
    const std::size_t perCell = kPlanes * kComplexBytes + kFrameBytesPerCell;
    return CheckedAdd(CheckedMul(cells, perCell, what), AssemblyBytes(kFrames, cols, rows), what);
}

void RequireTwoDRun(const TDataTable& table)
{
    const auto rows = static_cast<std::size_t>(table.RowCount());
    const auto cols = static_cast<std::size_t>(table.ColumnCount());
    // The normalisations divide by the count less one (standard deviation).
    if (rows * cols < 2)
        throw EGeneric("A matrix of a single value cannot be analysed in 2-D: its normalisation "
                       "needs at least two values");
    RequireFramesFit("GIF", rows, cols);
    RequireFramesFit("TIFF", rows, cols);
    const std::string what = "the 2-D run (a matrix of " + std::to_string(rows) + " x " +
                             std::to_string(cols) + ", " + std::to_string(kFrames) + " frames)";
    RequireMemory(TwoDRunBytes(rows, cols), what.c_str());
}
