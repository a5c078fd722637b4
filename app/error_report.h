#pragma once
// The two ways a failure reaches the user: the application's default error report, and the
// box of the open command.

#include "front/failure_text.h"

#include <exception>

class QWidget;
class TUserDialogs;

// Box titled "1d Tulvo", error icon, "OK", the message with a full stop (WithFullStop).
// A cancellation shows nothing.
void ShowDefaultErrorReport(TUserDialogs& dialogs, QWidget* parent, std::exception_ptr failure);

// Box of the open command: titled "Error", error icon, "Cancel", message + "(" + kind + ")".
void ShowLoadErrorBox(TUserDialogs& dialogs, QWidget* parent, const TFailureText& failure);
