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

// The text reader's line error "Ошибка в строке :" + the 1-based line number; `why`, when
// given, follows in parentheses, for faults the number alone would not explain.
[[noreturn]] inline void ThrowLineError(long long line, const std::string& why = {})
{
    std::string message = "Ошибка в строке :" + std::to_string(line);
    if (!why.empty())
        message += " (" + why + ")";
    throw EGeneric(message);
}

inline const char* const kLineTooLong = "the line is longer than 256 MiB";
