#pragma once
// Everything the batch tool writes to stderr goes through here: messages, each with the one
// prefix "tulvo1d-cli: ", and the progress line, which a message first clears. Safe to call
// from several threads (files of a run go side by side).

#include <string>

inline constexpr char kCliPrefix[] = "tulvo1d-cli: ";

enum class TProgressStyle {
    Quiet,    // no progress at all
    Terminal, // one line, rewritten in place
    Log,      // one line per phase, for logs and pipes
};

// Quiet when asked for, otherwise Terminal when stderr is a terminal, Log when it is not.
void ConfigureConsole(bool quiet);
TProgressStyle ConsoleStyle();

void PrintError(const std::string& text);   // prefix + text
void PrintWarning(const std::string& text); // prefix + "warning: " + text

// Terminal: `text` replaces the progress line. Log: `text` on its own line. Quiet: nothing.
void PrintProgress(const std::string& text);
// Ends an in-place progress line with a line break, so that what follows starts afresh.
void EndProgressLine();
