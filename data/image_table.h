#pragma once
// Image files as tables: one number column per pixel column, one row per pixel row.

#include "data/data_table.h"
#include "data/input_bytes.h"
#include "imaging/imagick.h"

#include <optional>
#include <string>

// The extension of the file name in `path` from its last point on, point included, in upper
// case ("" when the name has no point).
std::string UpperExtension(const std::string& path);

// True for the extensions taken as images: .BMP .TIFF .TIF .JPEG .JPG .PNG .GIF (already
// upper-cased, point included).
bool IsImageExtension(const std::string& upperExtension);

// For an input that may be an image and starts with a picture's signature, fills the closed,
// column-less `table` with W columns V0000... and H rows, row 1 the top line, cells the grey
// levels 0..255, unsorted, opens it and returns the grey picture. Returns nothing, leaving
// `table` untouched, for any other input (the caller reads it as text). Throws EImageError
// for a damaged picture and EOutOfMemory when the table would not fit the memory budget.
std::optional<GreyImage> ReadImageTable(const TInput& input, TDataTable& table);
