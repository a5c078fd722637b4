#pragma once
// Image files as tables: one number column per pixel column, one row per pixel row.

#include "data/data_table.h"
#include "imaging/imagick.h"

#include <optional>
#include <string>

// True for the extensions taken as images: .BMP .TIFF .TIF .JPEG .JPG .PNG .GIF (already
// upper-cased, point included).
bool IsImageExtension(const std::string& upperExtension);

// For a file with an image extension that decodes as an image, fills the closed, column-less
// `table` with W columns V0000... and H rows, row 1 the top line, cells the grey levels
// 0..255, unsorted, opens it and returns the grey picture. Returns nothing, leaving `table`
// untouched, for any other file (the caller reads it as text). Throws EOutOfMemory when the
// table would not fit the memory budget.
std::optional<GreyImage> ReadImageTable(const std::string& path,
                                        const std::string& upperExtension, TDataTable& table);
