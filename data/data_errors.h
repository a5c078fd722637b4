#pragma once
// Failure kinds of data input besides the line error (EGeneric, kind "Exception").

#include "engine/errors.h"

// The table refused a definition or a lookup: an empty or repeated column name, a name that
// cannot serve as the sort key, a column that does not exist.
class ETableError : public TulvoError {
public:
    explicit ETableError(const std::string& message) : TulvoError(message, "ETableError") {}
};

// A data file that cannot be opened or read.
class EFileError : public TulvoError {
public:
    explicit EFileError(const std::string& message) : TulvoError(message, "EFileError") {}
};
