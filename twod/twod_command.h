#pragma once
// The two-dimensional analysis: the table taken as a matrix, filtered at 32 scales (for the
// Morlet wavelet summing twelve orientations each), one palette frame per scale, assembled
// into an animated RESULT.GIF and a multi-page RESULT.TIFF.

#include "engine/analysis_params.h"
#include "data/data_table.h"

#include <QImage>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TTwoDResult {
    std::string GifPath;
    std::string TiffPath;
    std::vector<double> Scales; // of the frames, first to last
};

// Sees every frame as it is written: its index and the 64-level picture.
using TFrameObserver = std::function<void(int index, const QImage& frame)>;

// Runs the analysis over `table` with the frames and results in `Dir` (ending in a path
// separator), reading each parameter at the step that needs it. Returns nothing, having
// changed nothing, when the table is closed or empty. Progress texts: "Scale %12.4f  angle
// %3d ( [ %d ]/ [ %d ] ) " after every Morlet orientation, "Scale %12.4f  ( [ %d ]/ [ %d ] ) "
// after every other scale, "O'k" at the end. On any failure (EConvertError, a floating-point
// fault, EOutOfMemory, EFileError, EImageError, ECancelled) the frames are deleted, earlier
// results stay as they were, and the failure is thrown.
std::optional<TTwoDResult> DoTulvo2D(const TDataTable& table, const std::string& Dir,
                                     TParameterSource& params, TCommandProgress& progress,
                                     const TFrameObserver& observer = {});
