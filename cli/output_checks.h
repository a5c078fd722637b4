#pragma once
// What can be known before an analysis runs: that its outputs can be written at all, and
// that the picture the table will give fits the chosen format. Each throws EOutputCheck with
// a sentence that names the path.

#include "data/data_table.h"
#include "engine/errors.h"

#include <string>

class EOutputCheck : public TulvoError {
public:
    explicit EOutputCheck(const std::string& message) : TulvoError(message, "EFileError") {}
};

// The folder of the file at `path` exists and we may create files in it.
void CheckFileCanBeWritten(const std::string& path);

// Makes the folder `dir` (with its parents) unless it exists, and checks that we may create
// files in it.
void PrepareOutputFolder(const std::string& dir);

// The format of `path` can hold the 1-D picture of `table` with `steps` rows a band (throws
// EImageError naming the formats that can).
void CheckPictureFitsFormat(const std::string& path, const TDataTable& table, int steps);
