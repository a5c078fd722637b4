#pragma once
// The two ways a failure reaches the user: the application's default error report, and the
// box of the open command.

#include <QString>

#include <exception>

class QWidget;
class TUserDialogs;

// Names the program's taskbar entry and titles the default error report.
inline constexpr char kApplicationTitle[] = "1d Tulvo";

struct TFailure {
    QString Message;
    QString Kind;           // the error class name, "Exception" for the plain kind
    bool Cancelled = false; // the user stopped the command: nothing to report
};

TFailure DescribeFailure(std::exception_ptr failure);

// Box titled "1d Tulvo", error icon, "OK", the message with a full stop (WithFullStop).
// A cancellation shows nothing.
void ShowDefaultErrorReport(TUserDialogs& dialogs, QWidget* parent, std::exception_ptr failure);

// Box of the open command: titled "Error", error icon, "Cancel", message + "(" + kind + ")".
void ShowLoadErrorBox(TUserDialogs& dialogs, QWidget* parent, const TFailure& failure);
