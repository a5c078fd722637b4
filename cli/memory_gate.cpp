#include "cli/memory_gate.h"

#include <chrono>

std::size_t TMemoryGate::Reserve(std::size_t bytes, const std::function<void()>& checkCancelled)
{
    std::unique_lock lock(FLock);
    while (FInUse > 0 && FInUse + bytes > FCapacity) {
        FFreed.wait_for(lock, std::chrono::milliseconds(50));
        lock.unlock();
        checkCancelled();
        lock.lock();
    }
    FInUse += bytes;
    return bytes;
}

void TMemoryGate::Release(std::size_t bytes)
{
    {
        const std::lock_guard guard(FLock);
        FInUse -= bytes;
    }
    FFreed.notify_all();
}
