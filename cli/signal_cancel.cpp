#include "cli/signal_cancel.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<int> gStopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

extern "C" void RememberStopSignal(int signal)
{
    gStopSignal.store(signal, std::memory_order_relaxed);
}

} // namespace

void InstallStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = RememberStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND; // the second signal takes its default course
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int StopSignal()
{
    return gStopSignal.load(std::memory_order_relaxed);
}

int StoppedExitStatus()
{
    return 128 + StopSignal();
}
