#pragma once
// Loading a data file, the one entry for the window and the batch tool: an image file by its
// extension, otherwise a tab-delimited text table sorted ascending by its first column.

#include "data/data_table.h"
#include "data/image_table.h"
#include "data/input_bytes.h"
#include "imaging/imagick.h"
#include "data/regional_format.h"
#include "data/text_reader.h"

#include <optional>
#include <string>

// Closes `table`, then fills it from `input`: an image when it may be one and starts with a
// picture's signature, otherwise a text table. Returns the grey picture when the input was
// taken as an image, nothing for a text. Failures as for LoadDataFile.
std::optional<GreyImage> LoadData(const TInput& input, const RegionalFormat& format,
                                  TDataTable& table, const TLoadProgress& progress = {});

// Closes `table`, then fills it from the regular file at `path`, read once (ReadInputFile). Returns the grey picture when the
// file was taken as an image, nothing for a text file. On any failure `table` is left closed
// (no partial data) and the failure is thrown: EGeneric for a line error, ETableError,
// EFileError, EOutOfMemory, ECancelled from `progress`, EImageError.
std::optional<GreyImage> LoadDataFile(const std::string& path, const RegionalFormat& format,
                                      TDataTable& table, const TLoadProgress& progress = {});
