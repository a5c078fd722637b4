// libFuzzer target for the image branch: any bytes, dispatched by their signature as a data
// file's are, either load as a picture whose table holds exactly its grey levels, load as
// text, or end in one TulvoError with the table closed.

#include "data/data_loader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const RegionalFormat kFormat{'.', doDayMonthYear, '.'};

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

void CheckPictureTable(const GreyImage& picture, const TDataTable& table)
{
    Require(picture.Width > 0 && picture.Height > 0, "a picture has pixels");
    Require(picture.Pixels.size() == static_cast<std::size_t>(picture.Width) * picture.Height,
            "one grey level per pixel");
    Require(table.IsOpen() && table.ColumnCount() == picture.Width &&
                table.RowCount() == picture.Height,
            "one column per pixel column, one row per pixel row");
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x)
            Require(table.CellAsNumber(y + 1, x) ==
                        picture.Pixels[static_cast<std::size_t>(y) * picture.Width + x],
                    "cells are the grey levels, top row first");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Pictures are refused by their size long before the fuzzer's memory limit.
    setenv("TULVO_MEMORY_LIMIT", "268435456", 1);
    static const auto session = std::make_unique<ImagickSession>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TInput input{"fuzz.png", std::string(reinterpret_cast<const char*>(data), size), true};
    TDataTable table;
    try {
        if (const std::optional<GreyImage> picture = LoadData(input, kFormat, table))
            CheckPictureTable(*picture, table);
    } catch (const TulvoError&) {
        Require(!table.IsOpen() && table.ColumnCount() == 0, "a failed load leaves it closed");
    }
    return 0;
}
