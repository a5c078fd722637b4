#pragma once
// Reads written pictures back through the image library, for checking what was written.

#include "tests/imaging/palette_bmp.h"

#include <Magick++.h>

#include <list>
#include <string>
#include <vector>

// Every frame or page of the file at `path`.
inline std::list<Magick::Image> ReadAllFrames(const std::string& path)
{
    std::list<Magick::Image> frames;
    Magick::readImages(&frames, path);
    return frames;
}

// The picture's colours at 8 bits a channel, row by row from the top.
inline std::vector<TRgb> ColoursOf(Magick::Image picture)
{
    std::vector<std::uint8_t> rgb(3u * picture.columns() * picture.rows());
    picture.write(0, 0, picture.columns(), picture.rows(), "RGB", Magick::CharPixel, rgb.data());
    std::vector<TRgb> colours;
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        colours.push_back({rgb[i], rgb[i + 1], rgb[i + 2]});
    return colours;
}

// What a palette picture shows: its colour table looked up at every index.
inline std::vector<TRgb> ColoursOf(const std::vector<TRgb>& palette,
                                   const std::vector<std::uint8_t>& indices)
{
    std::vector<TRgb> colours;
    for (std::uint8_t index : indices)
        colours.push_back(palette[index]);
    return colours;
}
