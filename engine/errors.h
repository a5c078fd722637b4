#pragma once
// Every failure that reaches the user is one of these: a message in the program's own words
// and the name of its kind (front/failure_text.h puts them into the user's view).

#include <stdexcept>
#include <string>

class TulvoError : public std::runtime_error {
public:
    TulvoError(const std::string& message, std::string kind)
        : std::runtime_error(message), kind_(std::move(kind)) {}
    const std::string& kind() const noexcept { return kind_; }

private:
    std::string kind_;
};

// The plain failure kind, used for the text reader's line error among others.
class EGeneric : public TulvoError {
public:
    explicit EGeneric(const std::string& message) : TulvoError(message, "Exception") {}
};

// A request that does not fit the memory budget, or an allocation that failed.
class EOutOfMemory : public TulvoError {
public:
    explicit EOutOfMemory(const std::string& message) : TulvoError(message, "EOutOfMemory") {}
};

// A command stopped at the user's request.
class ECancelled : public TulvoError {
public:
    ECancelled() : TulvoError("Cancelled", "ECancelled") {}
};

// A text that should hold a number and does not.
class EConvertError : public TulvoError {
public:
    explicit EConvertError(const std::string& message) : TulvoError(message, "EConvertError") {}
};
