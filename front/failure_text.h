#pragma once
// How a failure is put into words, the same for the window and the batch tool: one mapping
// from a caught failure to its message and kind, and the two ways the program shows it.

#include <exception>
#include <string>

// Names the program's taskbar entry and titles the default error report.
inline constexpr char kApplicationTitle[] = "1d Tulvo";

struct TFailureText {
    std::string Message;
    std::string Kind;       // the error class name, "Exception" for the plain kind
    bool Cancelled = false; // the user stopped the command: nothing to report
};

// Our own errors keep their words and kind; lack of memory is "Out of memory"
// (EOutOfMemory) wherever it was raised; any other exception is of the plain kind.
TFailureText DescribeFailure(std::exception_ptr failure);

// The message with a full stop added when its last character comes after "." in the
// character table; an empty message stays empty.
std::string WithFullStop(const std::string& message);

// The text of the default error report: the message with its full stop.
std::string DefaultReportText(const TFailureText& failure);

// The text of a failed load: the message, then the kind in parentheses.
std::string LoadErrorText(const TFailureText& failure);
