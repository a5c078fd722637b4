#pragma once
// Loading a data file, the one entry for the window and the batch tool: an image file by its
// extension, otherwise a tab-delimited text table sorted ascending by its first column.

#include "data/data_table.h"
#include "imaging/imagick.h"
#include "data/regional_format.h"
#include "data/text_reader.h"

#include <optional>
#include <string>

// The extension of the file name in `path` from its last point on, point included, in upper
// case ("" when the name has no point).
std::string UpperExtension(const std::string& path);

// Closes `table`, then fills it from the file at `path`. Returns the grey picture when the
// file was taken as an image, nothing for a text file. On any failure `table` is left closed
// (no partial data) and the failure is thrown: EGeneric for a line error, ETableError,
// EFileError, EOutOfMemory, ECancelled from `progress`, EImageError.
std::optional<GreyImage> LoadDataFile(const std::string& path, const RegionalFormat& format,
                                      TDataTable& table, const TLoadProgress& progress = {});
