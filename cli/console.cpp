#include "cli/console.h"

#include <cstdio>
#include <mutex>
#include <unistd.h>

namespace {

std::mutex& ConsoleLock()
{
    static std::mutex lock;
    return lock;
}

TProgressStyle gStyle = TProgressStyle::Log;
bool gLineOpen = false; // an in-place progress line stands on the terminal

// Caller holds the lock.
void ClearLine()
{
    if (!gLineOpen)
        return;
    std::fputs("\r\033[K", stderr);
    gLineOpen = false;
}

} // namespace

void ConfigureConsole(bool quiet)
{
    const std::lock_guard guard(ConsoleLock());
    gStyle = quiet                 ? TProgressStyle::Quiet
             : isatty(STDERR_FILENO) ? TProgressStyle::Terminal
                                     : TProgressStyle::Log;
}

TProgressStyle ConsoleStyle()
{
    const std::lock_guard guard(ConsoleLock());
    return gStyle;
}

void PrintError(const std::string& text)
{
    const std::lock_guard guard(ConsoleLock());
    ClearLine();
    std::fprintf(stderr, "%s%s\n", kCliPrefix, text.c_str());
}

void PrintWarning(const std::string& text)
{
    PrintError("warning: " + text);
}

void PrintProgress(const std::string& text)
{
    const std::lock_guard guard(ConsoleLock());
    switch (gStyle) {
    case TProgressStyle::Quiet:
        return;
    case TProgressStyle::Terminal:
        std::fprintf(stderr, "\r%s\033[K", text.c_str());
        std::fflush(stderr);
        gLineOpen = true;
        return;
    case TProgressStyle::Log:
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
}

void EndProgressLine()
{
    const std::lock_guard guard(ConsoleLock());
    if (gLineOpen)
        std::fputc('\n', stderr);
    gLineOpen = false;
}
